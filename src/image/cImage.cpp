#include "image/cImage.h"

#include "bitmap/Fractal.h"
#include "bitmap/OpaqueRuns.h"
#include "bitmap/PictureFile.h"
#include "graphics/cGraphics.h"

#include <cstdint>
#include <cstring>

cImage::cImage() : bitmap(nullptr), loaded(false), half_width(0), half_height(0), shape(nullptr) {}

cImage::cImage(const char* file) : cImage() { Load(file); }

cImage::cImage(BITMAP* picture) : cImage() { Adopt(picture); }

cImage::~cImage() { Unload(); }

void cImage::Adopt(BITMAP* picture)
{
    if (!picture)
        return;
    bitmap = picture;
    loaded = true;
    half_width = picture->w / 2;
    half_height = picture->h / 2;
    shape = FindOpaqueRuns(picture);
}

void cImage::Load(const char* file)
{
    Unload();
    Adopt(LoadPicture(file));
}

void cImage::Unload()
{
    // Dropped whatever `loaded` says, so that a picture put in through the public fields
    // afterwards is looked at afresh.
    delete shape;
    shape = nullptr;
    if (!loaded)
        return;
    destroy_bitmap(bitmap);
    loaded = false;
}

const OpaqueRuns* cImage::Shape()
{
    if (!shape)
        shape = FindOpaqueRuns(bitmap);
    return shape;
}

namespace {
uint16_t* PixelsOf(BITMAP* picture, int row)
{
    return reinterpret_cast<uint16_t*>(picture->line[row]);
}

bool SixteenBitMemory(BITMAP* picture)
{
    return bitmap_color_depth(picture) == 16 && is_memory_bitmap(picture);
}
} // namespace

// The same pixels as draw_sprite: opaque ones replace the frame's, clipped to the frame's
// clipping rectangle, at the cost of a copy of the opaque runs alone.
void cImage::DrawPicture(int x, int y)
{
    BITMAP* frame = cGraphics::double_buffer;
    const OpaqueRuns* runs = SixteenBitMemory(frame) ? Shape() : nullptr;
    if (!runs) {
        draw_sprite(frame, bitmap, x, y);
        return;
    }
    const ClipArea area = {frame->cl, frame->ct, frame->cr, frame->cb};
    VisitRunsInside(*runs, x, y, area, [&](int v, int start, int end) {
        std::memcpy(PixelsOf(frame, y + v) + x + start, PixelsOf(bitmap, v) + start,
                    sizeof(uint16_t) * (end - start));
    });
}

void cImage::Draw(int x, int y)
{
    if (loaded)
        DrawPicture(x, y);
    else
        draw_sprite(cGraphics::double_buffer, cGraphics::not_loaded, x, y);
}

void cImage::DrawCentred(int x, int y)
{
    if (loaded)
        DrawPicture(x - half_width, y - half_height);
    else
        draw_sprite(cGraphics::double_buffer, cGraphics::not_loaded, x, y);
}

// combine(pixels, mask) is called on single pixels and on four at once, packed in 64 bits
// with the mask repeated: bitwise operations do not mix neighbouring pixels.
template <typename Combine> void cImage::Stencil(int x, int y, uint16_t mask, Combine combine)
{
    BITMAP* frame = cGraphics::double_buffer;
    // Only 16-bit pixels can be combined with a 16-bit mask; anything else is left alone.
    if (bitmap_color_depth(bitmap) != 16 || bitmap_color_depth(frame) != 16)
        return;
    const OpaqueRuns* runs = Shape();
    if (!runs)
        return;
    const uint64_t mask4 = mask * UINT64_C(0x0001000100010001);
    const ClipArea area = {0, 0, cGraphics::SCR_WIDTH, cGraphics::SCR_HEIGHT};
    VisitRunsInside(*runs, x, y, area, [&](int v, int start, int end) {
        uint16_t* pixel = PixelsOf(frame, y + v) + x + start;
        int left = end - start;
        for (; left >= 4; left -= 4, pixel += 4) {
            uint64_t four;
            std::memcpy(&four, pixel, sizeof four);
            four = combine(four, mask4);
            std::memcpy(pixel, &four, sizeof four);
        }
        for (; left > 0; --left, ++pixel)
            *pixel = combine(*pixel, mask);
    });
}

void cImage::OrMaskDraw(int x, int y, short mask)
{
    if (!loaded) {
        Draw(x, y);
        return;
    }
    Stencil(x, y, static_cast<uint16_t>(mask),
            [](auto pixels, auto bits) { return decltype(pixels)(pixels | bits); });
}

void cImage::AndMaskDraw(int x, int y, short mask)
{
    if (!loaded) {
        Draw(x, y);
        return;
    }
    Stencil(x, y, static_cast<uint16_t>(mask),
            [](auto pixels, auto bits) { return decltype(pixels)(pixels & bits); });
}

void cImage::GenerateFractal(int kind, int width, int height, double re_min, double im_min,
                             double re_span, double im_span, int max_iterations, int palette)
{
    Unload();
    const FractalView view = {kind, re_min, im_min, re_span, im_span, max_iterations};
    if (BITMAP* picture = MakeFractal(width, height, view, palette))
        Adopt(picture);
}
