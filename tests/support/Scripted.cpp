#include "support/Scripted.h"

#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <algorithm>

void FillCity(cCity& city, int code)
{
    for (int row = 0; row < city.height; ++row)
        std::fill(city.grid[row], city.grid[row] + city.width, code);
}

void BuildAt(cCity& city, int x, int y, int code)
{
    int column, row;
    city.GetTile(x, y, &column, &row);
    city.grid[row][column] = code;
}

void Paint(cImage* image, int width, int height, uint16_t colour)
{
    image->Unload();
    image->bitmap = SolidBitmap(width, height, colour);
    image->loaded = true;
    image->half_width = width / 2;
    image->half_height = height / 2;
}

Controls Held(std::initializer_list<Control> held)
{
    Controls controls;
    for (Control control : held)
        controls.*control = true;
    return controls;
}

void MemorySetMode(int m)
{
    cGraphics::PlayAreaOf(m, &cGraphics::SCR_WIDTH, &cGraphics::SCR_HEIGHT);
    destroy_bitmap(cGraphics::double_buffer);
    cGraphics::double_buffer = SolidBitmap(cGraphics::SCR_WIDTH + 1, cGraphics::SCR_HEIGHT + 1, 0);
    cGraphics::mode = m;
}
