#include "sound/WavCheck.h"

#include <cstdint>
#include <string_view>

namespace {
const std::size_t RIFF_HEAD_BYTES = 12; // "RIFF", length, "WAVE"
const std::size_t CHUNK_HEAD_BYTES = 8;
const std::uint32_t FORMAT_BYTES = 16; // the fields the reader takes from "fmt "
const int PCM = 1;

std::uint32_t Little32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

int Little16(const unsigned char* p) { return p[0] | p[1] << 8; }

bool TagIs(const unsigned char* p, std::string_view tag)
{
    return std::string_view(reinterpret_cast<const char*>(p), 4) == tag;
}

// Bytes in one frame (a sample of every channel) of a sound format chunk, or 0.
int FrameBytes(const unsigned char* format, std::uint32_t length)
{
    if (length < FORMAT_BYTES)
        return 0;
    const int kind = Little16(format), channels = Little16(format + 2),
              bits = Little16(format + 14);
    const std::uint32_t rate = Little32(format + 4);
    if (kind != PCM || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
        rate < WAV_LOWEST_RATE || rate > WAV_HIGHEST_RATE)
        return 0;
    return channels * bits / 8;
}
} // namespace

bool WavDataIsSound(const unsigned char* data, std::size_t size)
{
    if (!data || size < RIFF_HEAD_BYTES || size > WAV_MOST_BYTES || !TagIs(data, "RIFF") ||
        !TagIs(data + 8, "WAVE"))
        return false;
    int frame_bytes = 0; // none until a format chunk is read
    bool samples = false;
    // The reader takes chunk after chunk to the end of the file, the samples included, and
    // makes a new sample for every data chunk: one must tile the file with whole chunks.
    for (std::size_t pos = RIFF_HEAD_BYTES; pos < size;) {
        if (size - pos < CHUNK_HEAD_BYTES)
            return false;
        const unsigned char* chunk = data + pos;
        const std::uint32_t length = Little32(chunk + 4);
        pos += CHUNK_HEAD_BYTES;
        // The reader does not skip the pad byte after an odd-sized chunk.
        if (length > size - pos || length % 2)
            return false;
        if (TagIs(chunk, "data")) {
            if (samples || !frame_bytes || length == 0 || length % frame_bytes)
                return false;
            samples = true;
        } else if (TagIs(chunk, "fmt ")) {
            if (samples || !(frame_bytes = FrameBytes(data + pos, length)))
                return false;
        }
        pos += length;
    }
    return samples;
}
