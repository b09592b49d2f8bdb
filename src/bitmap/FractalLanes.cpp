#include "bitmap/FractalLanes.h"

#if defined(__SSE2__)
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <immintrin.h>
#include <vector>

namespace {
const int MOST_LANES = 32;

// The points in the lanes, spilled to memory whenever lanes change hands.
struct Lanes {
    alignas(64) double pr[MOST_LANES], pi[MOST_LANES], zr[MOST_LANES], zi[MOST_LANES];
    alignas(64) int64_t n[MOST_LANES];    // steps taken while inside the circle
    alignas(64) int64_t live[MOST_LANES]; // all ones while the lane follows a point
    uint16_t* out[MOST_LANES];            // where the lane's pixel goes
    uint64_t idle = 0;                    // bit l: lane l has no point left to follow
};

// Hands out the picture's points row by row and writes their pixels. Each point is worked
// out afresh from its column and row, exactly as the plain path does, never by stepping.
class PixelFeed {
public:
    PixelFeed(BITMAP* picture, const FractalView& view, const uint16_t* colours)
        : picture(picture), colours(colours), limit(view.max_iterations), width(picture->w),
          height(picture->h), re(picture->w)
    {
        const double columns_per_unit = width / view.re_span;
        const double re_centre = view.re_min + view.re_span / 2;
        for (int column = 0; column < width; ++column)
            re[column] = (column - width / 2) / columns_per_unit + re_centre;
        rows_per_unit = height / view.im_span;
        im_centre = view.im_min + view.im_span / 2;
        StartRow();
    }

    // Gives lane l the next point that takes at least one step; points that take none get
    // their pixel at once. With none left, the lane goes idle.
    void Start(Lanes& lanes, int l)
    {
        while (row < height) {
            const double pr = re[column], pi = row_im;
            uint16_t* out = row_pixels + column;
            if (++column == width) {
                ++row;
                StartRow();
            }
            if (limit > 0 && pr * pr + pi * pi < 4) {
                lanes.pr[l] = lanes.zr[l] = pr;
                lanes.pi[l] = lanes.zi[l] = pi;
                lanes.n[l] = 0;
                lanes.out[l] = out;
                lanes.live[l] = -1;
                return;
            }
            *out = colours[0];
        }
        lanes.idle |= uint64_t{1} << l;
        lanes.live[l] = 0;
    }

    // Writes the pixels of the lanes in done and starts them on new points. False once
    // every lane is idle. A lane may have stepped past the limit before anyone looked; those
    // steps do not count.
    bool Refill(Lanes& lanes, uint64_t done, int lane_count)
    {
        for (; done; done &= done - 1) {
            const int l = __builtin_ctzll(done);
            *lanes.out[l] = colours[std::min<int64_t>(lanes.n[l], limit)];
            Start(lanes, l);
        }
        return lanes.idle != (uint64_t{1} << lane_count) - 1;
    }

    int Limit() const { return limit; }

private:
    void StartRow()
    {
        column = 0;
        if (row >= height)
            return;
        row_pixels = reinterpret_cast<uint16_t*>(picture->line[row]);
        row_im = (row - height / 2) / rows_per_unit + im_centre;
    }

    BITMAP* picture;
    const uint16_t* colours;
    int limit, width, height;
    std::vector<double> re; // by column
    double rows_per_unit, im_centre;
    int row = 0, column = 0; // the next point
    uint16_t* row_pixels = nullptr;
    double row_im = 0; // imaginary part of the next point
};
} // namespace

