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

void cFX::Clear(int, int, int) { clear_to_color(cGraphics::double_buffer, makecol(0, 0, 0)); }
