#include "PresentBench.h"

#include "graphics/PresentChanges.h"
#include "graphics/cScaler.h"
#include "support/Headless.h"

#include <allegro.h>
#include <benchmark/benchmark.h>

#include <string>

namespace {
// A whole present, as every frame is while the view moves, may cost at most this many fills
// of the screen: each picture row is widened once and spread over its first screen row,
// and the screen rows below it that show it again are copies (a read and a write each).
const double SCALED_PRESENT_FLOORS = 4;

struct Screen {
    int width, height;
};
const Screen SCREENS[] = {{1920, 1080}, {3840, 2160}};

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

void FillFloor(benchmark::State& state, Screen size)
{
    BITMAP* screen = create_bitmap_ex(32, size.width, size.height);
    int colour = 0;
    for (auto _ : state)
        clear_to_color(screen, ++colour);
    destroy_bitmap(screen);
}

void ScaledPresent(benchmark::State& state, int picture_width, int picture_height, Screen size)
{
    BITMAP* picture = SolidBitmap(picture_width, picture_height, 0x1234);
    BITMAP* screen = create_bitmap_ex(32, size.width, size.height);
    cScaler scaler(picture_width, picture_height,
                   FitPicture(picture_width, picture_height, size.width, size.height));
    for (auto _ : state)
        PresentWhole(picture, scaler, screen, picture_width, picture_height, 0);
    destroy_bitmap(screen);
    destroy_bitmap(picture);
}
} // namespace

void RegisterPresentBenchmarks(cRatioReporter& report)
{
    for (const Screen& screen : SCREENS) {
        const std::string floor = "Floor/Fill" + Size(screen.width, screen.height);
        benchmark::RegisterBenchmark(floor.c_str(), FillFloor, screen)
            ->Unit(benchmark::kMicrosecond);
        for (const auto& [width, height] : {Screen{800, 600}, Screen{1024, 768}}) {
            const std::string name =
                "Present/Scaled/" + Size(width, height) + "to" + Size(screen.width, screen.height);
            benchmark::RegisterBenchmark(name.c_str(), ScaledPresent, width, height, screen)
                ->Unit(benchmark::kMicrosecond);
            report.AgainstFloor(name, floor, SCALED_PRESENT_FLOORS);
        }
    }
}
