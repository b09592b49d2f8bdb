#include "FractalBench.h"

#include "bitmap/Fractal.h"
#include "image/cImage.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

namespace {
struct Picture {
    int kind, width, height;
    double re_min, im_min, re_span, im_span;
    int max_iterations, palette;
};

const Picture TITLE_BACKDROP = {1, 800, 600, 1.767, 0.036, 0.003, 0.0025, 100, 1};
const Picture UPPER_BAND = {0, 1024, 84, -0.8235, -0.1839, 0.0366, 0.003, 90, 0};
const Picture LOWER_BAND = {0, 1024, 84, -0.8235, -0.1809, 0.0366, 0.003, 90, 0};

// The generator's rules written the straightforward way, one point and one putpixel at a
// time: the yardstick for the game's own generator.
BITMAP* ReferenceFractal(const Picture& p)
{
    BITMAP* picture = create_bitmap(p.width, p.height);
    int colours[FRACTAL_MOST_ITERATIONS + 1] = {};
    const int half = p.max_iterations / 2;
    const double scale = 255 / (p.max_iterations * 0.5);
    for (int k = 0; k < half; ++k) {
        const int up = std::min(static_cast<int>(k * scale), 255);
        const int down = std::max(0, 255 - static_cast<int>(k * scale));
        colours[k] = p.palette == 0 ? makecol(255, up, 0) : makecol(64, 0, up);
        colours[half + k] = p.palette == 0 ? makecol(255, down, 0) : makecol(64, 0, down);
    }
    colours[p.max_iterations] = colours[0];
    for (int row = 0; row < p.height; ++row)
        for (int column = 0; column < p.width; ++column) {
            const double re =
                (column - p.width / 2) / (p.width / p.re_span) + (p.re_min + p.re_span / 2);
            const double im =
                (row - p.height / 2) / (p.height / p.im_span) + (p.im_min + p.im_span / 2);
            double zr = re, zi = im;
            int n = 0;
            while (n < p.max_iterations && zr * zr + zi * zi < 4) {
                ++n;
                const double next_r =
                    p.kind == 0 ? (zr - zi) * (zr + zi) + re : zr * zr - zi * zi - re;
                zi = p.kind == 0 ? 2 * zr * zi + im : 2 * std::abs(zr * zi) - im;
                zr = next_r;
            }
            putpixel(picture, column, row, colours[n]);
        }
    return picture;
}

void Generate(cImage* image, const Picture& p)
{
    image->GenerateFractal(p.kind, p.width, p.height, p.re_min, p.im_min, p.re_span, p.im_span,
                           p.max_iterations, p.palette);
}

// The game's generator held to one path, as on a CPU with fewer vector units.
void Paint(BITMAP* picture, const Picture& p, FractalPath path)
{
    const FractalView view = {p.kind, p.re_min, p.im_min, p.re_span, p.im_span, p.max_iterations};
    PaintFractal(picture, view, p.palette, path);
}

void TitleReference(benchmark::State& state)
{
    for (auto _ : state)
        destroy_bitmap(ReferenceFractal(TITLE_BACKDROP));
}

void Title(benchmark::State& state)
{
    cImage image;
    for (auto _ : state)
        Generate(&image, TITLE_BACKDROP);
}

void TitleOnPath(benchmark::State& state, FractalPath path)
{
    BITMAP* picture = create_bitmap(TITLE_BACKDROP.width, TITLE_BACKDROP.height);
    for (auto _ : state)
        Paint(picture, TITLE_BACKDROP, path);
    destroy_bitmap(picture);
}

void BandsReference(benchmark::State& state)
{
    for (auto _ : state) {
        destroy_bitmap(ReferenceFractal(UPPER_BAND));
        destroy_bitmap(ReferenceFractal(LOWER_BAND));
    }
}

void Bands(benchmark::State& state)
{
    cImage image;
    for (auto _ : state) {
        Generate(&image, UPPER_BAND);
        Generate(&image, LOWER_BAND);
    }
}

void BandsOnPath(benchmark::State& state, FractalPath path)
{
    BITMAP* picture = create_bitmap(UPPER_BAND.width, UPPER_BAND.height);
    for (auto _ : state) {
        Paint(picture, UPPER_BAND, path);
        Paint(picture, LOWER_BAND, path);
    }
    destroy_bitmap(picture);
}

// The "model name" of the first processor in /proc/cpuinfo.
std::string CpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);)
        if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos)
            return line.substr(line.find_first_not_of(" \t", line.find(':') + 1));
    return "unknown";
}

const char* UnitName(FractalPath path)
{
    switch (path) {
    case FractalPath::SSE2:
        return "SSE2";
    case FractalPath::AVX2:
        return "AVX2";
    case FractalPath::AVX512:
        return "AVX-512";
    default:
        return "none (plain)";
    }
}

// At least this many times faster than the reference, for each picture.
const double FRACTAL_SPEEDUP_GOAL = 6;
} // namespace

void RegisterFractalBenchmarks(cRatioReporter& report)
{
    report.Heading("CPU: " + CpuModel());
    report.Heading(std::string("Fractal vector unit: ") + UnitName(FastestFractalPath()));
    const struct {
        const char* name;
        FractalPath path;
    } paths[] = {
        {"sse2", FractalPath::SSE2}, {"avx2", FractalPath::AVX2}, {"avx512", FractalPath::AVX512}};
    const struct {
        std::string name;
        void (*reference)(benchmark::State&);
        void (*fastest)(benchmark::State&);
        void (*on_path)(benchmark::State&, FractalPath);
    } pictures[] = {
        {"Fractal/TitleBackdrop", TitleReference, Title, TitleOnPath},
        {"Fractal/WideBands", BandsReference, Bands, BandsOnPath},
    };
    for (const auto& picture : pictures) {
        const std::string reference = picture.name + "/reference";
        benchmark::RegisterBenchmark(reference.c_str(), picture.reference)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(picture.name.c_str(), picture.fastest)
            ->Unit(benchmark::kMillisecond);
        report.AgainstReference(picture.name, reference, FRACTAL_SPEEDUP_GOAL);
        for (const auto& path : paths) {
            if (!FractalPathAvailable(path.path))
                continue;
            const std::string name = picture.name + "/" + path.name;
            benchmark::RegisterBenchmark(name.c_str(), picture.on_path, path.path)
                ->Unit(benchmark::kMillisecond);
            report.AgainstReference(name, reference, 0);
        }
    }
}
