// Feeds arbitrary bytes to the game's sound effect reading: the WAV check, then the
// library's reader for whatever passes. Any crash, hang, leak or oversized allocation is a
// fault, and so is a sample whose format or samples differ from what the accepted bytes
// say: that would mean the library read something the check did not look at.
#include "sound/SampleFile.h"
#include "support/Headless.h"

#include <cstdlib>
#include <cstring>

namespace {
int Word(const uint8_t* data) { return data[0] | (data[1] << 8); }

uint32_t Long(const uint8_t* data) { return Word(data) | uint32_t(Word(data + 2)) << 16; }

// The format and the samples, found here independently of the library: the chunks one after
// another from the first, the last format chunk before the data chunk in force.
struct sExpected {
    int channels = 0, rate = 0, bits = 0;
    const uint8_t* samples = nullptr;
    uint32_t bytes = 0;
};

sExpected Expected(const uint8_t* data)
{
    sExpected expected;
    for (size_t at = 12; !expected.samples; at += 8 + Long(data + at + 4)) {
        const uint8_t* body = data + at + 8;
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            expected.channels = Word(body + 2);
            expected.rate = int(Long(body + 4));
            expected.bits = Word(body + 14);
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            expected.samples = body;
            expected.bytes = Long(data + at + 4);
        }
    }
    return expected;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartHeadlessAllegro();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SAMPLE* sample = DecodeSoundSample(data, size);
    if (!sample)
        return 0;
    const sExpected expected = Expected(data);
    const uint32_t frame_bytes = uint32_t(expected.channels * expected.bits / 8);
    if (sample->bits != expected.bits || (sample->stereo != 0) != (expected.channels == 2) ||
        sample->freq != expected.rate || sample->len != expected.bytes / frame_bytes)
        std::abort();
    // The library keeps 16-bit samples unsigned: the file's signed ones with the top bit turned.
    const uint8_t* kept = static_cast<const uint8_t*>(sample->data);
    for (uint32_t i = 0; i < expected.bytes; i += expected.bits / 8) {
        const int value =
            expected.bits == 8 ? expected.samples[i] : Word(expected.samples + i) ^ 0x8000;
        const int held =
            expected.bits == 8 ? kept[i] : reinterpret_cast<const uint16_t*>(kept)[i / 2];
        if (value != held)
            std::abort();
    }
    destroy_sample(sample);
    return 0;
}
