#include "city/cCity.h"

#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
const int ROWS = 30;
const int COLUMNS = 40;
const int START_POPULATION = 369595;
const int PEOPLE_PER_STOREY = 193;

std::vector<int> Cells(const cCity& city) {
    std::vector<int> cells;
    for (int r = 0; r < city.height; ++r)
        cells.insert(cells.end(), city.grid[r], city.grid[r] + city.width);
    return cells;
}

int Cell(const std::vector<int>& cells, int row, int column) {
    return cells[row * COLUMNS + column];
}

// A map point in the tile at (row, column), near its left edge so that it lies inside the
// city even for the last tile of a shifted row.
int PointX(int row, int column) {
    return 128 * column + 32 * (row % 3) + 8;
}
int PointY(int row) {
    return 96 * row + 48;
}

// The generation replayed from its description, independently of the game's code: the
// Park-Miller step is done with Schrage's decomposition instead of a 64-bit product.
struct Replay {
    std::vector<int> cells;
    int draws = 0;
    int seed = 10141206;

    int Draw() {
        const int a = 16807, m = 2147483647, q = m / a, r = m % a;
        seed = a * (seed % q) - r * (seed / q);
        if (seed <= 0)
            seed += m;
        ++draws;
        return seed;
    }

    Replay() {
        for (int y = 0; y < ROWS; ++y)
            for (int x = 0; x < COLUMNS; ++x) {
                const int a = Draw(), b = Draw();
                int code = a % 4 + 100 * (b % 2);
                if (a % 4 >= 2)
                    Draw();
                if (Draw() % 72 == 0) {
                    const int k = Draw(), s = Draw();
                    code = 100 * (k % 3) + 7 + s % 3;
                }
                const bool border = y < 4 || y > 26 || x < 4 || x > 35;
                cells.push_back(border ? 500 : code);
            }
        const int grass[][2] = {{7, 6}, {7, 7}, {8, 6}, {8, 8}, {9, 6}, {9, 7}, {15, 20}};
        for (const auto& at : grass)
            cells[at[0] * COLUMNS + at[1]] = 300;
        cells[8 * COLUMNS + 7] = 212;
        cells[9 * COLUMNS + 8] = 104;
    }
};

// FNV-1a over the cell codes, row by row.
uint32_t Fingerprint(const std::vector<int>& cells) {
    uint32_t hash = 2166136261u;
    for (int code : cells)
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= (static_cast<uint32_t>(code) >> (8 * byte)) & 0xFF;
            hash *= 16777619u;
        }
    return hash;
}

class CityTest : public testing::Test {
  protected:
    HeadlessScreen screen;
    cCity city;
};

TEST(CityGenerationReplay, MakesTheDocumentedNumberOfDrawsAndFinalSeed) {
    const Replay replay;
    EXPECT_EQ(4212, replay.draws);
    EXPECT_EQ(1061176556, replay.seed);
}

TEST_F(CityTest, GridIsTheOneTheFixedSeedGenerates) {
    EXPECT_EQ(Replay().cells, Cells(city));
    // Pins the grid confirmed above, so that a change to the generation and the replay
    // together still shows.
    EXPECT_EQ(0x5D87DA80u, Fingerprint(Cells(city)));
}

TEST_F(CityTest, HoldsTheDocumentedCells) {
    const std::vector<int> cells = Cells(city);
    const int row4[] = {102, 0, 103, 2, 0, 3, 0, 2};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(row4[i], Cell(cells, 4, 4 + i)) << "column " << 4 + i;
    const int row8[] = {102, 3, 300, 212, 300, 103};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(row8[i], Cell(cells, 8, 4 + i)) << "column " << 4 + i;
    EXPECT_EQ(209, Cell(cells, 4, 29));
    EXPECT_EQ(7, Cell(cells, 8, 23));
    EXPECT_EQ(9, Cell(cells, 9, 16));
    EXPECT_EQ(1, Cell(cells, 7, 8));
    EXPECT_EQ(104, Cell(cells, 9, 8));
    EXPECT_EQ(300, Cell(cells, 15, 20));
}

TEST_F(CityTest, WaterBordersFourRowsAboveThreeBelowAndFourColumnsEachSide) {
    const std::vector<int> cells = Cells(city);
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLUMNS; ++c) {
            const bool border = r <= 3 || r >= 27 || c <= 3 || c >= 36;
            EXPECT_EQ(border, Cell(cells, r, c) == 500) << "row " << r << " column " << c;
        }
}