namespace {
// The loop below is written once in GCC's vector arithmetic and takes its width from the
// unit it is inlined into; a unit adds only what that arithmetic cannot say. Liveness is a
// vector of all-ones or zero lanes, except on AVX-512, which has registers for it. The
// units' own functions are inlined only into a caller built for the unit, so they take
// vectors by reference: passed by value through a plain function they would change the
// calling convention, which GCC rightly warns about.
template <int WIDTH> struct VectorsOf {
    typedef double Real __attribute__((vector_size(8 * WIDTH)));
    typedef int64_t Whole __attribute__((vector_size(8 * WIDTH)));
};

template <int WIDTH> struct LiveByVector : VectorsOf<WIDTH> {
    using typename VectorsOf<WIDTH>::Real;
    using typename VectorsOf<WIDTH>::Whole;
    using Live = Whole;

    static void LoadLive(Live& live, const Lanes& lanes, int first)
    {
        std::memcpy(&live, lanes.live + first, sizeof live);
    }
    __attribute__((always_inline)) static void Stay(Live& live, const Real& size)
    {
        live &= size < 4.0;
    }
    __attribute__((always_inline)) static void Tally(Whole& n, const Live& live) { n -= live; }
};

struct Sse2 : LiveByVector<2> {
    // A lane still inside and under the limit has the sign bit of n - limit.
    static uint64_t GoingBits(const Live& live, const Whole& n, int64_t limit)
    {
        return _mm_movemask_pd(reinterpret_cast<__m128d>(live & (n - limit)));
    }
};

struct Avx2 : LiveByVector<4> {
    // For a live lane the size is finite and not negative, so its bits order as integers
    // do, and the integer compare leaves the floating-point ports to the steps.
    __attribute__((always_inline)) static void Stay(Live& live, const Real& size)
    {
        live &= reinterpret_cast<Whole>(size) < 0x4010000000000000; // 4.0
    }
    __attribute__((target("avx2"))) static uint64_t GoingBits(const Live& live, const Whole& n,
                                                              int64_t limit)
    {
        return _mm256_movemask_pd(reinterpret_cast<__m256d>(live & (n - limit)));
    }
};

// Mask registers hold which lanes are live, so a done lane costs no extra instruction.
struct Avx512 : VectorsOf<8> {
    using Live = __mmask8;

