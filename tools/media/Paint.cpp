#include "media/Paint.h"

#include <algorithm>
#include <vector>

namespace {
const int GLYPH_SIZE = 8; // Allegro's built-in font, in pixels

int Clamp(int value) { return std::clamp(value, 0, 255); }

bool IsTransparent(BITMAP* picture, int x, int y)
{
    return getpixel(picture, x, y) == Colour(palette::TRANSPARENT);
}
} // namespace

int Colour(Rgb rgb) { return makecol24(rgb.r, rgb.g, rgb.b); }

Rgb Shade(Rgb rgb, int percent)
{
    Rgb shaded{Clamp(rgb.r * percent / 100), Clamp(rgb.g * percent / 100),
               Clamp(rgb.b * percent / 100)};
    // At 16 bits anything this close to bright pink would turn transparent.
    if (shaded.r > 247 && shaded.g < 4 && shaded.b > 247)
        shaded.g = 8;
    return shaded;
}

Rgb Mix(Rgb a, Rgb b, int weight)
{
    return Shade({a.r + (b.r - a.r) * weight / 256, a.g + (b.g - a.g) * weight / 256,
                  a.b + (b.b - a.b) * weight / 256},
                 100);
}

BITMAP* NewPicture(int width, int height)
{
    BITMAP* picture = create_bitmap_ex(24, width, height);
    clear_to_color(picture, Colour(palette::TRANSPARENT));
    return picture;
}

void SavePicture(BITMAP* picture, const std::string& folder, const char* name)
{
    save_pcx((folder + "/" + name).c_str(), picture, nullptr);
    destroy_bitmap(picture);
}

int Noise(int x, int y, int seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2147483647u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFF);
}

int BlockTextWidth(const char* text, int scale) { return (text_length(font, text) + 2) * scale; }

void DrawBlockText(BITMAP* target, const char* text, int x, int y, int scale, Rgb top, Rgb bottom)
{
    const int width = text_length(font, text);
    BITMAP* glyphs = create_bitmap_ex(24, width + 2, GLYPH_SIZE + 2);
    clear_to_color(glyphs, Colour(palette::TRANSPARENT));
    textout_ex(glyphs, font, text, 1, 1, makecol24(255, 255, 255), -1);
    const int white = makecol24(255, 255, 255);
    for (int gy = 0; gy < glyphs->h; ++gy) {
        for (int gx = 0; gx < glyphs->w; ++gx) {
            bool lit = getpixel(glyphs, gx, gy) == white;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !lit; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    edge = edge || getpixel(glyphs, gx + dx, gy + dy) == white;
            if (!lit && !edge)
                continue;
            for (int py = 0; py < scale; ++py) {
                int row = (gy - 1) * scale + py;
                Rgb fill = Mix(top, bottom, std::clamp(row * 256 / (GLYPH_SIZE * scale), 0, 256));
                // A lighter top edge on every block gives the letters some relief.
                if (py == 0 && lit && getpixel(glyphs, gx, gy - 1) != white)
                    fill = Shade(Mix(fill, palette::WHITE, 128), 100);
                int colour = Colour(lit ? fill : palette::INK);
                hline(target, x + gx * scale, y + gy * scale + py, x + gx * scale + scale - 1,
                      colour);
            }
        }
    }
    destroy_bitmap(glyphs);
}

void OutlinedEllipse(BITMAP* target, int x, int y, int rx, int ry, Rgb fill)
{
    ellipsefill(target, x, y, rx + 1, ry + 1, Colour(palette::INK));
    ellipsefill(target, x, y, rx, ry, Colour(fill));
}

BITMAP* Enlarge(BITMAP* source, int factor)
{
    BITMAP* large = create_bitmap_ex(24, source->w * factor, source->h * factor);
    stretch_blit(source, large, 0, 0, source->w, source->h, 0, 0, large->w, large->h);
    return large;
}

void OutlineShape(BITMAP* picture)
{
    std::vector<std::pair<int, int>> edge;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            if (!IsTransparent(picture, x, y))
                continue;
            bool touches = false;
            const int near[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& d : near) {
                int nx = x + d[0], ny = y + d[1];
                if (nx >= 0 && ny >= 0 && nx < picture->w && ny < picture->h &&
                    !IsTransparent(picture, nx, ny))
                    touches = true;
            }
            if (touches)
                edge.emplace_back(x, y);
        }
    }
    for (const auto& [x, y] : edge)
        putpixel(picture, x, y, Colour(palette::INK));
}