TEST_F(CityTest, CountsTilesOfEachKindAsDocumented) {
    const std::vector<int> cells = Cells(city);
    EXPECT_EQ(464, std::count(cells.begin(), cells.end(), 500));
    EXPECT_EQ(7, std::count(cells.begin(), cells.end(), 300));
    EXPECT_EQ(0, std::count(cells.begin(), cells.end(), 400));

    std::vector<int> tall;
    for (int code : cells)
        if (code < 300 && code % 100 > 4)
            tall.push_back(code);
    std::sort(tall.begin(), tall.end());
    EXPECT_EQ((std::vector<int>{7, 9, 107, 107, 207, 208, 208, 209, 209, 212}), tall);

    const std::vector<int> produced = {0,   1,   2,   3,   7,   8,   9,   100, 101, 102, 103,
                                       104, 107, 108, 109, 207, 208, 209, 212, 300, 500};
    for (int code : cells)
        EXPECT_TRUE(std::count(produced.begin(), produced.end(), code)) << code;
}

TEST_F(CityTest, PopulationIs193PerStoreyOfEveryBuilding) {
    int storeys = 0;
    for (int code : Cells(city))
        if (code < 300)
            storeys += code % 100 + 1;
    EXPECT_EQ(1915, storeys);
    EXPECT_EQ(START_POPULATION, city.GetPopulation());
}

TEST_F(CityTest, FieldsDescribeTheGridAndTheStartingPoint) {
    EXPECT_EQ(COLUMNS, city.width);
    EXPECT_EQ(ROWS, city.height);
    EXPECT_EQ(128, city.tile_width);
    EXPECT_EQ(96, city.tile_height);
    EXPECT_EQ(5120, city.GetCityWidthPixel());
    EXPECT_EQ(2880, city.GetCityHeightPixel());
    EXPECT_EQ(31, city.GetStoreyHeight());
    int x = 0, y = 0;
    city.GetStartingPoint(&x, &y);
    EXPECT_EQ(2624, x);
    EXPECT_EQ(1488, y);
    EXPECT_EQ(8, city.screen_tiles_x);
    EXPECT_EQ(8, city.screen_tiles_y);
}

TEST(CityScreenTiles, StartFromTheWidePlayArea) {
    HeadlessScreen wide(1024, 600);
    cCity city;
    EXPECT_EQ(10, city.screen_tiles_x);
    EXPECT_EQ(8, city.screen_tiles_y);
}

TEST_F(CityTest, ScreenTilesFollowTheWiderPlayAreaWhenRecalculated) {
    cGraphics::SCR_WIDTH = 1024;
    city.CalcScreenTiles();
    EXPECT_EQ(10, city.screen_tiles_x);
    EXPECT_EQ(8, city.screen_tiles_y);
}

TEST(CityLifecycle, RebuildingAfterDestructionGivesTheSameCity) {
    HeadlessScreen screen;
    cCity* first = new cCity;
    first->LowerBuilding(970, 778);
    const std::vector<int> damaged = Cells(*first);
    delete first;
    cCity* second = new cCity;
    EXPECT_NE(damaged, Cells(*second));
    EXPECT_EQ(Replay().cells, Cells(*second));
    EXPECT_EQ(START_POPULATION, second->GetPopulation());
    delete second;
}

TEST_F(CityTest, TileMappingFollowsTheStaggeredRows) {
    int column = -1, row = -1;
    city.GetTile(200, 100, &column, &row);
    EXPECT_EQ(1, row);
    EXPECT_EQ(1, column);
    city.GetTile(40, 200, &column, &row); // (40 - 64) / 128 truncates to 0
    EXPECT_EQ(2, row);
    EXPECT_EQ(0, column);
    city.GetTile(5119, 2879, &column, &row);
    EXPECT_EQ(29, row);
    EXPECT_EQ(39, column);
}

TEST_F(CityTest, BuildingHeightIsZeroOutsideTheCityAndOnOpenGround) {
    const int outside[][2] = {{-1, 100}, {5120, 100}, {100, -1}, {100, 2880}};
    for (const auto& p : outside)
        EXPECT_EQ(0, city.GetBuildingHeight(p[0], p[1])) << p[0] << "," << p[1];
    EXPECT_EQ(0, city.GetBuildingHeight(0, 0));       // water
    EXPECT_EQ(0, city.GetBuildingHeight(2624, 1488)); // grass of the starting point
    EXPECT_EQ(0, city.GetBuildingHeight(5119, 2879)); // the last corner is still water
}

