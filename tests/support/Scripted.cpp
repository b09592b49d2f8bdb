#include "support/Scripted.h"

#include "image/cImage.h"
#include "support/Headless.h"

void Paint(cImage* image, int width, int height, uint16_t colour)
{
    image->Unload();
    image->bitmap = SolidBitmap(width, height, colour);
    image->loaded = true;
    image->half_width = width / 2;
    image->half_height = height / 2;
}

void ReleaseAllKeys()
{
    for (int k = 0; k < KEY_MAX; ++k)
        key[k] = 0;
}
