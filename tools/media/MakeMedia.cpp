// Writes every picture, the tune and the sound effects of the game into one folder, the same bytes on every
// run. Usage: emberwing-media OUTPUT_FOLDER [SHEET.bmp]
#include "media/ContactSheet.h"
#include "media/Families.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [SHEET.bmp]\n", argv[0]);
        return 2;
    }
    // Memory bitmaps and PCX files need no display: Allegro's "none" system will do.
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "media: Allegro would not start: %s\n", allegro_error);
        return 1;
    }
    set_color_depth(24);
    const std::string folder = argv[1];
    WriteGroundTiles(folder);
    WriteBuildings(folder);
    WriteSprites(folder);
    WriteHud(folder);
    WriteTitlePictures(folder);
    WriteTune(folder);
    WriteSoundEffects(folder);
    if (argc == 3 && !WriteContactSheet(folder, argv[2])) {
        std::fprintf(stderr, "media: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
END_OF_MAIN()
