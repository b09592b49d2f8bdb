#include "graphics/WidenPixels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {
// Five bits to eight repeat the top bits below them. Six bits to eight are the library's
// sum of a level for the three bits in the pixel's high byte and one for the three in its
// low byte, each rounded its own way.
uint32_t WidenPixel(uint32_t pixel)
{
    const uint32_t red = pixel >> 11, high = pixel >> 8 & 7, low = pixel >> 5 & 7,
                   blue = pixel & 31;
    const uint32_t green = (high << 5) + ((3 * high + 1) >> 3) + (low << 2) + ((low + 1) >> 3);
    return (red << 3 | red >> 2) << 16 | green << 8 | (blue << 3 | blue >> 2);
}

#if defined(__x86_64__) || defined(__i386__)
// The widened rows are screen rows, read next by the X server and not by the game: stored
// past the caches, they cost no read of what the memory held before. That needs whole
// aligned vectors.
__attribute__((target("avx2"), always_inline)) inline void Store(uint32_t* to, __m256i pixels,
                                                                 bool past_caches)
{
    if (past_caches)
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to), pixels);
    else
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), pixels);
}

// WidenPixel for 16 pixels at a time; the leftover pixels are left to the caller.
__attribute__((target("avx2"))) int WidenAvx2(const uint16_t* from, uint32_t* to, int pixels)
{
    const __m256i five_bits = _mm256_set1_epi16(31), three_bits = _mm256_set1_epi16(7),
                  one = _mm256_set1_epi16(1);
    const bool aligned = (reinterpret_cast<uintptr_t>(to) & 31) == 0;
    int i = 0;
    for (; i + 16 <= pixels; i += 16) {
        const __m256i pixel = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
        const __m256i red = _mm256_srli_epi16(pixel, 11);
        const __m256i high = _mm256_and_si256(_mm256_srli_epi16(pixel, 8), three_bits);
        const __m256i low = _mm256_and_si256(_mm256_srli_epi16(pixel, 5), three_bits);
        const __m256i blue = _mm256_and_si256(pixel, five_bits);
        const __m256i three_high = _mm256_add_epi16(high, _mm256_add_epi16(high, high));
        const __m256i green = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_slli_epi16(high, 5),
                             _mm256_srli_epi16(_mm256_add_epi16(three_high, one), 3)),
            _mm256_add_epi16(_mm256_slli_epi16(low, 2),
                             _mm256_srli_epi16(_mm256_add_epi16(low, one), 3)));
        const __m256i red8 = _mm256_or_si256(_mm256_slli_epi16(red, 3), _mm256_srli_epi16(red, 2));
        const __m256i green_blue = _mm256_or_si256(
            _mm256_slli_epi16(green, 8),
            _mm256_or_si256(_mm256_slli_epi16(blue, 3), _mm256_srli_epi16(blue, 2)));
        // The unpacks work within each half: pixels 0-3 and 8-11, then 4-7 and 12-15.
        const __m256i first = _mm256_unpacklo_epi16(green_blue, red8);
        const __m256i second = _mm256_unpackhi_epi16(green_blue, red8);
        Store(to + i, _mm256_permute2x128_si256(first, second, 0x20), aligned);
        Store(to + i + 8, _mm256_permute2x128_si256(first, second, 0x31), aligned);
    }
    _mm_sfence(); // the stores past the caches are seen before the screen goes out
    return i;
}

const bool HAS_AVX2 = __builtin_cpu_supports("avx2");
#endif
} // namespace

void WidenPixels(const uint16_t* from, uint32_t* to, int pixels)
{
    int i = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (HAS_AVX2)
        i = WidenAvx2(from, to, pixels);
#endif
    for (; i < pixels; ++i)
        to[i] = WidenPixel(from[i]);
}
