#include "FrameBench.h"

#include "DrawBench.h"

#include "ball/cBall.h"
#include "city/cCity.h"
#include "game/cPlayPhase.h"
#include "graphics/cGraphics.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <allegro.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
const int PLAY_HEIGHT = 600;

// The busiest frame must cost at most this many blits of a whole buffer.
const double BUSIEST_NARROW_FLOORS = 5.5;
const double BUSIEST_WIDE_FLOORS = 5;

// Where the eight fireballs of the busiest frame fly: spread around the faerie's ground
// point, high enough to stay in flight over anything she may fly over.
const int BALL_OFFSETS[][2] = {{-300, -200}, {-150, 120}, {0, -90},  {140, 60},
                               {260, -180},  {-60, 200},  {330, 90}, {-380, 10}};
const int BALL_HEIGHT = 300;

void NoPresent() {}

int ModeOfWidth(int width) { return width == 800 ? cGraphics::NARROW_MODE : cGraphics::WIDE_MODE; }

// The play phase over the city's starting point, at the benchmark's width.
struct PlayAtWidth {
    HeadlessScreen screen;
    cPlayPhase* play;

    explicit PlayAtWidth(int width) : screen(width, PLAY_HEIGHT)
    {
        cGraphics::mode = ModeOfWidth(width);
        play = new cPlayPhase(nullptr, {MemorySetMode, NoPresent});
    }
    ~PlayAtWidth()
    {
        delete play;
        cGraphics::mode = 0;
    }
};

void CalmFrame(benchmark::State& state, int width)
{
    PlayAtWidth at(width);
    for (auto _ : state)
        at.play->Frame(Controls());
}

// Every iteration starts from the same state: the city as built, full energy, the blast key
// just pressed (so the frame strikes) and eight fireballs in flight.
void BusiestFrame(benchmark::State& state, int width)
{
    PlayAtWidth at(width);
    cPlayPhase* play = at.play;
    cCity* city = play->city;
    std::vector<int> cells;
    for (int row = 0; row < city->height; ++row)
        cells.insert(cells.end(), city->grid[row], city->grid[row] + city->width);
    const int population = city->population;
    Controls controls;
    controls.fire = controls.blast = true;
    for (auto _ : state) {
        for (int row = 0; row < city->height; ++row)
            std::copy_n(&cells[row * city->width], city->width, city->grid[row]);
        city->population = population;
        play->weapons.energy = cWeapons::MAX_ENERGY;
        play->weapons.blast_key_held = false;
        for (int i = 0; i < BALL_POOL_SIZE; ++i)
            play->pool[i]->Create(play->GroundX() + BALL_OFFSETS[i][0],
                                  play->GroundY() + BALL_OFFSETS[i][1], BALL_HEIGHT, 0, 0, 0);
        play->Frame(controls);
    }
}
} // namespace

void RegisterFrameBenchmarks(cRatioReporter& report)
{
    for (int width : {800, 1024}) {
        const std::string calm = "Frame/Calm/" + std::to_string(width);
        const std::string busiest = "Frame/Busiest/" + std::to_string(width);
        benchmark::RegisterBenchmark(calm.c_str(), CalmFrame, width)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(busiest.c_str(), BusiestFrame, width)
            ->Unit(benchmark::kMicrosecond);
        report.AgainstFloor(calm, BlitFloorName(width));
        report.AgainstFloor(busiest, BlitFloorName(width),
                            width == 1024 ? BUSIEST_WIDE_FLOORS : BUSIEST_NARROW_FLOORS);
    }
}
