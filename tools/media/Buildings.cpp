#include "media/Families.h"
#include "media/Ground.h"
#include "media/Paint.h"

namespace {
// One storey rises 31 pixels on the screen: the front wall band of every storey is that tall,
// and each storey image is drawn 31 pixels above the one below.
const int STOREY_PIXELS = 31;
const int CAST_SHADOW_PIXELS = 8; // light from the top left throws shadows to the right

enum class Facade { BRICK, CONCRETE, GLASS };

// A building's footprint on the ground cell and its materials. A storey occupies its
// footprint lifted by 31 pixels: the roof spans rows back - 31 to front - 32, the front wall
// rows front - 31 to front - 1.
struct Look {
    const char* base_name;
    const char* storey_name;
    int left, right, back, front; // footprint in the cell, right and front exclusive
    Rgb wall, roof;
    Facade facade;
};

const Look LOOKS[3] = {
    {"building_base.pcx",
     "building_ext.pcx",
     14,
     114,
     42,
     88,
     {156, 72, 52},
     {92, 86, 92},
     Facade::BRICK},
    {"building_base2.pcx",
     "building_ext2.pcx",
     8,
     120,
     40,
     90,
     {196, 188, 168},
     {148, 148, 156},
     Facade::CONCRETE},
    {"building_base3.pcx",
     "building_ext3.pcx",
     28,
     100,
     46,
     86,
     {60, 116, 168},
     {72, 80, 104},
     Facade::GLASS},
};

int WallTop(const Look& look) { return look.front - STOREY_PIXELS; }
int RoofTop(const Look& look) { return look.back - STOREY_PIXELS; }

Rgb BrickPixel(const Look& look, int x, int row)
{
    bool mortar = row % 4 == 3 || (x + (row / 4 % 2) * 4) % 8 == 0;
    return mortar ? Shade(look.wall, 70) : Shade(look.wall, 94 + Noise(x, row, 51) % 12);
}

void PaintWindows(BITMAP* tile, const Look& look, int top)
{
    const Rgb lit = palette::EMBER_YELLOW;
    const Rgb glass{40, 64, 96};
    switch (look.facade) {
    case Facade::BRICK:
        // Separate sash windows, some lit from inside, each with a pale sill.
        for (int x = look.left + 6; x + 6 <= look.right - 4; x += 14) {
            bool on = Noise(x, 0, 52) % 3 == 0;
            rectfill(tile, x, top + 9, x + 5, top + 20, Colour(on ? lit : glass));
            vline(tile, x, top + 9, top + 20, Colour(Shade(on ? lit : glass, 70)));
            hline(tile, x, top + 14, x + 5, Colour(Shade(look.wall, 60)));
            hline(tile, x - 1, top + 21, x + 6, Colour(palette::PAVEMENT));
        }
        break;
    case Facade::CONCRETE:
        // One long ribbon of tinted glass split by thin mullions.
        rectfill(tile, look.left + 4, top + 9, look.right - 5, top + 20, Colour({44, 92, 112}));
        hline(tile, look.left + 4, top + 9, look.right - 5, Colour({24, 48, 64}));
        for (int x = look.left + 4; x < look.right - 4; x += 10)
            vline(tile, x, top + 9, top + 20, Colour(Shade(look.wall, 80)));
        for (int x = look.left + 7; x < look.right - 6; x += 10)
            putpixel(tile, x, top + 11, Colour(palette::WATER_LIGHT));
        break;
    case Facade::GLASS:
        // A curtain wall: glass from floor to floor, steel mullions, sky reflected in streaks.
        for (int y = top + 3; y < top + STOREY_PIXELS - 1; ++y) {
            for (int x = look.left + 1; x < look.right - 1; ++x) {
                Rgb colour = look.wall;
                if ((x + y) % 23 < 3)
                    colour = {150, 204, 240};
                if ((x - look.left) % 8 == 0)
                    colour = {36, 52, 76};
                putpixel(tile, x, y, Colour(colour));
            }
        }
        break;
    }
}

void PaintWall(BITMAP* tile, const Look& look)
{
    const int top = WallTop(look);
    for (int y = top; y < look.front; ++y)
        for (int x = look.left; x < look.right; ++x)
            putpixel(tile, x, y,
                     Colour(look.facade == Facade::BRICK
                                ? BrickPixel(look, x, y - top)
                                : Shade(look.wall, 96 + Noise(x, y, 53) % 8)));
    PaintWindows(tile, look, top);
    // The floor slab: a lit ledge with its shadow below marks where each storey begins.
    hline(tile, look.left, top, look.right - 1, Colour(Shade(look.wall, 130)));
    hline(tile, look.left, top + 1, look.right - 1, Colour(Shade(look.wall, 112)));
    hline(tile, look.left, top + 2, look.right - 1, Colour(Shade(look.wall, 62)));
    vline(tile, look.left, top, look.front - 1, Colour(palette::INK));
    vline(tile, look.right - 1, top, look.front - 1, Colour(palette::INK));
}

void PaintRoof(BITMAP* tile, const Look& look)
{
    const int top = RoofTop(look);
    const int bottom = WallTop(look) - 1;
    for (int y = top; y <= bottom; ++y)
        for (int x = look.left; x < look.right; ++x)
            putpixel(tile, x, y, Colour(Shade(look.roof, 92 + Noise(x, y, 54) % 16)));
    // Parapet: lit along the top and left, in shade along the right and front.
    rect(tile, look.left, top, look.right - 1, bottom, Colour(palette::INK));
    hline(tile, look.left + 1, top + 1, look.right - 2, Colour(Shade(look.roof, 140)));
    vline(tile, look.left + 1, top + 1, bottom - 1, Colour(Shade(look.roof, 130)));
    vline(tile, look.right - 2, top + 2, bottom - 1, Colour(Shade(look.roof, 70)));
    hline(tile, look.left + 2, bottom - 1, look.right - 2, Colour(Shade(look.roof, 75)));

    const int cx = (look.left + look.right) / 2;
    const int cy = (top + bottom) / 2;
    switch (look.facade) {
    case Facade::BRICK: // a chimney stack and a water tank
        rectfill(tile, look.left + 12, top + 6, look.left + 21, top + 13,
                 Colour(Shade(look.wall, 70)));
        rectfill(tile, look.left + 12, top + 6, look.left + 21, top + 7,
                 Colour(Shade(look.wall, 120)));
        OutlinedEllipse(tile, look.right - 22, cy + 4, 8, 6, {120, 100, 80});
        ellipse(tile, look.right - 22, cy + 4, 5, 3, Colour({150, 128, 100}));
        break;
    case Facade::CONCRETE: // air-conditioning boxes
        for (int i = 0; i < 3; ++i) {
            int x = look.left + 14 + i * 30;
            rectfill(tile, x, cy - 6, x + 16, cy + 6, Colour(palette::INK));
            rectfill(tile, x + 1, cy - 5, x + 15, cy + 5, Colour({184, 188, 196}));
            circle(tile, x + 8, cy, 4, Colour({96, 100, 112}));
        }
        break;
    case Facade::GLASS: // a helipad
        circlefill(tile, cx, cy, 15, Colour(palette::INK));
        circlefill(tile, cx, cy, 14, Colour({52, 60, 76}));
        circle(tile, cx, cy, 12, Colour(palette::EMBER_YELLOW));
        rectfill(tile, cx - 5, cy - 6, cx - 4, cy + 6, Colour(palette::WHITE));
        rectfill(tile, cx + 4, cy - 6, cx + 5, cy + 6, Colour(palette::WHITE));
        hline(tile, cx - 4, cy, cx + 4, Colour(palette::WHITE));
        break;
    }
}

void PaintStorey(BITMAP* tile, const Look& look)
{
    PaintRoof(tile, look);
    PaintWall(tile, look);
}

void PaintPlot(BITMAP* tile, const Look& look)
{
    PaintPavement(tile);
    // The ground storey's shadow falls on the pavement to its right.
    for (int y = RoofTop(look) + CAST_SHADOW_PIXELS; y < look.front; ++y)
        for (int x = look.right; x < look.right + CAST_SHADOW_PIXELS && x < TILE_WIDTH; ++x)
            putpixel(tile, x, y, Colour(Shade(palette::PAVEMENT_DARK, 72)));
    PaintStorey(tile, look);
    // Only the ground storey has a way in.
    const int cx = (look.left + look.right) / 2;
    rectfill(tile, cx - 6, look.front - 16, cx + 5, look.front - 1, Colour(palette::INK));
    rectfill(tile, cx - 5, look.front - 15, cx + 4, look.front - 1, Colour({112, 72, 40}));
    vline(tile, cx, look.front - 15, look.front - 1, Colour(palette::INK));
    hline(tile, cx - 8, look.front - 18, cx + 7, Colour(Shade(look.wall, 55)));
}
} // namespace

void WriteBuildings(const std::string& folder)
{
    for (const Look& look : LOOKS) {
        BITMAP* base = NewPicture(TILE_WIDTH, TILE_HEIGHT);
        PaintPlot(base, look);
        SavePicture(base, folder, look.base_name);

        BITMAP* storey = NewPicture(TILE_WIDTH, TILE_HEIGHT);
        PaintStorey(storey, look);
        SavePicture(storey, folder, look.storey_name);
    }
}
