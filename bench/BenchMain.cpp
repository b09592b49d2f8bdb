#include "DrawBench.h"
#include "FractalBench.h"
#include "FrameBench.h"
#include "PresentBench.h"
#include "StandInMedia.h"
#include "cRatioReporter.h"
#include "support/Headless.h"

#include <benchmark/benchmark.h>

#include <cstdio>

// Runs every benchmark headless (memory bitmaps, the 16-bit layout of X11), then prints each
// beside its reference or floor. Exits with 1 when a goal was missed.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    StartHeadlessAllegro();
    const std::string stand_ins = UseMediaOrStandIns();
    if (!stand_ins.empty())
        std::printf("No media/ here: the drawing benchmarks use stand-in pictures.\n");

    cRatioReporter report;
    RegisterFractalBenchmarks(report);
    RegisterDrawBenchmarks(report);
    RegisterFrameBenchmarks(report);
    RegisterPresentBenchmarks(report);
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();

    RemoveStandIns(stand_ins);
    return report.GoalsMet() ? 0 : 1;
}
