#include "city/cCity.h"

#include "city/StackedTile.h"
#include "graphics/cGraphics.h"
#include "support/GuardedBuffer.h"
#include "support/Headless.h"
#include "support/Scripted.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
const uint16_t BLACK = 0x0000;
const uint16_t UNDRAWN = 0x0001; // a colour no tile picture has
const int RUBBLE = cCity::RUBBLE, WATER = cCity::WATER;
const int START_POPULATION = 369595;
const int PEOPLE_PER_STOREY = 193;
// The tile pictures are one colour each: grounds {building_base, 2, 3, grass, rubble, water}
// opaque 128 x 96, storeys {building_ext, 2, 3} 128 x 64, taller than their 31-pixel spacing
// so that storeys above the screen's top edge still show, with a marker row at the bottom
// that gives each storey's position away.
const uint16_t BASE_COLOURS[] = {0xA000, 0x0500, 0x0014, 0x8410, 0xFFE0, 0x03EF};
const uint16_t EXT_COLOURS[] = {0x7800, 0x03C0, 0x000F};
const uint16_t EXT_MARKS[] = {0xF800, 0x07C0, 0x001E};
const char* const TILE_FILES[] = {"building_base", "building_base2", "building_base3",
                                  "grass",         "rubble",         "water",
                                  "building_ext",  "building_ext2",  "building_ext3"};
const uint16_t RUBBLE_COLOUR = BASE_COLOURS[4];
const uint16_t WATER_COLOUR = BASE_COLOURS[5];
const uint16_t TALL_MARK = EXT_MARKS[2];

// Rows of the column at x whose pixel is the given colour, top to bottom.
std::vector<int> RowsOf(BITMAP* frame, int x, uint16_t colour)
{
    std::vector<int> rows;
    for (int y = 0; y < frame->h; ++y)
        if (PixelAt(frame, x, y) == colour)
            rows.push_back(y);
    return rows;
}

// The cities here are built in a temporary folder whose media are the test tiles.
class CityTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        previous = std::filesystem::current_path();
        folder = NewTempFolder("emberwing-tiles-");
        std::filesystem::create_directory(folder / "media");
        std::filesystem::current_path(folder);
        for (int i = 0; i < 9; ++i) {
            const bool ground = i < 6;
            BITMAP* tile =
                SolidBitmap(128, ground ? 96 : 64, ground ? BASE_COLOURS[i] : EXT_COLOURS[i - 6]);
            for (int x = 0; !ground && x < 128; ++x)
                SetPixel(tile, x, 63, EXT_MARKS[i - 6]);
            save_pcx(("media/" + std::string(TILE_FILES[i]) + ".pcx").c_str(), tile, nullptr);
            destroy_bitmap(tile);
        }
    }
    static void TearDownTestSuite()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }

    // A city on a play area of the given width.
    void Open(int width)
    {
        city.reset();
        screen.reset(); // before the next one, as both set the same statics
        screen = std::make_unique<HeadlessScreen>(width, 600);
        city = std::make_unique<cCity>();
    }
    void SetUp() override { Open(800); }

    BITMAP* Frame() { return cGraphics::double_buffer; }

    static inline std::filesystem::path previous;
    static inline std::filesystem::path folder;
    std::unique_ptr<HeadlessScreen> screen; // declared first so that the city goes first
    std::unique_ptr<cCity> city;
};

// Hits on the points outside the city must change nothing.
TEST_F(CityTest, BuildingHeightCountsTheGroundStoreyFollowsTheRowShiftAndEndsAtTheEdge)
{
    // {x, y, height, outside}: points outside the city; water at both corners, x 40 of row 2
    // (left of where the row starts), the starting point's grass, the tower at (8, 7), row
    // 8's 64-pixel shift between columns 3 and 4, and a one-storey building of row 4.
    const int points[][4] = {{-1, 100, 0, 1},    {5120, 100, 0, 1},    {100, -1, 0, 1},
                             {100, 2880, 0, 1},  {-5000, -5000, 0, 1}, {0, 0, 0, 0},
                             {5119, 2879, 0, 0}, {40, 200, 0, 0},      {2624, 1488, 0, 0},
                             {970, 778, 13, 0},  {960, 778, 13, 0},    {575, 778, 0, 0},
                             {576, 778, 3, 0},   {680, 432, 1, 0}};
    for (const auto& p : points) {
        EXPECT_EQ(p[2], city->GetBuildingHeight(p[0], p[1])) << p[0] << "," << p[1];
        if (p[3])
            city->LowerBuilding(p[0], p[1]);
    }
    EXPECT_EQ(START_POPULATION, city->GetPopulation());
}

