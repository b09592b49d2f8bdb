#include "image/FractalLanes.h"

#if defined(__SSE2__)
#include <cstdint>
#include <immintrin.h>
#include <vector>

namespace {
const int MOST_LANES = 32;
// Steps between two looks at which lanes are done: looking costs about as much as a step.
const int STEPS_PER_CHECK = 2;

// The points in the lanes, spilled to memory whenever lanes change hands.
struct Lanes {
    alignas(64) double pr[MOST_LANES], pi[MOST_LANES], zr[MOST_LANES], zi[MOST_LANES];
    alignas(64) double n[MOST_LANES];
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
    // every lane is idle.
    bool Refill(Lanes& lanes, uint64_t done, int lane_count)
    {
        for (; done; done &= done - 1) {
            const int l = __builtin_ctzll(done);
            *lanes.out[l] = colours[static_cast<int>(lanes.n[l])];
            Start(lanes, l);
        }
        return lanes.idle != (uint64_t{1} << lane_count) - 1;
    }

    double Limit() const { return limit; }

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
    uint16_t* row_pixels;
    double row_im; // imaginary part of the next point
};
} // namespace

namespace {
// A lane's point is done when it has left the circle or used up the limit; the test comes
// before each step, as in EscapeCount. A done lane stops counting and waits (stepping on
// values nobody reads) until enough lanes are done to make handing out new points worth
// the trip through memory. Several vectors per loop keep the multipliers busy while each
// waits on its own chain of dependent steps; the loops over them are unrolled so that the
// vectors stay in registers (all of them only with AVX-512's 32; the others spill some).
template <bool FOLD> void LanesSse2(PixelFeed& feed, Lanes& lanes)
{
    const int VECTORS = 4, LANES = 2 * VECTORS, ENOUGH_DONE = LANES / 2;
    const __m128d four = _mm_set1_pd(4), one = _mm_set1_pd(1), two = _mm_set1_pd(2);
    const __m128d limit = _mm_set1_pd(feed.Limit());
    const __m128d sign = _mm_set1_pd(-0.0);
    __m128d pr[VECTORS], pi[VECTORS], zr[VECTORS], zi[VECTORS], n[VECTORS];
    __m128d live[VECTORS];
    for (int l = 0; l < LANES; ++l)
        feed.Start(lanes, l);
    for (;;) {
#pragma GCC unroll 4
        for (int v = 0; v < VECTORS; ++v) {
            pr[v] = _mm_load_pd(lanes.pr + 2 * v);
            pi[v] = _mm_load_pd(lanes.pi + 2 * v);
            zr[v] = _mm_load_pd(lanes.zr + 2 * v);
            zi[v] = _mm_load_pd(lanes.zi + 2 * v);
            n[v] = _mm_load_pd(lanes.n + 2 * v);
            live[v] = _mm_castsi128_pd(
                _mm_load_si128(reinterpret_cast<const __m128i*>(lanes.live + 2 * v)));
        }
        const uint64_t busy = ((uint64_t{1} << LANES) - 1) & ~lanes.idle;
        uint64_t done;
        for (;;) {
            for (int step = 0; step < STEPS_PER_CHECK; ++step) {
#pragma GCC unroll 4
                for (int v = 0; v < VECTORS; ++v) {
                    const __m128d rr = _mm_mul_pd(zr[v], zr[v]), ii = _mm_mul_pd(zi[v], zi[v]);
                    live[v] = _mm_and_pd(live[v], _mm_and_pd(_mm_cmplt_pd(_mm_add_pd(rr, ii), four),
                                                             _mm_cmplt_pd(n[v], limit)));
                    n[v] = _mm_add_pd(n[v], _mm_and_pd(live[v], one));
                    const __m128d next_r = FOLD ? _mm_sub_pd(_mm_sub_pd(rr, ii), pr[v])
                                                : _mm_add_pd(_mm_mul_pd(_mm_sub_pd(zr[v], zi[v]),
                                                                        _mm_add_pd(zr[v], zi[v])),
                                                             pr[v]);
                    zi[v] =
                        FOLD ? _mm_sub_pd(
                                   _mm_mul_pd(two, _mm_andnot_pd(sign, _mm_mul_pd(zr[v], zi[v]))),
                                   pi[v])
                             : _mm_add_pd(_mm_mul_pd(_mm_mul_pd(two, zr[v]), zi[v]), pi[v]);
                    zr[v] = next_r;
                }
            }
            uint64_t going = 0;
#pragma GCC unroll 4
            for (int v = 0; v < VECTORS; ++v)
                going |= uint64_t(_mm_movemask_pd(live[v])) << (2 * v);
            done = busy & ~going;
            if (!going || __builtin_popcountll(done) >= ENOUGH_DONE)
                break;
        }
#pragma GCC unroll 4
        for (int v = 0; v < VECTORS; ++v) {
            _mm_store_pd(lanes.zr + 2 * v, zr[v]);
            _mm_store_pd(lanes.zi + 2 * v, zi[v]);
            _mm_store_pd(lanes.n + 2 * v, n[v]);
        }
        if (!feed.Refill(lanes, done, LANES))
            return;
    }
}

template <bool FOLD> __attribute__((target("avx2"))) void LanesAvx2(PixelFeed& feed, Lanes& lanes)
{
    const int VECTORS = 4, LANES = 4 * VECTORS, ENOUGH_DONE = LANES / 2;
    const __m256d four = _mm256_set1_pd(4), one = _mm256_set1_pd(1), two = _mm256_set1_pd(2);
    const __m256d limit = _mm256_set1_pd(feed.Limit());
    const __m256d sign = _mm256_set1_pd(-0.0);
    __m256d pr[VECTORS], pi[VECTORS], zr[VECTORS], zi[VECTORS], n[VECTORS];
    __m256d live[VECTORS];
    for (int l = 0; l < LANES; ++l)
        feed.Start(lanes, l);
    for (;;) {
#pragma GCC unroll 4
        for (int v = 0; v < VECTORS; ++v) {
            pr[v] = _mm256_load_pd(lanes.pr + 4 * v);
            pi[v] = _mm256_load_pd(lanes.pi + 4 * v);
            zr[v] = _mm256_load_pd(lanes.zr + 4 * v);
            zi[v] = _mm256_load_pd(lanes.zi + 4 * v);
            n[v] = _mm256_load_pd(lanes.n + 4 * v);
            live[v] = _mm256_castsi256_pd(
                _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes.live + 4 * v)));
        }
        const uint64_t busy = ((uint64_t{1} << LANES) - 1) & ~lanes.idle;
        uint64_t done;
        for (;;) {
            for (int step = 0; step < STEPS_PER_CHECK; ++step) {
#pragma GCC unroll 4
                for (int v = 0; v < VECTORS; ++v) {
                    const __m256d rr = _mm256_mul_pd(zr[v], zr[v]),
                                  ii = _mm256_mul_pd(zi[v], zi[v]);
                    live[v] = _mm256_and_pd(
                        live[v],
                        _mm256_and_pd(_mm256_cmp_pd(_mm256_add_pd(rr, ii), four, _CMP_LT_OQ),
                                      _mm256_cmp_pd(n[v], limit, _CMP_LT_OQ)));
                    n[v] = _mm256_add_pd(n[v], _mm256_and_pd(live[v], one));
                    const __m256d next_r =
                        FOLD ? _mm256_sub_pd(_mm256_sub_pd(rr, ii), pr[v])
                             : _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(zr[v], zi[v]),
                                                           _mm256_add_pd(zr[v], zi[v])),
                                             pr[v]);
                    zi[v] =
                        FOLD
                            ? _mm256_sub_pd(
                                  _mm256_mul_pd(
                                      two, _mm256_andnot_pd(sign, _mm256_mul_pd(zr[v], zi[v]))),
                                  pi[v])
                            : _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(two, zr[v]), zi[v]), pi[v]);
                    zr[v] = next_r;
                }
            }
            uint64_t going = 0;
