#include "media/Ground.h"
#include "media/Families.h"
#include "media/Paint.h"

namespace {
const int SLAB_SIZE = 16; // paving slab edge in pixels, divides the texture period

// Every texture here depends on the pixel's place modulo the period only, so any two tiles
// of the staggered grid meet without a seam.
int Periodic(int x) { return x % TEXTURE_PERIOD_X; }

void PaintGrass(BITMAP* tile)
{
    for (int y = 0; y < TILE_HEIGHT; ++y) {
        for (int x = 0; x < TILE_WIDTH; ++x) {
            int n = Noise(Periodic(x), y, 11);
            Rgb colour = palette::GRASS;
            if (n < 40)
                colour = palette::GRASS_DARK;
            else if (n > 230)
                colour = palette::GRASS_LIGHT;
            putpixel(tile, x, y, Colour(colour));
        }
    }
    // Tufts: a lit blade over a dark one, lit on the left as everywhere. The loop starts a
    // period early so that the tufts cut by the left edge reappear at the right one.
    for (int y = 2; y < TILE_HEIGHT; y += 6) {
        int tx = Noise(0, y, 12) % TEXTURE_PERIOD_X;
        for (int x = tx - TEXTURE_PERIOD_X; x <= TILE_WIDTH; x += TEXTURE_PERIOD_X) {
            putpixel(tile, x, y, Colour(palette::GRASS_LIGHT));
            putpixel(tile, x, y + 1, Colour(palette::GRASS_LIGHT));
            putpixel(tile, x + 1, y + 1, Colour(palette::GRASS_DARK));
            putpixel(tile, x - 1, y + 1, Colour(palette::GRASS_LIGHT));
        }
    }
    const Rgb flowers[2] = {palette::EMBER_YELLOW, palette::WHITE};
    for (int i = 0; i < 5; ++i) {
        int fy = 8 + i * 19;
        int fx = Noise(i, 7, 13) % TEXTURE_PERIOD_X;
        for (int x = fx; x < TILE_WIDTH; x += TEXTURE_PERIOD_X)
            putpixel(tile, x, fy, Colour(flowers[i % 2]));
    }
}

void PaintWater(BITMAP* tile)
{
    for (int y = 0; y < TILE_HEIGHT; ++y)
        for (int x = 0; x < TILE_WIDTH; ++x)
            putpixel(tile, x, y,
                     Colour(Noise(Periodic(x), y, 21) < 24 ? palette::WATER_DEEP : palette::WATER));
    // Short wave crests, each a light dash with a dark trough below it.
    for (int y = 3; y < TILE_HEIGHT; y += 8) {
        int start = Noise(1, y, 22) % TEXTURE_PERIOD_X;
        int length = 4 + Noise(2, y, 22) % 6;
        for (int x = 0; x < TILE_WIDTH; ++x) {
            int along = (x - start + TEXTURE_PERIOD_X * 4) % TEXTURE_PERIOD_X;
            if (along < length) {
                putpixel(tile, x, y, Colour(palette::WATER_LIGHT));
                putpixel(tile, x, y + 1, Colour(palette::WATER_DEEP));
            }
        }
    }
}

void PaintRubble(BITMAP* tile)
{
    PaintPavement(tile);
    const Rgb chunks[4] = {{120, 112, 104}, {150, 96, 72}, {96, 92, 96}, {176, 168, 152}};
    // Heaped from the back of the plot to the front so nearer chunks cover farther ones.
    for (int i = 0; i < 90; ++i) {
        int y = 14 + i * 72 / 90 + Noise(i, 1, 31) % 6;
        int spread = 40 + (i % 30);
        int x = 64 + (Noise(i, 2, 31) % (spread * 2)) - spread;
        int w = 4 + Noise(i, 3, 31) % 9;
        int h = 3 + Noise(i, 4, 31) % 5;
        Rgb colour = chunks[Noise(i, 5, 31) % 4];
        rectfill(tile, x, y, x + w, y + h, Colour(Shade(colour, 75)));
        rectfill(tile, x, y, x + w - 1, y + h - 1, Colour(colour));
        hline(tile, x, y, x + w - 1, Colour(Shade(colour, 125)));
    }
    // Bent reinforcing bars sticking out of the heap.
    const int bars[3][4] = {{40, 40, 48, 28}, {80, 50, 92, 40}, {60, 70, 56, 58}};
    for (const auto& bar : bars)
        line(tile, bar[0], bar[1], bar[2], bar[3], Colour({96, 56, 40}));
}
} // namespace

void PaintPavement(BITMAP* tile)
{
    for (int y = 0; y < TILE_HEIGHT; ++y) {
        for (int x = 0; x < TILE_WIDTH; ++x) {
            Rgb colour = Shade(palette::PAVEMENT, 96 + Noise(Periodic(x), y, 41) % 8);
            if (x % SLAB_SIZE == 0 || y % SLAB_SIZE == 0)
                colour = palette::PAVEMENT_DARK;
            putpixel(tile, x, y, Colour(colour));
        }
    }
}

void WriteGroundTiles(const std::string& folder)
{
    BITMAP* tile = NewPicture(TILE_WIDTH, TILE_HEIGHT);
    PaintGrass(tile);
    SavePicture(tile, folder, "grass.pcx");

    tile = NewPicture(TILE_WIDTH, TILE_HEIGHT);
    PaintWater(tile);
    SavePicture(tile, folder, "water.pcx");

    tile = NewPicture(TILE_WIDTH, TILE_HEIGHT);
    PaintRubble(tile);
    SavePicture(tile, folder, "rubble.pcx");
}
