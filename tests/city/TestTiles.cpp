#include "TestTiles.h"

#include "city/cCity.h"
#include "support/Headless.h"

#include <cstdlib>
#include <filesystem>

namespace {
const char* const BASE_NAMES[] = {"building_base", "building_base2", "building_base3",
                                  "grass",         "rubble",         "water"};
const char* const EXT_NAMES[] = {"building_ext", "building_ext2", "building_ext3"};

std::string PathOf(const std::string& folder, const char* name) {
    return folder + "/media/" + name + ".pcx";
}

bool SamePixels(BITMAP* a, BITMAP* b) {
    if (!a || !b || a->w != b->w || a->h != b->h)
        return false;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            if (PixelAt(a, x, y) != PixelAt(b, x, y))
                return false;
    return true;
}

bool FileMatches(const std::string& path, BITMAP* picture) {
    PALETTE palette;
    BITMAP* read = load_bitmap(path.c_str(), palette);
    const bool same = SamePixels(read, picture);
    destroy_bitmap(read);
    return same;
}
} // namespace

TestTiles::TestTiles() {
    std::string pattern = (std::filesystem::temp_directory_path() / "emberwing-tiles-XXXXXX");
    folder = mkdtemp(pattern.data());
    std::filesystem::create_directory(folder + "/media");
    for (int i = 0; i < BASE_COUNT; ++i) {
        base[i] = SolidBitmap(128, 96, BASE_COLOURS[i]);
        save_pcx(PathOf(folder, BASE_NAMES[i]).c_str(), base[i], nullptr);
    }
    for (int i = 0; i < EXT_COUNT; ++i) {
        ext[i] = SolidBitmap(128, EXT_HEIGHT, EXT_COLOURS[i]);
        for (int x = 0; x < 128; ++x)
            SetPixel(ext[i], x, EXT_HEIGHT - 1, EXT_MARKS[i]);
        save_pcx(PathOf(folder, EXT_NAMES[i]).c_str(), ext[i], nullptr);
    }
}

TestTiles::~TestTiles() {
    for (BITMAP* picture : base)
        destroy_bitmap(picture);
    for (BITMAP* picture : ext)
        destroy_bitmap(picture);
    std::filesystem::remove_all(folder);
}

cCity* TestTiles::BuildCity() const {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    cCity* city = new cCity;
    std::filesystem::current_path(previous);
    return city;
}

bool TestTiles::FilesMatchPictures() const {
    for (int i = 0; i < BASE_COUNT; ++i)
        if (!FileMatches(PathOf(folder, BASE_NAMES[i]), base[i]))
            return false;
    for (int i = 0; i < EXT_COUNT; ++i)
        if (!FileMatches(PathOf(folder, EXT_NAMES[i]), ext[i]))
            return false;
    return true;
}
