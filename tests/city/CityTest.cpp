#include "city/cCity.h"

#include "graphics/cGraphics.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {
const int ROWS = 30;
const int COLUMNS = 40;
const int START_POPULATION = 369595;
const int PEOPLE_PER_STOREY = 193;
const int GRASS = 300, RUBBLE = 400, WATER = 500;

std::vector<int> Cells(const cCity& city)
{
    std::vector<int> cells;
    for (int r = 0; r < city.height; ++r)
        cells.insert(cells.end(), city.grid[r], city.grid[r] + city.width);
    return cells;
}

// A map point in the tile at (row, column), near its left edge so that it lies inside the
// city even for the last tile of a shifted row.
int PointX(int row, int column) { return 128 * column + 32 * (row % 3) + 8; }
int PointY(int row) { return 96 * row + 48; }

// The generation replayed from its description, independently of the game's code: the
// Park-Miller step is done with Schrage's decomposition instead of a 64-bit product.
struct Replay {
    std::vector<int> cells;
    int draws = 0;
    int seed = 10141206;

    int Draw()
    {
        const int a = 16807, m = 2147483647, q = m / a, r = m % a;
        seed = a * (seed % q) - r * (seed / q);
        if (seed <= 0)
            seed += m;
        ++draws;
        return seed;
    }

    Replay()
    {
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
                cells.push_back(border ? WATER : code);
            }
        const int grass[][2] = {{7, 6}, {7, 7}, {8, 6}, {8, 8}, {9, 6}, {9, 7}, {15, 20}};
        for (const auto& at : grass)
            cells[at[0] * COLUMNS + at[1]] = GRASS;
        cells[8 * COLUMNS + 7] = 212;
        cells[9 * COLUMNS + 8] = 104;
    }
};