TEST_F(CityTest, BuildingHeightCountsTheGroundStoreyAndFollowsTheRowShift) {
    EXPECT_EQ(13, city.GetBuildingHeight(970, 778)); // the tower at (8, 7)
    EXPECT_EQ(13, city.GetBuildingHeight(960, 778));
    EXPECT_EQ(0, city.GetBuildingHeight(575, 778));  // row 8 is 64 pixels right: column 3
    EXPECT_EQ(3, city.GetBuildingHeight(576, 778));  // column 4, code 102
    EXPECT_EQ(3, city.GetBuildingHeight(1000, 400)); // (4, 7), code 2
    EXPECT_EQ(1, city.GetBuildingHeight(PointX(4, 5), PointY(4)));   // code 0
    EXPECT_EQ(10, city.GetBuildingHeight(PointX(9, 16), PointY(9))); // code 9
}

TEST_F(CityTest, TwelveHitsTakeTheTowerDownToRubbleOneStoreyAtATime) {
    int expected_population = START_POPULATION;
    for (int hit = 1; hit <= 11; ++hit) {
        city.LowerBuilding(970, 778);
        expected_population -= PEOPLE_PER_STOREY;
        EXPECT_EQ(212 - hit, city.grid[8][7]);
        EXPECT_EQ(13 - hit, city.GetBuildingHeight(970, 778));
        EXPECT_EQ(expected_population, city.GetPopulation());
    }
    EXPECT_EQ(201, city.grid[8][7]);
    EXPECT_EQ(369595 - 11 * 193, city.GetPopulation());

    city.LowerBuilding(970, 778); // one extra storey: both storeys go at once
    EXPECT_EQ(400, city.grid[8][7]);
    EXPECT_EQ(0, city.GetBuildingHeight(970, 778));
    EXPECT_EQ(367279, city.GetPopulation());

    city.LowerBuilding(970, 778); // rubble stays rubble, but the hit still counts
    EXPECT_EQ(400, city.grid[8][7]);
    EXPECT_EQ(367086, city.GetPopulation());
}

TEST_F(CityTest, BuildingsWithNoOrOneExtraStoreyBecomeRubbleAtOnce) {
    ASSERT_EQ(0, city.grid[4][5]);
    city.LowerBuilding(PointX(4, 5), PointY(4));
    EXPECT_EQ(400, city.grid[4][5]);

    ASSERT_EQ(1, city.grid[7][8]);
    city.LowerBuilding(PointX(7, 8), PointY(7));
    EXPECT_EQ(400, city.grid[7][8]);

    ASSERT_EQ(102, city.grid[4][4]);
    city.LowerBuilding(PointX(4, 4), PointY(4));
    EXPECT_EQ(101, city.grid[4][4]);
    city.LowerBuilding(PointX(4, 4), PointY(4));
    EXPECT_EQ(400, city.grid[4][4]);
    EXPECT_EQ(START_POPULATION - 4 * PEOPLE_PER_STOREY, city.GetPopulation());
}

TEST_F(CityTest, HitsOnGrassAndWaterLeaveTheTileButCostInhabitants) {
    city.LowerBuilding(2624, 1488);
    EXPECT_EQ(300, city.grid[15][20]);
    city.LowerBuilding(0, 0);
    EXPECT_EQ(500, city.grid[0][0]);
    EXPECT_EQ(START_POPULATION - 2 * PEOPLE_PER_STOREY, city.GetPopulation());
}

TEST_F(CityTest, HitsOutsideTheCityChangeNothing) {
    const std::vector<int> before = Cells(city);
    const int outside[][2] = {{-1, 100}, {5120, 100}, {100, -1}, {100, 2880}, {-5000, -5000}};
    for (const auto& p : outside)
        city.LowerBuilding(p[0], p[1]);
    EXPECT_EQ(before, Cells(city));
    EXPECT_EQ(START_POPULATION, city.GetPopulation());
}

TEST_F(CityTest, PopulationStopsAtZero) {
    city.population = 100;
    city.LowerBuilding(970, 778);
    EXPECT_EQ(0, city.GetPopulation());
    city.LowerBuilding(970, 778);
    EXPECT_EQ(0, city.GetPopulation());
}

TEST_F(CityTest, EveryTileOfTheGridIsReachableByAMapPoint) {
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLUMNS; ++c) {
            const int code = city.grid[r][c];
            const int expected = code >= 300 ? 0 : code % 100 + 1;
            EXPECT_EQ(expected, city.GetBuildingHeight(PointX(r, c), PointY(r)))
                << "row " << r << " column " << c;
        }
}
} // namespace