// Every hit costs inhabitants, down to none and no further: one on a small building, on
// grass or on water, and the thirteenth on the tower, which lands on the rubble it left.
TEST_F(CityTest, HitsTakeBuildingsDownOneStoreyAtATime)
{
    // {row, column, code after one hit, after a second hit}, each hit near the tile's left
    // edge so that it lies inside the city even for the last tile of a shifted row.
    const int tiles[][4] = {
        {4, 5, RUBBLE, RUBBLE}, {4, 4, 101, RUBBLE}, {15, 20, GRASS, GRASS}, {0, 0, WATER, WATER}};
    for (const auto& t : tiles)
        for (int hit = 1; hit <= 2; ++hit) {
            city->LowerBuilding(128 * t[1] + 32 * (t[0] % 3) + 8, 96 * t[0] + 48);
            EXPECT_EQ(t[1 + hit], city->grid[t[0]][t[1]]) << t[0] << "," << t[1] << " hit " << hit;
        }
    for (int hit = 1; hit <= 13; ++hit) {
        city->LowerBuilding(970, 778);
        EXPECT_EQ(hit < 12 ? 13 - hit : 0, city->GetBuildingHeight(970, 778)) << "hit " << hit;
        EXPECT_EQ(hit < 12 ? 212 - hit : RUBBLE, city->grid[8][7]) << "hit " << hit;
        EXPECT_EQ(START_POPULATION - (8 + hit) * PEOPLE_PER_STOREY, city->GetPopulation()) << hit;
    }
    city->population = 100;
    for (int hit = 0; hit < 2; ++hit) {
        city->LowerBuilding(970, 778);
        EXPECT_EQ(0, city->GetPopulation());
    }
}
TEST_F(CityTest, TilesSitWhereTheirRowsShiftPutsThem)
{
    // {view x, view y, row, column, code, upper layer, left, top, right, bottom}: for the view
    // (2304, 576) the first tile at (0, 0), row 7's first at (-96, 96) and row 8's at
    // (-64, 192); for (650, 590) the first tile at (-10, -14); a tower in row 16, 966 rows
    // down, whose storey 12 at 966 - 12 * 31 = 594 still reaches into view.
    const int cases[][10] = {{2304, 576, 6, 18, RUBBLE, 0, 0, 0, 127, 95},
                             {2304, 576, 7, 17, WATER, 0, 0, 96, 31, 191},
                             {2304, 576, 8, 17, 0, 0, 0, 192, 63, 287},
                             {650, 590, 6, 5, RUBBLE, 0, 0, 0, 117, 81},
                             {1012, 570, 16, 10, 212, 1, 300, 594, 427, 600}};
    for (const auto& c : cases) { // each an all-grass city but for one cell
        FillCity(*city, GRASS);
        city->grid[c[2]][c[3]] = c[4];
        clear_to_color(Frame(), BLACK);
        c[5] ? city->DrawExt(c[0], c[1]) : city->DrawBase(c[0], c[1]);
        const uint16_t colour = c[5] ? EXT_COLOURS[c[4] / 100] : BASE_COLOURS[c[4] / 100];
        EXPECT_EQ((std::array<int, 4>{c[6], c[7], c[8], c[9]}), BoxOf(Frame(), colour))
            << "tile (" << c[2] << ", " << c[3] << ") in view " << c[0] << "," << c[1];
    }
}

TEST_F(CityTest, TowerOverTheParkSplitsBetweenTheLayersOnBothScreens)
{
    for (int width : {800, 1024}) {
        Open(width); // the tiles of a city built after another was destroyed must load afresh
        clear_to_color(Frame(), BLACK);
        city->DrawExt(640, 576);
        // Storeys 5 to 12 at x 320, y 37, 6, ..., -180; each storey's bottom row is its marker.
        EXPECT_EQ((std::vector<int>{7, 38, 69, 100}), RowsOf(Frame(), 320, TALL_MARK));
        // Only the wide screen reaches column 12 of row 7: storeys 5 to 7 of its 207 at x 928,
        // y -59, -90, -121, of which only the last five rows of storey 5, 97 pixels wide, show.
        const int wide_extra = width == 1024 ? 97 * 5 : 0;
        EXPECT_EQ(Frame()->w * Frame()->h - 128 * 101 - wide_extra, CountPixels(Frame(), BLACK));
        city->DrawBase(640, 576);
        // Storeys 1 to 4 at y 161, 130, 99 and 68, over row 7, on the tile at (320, 192)
        // (drawn first, or it would hide storey 1's marker).
        EXPECT_EQ((std::vector<int>{131, 162, 193, 224}), RowsOf(Frame(), 320, TALL_MARK));
        EXPECT_EQ(0, CountPixels(Frame(), HeadlessScreen::PLACEHOLDER));
    }
}

