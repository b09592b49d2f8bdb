#include "TestTiles.h"

#include "city/cCity.h"
#include "support/Headless.h"

#include <cstdlib>
#include <filesystem>
#include <iterator>

namespace {
const char* const BASE_NAMES[] = {"building_base", "building_base2", "building_base3",
                                  "grass",         "rubble",         "water"};
const char* const EXT_NAMES[] = {"building_ext", "building_ext2", "building_ext3"};
const int EXT_HEIGHT = 64; // pixels, over twice the storey spacing

void Save(const std::string& folder, const char* name, BITMAP* picture)
{
    save_pcx((folder + "/media/" + name + ".pcx").c_str(), picture, nullptr);
    destroy_bitmap(picture);
}
} // namespace

TestTiles::TestTiles()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "emberwing-tiles-XXXXXX");
    folder = mkdtemp(pattern.data());
    std::filesystem::create_directory(folder + "/media");
    for (size_t i = 0; i < std::size(BASE_NAMES); ++i)
        Save(folder, BASE_NAMES[i], SolidBitmap(128, 96, BASE_COLOURS[i]));
    for (size_t i = 0; i < std::size(EXT_NAMES); ++i) {
        BITMAP* storey = SolidBitmap(128, EXT_HEIGHT, EXT_COLOURS[i]);
        for (int x = 0; x < 128; ++x)
            SetPixel(storey, x, EXT_HEIGHT - 1, EXT_MARKS[i]);
        Save(folder, EXT_NAMES[i], storey);
    }
}

TestTiles::~TestTiles() { std::filesystem::remove_all(folder); }

cCity* TestTiles::BuildCity() const
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    cCity* city = new cCity;
    std::filesystem::current_path(previous);
    return city;
}