    static void LoadLive(Live& live, const Lanes& lanes, int first)
    {
        live = static_cast<Live>(~lanes.idle >> first);
    }
    __attribute__((target("avx512f"))) static void Stay(Live& live, const Real& size)
    {
        live = _mm512_mask_cmp_pd_mask(live, size, _mm512_set1_pd(4), _CMP_LT_OQ);
    }
    __attribute__((target("avx512f"))) static void Tally(Whole& n, Live live)
    {
        n = reinterpret_cast<Whole>(_mm512_mask_sub_epi64(reinterpret_cast<__m512i>(n), live,
                                                          reinterpret_cast<__m512i>(n),
                                                          _mm512_set1_epi64(-1)));
    }
    __attribute__((target("avx512f"))) static uint64_t GoingBits(Live live, const Whole& n,
                                                                 int64_t limit)
    {
        return _mm512_mask_cmplt_epi64_mask(live, reinterpret_cast<__m512i>(n),
                                            _mm512_set1_epi64(limit));
    }
};

template <class Vector> __attribute__((always_inline)) inline void Load(Vector& v, const void* from)
{
    std::memcpy(&v, from, sizeof v);
}

template <class Vector> __attribute__((always_inline)) inline void Store(void* to, const Vector& v)
{
    std::memcpy(to, &v, sizeof v);
}

// Vectors followed at once: enough independent chains of dependent steps to keep the
// arithmetic units busy, few enough to stay (mostly) in registers.
const int VECTORS = 4;
// Steps taken between two looks at which lanes are done: a look costs about a step, and a
// done lane idles until the next. A lane may pass its limit in between; the feed ignores
// the extra steps.
const int STEPS_PER_CHECK = 6;

// A lane's point is done when it has left the circle or used up the limit; the test of the
// circle comes before each step, as in EscapeCount. A done lane stops counting and waits
// (stepping on values nobody reads) until enough lanes are done to make handing out new
// points worth the trip through memory.
template <class Unit, bool FOLD>
__attribute__((always_inline)) inline void Follow(PixelFeed& feed, Lanes& lanes)
{
    using Real = typename Unit::Real;
    using Whole = typename Unit::Whole;
    using Live = typename Unit::Live;
    const int WIDTH = sizeof(Real) / sizeof(double);
    const int LANES = WIDTH * VECTORS, ENOUGH_DONE = LANES / 3;
    const int64_t limit = feed.Limit();
    Real pr[VECTORS], pi[VECTORS], zr[VECTORS], zi[VECTORS];
    Whole n[VECTORS];
    Live live[VECTORS];
    for (int l = 0; l < LANES; ++l)
        feed.Start(lanes, l);
    for (;;) {
#pragma GCC unroll 8
        for (int v = 0; v < VECTORS; ++v) {
            Load(pr[v], lanes.pr + WIDTH * v);
            Load(pi[v], lanes.pi + WIDTH * v);
            Load(zr[v], lanes.zr + WIDTH * v);
            Load(zi[v], lanes.zi + WIDTH * v);
            Load(n[v], lanes.n + WIDTH * v);
            Unit::LoadLive(live[v], lanes, WIDTH * v);
        }
        const uint64_t busy = ((uint64_t{1} << LANES) - 1) & ~lanes.idle;
        uint64_t done;
        for (;;) {
#pragma GCC unroll 8
            for (int step = 0; step < STEPS_PER_CHECK; ++step) {
#pragma GCC unroll 8
                for (int v = 0; v < VECTORS; ++v) {
                    const Real rr = zr[v] * zr[v], ii = zi[v] * zi[v];
                    Unit::Stay(live[v], rr + ii);
                    Unit::Tally(n[v], live[v]);
                    if (FOLD) {
                        const Whole product = reinterpret_cast<Whole>(zr[v] * zi[v]);
                        zr[v] = rr - ii - pr[v];
                        zi[v] = 2.0 * reinterpret_cast<Real>(product & INT64_MAX) - pi[v];
                    } else {
                        const Real next_r = (zr[v] - zi[v]) * (zr[v] + zi[v]) + pr[v];
                        zi[v] = 2.0 * zr[v] * zi[v] + pi[v];
                        zr[v] = next_r;
                    }
                }
            }
            uint64_t going = 0;
#pragma GCC unroll 8
            for (int v = 0; v < VECTORS; ++v)
                going |= Unit::GoingBits(live[v], n[v], limit) << (WIDTH * v);
            done = busy & ~going;
            if (!going || __builtin_popcountll(done) >= ENOUGH_DONE)
                break;
        }
#pragma GCC unroll 8
        for (int v = 0; v < VECTORS; ++v) {
            Store(lanes.zr + WIDTH * v, zr[v]);
            Store(lanes.zi + WIDTH * v, zi[v]);
            Store(lanes.n + WIDTH * v, n[v]);
        }
        if (!feed.Refill(lanes, done, LANES))
            return;
    }
}

template <class Unit>
__attribute__((always_inline)) inline void Paint(BITMAP* picture, const FractalView& view,
                                                 const uint16_t* colours)
{
    PixelFeed feed(picture, view, colours);
    Lanes lanes;
    if (view.kind == 0)
        Follow<Unit, false>(feed, lanes);
    else
        Follow<Unit, true>(feed, lanes);
}
} // namespace

void PaintFractalSse2(BITMAP* picture, const FractalView& view, const uint16_t* colours)
{
    Paint<Sse2>(picture, view, colours);
}

__attribute__((target("avx2,popcnt"), flatten)) void
PaintFractalAvx2(BITMAP* picture, const FractalView& view, const uint16_t* colours)
{
    Paint<Avx2>(picture, view, colours);
}

__attribute__((target("avx512f,popcnt"), flatten)) void
PaintFractalAvx512(BITMAP* picture, const FractalView& view, const uint16_t* colours)
{
    Paint<Avx512>(picture, view, colours);
}

#endif
