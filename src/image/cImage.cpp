#include "image/cImage.h"

#include "graphics/cGraphics.h"
#include "image/PictureFile.h"

#include <algorithm>
#include <cstdint>

cImage::cImage() : bitmap(nullptr), loaded(false), half_width(0), half_height(0) {}

cImage::cImage(const char* file) : cImage() { Load(file); }

cImage::~cImage() { Unload(); }

void cImage::Adopt(BITMAP* picture)
{
    if (!picture)
        return;
    bitmap = picture;
    loaded = true;
    half_width = picture->w / 2;
    half_height = picture->h / 2;
}

void cImage::Load(const char* file)
{
    Unload();
    Adopt(LoadPicture(file));
}

void cImage::Unload()
{
    if (!loaded)
        return;
    destroy_bitmap(bitmap);
    loaded = false;
}

BITMAP* cImage::Source() const { return loaded ? bitmap : cGraphics::not_loaded; }

void cImage::Draw(int x, int y) { draw_sprite(cGraphics::double_buffer, Source(), x, y); }

void cImage::DrawCentred(int x, int y)
{
    if (loaded)
        draw_sprite(cGraphics::double_buffer, bitmap, x - half_width, y - half_height);
    else
        draw_sprite(cGraphics::double_buffer, cGraphics::not_loaded, x, y);
}

namespace {
template <typename Combine>
void Stencil(BITMAP* stencil, int x, int y, Combine combine)
{
    BITMAP* frame = cGraphics::double_buffer;
    // Only 16-bit pixels can be combined with a 16-bit mask; anything else is left alone.
    if (bitmap_color_depth(stencil) != 16 || bitmap_color_depth(frame) != 16)
        return;
    const int w = stencil->w, h = stencil->h;
    const int screen_w = cGraphics::SCR_WIDTH, screen_h = cGraphics::SCR_HEIGHT;
    if (x >= screen_w || x + w < 0 || y >= screen_h || y + h < 0)
        return;
    const int u0 = std::max(0, -x), u1 = std::min(w, screen_w - x);
    const int v0 = std::max(0, -y), v1 = std::min(h, screen_h - y);
    for (int v = v0; v < v1; ++v) {
        const uint16_t* src = reinterpret_cast<const uint16_t*>(stencil->line[v]);
        uint16_t* dst = reinterpret_cast<uint16_t*>(frame->line[y + v]);
        for (int u = u0; u < u1; ++u)
            if (src[u] != MASK_COLOR_16)
                dst[x + u] = combine(dst[x + u]);
    }
}
} // namespace

void cImage::OrMaskDraw(int x, int y, short mask)
{
    if (!loaded) {
        Draw(x, y);
        return;
    }
    const uint16_t bits = static_cast<uint16_t>(mask);
    Stencil(bitmap, x, y, [bits](uint16_t pixel) { return uint16_t(pixel | bits); });
}

void cImage::AndMaskDraw(int x, int y, short mask)
{
    if (!loaded) {
        Draw(x, y);
        return;
    }
    const uint16_t bits = static_cast<uint16_t>(mask);
    Stencil(bitmap, x, y, [bits](uint16_t pixel) { return uint16_t(pixel & bits); });
}
