#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>

// Drawing helpers shared by every family of pictures. The generator works at 24-bit colour,
// so every colour below is an exact red/green/blue triple in the saved files.

// The one palette of the game: every picture takes its colours from here.
struct Rgb {
    int r, g, b;
};

namespace palette {
const Rgb TRANSPARENT{255, 0, 255}; // the game's mask colour
const Rgb INK{24, 16, 32};          // outlines everywhere
const Rgb WHITE{255, 250, 235};
const Rgb EMBER_DARK{120, 24, 16};
const Rgb EMBER_RED{200, 48, 24};
const Rgb EMBER_ORANGE{248, 128, 32};
const Rgb EMBER_YELLOW{255, 216, 72};
const Rgb SKIN{252, 212, 176};
const Rgb SKIN_SHADE{216, 160, 136};
const Rgb WING{176, 236, 248};
const Rgb WING_SHADE{112, 184, 224};
const Rgb EYE{56, 168, 96};
const Rgb PAVEMENT{168, 164, 156};
const Rgb PAVEMENT_DARK{132, 128, 124};
const Rgb GRASS{72, 148, 56};
const Rgb GRASS_DARK{44, 104, 40};
const Rgb GRASS_LIGHT{120, 188, 72};
const Rgb WATER{32, 80, 152};
const Rgb WATER_DEEP{24, 56, 120};
const Rgb WATER_LIGHT{120, 180, 232};
const Rgb NIGHT{28, 20, 56};
const Rgb GOLD{232, 184, 72};
const Rgb GOLD_DARK{152, 104, 40};
} // namespace palette

// Light comes from the top left in every picture: lit edges face up and left.

int Colour(Rgb rgb);

// rgb scaled by percent (100 keeps it), clamped and kept away from the mask colour.
Rgb Shade(Rgb rgb, int percent);

// Blend of a and b, weight 0 gives a and 256 gives b.
Rgb Mix(Rgb a, Rgb b, int weight);

// A new 24-bit bitmap filled with the transparent colour.
BITMAP* NewPicture(int width, int height);

// Saves as PCX under folder/name and releases the bitmap.
void SavePicture(BITMAP* picture, const std::string& folder, const char* name);

// Repeatable noise in 0..255 for a point and a seed, the same on every machine.
int Noise(int x, int y, int seed);

// Text in Allegro's 8x8 font blown up by scale, coloured from top to bottom along the
// gradient top -> bottom, with a one-block outline of ink around every letter.
void DrawBlockText(BITMAP* target, const char* text, int x, int y, int scale, Rgb top, Rgb bottom);

// Width in pixels of DrawBlockText's output, outline included.
int BlockTextWidth(const char* text, int scale);

// A filled ellipse with a one-pixel ink outline.
void OutlinedEllipse(BITMAP* target, int x, int y, int rx, int ry, Rgb fill);

// Scales source up by a whole factor with hard pixel edges, into a new bitmap.
BITMAP* Enlarge(BITMAP* source, int factor);

// Replaces every transparent pixel that touches an opaque one with ink: a crisp outline.
void OutlineShape(BITMAP* picture);
