#include "media/Families.h"
#include "media/Paint.h"

namespace {
const char* const GAME_NAME = "Emberwing";
const int TITLE_SCALE = 6; // 8x8 letters blown up to 48 pixels
const int TITLE_WIDTH = 580;
const int TITLE_HEIGHT = 80;

// The menu is centred on (400, 300) and starts at x 280 with the cursor, whose rows begin at
// y 255 and 325; so the picture's top-left is (280, 235) and each entry is centred on the
// middle of its 20-pixel cursor row.
const int MENU_WIDTH = 240;
const int MENU_HEIGHT = 130;
const int MENU_SCALE = 4;
const int MENU_TEXT_X = 40;
const int PLAY_CENTRE_Y = 30;
const int QUIT_CENTRE_Y = 100;

// The portrait is drawn at half size and doubled for chunky, crisp pixels; at (500, 200)
// it must end inside the 800 x 600 screen.
const int FACE_SCALE = 2;
const int FACE_WIDTH = 140;
const int FACE_HEIGHT = 190;

void Polygon(BITMAP* target, std::initializer_list<int> points, Rgb fill)
{
    polygon(target, static_cast<int>(points.size() / 2), points.begin(), Colour(fill));
}

void PaintTitleWing(BITMAP* title, int root_x, int side)
{
    const int s = side;
    Polygon(title,
            {root_x, 44, root_x + s * 18, 8, root_x + s * 46, 2, root_x + s * 54, 14,
             root_x + s * 32, 38, root_x + s * 8, 52},
            palette::WING);
    Polygon(title,
            {root_x, 52, root_x + s * 38, 54, root_x + s * 40, 68, root_x + s * 24, 74,
             root_x + s * 6, 62},
            palette::WING_SHADE);
    // Veins from the root, and a glint at the tip where the light falls.
    line(title, root_x + s * 2, 46, root_x + s * 44, 8, Colour(palette::WING_SHADE));
    line(title, root_x + s * 2, 48, root_x + s * 40, 28, Colour(palette::WING_SHADE));
    line(title, root_x + s * 4, 56, root_x + s * 34, 66, Colour(palette::WING));
    putpixel(title, root_x + s * 46, 6, Colour(palette::WHITE));
}

BITMAP* Title()
{
    BITMAP* title = NewPicture(TITLE_WIDTH, TITLE_HEIGHT);
    const int text_width = BlockTextWidth(GAME_NAME, TITLE_SCALE);
    const int text_x = (TITLE_WIDTH - text_width) / 2;
    PaintTitleWing(title, text_x + 4, -1);
    PaintTitleWing(title, text_x + text_width - 4, 1);
    OutlineShape(title);
    // A drop shadow one block down and right lifts the name off the backdrop.
    DrawBlockText(title, GAME_NAME, text_x + 4, 16, TITLE_SCALE, palette::NIGHT, palette::INK);
    DrawBlockText(title, GAME_NAME, text_x, 12, TITLE_SCALE, palette::EMBER_YELLOW,
                  palette::EMBER_RED);
    // Embers rising from the letters.
    for (int i = 0; i < 14; ++i) {
        int x = text_x + 20 + Noise(i, 1, 71) % (text_width - 40);
        int y = 2 + Noise(i, 2, 71) % 8;
        Rgb spark = i % 2 ? palette::EMBER_YELLOW : palette::EMBER_ORANGE;
        rectfill(title, x, y, x + 1, y + 1, Colour(spark));
    }
    return title;
}

void PaintMenuEntry(BITMAP* menu, const char* text, int centre_y)
{
    const int y = centre_y - (8 + 2) * MENU_SCALE / 2;
    DrawBlockText(menu, text, MENU_TEXT_X + 3, y + 3, MENU_SCALE, palette::NIGHT, palette::INK);
    DrawBlockText(menu, text, MENU_TEXT_X, y, MENU_SCALE, palette::WHITE, palette::EMBER_ORANGE);
}

BITMAP* Menu()
{
    BITMAP* menu = NewPicture(MENU_WIDTH, MENU_HEIGHT);
    PaintMenuEntry(menu, "Play", PLAY_CENTRE_Y);
    PaintMenuEntry(menu, "Quit", QUIT_CENTRE_Y);
    // A gold rule between the entries.
    const int rule_y = (PLAY_CENTRE_Y + QUIT_CENTRE_Y) / 2;
    hline(menu, MENU_TEXT_X, rule_y, MENU_TEXT_X + 140, Colour(palette::GOLD));
    hline(menu, MENU_TEXT_X + 1, rule_y + 1, MENU_TEXT_X + 141, Colour(palette::GOLD_DARK));
    return menu;
}

void PaintSparkle(BITMAP* face, int x, int y, Rgb colour)
{
    hline(face, x - 2, y, x + 2, Colour(colour));
    vline(face, x, y - 2, y + 2, Colour(colour));
    putpixel(face, x, y, Colour(palette::WHITE));
}

void PaintEye(BITMAP* face, int x, int y)
{
    ellipsefill(face, x, y, 4, 5, Colour(palette::WHITE));
    ellipsefill(face, x, y + 1, 3, 4, Colour(palette::EYE));
    ellipsefill(face, x, y + 1, 1, 2, Colour(palette::INK));
    putpixel(face, x - 1, y - 1, Colour(palette::WHITE));
    hline(face, x - 5, y - 6, x + 4, Colour(palette::INK));
    putpixel(face, x + 5, y - 7, Colour(palette::INK));
}

// Head and shoulders in front of her wings, lit from the top left, on a night sky.
void PaintPortrait(BITMAP* face)
{
    const int cx = FACE_WIDTH / 2;
    clear_to_color(face, Colour(palette::NIGHT));
    for (int i = 0; i < 30; ++i)
        putpixel(face, Noise(i, 1, 81) % FACE_WIDTH, Noise(i, 2, 81) % FACE_HEIGHT,
                 Colour(i % 3 ? Rgb{120, 112, 176} : palette::WHITE));
    // Wings behind the shoulders.
    for (int s : {-1, 1}) {
        Polygon(face, {cx, 120, cx + s * 66, 34, cx + s * 70, 80, cx + s * 20, 134},
                palette::WING_SHADE);
        Polygon(face, {cx, 120, cx + s * 60, 44, cx + s * 62, 76, cx + s * 18, 128}, palette::WING);
        line(face, cx + s * 10, 118, cx + s * 58, 52, Colour(palette::WING_SHADE));
        line(face, cx + s * 14, 124, cx + s * 60, 70, Colour(palette::WING_SHADE));
        Polygon(face, {cx, 130, cx + s * 52, 150, cx + s * 44, 170, cx + s * 12, 146},
                palette::WING_SHADE);
    }
    // Hair of flame behind the head.
    ellipsefill(face, cx, 82, 38, 42, Colour(palette::EMBER_RED));
    for (int i = 0; i < 7; ++i) {
        int x = cx - 36 + i * 12;
        Polygon(face, {x - 6, 60, x + 2 + (i % 2) * 4, 24 + (i % 3) * 6, x + 8, 60},
                i % 2 ? palette::EMBER_ORANGE : palette::EMBER_RED);
    }
    Polygon(face, {cx - 38, 90, cx - 44, 128, cx - 26, 112}, palette::EMBER_RED);
    Polygon(face, {cx + 38, 90, cx + 44, 128, cx + 26, 112}, palette::EMBER_RED);
    // Shoulders and dress.
    ellipsefill(face, cx, 160, 46, 32, Colour(palette::EMBER_RED));
    ellipsefill(face, cx - 8, 156, 28, 20, Colour(palette::EMBER_ORANGE));
    rectfill(face, cx - 7, 108, cx + 7, 134, Colour(palette::SKIN_SHADE));
    rectfill(face, cx - 7, 108, cx + 2, 134, Colour(palette::SKIN));
    Polygon(face, {cx - 24, 130, cx + 24, 130, cx, 148}, palette::SKIN);
    // Pointed ears, then the face, lit on its left.
    Polygon(face, {cx - 20, 84, cx - 36, 66, cx - 20, 98}, palette::SKIN);
    Polygon(face, {cx + 20, 84, cx + 36, 66, cx + 20, 98}, palette::SKIN_SHADE);
    ellipsefill(face, cx, 88, 22, 26, Colour(palette::SKIN_SHADE));
    ellipsefill(face, cx - 2, 86, 20, 25, Colour(palette::SKIN));
    // Fringe of flame over the brow.
    for (int i = 0; i < 6; ++i) {
        int x = cx - 24 + i * 9;
        Polygon(face, {x, 58, x + 12, 58, x + 6 + (i % 2) * 3, 74 + (i % 3) * 3},
                i % 2 ? palette::EMBER_RED : palette::EMBER_ORANGE);
    }
    line(face, cx - 16, 60, cx - 8, 70, Colour(palette::EMBER_YELLOW));
    line(face, cx - 2, 59, cx + 2, 68, Colour(palette::EMBER_YELLOW));
    PaintEye(face, cx - 9, 90);
    PaintEye(face, cx + 9, 90);
    putpixel(face, cx + 1, 98, Colour(palette::SKIN_SHADE));
    putpixel(face, cx + 1, 99, Colour(palette::SKIN_SHADE));
    const Rgb blush{240, 160, 150};
    hline(face, cx - 15, 99, cx - 12, Colour(blush));
    hline(face, cx + 12, 99, cx + 15, Colour(blush));
    hline(face, cx - 3, 105, cx + 3, Colour(palette::EMBER_RED));
    putpixel(face, cx - 4, 104, Colour(palette::EMBER_RED));
    putpixel(face, cx + 4, 104, Colour(palette::EMBER_RED));
    PaintSparkle(face, 20, 150, palette::EMBER_YELLOW);
    PaintSparkle(face, 118, 30, palette::WING);
    PaintSparkle(face, 112, 160, palette::EMBER_ORANGE);
}

// The portrait inside an oval gold frame, transparent outside it.
BITMAP* FaerieFace()
{
    const int cx = FACE_WIDTH / 2, cy = FACE_HEIGHT / 2;
    const int rx = FACE_WIDTH / 2 - 2, ry = FACE_HEIGHT / 2 - 2;
    BITMAP* portrait = create_bitmap_ex(24, FACE_WIDTH, FACE_HEIGHT);
    PaintPortrait(portrait);
    BITMAP* face = NewPicture(FACE_WIDTH, FACE_HEIGHT);
    ellipsefill(face, cx, cy, rx + 1, ry + 1, Colour(palette::INK));
    ellipsefill(face, cx, cy, rx, ry, Colour(palette::GOLD_DARK));
    ellipsefill(face, cx - 1, cy - 1, rx - 1, ry - 1, Colour(palette::GOLD));
    ellipsefill(face, cx, cy, rx - 4, ry - 4, Colour(palette::INK));
    const int inside = Colour(palette::INK);
    for (int y = 0; y < FACE_HEIGHT; ++y)
        for (int x = 0; x < FACE_WIDTH; ++x)
            if (getpixel(face, x, y) == inside &&
                (x - cx) * (x - cx) * (ry - 5) * (ry - 5) +
                        (y - cy) * (y - cy) * (rx - 5) * (rx - 5) <
                    (rx - 5) * (rx - 5) * (ry - 5) * (ry - 5))
                putpixel(face, x, y, getpixel(portrait, x, y));
    destroy_bitmap(portrait);
    BITMAP* large = Enlarge(face, FACE_SCALE);
    destroy_bitmap(face);
    return large;
}
} // namespace

void WriteTitlePictures(const std::string& folder)
{
    SavePicture(Title(), folder, "title.pcx");
    SavePicture(Menu(), folder, "menu.pcx");
    SavePicture(FaerieFace(), folder, "faerieface.pcx");
}