// FNV-1a over the cell codes, row by row.
uint32_t Fingerprint(const std::vector<int>& cells)
{
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

TEST_F(CityTest, GridIsTheOneTheFixedSeedGenerates)
{
    const Replay replay;
    EXPECT_EQ(4212, replay.draws);
    EXPECT_EQ(1061176556, replay.seed);
    EXPECT_EQ(replay.cells, Cells(city));
    // Pins the grid, so that a change to the generation and the replay together still shows.
    EXPECT_EQ(0x5D87DA80u, Fingerprint(Cells(city)));
}

// The water border is pinned by the replay and the fingerprint above.
TEST_F(CityTest, HoldsTheDocumentedCells)
{
    const int cells[][3] = {{4, 4, 102}, {4, 5, 0},   {4, 6, 103}, {4, 7, 2},   {4, 8, 0},
                            {4, 9, 3},   {4, 10, 0},  {4, 11, 2},  {8, 4, 102}, {8, 5, 3},
                            {8, 6, 300}, {8, 7, 212}, {8, 8, 300}, {8, 9, 103}, {4, 29, 209},
                            {8, 23, 7},  {9, 16, 9},  {7, 8, 1},   {9, 8, 104}, {15, 20, 300}};
    for (const auto& c : cells)
        EXPECT_EQ(c[2], city.grid[c[0]][c[1]]) << "row " << c[0] << " column " << c[1];
}

TEST_F(CityTest, CountsTilesAndPopulationAsDocumented)
{
    const std::vector<int> cells = Cells(city);
    for (const auto& [code, count] : {std::pair{WATER, 464}, {GRASS, 7}, {RUBBLE, 0}})
        EXPECT_EQ(count, std::count(cells.begin(), cells.end(), code)) << code;
    std::vector<int> tall;
    std::copy_if(cells.begin(), cells.end(), std::back_inserter(tall),
                 [](int code) { return code < GRASS && code % 100 > 4; });
    std::sort(tall.begin(), tall.end());
    EXPECT_EQ((std::vector<int>{7, 9, 107, 107, 207, 208, 208, 209, 209, 212}), tall);
    EXPECT_EQ(START_POPULATION, city.GetPopulation());
}

TEST_F(CityTest, FieldsDescribeTheGridStartingPointAndScreenTiles)
{
    int x = 0, y = 0;
    city.GetStartingPoint(&x, &y);
    EXPECT_EQ(
        (std::vector<int>{5120, 2880, 31, 2624, 1488, 8, 8}),
        (std::vector<int>{city.GetCityWidthPixel(), city.GetCityHeightPixel(),
                          city.GetStoreyHeight(), x, y, city.screen_tiles_x, city.screen_tiles_y}));
    cGraphics::SCR_WIDTH = 1024;
    city.CalcScreenTiles();
    EXPECT_EQ((std::vector<int>{10, 8}),
              (std::vector<int>{city.screen_tiles_x, city.screen_tiles_y}));
}

TEST(CityLifecycle, RebuildingAfterDestructionGivesTheSameCityForTheCurrentScreen)
{
    HeadlessScreen screen(1024, 600);
    cCity().LowerBuilding(970, 778); // a city built and destroyed first
    cCity second;
    EXPECT_EQ(Replay().cells, Cells(second));
    EXPECT_EQ(START_POPULATION, second.GetPopulation());
    EXPECT_EQ(10, second.screen_tiles_x);
}

TEST_F(CityTest, BuildingHeightCountsTheGroundStoreyAndFollowsTheRowShift)
{
    // {x, y, height}: outside the city, water at both corners, x 40 of row 2 (left of where
    // the row starts), the starting point's grass, the tower at (8, 7), row 8's 64-pixel
    // shift between columns 3 and 4, and buildings of rows 4 and 9.
    const int points[][3] = {{-1, 100, 0},   {5120, 100, 0},  {100, -1, 0},   {100, 2880, 0},
                             {0, 0, 0},      {5119, 2879, 0}, {40, 200, 0},   {2624, 1488, 0},
                             {970, 778, 13}, {960, 778, 13},  {575, 778, 0},  {576, 778, 3},
                             {1000, 400, 3}, {680, 432, 1},   {2056, 912, 10}};
    for (const auto& p : points)
        EXPECT_EQ(p[2], city.GetBuildingHeight(p[0], p[1])) << p[0] << "," << p[1];
}

// The thirteenth hit lands on rubble, which stays rubble but still costs inhabitants.
TEST_F(CityTest, TwelveHitsTakeTheTowerDownToRubbleOneStoreyAtATime)
{
    for (int hit = 1; hit <= 13; ++hit) {
        city.LowerBuilding(970, 778);
        EXPECT_EQ(hit < 12 ? 13 - hit : 0, city.GetBuildingHeight(970, 778)) << "hit " << hit;
        EXPECT_EQ(hit < 12 ? 212 - hit : RUBBLE, city.grid[8][7]) << "hit " << hit;
        EXPECT_EQ(START_POPULATION - hit * PEOPLE_PER_STOREY, city.GetPopulation()) << hit;
    }
}

TEST_F(CityTest, HitsOnSmallBuildingsGrassAndWaterCostInhabitants)
{
    // {row, column, code after one hit, after a second hit}
    const int tiles[][4] = {{4, 5, RUBBLE, RUBBLE},
                            {7, 8, RUBBLE, RUBBLE},
                            {4, 4, 101, RUBBLE},
                            {15, 20, GRASS, GRASS},
                            {0, 0, WATER, WATER}};
    for (const auto& t : tiles)
        for (int hit = 1; hit <= 2; ++hit) {
            city.LowerBuilding(PointX(t[0], t[1]), PointY(t[0]));
            EXPECT_EQ(t[1 + hit], city.grid[t[0]][t[1]]) << t[0] << "," << t[1] << " hit " << hit;
        }
    EXPECT_EQ(START_POPULATION - 10 * PEOPLE_PER_STOREY, city.GetPopulation());
}

TEST_F(CityTest, HitsOutsideTheCityChangeNothing)
{
    const std::vector<int> before = Cells(city);
    const int outside[][2] = {{-1, 100}, {5120, 100}, {100, -1}, {100, 2880}, {-5000, -5000}};
    for (const auto& p : outside)
        city.LowerBuilding(p[0], p[1]);
    EXPECT_EQ(before, Cells(city));
    EXPECT_EQ(START_POPULATION, city.GetPopulation());
}

TEST_F(CityTest, PopulationStopsAtZero)
{
    city.population = 100;
    for (int hit = 0; hit < 2; ++hit) {
        city.LowerBuilding(970, 778);
        EXPECT_EQ(0, city.GetPopulation());
    }
}
} // namespace
