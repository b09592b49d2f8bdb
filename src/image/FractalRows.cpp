#include "image/FractalRows.h"

namespace {
// Where each column of a row lies on the real axis, worked out exactly as EscapeCount's
// callers do: (column - width / 2) / (width / re_span) + (re_min + re_span / 2).
struct RowGeometry {
    int half_width;
    double columns_per_unit;
    double re_centre;
};

RowGeometry GeometryOf(const FractalView& view, int width) {
    return {width / 2, width / view.re_span, view.re_min + view.re_span / 2};
}

void RealParts(const RowGeometry& row, int first_column, double* re) {
    for (int i = 0; i < FRACTAL_ROW_BLOCK; ++i)
        re[i] = (first_column + i - row.half_width) / row.columns_per_unit + row.re_centre;
}
} // namespace

#if defined(__SSE2__)
#include <immintrin.h>

namespace {
// Each block runs until its last point has escaped; points that escaped earlier keep
// stepping (towards infinity and NaN, which cost nothing extra) but stop counting. Several
// independent vectors per block keep the multipliers busy while each one waits on its own
// chain of dependent steps.
template <bool FOLD> void BlockSse2(const double* re, double im, int limit, int* counts) {
    const int VECTORS = FRACTAL_ROW_BLOCK / 2;
    const __m128d four = _mm_set1_pd(4), one = _mm_set1_pd(1), two = _mm_set1_pd(2);
    const __m128d sign = _mm_set1_pd(-0.0), pi = _mm_set1_pd(im);
    __m128d pr[VECTORS], zr[VECTORS], zi[VECTORS], n[VECTORS], active[VECTORS];
    for (int v = 0; v < VECTORS; ++v) {
        pr[v] = zr[v] = _mm_loadu_pd(re + 2 * v);
        zi[v] = pi;
        n[v] = _mm_setzero_pd();
        active[v] = _mm_cmpeq_pd(n[v], n[v]);
    }
    for (int step = 0; step < limit; ++step) {
        __m128d rr[VECTORS], ii[VECTORS];
        int any = 0;
        for (int v = 0; v < VECTORS; ++v) {
            rr[v] = _mm_mul_pd(zr[v], zr[v]);
            ii[v] = _mm_mul_pd(zi[v], zi[v]);
            active[v] = _mm_and_pd(active[v], _mm_cmplt_pd(_mm_add_pd(rr[v], ii[v]), four));
            any |= _mm_movemask_pd(active[v]);
        }
        if (!any)
            break;
        for (int v = 0; v < VECTORS; ++v) {
            n[v] = _mm_add_pd(n[v], _mm_and_pd(active[v], one));
            const __m128d next_r =
                FOLD ? _mm_sub_pd(_mm_sub_pd(rr[v], ii[v]), pr[v])
                     : _mm_add_pd(_mm_mul_pd(_mm_sub_pd(zr[v], zi[v]), _mm_add_pd(zr[v], zi[v])),
                                  pr[v]);
            zi[v] =
                FOLD
                    ? _mm_sub_pd(_mm_mul_pd(two, _mm_andnot_pd(sign, _mm_mul_pd(zr[v], zi[v]))), pi)
                    : _mm_add_pd(_mm_mul_pd(_mm_mul_pd(two, zr[v]), zi[v]), pi);
            zr[v] = next_r;
        }
    }
    for (int v = 0; v < VECTORS; ++v)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(counts + 2 * v), _mm_cvttpd_epi32(n[v]));
}

