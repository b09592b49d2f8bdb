#include "StandInMedia.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const int TILE_WIDTH = 128, TILE_HEIGHT = 96;          // pixels, as the city lays them out
const int STOREY_MARGIN_X = 16, STOREY_MARGIN_TOP = 8; // transparent around a storey

const char* const GROUND_FILES[] = {
    "media/building_base.pcx", "media/building_base2.pcx", "media/building_base3.pcx",
    "media/grass.pcx",         "media/rubble.pcx",         "media/water.pcx",
};
const char* const STOREY_FILES[] = {"media/building_ext.pcx", "media/building_ext2.pcx",
                                    "media/building_ext3.pcx"};

struct Stencil {
    const char* file;
    int size;
};
const Stencil STENCILS[] = {
    {"media/shadow.pcx", 48},
    {"media/circle96x96.pcx", 96},
    {"media/circle64x64.pcx", 64},
    {"media/faerie_fire2.pcx", 32},
};

void Save(const char* file, BITMAP* picture)
{
    save_pcx(file, picture, nullptr);
    destroy_bitmap(picture);
}

BITMAP* Transparent(int width, int height)
{
    BITMAP* picture = create_bitmap_ex(16, width, height);
    clear_to_color(picture, MASK_COLOR_16);
    return picture;
}

void WriteStandIns()
{
    int shade = 40;
    for (const char* file : GROUND_FILES) {
        BITMAP* tile = create_bitmap_ex(16, TILE_WIDTH, TILE_HEIGHT);
        clear_to_color(tile, makecol16(shade, 120, 60));
        shade += 30;
        Save(file, tile);
    }
    for (const char* file : STOREY_FILES) {
        BITMAP* storey = Transparent(TILE_WIDTH, TILE_HEIGHT);
        rectfill(storey, STOREY_MARGIN_X, STOREY_MARGIN_TOP, TILE_WIDTH - 1 - STOREY_MARGIN_X,
                 TILE_HEIGHT - 1, makecol16(shade, shade, 140));
        shade += 30;
        Save(file, storey);
    }
    for (const Stencil& stencil : STENCILS) {
        BITMAP* disc = Transparent(stencil.size, stencil.size);
        const int r = stencil.size / 2;
        circlefill(disc, r, r, r - 1, makecol16(20, 20, 20));
        Save(stencil.file, disc);
    }
}
} // namespace

std::string UseMediaOrStandIns()
{
    if (access(GROUND_FILES[0], R_OK) == 0)
        return "";
    char directory[] = "/tmp/emberwing-bench-XXXXXX";
    if (!mkdtemp(directory) || chdir(directory) != 0 || mkdir("media", 0700) != 0) {
        std::fprintf(stderr, "emberwing-bench: cannot make stand-in media in /tmp\n");
        std::exit(1);
    }
    WriteStandIns();
    return directory;
}

void RemoveStandIns(const std::string& directory)
{
    if (!directory.empty())
        std::filesystem::remove_all(directory);
}