#pragma GCC unroll 4
            for (int v = 0; v < VECTORS; ++v)
                going |= uint64_t(_mm256_movemask_pd(live[v])) << (4 * v);
            done = busy & ~going;
            if (!going || __builtin_popcountll(done) >= ENOUGH_DONE)
                break;
        }
#pragma GCC unroll 4
        for (int v = 0; v < VECTORS; ++v) {
            _mm256_store_pd(lanes.zr + 4 * v, zr[v]);
            _mm256_store_pd(lanes.zi + 4 * v, zi[v]);
            _mm256_store_pd(lanes.n + 4 * v, n[v]);
        }
        if (!feed.Refill(lanes, done, LANES))
            return;
    }
}

// Mask registers hold which lanes are live, so a done lane costs no extra instruction.
template <bool FOLD>
__attribute__((target("avx512f"))) void LanesAvx512(PixelFeed& feed, Lanes& lanes)
{
    const int VECTORS = 4, LANES = 8 * VECTORS, ENOUGH_DONE = LANES / 2;
    const __m512d four = _mm512_set1_pd(4), one = _mm512_set1_pd(1), two = _mm512_set1_pd(2);
    const __m512d limit = _mm512_set1_pd(feed.Limit());
    __m512d pr[VECTORS], pi[VECTORS], zr[VECTORS], zi[VECTORS], n[VECTORS];
    __mmask8 live[VECTORS];
    for (int l = 0; l < LANES; ++l)
        feed.Start(lanes, l);
    for (;;) {
#pragma GCC unroll 4
        for (int v = 0; v < VECTORS; ++v) {
            pr[v] = _mm512_load_pd(lanes.pr + 8 * v);
            pi[v] = _mm512_load_pd(lanes.pi + 8 * v);
            zr[v] = _mm512_load_pd(lanes.zr + 8 * v);
            zi[v] = _mm512_load_pd(lanes.zi + 8 * v);
            n[v] = _mm512_load_pd(lanes.n + 8 * v);
            live[v] = static_cast<__mmask8>(~lanes.idle >> (8 * v));
        }
        const uint64_t busy = ((uint64_t{1} << LANES) - 1) & ~lanes.idle;
        uint64_t done;
        for (;;) {
            for (int step = 0; step < STEPS_PER_CHECK; ++step) {
#pragma GCC unroll 4
                for (int v = 0; v < VECTORS; ++v) {
                    const __m512d rr = _mm512_mul_pd(zr[v], zr[v]),
                                  ii = _mm512_mul_pd(zi[v], zi[v]);
                    live[v] = _mm512_mask_cmp_pd_mask(
                        _mm512_mask_cmp_pd_mask(live[v], n[v], limit, _CMP_LT_OQ),
                        _mm512_add_pd(rr, ii), four, _CMP_LT_OQ);
                    n[v] = _mm512_mask_add_pd(n[v], live[v], n[v], one);
                    const __m512d next_r =
                        FOLD ? _mm512_sub_pd(_mm512_sub_pd(rr, ii), pr[v])
                             : _mm512_add_pd(_mm512_mul_pd(_mm512_sub_pd(zr[v], zi[v]),
                                                           _mm512_add_pd(zr[v], zi[v])),
                                             pr[v]);
                    zi[v] =
                        FOLD
                            ? _mm512_sub_pd(
                                  _mm512_mul_pd(two, _mm512_abs_pd(_mm512_mul_pd(zr[v], zi[v]))),
                                  pi[v])
                            : _mm512_add_pd(_mm512_mul_pd(_mm512_mul_pd(two, zr[v]), zi[v]), pi[v]);
                    zr[v] = next_r;
                }
            }
            uint64_t going = 0;
#pragma GCC unroll 4
            for (int v = 0; v < VECTORS; ++v)
                going |= uint64_t(live[v]) << (8 * v);
            done = busy & ~going;
            if (!going || __builtin_popcountll(done) >= ENOUGH_DONE)
                break;
        }
#pragma GCC unroll 4
        for (int v = 0; v < VECTORS; ++v) {
            _mm512_store_pd(lanes.zr + 8 * v, zr[v]);
            _mm512_store_pd(lanes.zi + 8 * v, zi[v]);
            _mm512_store_pd(lanes.n + 8 * v, n[v]);
        }
        if (!feed.Refill(lanes, done, LANES))
            return;
    }
}
} // namespace

void PaintFractalSse2(BITMAP* picture, const FractalView& view, const uint16_t* colours)
{
    PixelFeed feed(picture, view, colours);
    Lanes lanes;
    if (view.kind == 0)
        LanesSse2<false>(feed, lanes);
    else
        LanesSse2<true>(feed, lanes);
}

void PaintFractalAvx2(BITMAP* picture, const FractalView& view, const uint16_t* colours)
{
    PixelFeed feed(picture, view, colours);
    Lanes lanes;
    if (view.kind == 0)
        LanesAvx2<false>(feed, lanes);
    else
        LanesAvx2<true>(feed, lanes);
}

void PaintFractalAvx512(BITMAP* picture, const FractalView& view, const uint16_t* colours)
{
    PixelFeed feed(picture, view, colours);
    Lanes lanes;
    if (view.kind == 0)
        LanesAvx512<false>(feed, lanes);
    else
        LanesAvx512<true>(feed, lanes);
}

#endif
