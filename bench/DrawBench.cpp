#include "DrawBench.h"

#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"

#include <allegro.h>

namespace {
const int FLOOR_WIDTHS[] = {800, 1024};
const int FLOOR_HEIGHT = 600;

// Where the play frame puts its stencils on an 800 x 600 screen, around its centre.
const int SHADOW_X = 376, SHADOW_Y = 330;
const int GLOW_CENTRE_X = 400, GLOW_CENTRE_Y = 300;
const short GLOW_MASK = static_cast<short>(0x8000);
const short INNER_GLOW_MASK = 0x001F, SPARK_MASK = 0x001F;
const int SPARKS = 25;

// The sparks of one blast: scattered over the screen by a fixed small generator, so every
// run draws the same frame.
struct Point {
    int x, y;
};
Point SparkAt(int i)
{
    const unsigned spread = (i + 1) * 2654435761u;
    return {static_cast<int>(spread % 760), static_cast<int>((spread >> 12) % 560)};
}

void BlitFloor(benchmark::State& state, int width)
{
    HeadlessScreen screen(width, FLOOR_HEIGHT);
    BITMAP* frame = SolidBitmap(width + 1, FLOOR_HEIGHT + 1, 0x1234);
    for (auto _ : state)
        blit(frame, cGraphics::double_buffer, 0, 0, 0, 0, width, FLOOR_HEIGHT);
    destroy_bitmap(frame);
}

void Shadow(benchmark::State& state)
{
    HeadlessScreen screen(800, 600);
    cImage shadow("media/shadow.pcx");
    for (auto _ : state)
        shadow.AndMaskDraw(SHADOW_X, SHADOW_Y, SHADOW_MASK);
}

void OuterGlow(benchmark::State& state)
{
    HeadlessScreen screen(800, 600);
    cImage glow("media/circle96x96.pcx");
    for (auto _ : state)
        glow.AndMaskDraw(GLOW_CENTRE_X - 48, GLOW_CENTRE_Y - 48, GLOW_MASK);
}

void InnerGlow(benchmark::State& state)
{
    HeadlessScreen screen(800, 600);
    cImage glow("media/circle64x64.pcx");
    for (auto _ : state)
        glow.OrMaskDraw(GLOW_CENTRE_X - 32, GLOW_CENTRE_Y - 32, INNER_GLOW_MASK);
}

void Sparks(benchmark::State& state)
{
    HeadlessScreen screen(800, 600);
    cImage spark("media/faerie_fire2.pcx");
    for (auto _ : state)
        for (int i = 0; i < SPARKS; ++i)
            spark.AndMaskDraw(SparkAt(i).x, SparkAt(i).y, SPARK_MASK);
}

// View origins over the generated city: the park and its tower, a crowded street, the
// middle of the map and near its far corner. Each iteration draws one layer at one of them.
const Point VIEWS[] = {{640, 576}, {2304, 576}, {2200, 1200}, {4200, 2200}};
const int VIEW_COUNT = sizeof(VIEWS) / sizeof(VIEWS[0]);

template <bool UPPER> void CityLayer(benchmark::State& state)
{
    HeadlessScreen screen(static_cast<int>(state.range(0)), 600);
    cCity* city = new cCity();
    city->CalcScreenTiles();
    int view = 0;
    for (auto _ : state) {
        const Point at = VIEWS[view++ % VIEW_COUNT];
        if (UPPER)
            city->DrawExt(at.x, at.y);
        else
            city->DrawBase(at.x, at.y);
    }
    delete city;
}
} // namespace

std::string BlitFloorName(int width)
{
    return "Floor/Blit" + std::to_string(width) + "x" + std::to_string(FLOOR_HEIGHT);
}

void RegisterDrawBenchmarks(cRatioReporter& report)
{
    const std::string narrow_floor = BlitFloorName(800);
    const struct {
        const char* name;
        void (*run)(benchmark::State&);
    } stencils[] = {
        {"MaskedDraw/Shadow48", Shadow},
        {"MaskedDraw/Glow96", OuterGlow},
        {"MaskedDraw/Glow64", InnerGlow},
        {"MaskedDraw/Sparks25x32", Sparks},
    };
    for (int width : FLOOR_WIDTHS)
        benchmark::RegisterBenchmark(BlitFloorName(width).c_str(), BlitFloor, width)
            ->Unit(benchmark::kMicrosecond);
    for (const auto& b : stencils) {
        benchmark::RegisterBenchmark(b.name, b.run)->Unit(benchmark::kMicrosecond);
        report.AgainstFloor(b.name, narrow_floor);
    }
    benchmark::RegisterBenchmark("City/DrawBase", CityLayer<false>)
        ->Arg(800)
        ->Arg(1024)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("City/DrawExt", CityLayer<true>)
        ->Arg(800)
        ->Arg(1024)
        ->Unit(benchmark::kMicrosecond);
    for (const char* layer : {"City/DrawBase/", "City/DrawExt/"})
        for (const char* width : {"800", "1024"})
            report.AgainstFloor(std::string(layer) + width, BlitFloorName(std::stoi(width)));
}
