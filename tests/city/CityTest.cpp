#include "city/cCity.h"

#include "support/Headless.h"

#include <gtest/gtest.h>

namespace {
const int START_POPULATION = 369595;
const int PEOPLE_PER_STOREY = 193;
const int GRASS = cCity::GRASS, RUBBLE = cCity::RUBBLE, WATER = cCity::WATER;

class CityTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cCity city;
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
        EXPECT_EQ(p[2], city.GetBuildingHeight(p[0], p[1])) << p[0] << "," << p[1];
        if (p[3])
            city.LowerBuilding(p[0], p[1]);
    }
    EXPECT_EQ(START_POPULATION, city.GetPopulation());
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
            city.LowerBuilding(128 * t[1] + 32 * (t[0] % 3) + 8, 96 * t[0] + 48);
            EXPECT_EQ(t[1 + hit], city.grid[t[0]][t[1]]) << t[0] << "," << t[1] << " hit " << hit;
        }
    for (int hit = 1; hit <= 13; ++hit) {
        city.LowerBuilding(970, 778);
        EXPECT_EQ(hit < 12 ? 13 - hit : 0, city.GetBuildingHeight(970, 778)) << "hit " << hit;
        EXPECT_EQ(hit < 12 ? 212 - hit : RUBBLE, city.grid[8][7]) << "hit " << hit;
        EXPECT_EQ(START_POPULATION - (8 + hit) * PEOPLE_PER_STOREY, city.GetPopulation()) << hit;
    }
    city.population = 100;
    for (int hit = 0; hit < 2; ++hit) {
        city.LowerBuilding(970, 778);
        EXPECT_EQ(0, city.GetPopulation());
    }
}
} // namespace