// Every cell the tallest tower, whose storeys reach furthest beyond the buffer's top, and the
// grid moved into a larger table of rubble, so that a read outside the grid shows as rubble
// instead of going unseen or crashing. Past the grid only water is drawn, and the ground
// leaves no pixel of any view undrawn.
TEST_F(CityTest, ViewsAnywhereDrawEveryPixelReadOnlyTheGridAndStayInTheBuffer)
{
    const int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    // {x, y, whether the view lies wholly outside the grid}
    const int origins[][3] = {{0, 0, 0},         {63, 0, 0},      {-200, -150, 0}, {-600, 300, 0},
                              {5119, 2879, 0},   {4319, 2279, 0}, {2000, -500, 0}, {6000, 3500, 1},
                              {-5000, -5000, 1}, {low, 576, 1},   {high, 576, 1},  {640, low, 1},
                              {640, high, 1},    {low + 40, 0, 1}};
    const int pad = 16, padded_width = 40 + 2 * pad;
    std::vector<int> cells((30 + 2 * pad) * padded_width, RUBBLE);
    std::vector<int*> rows;
    for (int r = 0; r < 30 + 2 * pad; ++r)
        rows.push_back(&cells[r * padded_width + pad]);
    for (int r = pad; r < pad + 30; ++r)
        std::fill(rows[r], rows[r] + 40, 212);
    for (int width : {800, 1024}) {
        Open(width);
        int** own_grid = std::exchange(city->grid, &rows[pad]);
        GuardedBuffer guarded;
        for (const auto& at : origins) {
            clear_to_color(Frame(), UNDRAWN);
            city->DrawBase(at[0], at[1]);
            EXPECT_EQ(0, CountPixels(Frame(), UNDRAWN)) << "view " << at[0] << "," << at[1];
            city->DrawExt(at[0], at[1]);
            EXPECT_EQ(0, CountPixels(Frame(), RUBBLE_COLOUR))
                << "rubble drawn from outside the grid at " << at[0] << "," << at[1];
            EXPECT_EQ(at[2] == 1, CountPixels(Frame(), WATER_COLOUR) == Frame()->w * Frame()->h)
                << "view " << at[0] << "," << at[1] << " on " << width;
        }
        EXPECT_EQ(0, guarded.StrayPixels()) << "on " << width;
        city->grid = own_grid;
    }
}

// A tile flattened with its storeys shows what its layers drawn one by one show, for pictures
// with transparent pixels, a storey wider than the tile and one reaching below it.
TEST(StackedTileTest, ShowsWhatTheLayersDrawnInTurnShow)
{
    BITMAP* ground = SolidBitmap(6, 4, BASE_COLOURS[0]);
    BITMAP* storey = SolidBitmap(8, 9, EXT_COLOURS[0]);
    SetPixel(ground, 2, 1, MASK_COLOR_16);
    SetPixel(storey, 3, 0, MASK_COLOR_16);
    SetPixel(storey, 7, 8, EXT_MARKS[0]);
    SetPixel(storey, 0, 5, EXT_MARKS[1]);
    BITMAP* layered = SolidBitmap(24, 24, UNDRAWN);
    BITMAP* flattened = SolidBitmap(24, 24, UNDRAWN);
    for (int storeys : {1, 3}) {
        draw_sprite(layered, ground, 5, 12);
        for (int k = 1; k <= storeys; ++k)
            draw_sprite(layered, storey, 5, 12 - 2 * k);
        BITMAP* stack = StackStoreys(ground, storey, storeys, 2);
        draw_sprite(flattened, stack, 5, 12 - 2 * storeys);
        destroy_bitmap(stack);
        EXPECT_EQ(0, DifferingPixels(layered, flattened)) << storeys << " storeys";
    }
    for (BITMAP* picture : {ground, storey, layered, flattened})
        destroy_bitmap(picture);
}
} // namespace
