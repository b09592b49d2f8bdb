#include "graphics/cFX.h"

#include "graphics/cColour.h"
#include "graphics/cGraphics.h"

#include <allegro.h>

void cFX::DrawPixel(int x, int y, int red, int green, int blue)
{
    putpixel(cGraphics::double_buffer, x, y, makecol(red, green, blue));
}

void cFX::DrawPixel(int x, int y, cColour* colour)
{
    DrawPixel(x, y, colour->r, colour->g, colour->b);
}

void cFX::DrawRectangle(int x1, int y1, int x2, int y2, int red, int green, int blue)
{
    rectfill(cGraphics::double_buffer, x1, y1, x2, y2, makecol(red, green, blue));
}

void cFX::DrawOutline(int x1, int y1, int x2, int y2, int red, int green, int blue)
{
    rect(cGraphics::double_buffer, x1, y1, x2, y2, makecol(red, green, blue));
}

void cFX::ShadeRectangle(int x1, int y1, int x2, int y2, int light)
{
    // Blending black in at 256 - light leaves light / 256 of every colour.
    set_trans_blender(0, 0, 0, 256 - light);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(cGraphics::double_buffer, x1, y1, x2, y2, makecol(0, 0, 0));
    solid_mode();
}

void cFX::DrawTextCentred(int x, int y, int scale, int red, int green, int blue, const char* text)
{
    const int width = text_length(font, text), height = text_height(font);
    BITMAP* small = create_bitmap(width, height);
    if (!small)
        return;
    clear_to_color(small, bitmap_mask_color(small));
    textout_ex(small, font, text, 0, 0, makecol(red, green, blue), -1);
    stretch_sprite(cGraphics::double_buffer, small, x - width * scale / 2, y - height * scale / 2,
                   width * scale, height * scale);
    destroy_bitmap(small);
}

void cFX::Clear(int, int, int) { clear_to_color(cGraphics::double_buffer, makecol(0, 0, 0)); }
