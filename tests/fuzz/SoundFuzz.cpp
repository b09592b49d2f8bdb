// Feeds arbitrary bytes to the game's sound effect reading: the WAV check, then the
// library's reader for whatever passes. Any crash, hang, leak or oversized allocation is a
// fault, and so is a sample whose format or samples differ from what the accepted bytes
// say: that would mean the library read something the check did not look at.
#include "sound/SampleFile.h"

#include <cstdlib>
#include <cstring>

namespace {
int Word(const uint8_t* data) { return data[0] | (data[1] << 8); }

uint32_t Long(const uint8_t* data) { return Word(data) | uint32_t(Word(data + 2)) << 16; }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SAMPLE* sample = DecodeSoundSample(data, size);
    if (!sample)
        return 0;
    // The format and the samples, found here independently of the library: the chunks one
    // after another from the first, the last format chunk before the data chunk in force.
    int channels = 0, rate = 0, bits = 0;
    size_t at = 12;
    for (; std::memcmp(data + at, "data", 4) != 0; at += 8 + Long(data + at + 4))
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            channels = Word(data + at + 10);
            rate = int(Long(data + at + 12));
            bits = Word(data + at + 22);
        }
    const uint8_t* samples = data + at + 8;
    const uint32_t bytes = Long(data + at + 4);
    if (sample->bits != bits || (sample->stereo != 0) != (channels == 2) || sample->freq != rate ||
        sample->len != bytes / uint32_t(channels * bits / 8))
        std::abort();
    // The library keeps 16-bit samples unsigned, in this machine's little-endian order: the
    // file's signed ones with the top bit turned.
    const uint8_t* kept = static_cast<const uint8_t*>(sample->data);
    for (uint32_t i = 0; i < bytes; ++i)
        if (kept[i] != (samples[i] ^ (bits == 16 && i % 2 ? 0x80 : 0)))
            std::abort();
    destroy_sample(sample);
    return 0;
}
