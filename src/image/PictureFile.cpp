#include "image/PictureFile.h"

BITMAP* LoadPicture(const char* path)
{
    PALETTE palette; // 8-bit pictures come converted; their palette is not kept
    return load_bitmap(path, palette);
}