template <bool FOLD>
__attribute__((target("avx2"))) void BlockAvx2(const double* re, double im, int limit,
                                               int* counts) {
    const int VECTORS = FRACTAL_ROW_BLOCK / 4;
    const __m256d four = _mm256_set1_pd(4), one = _mm256_set1_pd(1), two = _mm256_set1_pd(2);
    const __m256d sign = _mm256_set1_pd(-0.0), pi = _mm256_set1_pd(im);
    __m256d pr[VECTORS], zr[VECTORS], zi[VECTORS], n[VECTORS], active[VECTORS];
    for (int v = 0; v < VECTORS; ++v) {
        pr[v] = zr[v] = _mm256_loadu_pd(re + 4 * v);
        zi[v] = pi;
        n[v] = _mm256_setzero_pd();
        active[v] = _mm256_cmp_pd(n[v], n[v], _CMP_EQ_OQ);
    }
    for (int step = 0; step < limit; ++step) {
        __m256d rr[VECTORS], ii[VECTORS];
        int any = 0;
        for (int v = 0; v < VECTORS; ++v) {
            rr[v] = _mm256_mul_pd(zr[v], zr[v]);
            ii[v] = _mm256_mul_pd(zi[v], zi[v]);
            const __m256d inside = _mm256_cmp_pd(_mm256_add_pd(rr[v], ii[v]), four, _CMP_LT_OQ);
            active[v] = _mm256_and_pd(active[v], inside);
            any |= _mm256_movemask_pd(active[v]);
        }
        if (!any)
            break;
        for (int v = 0; v < VECTORS; ++v) {
            n[v] = _mm256_add_pd(n[v], _mm256_and_pd(active[v], one));
            const __m256d next_r = FOLD ? _mm256_sub_pd(_mm256_sub_pd(rr[v], ii[v]), pr[v])
                                        : _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(zr[v], zi[v]),
                                                                      _mm256_add_pd(zr[v], zi[v])),
                                                        pr[v]);
            zi[v] =
                FOLD ? _mm256_sub_pd(
                           _mm256_mul_pd(two, _mm256_andnot_pd(sign, _mm256_mul_pd(zr[v], zi[v]))),
                           pi)
                     : _mm256_add_pd(_mm256_mul_pd(_mm256_mul_pd(two, zr[v]), zi[v]), pi);
            zr[v] = next_r;
        }
    }
    for (int v = 0; v < VECTORS; ++v)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(counts + 4 * v), _mm256_cvttpd_epi32(n[v]));
}
} // namespace

void FractalRowSse2(const FractalView& view, int width, double im, int* counts) {
    const RowGeometry row = GeometryOf(view, width);
    double re[FRACTAL_ROW_BLOCK];
    for (int column = 0; column < width; column += FRACTAL_ROW_BLOCK) {
        RealParts(row, column, re);
        if (view.kind == 0)
            BlockSse2<false>(re, im, view.max_iterations, counts + column);
        else
            BlockSse2<true>(re, im, view.max_iterations, counts + column);
    }
}

__attribute__((target("avx2"))) void FractalRowAvx2(const FractalView& view, int width, double im,
                                                    int* counts) {
    const RowGeometry row = GeometryOf(view, width);
    double re[FRACTAL_ROW_BLOCK];
    for (int column = 0; column < width; column += FRACTAL_ROW_BLOCK) {
        RealParts(row, column, re);
        if (view.kind == 0)
            BlockAvx2<false>(re, im, view.max_iterations, counts + column);
        else
            BlockAvx2<true>(re, im, view.max_iterations, counts + column);
    }
}

#else
// Without x86 vector units both ways count one point at a time.
void FractalRowSse2(const FractalView& view, int width, double im, int* counts) {
    const RowGeometry row = GeometryOf(view, width);
    double re[FRACTAL_ROW_BLOCK];
    for (int column = 0; column < width; column += FRACTAL_ROW_BLOCK) {
        RealParts(row, column, re);
        for (int i = 0; i < FRACTAL_ROW_BLOCK; ++i)
            counts[column + i] = EscapeCount(view.kind, re[i], im, view.max_iterations);
    }
}

void FractalRowAvx2(const FractalView& view, int width, double im, int* counts) {
    FractalRowSse2(view, width, im, counts);
}
#endif
