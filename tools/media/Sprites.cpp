#include "media/Families.h"
#include "media/Paint.h"

#include <cmath>

namespace {
const int FAERIE_SIZE = 56; // drawn centred on the screen centre
const int CX = FAERIE_SIZE / 2;
const int SHADOW_WIDTH = 48; // the game puts its left edge 24 pixels left of her centre line
const int SHADOW_HEIGHT = 14;

enum class Facing { FRONT, BACK, LEFT, RIGHT };

void Polygon(BITMAP* target, std::initializer_list<int> points, Rgb fill)
{
    polygon(target, static_cast<int>(points.size() / 2), points.begin(), Colour(fill));
}

// One wing pair on one side; side is -1 for her left on the picture, +1 for the right.
void PaintWings(BITMAP* target, int cx, int side, int spread)
{
    const int s = side;
    Polygon(target, {cx, 24, cx + s * spread, 6, cx + s * (spread + 3), 14, cx + s * 8, 29},
            palette::WING);
    Polygon(target, {cx, 30, cx + s * (spread - 6), 42, cx + s * (spread - 10), 46, cx + s * 3, 36},
            palette::WING);
    line(target, cx + s * 3, 25, cx + s * (spread - 2), 11, Colour(palette::WING_SHADE));
    line(target, cx + s * 3, 32, cx + s * (spread - 9), 42, Colour(palette::WING_SHADE));
    putpixel(target, cx + s * (spread - 4), 10, Colour(palette::WHITE));
}

void PaintDress(BITMAP* target, int cx)
{
    Polygon(target, {cx - 3, 26, cx + 3, 26, cx + 9, 42, cx - 9, 42}, palette::EMBER_RED);
    Polygon(target, {cx - 3, 26, cx - 1, 26, cx - 5, 41, cx - 8, 41}, palette::EMBER_ORANGE);
    hline(target, cx - 9, 42, cx + 9, Colour(palette::EMBER_YELLOW));
    vline(target, cx - 3, 43, 48, Colour(palette::SKIN));
    vline(target, cx + 2, 43, 48, Colour(palette::SKIN_SHADE));
}

// Hair of flame: a round mass with tips licking upwards.
void PaintHair(BITMAP* target, int cx, int cy, int lean)
{
    circlefill(target, cx, cy, 8, Colour(palette::EMBER_RED));
    Polygon(target, {cx - 7, cy - 3, cx - 4 + lean, cy - 13, cx - 1, cy - 5}, palette::EMBER_RED);
    Polygon(target, {cx - 2, cy - 6, cx + 2 + lean, cy - 15, cx + 4, cy - 6},
            palette::EMBER_ORANGE);
    Polygon(target, {cx + 3, cy - 4, cx + 8 + lean, cy - 11, cx + 7, cy - 1}, palette::EMBER_RED);
    circlefill(target, cx - 2, cy - 3, 4, Colour(palette::EMBER_ORANGE));
    putpixel(target, cx - 4, cy - 5, Colour(palette::EMBER_YELLOW));
    putpixel(target, cx - 3, cy - 6, Colour(palette::EMBER_YELLOW));
}

void PaintFaerie(BITMAP* target, Facing facing)
{
    const int head_y = 18;
    switch (facing) {
    case Facing::FRONT:
        PaintWings(target, CX, -1, 24);
        PaintWings(target, CX, 1, 24);
        PaintDress(target, CX);
        line(target, CX - 4, 28, CX - 10, 36, Colour(palette::SKIN));
        line(target, CX + 4, 28, CX + 10, 36, Colour(palette::SKIN_SHADE));
        PaintHair(target, CX, head_y, 0);
        circlefill(target, CX, head_y + 2, 6, Colour(palette::SKIN));
        hline(target, CX - 5, head_y - 3, CX + 5, Colour(palette::EMBER_RED));
        putpixel(target, CX - 2, head_y + 2, Colour(palette::EYE));
        putpixel(target, CX + 2, head_y + 2, Colour(palette::EYE));
        putpixel(target, CX - 2, head_y + 1, Colour(palette::INK));
        putpixel(target, CX + 2, head_y + 1, Colour(palette::INK));
        putpixel(target, CX, head_y + 5, Colour(palette::EMBER_RED));
        break;
    case Facing::BACK:
        PaintDress(target, CX);
        line(target, CX - 4, 28, CX - 10, 36, Colour(palette::SKIN));
        line(target, CX + 4, 28, CX + 10, 36, Colour(palette::SKIN_SHADE));
        PaintHair(target, CX, head_y + 1, 0);
        Polygon(target,
                {CX - 5, head_y + 6, CX + 5, head_y + 6, CX + 2, head_y + 14, CX - 2, head_y + 14},
                palette::EMBER_RED);
        // Seen from behind the wings lie over her back.
        PaintWings(target, CX, -1, 25);
        PaintWings(target, CX, 1, 25);
        break;
    case Facing::LEFT:
    case Facing::RIGHT: {
        // Drawn facing left; the right facing is the mirror image.
        const int bx = CX + 1;
        PaintWings(target, bx + 2, 1, 22);
        Polygon(target, {bx - 2, 26, bx + 3, 26, bx + 7, 42, bx - 6, 42}, palette::EMBER_RED);
        Polygon(target, {bx - 2, 26, bx, 26, bx - 3, 41, bx - 6, 41}, palette::EMBER_ORANGE);
        hline(target, bx - 6, 42, bx + 7, Colour(palette::EMBER_YELLOW));
        line(target, bx - 1, 43, bx - 4, 48, Colour(palette::SKIN));
        line(target, bx + 2, 43, bx + 3, 48, Colour(palette::SKIN_SHADE));
        line(target, bx - 1, 28, bx - 9, 32, Colour(palette::SKIN));
        PaintHair(target, bx + 2, head_y, 3);
        circlefill(target, bx - 1, head_y + 2, 5, Colour(palette::SKIN));
        putpixel(target, bx - 6, head_y + 3, Colour(palette::SKIN));
        hline(target, bx - 4, head_y - 3, bx + 3, Colour(palette::EMBER_RED));
        vline(target, bx + 3, head_y - 3, head_y + 4, Colour(palette::EMBER_RED));
        putpixel(target, bx - 4, head_y + 1, Colour(palette::INK));
        putpixel(target, bx - 4, head_y + 2, Colour(palette::EYE));
        // A pointed ear.
        Polygon(target, {bx + 1, head_y + 1, bx + 5, head_y - 1, bx + 2, head_y + 4},
                palette::SKIN_SHADE);
        break;
    }
    }
    OutlineShape(target);
}

BITMAP* Faerie(Facing facing)
{
    BITMAP* picture = NewPicture(FAERIE_SIZE, FAERIE_SIZE);
    PaintFaerie(picture, facing);
    if (facing == Facing::RIGHT) {
        BITMAP* mirrored = NewPicture(FAERIE_SIZE, FAERIE_SIZE);
        draw_sprite_h_flip(mirrored, picture, 0, 0);
        destroy_bitmap(picture);
        return mirrored;
    }
    return picture;
}

// A stencil: only its shape counts, so one flat dark colour.
BITMAP* Shadow(int width, int height)
{
    BITMAP* picture = NewPicture(width, height);
    ellipsefill(picture, width / 2, height / 2, width / 2 - 1, height / 2 - 1,
                Colour(palette::INK));
    return picture;
}

BITMAP* Fireball()
{
    const int size = 20;
    BITMAP* picture = NewPicture(size, size);
    circlefill(picture, 10, 10, 9, Colour(palette::EMBER_DARK));
    circlefill(picture, 10, 10, 8, Colour(palette::EMBER_RED));
    circlefill(picture, 9, 9, 6, Colour(palette::EMBER_ORANGE));
    circlefill(picture, 8, 8, 4, Colour(palette::EMBER_YELLOW));
    circlefill(picture, 7, 7, 1, Colour(palette::WHITE));
    // Flickers off the rim.
    putpixel(picture, 17, 4, Colour(palette::EMBER_ORANGE));
    putpixel(picture, 2, 15, Colour(palette::EMBER_RED));
    putpixel(picture, 16, 17, Colour(palette::EMBER_ORANGE));
    return picture;
}

// A starburst of flame: rays of alternating length around a white-hot core.
BITMAP* Burst(int size, int rays, int core, int seed)
{
    BITMAP* picture = NewPicture(size, size);
    const int c = size / 2;
    const double pi = 3.14159265358979;
    for (int i = 0; i < rays; ++i) {
        double angle = 2 * pi * i / rays + (seed % 7) * 0.1;
        int length = c - 1 - (i % 2) * (c / 4) - Noise(i, seed, 61) % 3;
        int tip_x = c + static_cast<int>(std::lround(std::cos(angle) * length));
        int tip_y = c + static_cast<int>(std::lround(std::sin(angle) * length));
        int side_x = static_cast<int>(std::lround(std::cos(angle + pi / 2) * core * 0.6));
        int side_y = static_cast<int>(std::lround(std::sin(angle + pi / 2) * core * 0.6));
        Polygon(picture, {c + side_x, c + side_y, tip_x, tip_y, c - side_x, c - side_y},
                i % 2 ? palette::EMBER_RED : palette::EMBER_ORANGE);
    }
    circlefill(picture, c, c, core + 2, Colour(palette::EMBER_ORANGE));
    circlefill(picture, c - 1, c - 1, core, Colour(palette::EMBER_YELLOW));
    circlefill(picture, c - 2, c - 2, core / 2, Colour(palette::WHITE));
    return picture;
}

// The burst dying away: a broken ring of flame and smoke around a fading glow.
BITMAP* FadingBurst(int size)
{
    BITMAP* picture = NewPicture(size, size);
    const int c = size / 2;
    circlefill(picture, c, c, 9, Colour(palette::EMBER_RED));
    circlefill(picture, c - 1, c - 1, 6, Colour(palette::EMBER_ORANGE));
    for (int i = 0; i < 10; ++i) {
        double angle = 2 * 3.14159265358979 * i / 10;
        int x = c + static_cast<int>(std::lround(std::cos(angle) * (c - 7)));
        int y = c + static_cast<int>(std::lround(std::sin(angle) * (c - 7)));
        Rgb puff = i % 3 == 0 ? Rgb{88, 80, 88}
                              : (i % 3 == 1 ? palette::EMBER_ORANGE : palette::EMBER_RED);
        circlefill(picture, x, y, 5 + i % 2, Colour(puff));
        circlefill(picture, x - 1, y - 1, 2,
                   Colour(i % 3 == 0 ? Rgb{136, 128, 132} : palette::EMBER_YELLOW));
    }
    return picture;
}
} // namespace

void WriteSprites(const std::string& folder)
{
    SavePicture(Faerie(Facing::FRONT), folder, "faerie.pcx");
    SavePicture(Faerie(Facing::BACK), folder, "faerie_back.pcx");
    SavePicture(Faerie(Facing::LEFT), folder, "faerie_left.pcx");
    SavePicture(Faerie(Facing::RIGHT), folder, "faerie_right.pcx");
    SavePicture(Shadow(SHADOW_WIDTH, SHADOW_HEIGHT), folder, "shadow.pcx");
    SavePicture(Shadow(16, 8), folder, "small_shadow.pcx");
    SavePicture(Fireball(), folder, "faerie_fire.pcx");
    SavePicture(Burst(36, 12, 7, 1), folder, "faerie_fire2.pcx");
    SavePicture(FadingBurst(46), folder, "faerie_fire3.pcx");
}
