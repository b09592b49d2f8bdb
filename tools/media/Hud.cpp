#include "media/Families.h"
#include "media/Paint.h"

namespace {
// The sign sits at (2, 2) under the population text written at (6, 10) in the 8x8 font;
// twenty characters make 160 pixels. The energy bar starts at y 30, so the sign stops at 29.
const int SIGN_WIDTH = 170;
const int SIGN_HEIGHT = 27;

// A disc that fills its square exactly: the pixel centres within half the size of the centre.
BITMAP* Disc(int size, Rgb fill)
{
    BITMAP* picture = NewPicture(size, size);
    const int twice_radius = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int dx = 2 * x + 1 - size, dy = 2 * y + 1 - size;
            if (dx * dx + dy * dy <= twice_radius * twice_radius)
                putpixel(picture, x, y, Colour(fill));
        }
    }
    return picture;
}

BITMAP* PopulationSign()
{
    BITMAP* sign = NewPicture(SIGN_WIDTH, SIGN_HEIGHT);
    const Rgb plate{240, 228, 196};
    rectfill(sign, 1, 0, SIGN_WIDTH - 2, SIGN_HEIGHT - 1, Colour(palette::INK));
    rectfill(sign, 0, 1, SIGN_WIDTH - 1, SIGN_HEIGHT - 2, Colour(palette::INK));
    rectfill(sign, 1, 1, SIGN_WIDTH - 2, SIGN_HEIGHT - 2, Colour(palette::GOLD_DARK));
    rectfill(sign, 2, 2, SIGN_WIDTH - 3, SIGN_HEIGHT - 3, Colour(palette::GOLD));
    rectfill(sign, 3, 3, SIGN_WIDTH - 4, SIGN_HEIGHT - 4, Colour(plate));
    hline(sign, 3, 3, SIGN_WIDTH - 4, Colour(palette::WHITE));
    hline(sign, 3, SIGN_HEIGHT - 4, SIGN_WIDTH - 4, Colour(Shade(plate, 85)));
    // The text's row, y 8 to 15 of the sign, stays plain plate so the red digits read.
    const int bolts[2] = {4, SIGN_WIDTH - 6};
    for (int x : bolts) {
        for (int y : {4, SIGN_HEIGHT - 6}) {
            rectfill(sign, x, y, x + 1, y + 1, Colour(palette::GOLD_DARK));
            putpixel(sign, x, y, Colour(palette::WHITE));
        }
    }
    return sign;
}

// Hazard stripes with a cross: nobody takes it for a real picture.
BITMAP* Placeholder()
{
    const int size = 32;
    BITMAP* picture = NewPicture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            putpixel(picture, x, y, Colour((x + y) / 4 % 2 ? palette::INK : palette::EMBER_YELLOW));
    for (int d = -1; d <= 1; ++d) {
        line(picture, 0, d, size - 1, size - 1 + d, Colour(palette::EMBER_RED));
        line(picture, 0, size - 1 + d, size - 1, d, Colour(palette::EMBER_RED));
    }
    rect(picture, 0, 0, size - 1, size - 1, Colour(palette::EMBER_RED));
    return picture;
}
} // namespace

void WriteHud(const std::string& folder)
{
    SavePicture(Disc(96, palette::EMBER_ORANGE), folder, "circle96x96.pcx");
    SavePicture(Disc(64, palette::EMBER_YELLOW), folder, "circle64x64.pcx");
    SavePicture(PopulationSign(), folder, "pop_sign.pcx");
    SavePicture(Placeholder(), folder, "NotLoaded.pcx");
}
