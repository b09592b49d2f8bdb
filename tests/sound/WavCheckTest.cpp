#include "sound/WavCheck.h"
#include "sound/SampleFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

void PutLittle(Bytes& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

Bytes Chunk(const char* tag, const Bytes& body, std::uint32_t length)
{
    Bytes chunk(tag, tag + 4);
    PutLittle(chunk, length, 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

Bytes Chunk(const char* tag, const Bytes& body) { return Chunk(tag, body, body.size()); }

Bytes Format(int kind, int channels, std::uint32_t rate, int bits, int extra = 0)
{
    Bytes body;
    PutLittle(body, kind, 2);
    PutLittle(body, channels, 2);
    PutLittle(body, rate, 4);
    PutLittle(body, rate * channels * bits / 8, 4);
    PutLittle(body, channels * bits / 8, 2);
    PutLittle(body, bits, 2);
    body.resize(body.size() + extra);
    return Chunk("fmt ", body);
}

Bytes Cat(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Bytes Riff(std::initializer_list<Bytes> chunks)
{
    Bytes file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
        file.insert(file.end(), chunk.begin(), chunk.end());
    const std::uint32_t length = file.size() - 8;
    for (int i = 0; i < 4; ++i)
        file[4 + i] = static_cast<unsigned char>(length >> (8 * i));
    return file;
}

const Bytes MONO16 = Format(1, 1, 22050, 16);
const Bytes SAMPLES = Chunk("data", Bytes(8, 0x80)); // 4 frames of 16-bit mono

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(WavCheckTest, EachKindOfFileIsAcceptedOrRefused)
{
    Bytes not_wave = Riff({MONO16, SAMPLES});
    not_wave[8] = 'A';
    const struct {
        const char* what;
        Bytes file;
        bool sound;
    } cases[] = {
        {"16-bit mono", Riff({MONO16, SAMPLES}), true},
        {"8-bit stereo", Riff({Format(1, 2, 11025, 8), SAMPLES}), true},
        {"a list chunk first, a longer format",
         Riff({Chunk("LIST", Bytes(6)), Format(1, 1, 8000, 8, 2), SAMPLES}), true},
        {"lowest rate", Riff({Format(1, 1, WAV_LOWEST_RATE, 16), SAMPLES}), true},
        {"highest rate", Riff({Format(1, 1, WAV_HIGHEST_RATE, 16), SAMPLES}), true},
        {"rate too low", Riff({Format(1, 1, WAV_LOWEST_RATE - 1, 16), SAMPLES}), false},
        {"rate too high", Riff({Format(1, 1, WAV_HIGHEST_RATE + 1, 16), SAMPLES}), false},
        {"not RIFF", Bytes(40, 'R'), false},
        {"not WAVE", not_wave, false},
        {"no format", Riff({SAMPLES}), false},
        {"samples before the format", Riff({SAMPLES, MONO16}), false},
        {"no samples", Riff({MONO16}), false},
        // The reader would take the bits from the next chunk's tag.
        {"a short format",
         Riff({Chunk("fmt ", Bytes(MONO16.begin() + 8, MONO16.end() - 2)), Chunk("\x10\0..", {}),
               SAMPLES}),
         false},
        {"an odd-sized chunk", Riff({Chunk("LIST", Bytes(5)), MONO16, SAMPLES}), false},
        {"float samples", Riff({Format(3, 1, 22050, 32), SAMPLES}), false},
        {"extensible format", Riff({Format(0xFFFE, 1, 22050, 16), SAMPLES}), false},
        {"three channels", Riff({Format(1, 3, 22050, 16), Chunk("data", Bytes(12))}), false},
        {"no channels", Riff({Format(1, 0, 22050, 16), SAMPLES}), false},
        {"24 bits", Riff({Format(1, 1, 22050, 24), Chunk("data", Bytes(6))}), false},
        {"empty samples", Riff({MONO16, Chunk("data", {})}), false},
        {"half a sample", Riff({MONO16, Chunk("data", Bytes(7))}), false},
        {"half a stereo frame", Riff({Format(1, 2, 22050, 16), Chunk("data", Bytes(6))}), false},
        {"samples past the end", Riff({MONO16, Chunk("data", Bytes(8), 10)}), false},
        {"a chunk after the samples", Riff({MONO16, SAMPLES, Chunk("LIST", Bytes(4))}), true},
        {"a torn chunk after the samples", Riff({MONO16, SAMPLES, Bytes(7, 'x')}), false},
        {"samples twice", Riff({MONO16, SAMPLES, SAMPLES}), false},
        {"a format after the samples", Riff({MONO16, SAMPLES, MONO16}), false},
        {"an odd number of bytes", Riff({Format(1, 1, 8000, 8), Chunk("data", Bytes(3))}), false},
        {"a chunk length that wraps", Riff({Chunk("LIST", {}, 0xFFFFFFFE), MONO16, SAMPLES}),
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WavDataIsSound(c.file.data(), c.file.size()), c.sound) << c.what;
    EXPECT_FALSE(WavDataIsSound(nullptr, 100));
}

TEST(WavCheckTest, RefusesEveryTruncationOfAnEffect)
{
    const Bytes effect = ReadFile("media/empty.wav");
    ASSERT_GT(effect.size(), 1000u);
    ASSERT_TRUE(WavDataIsSound(effect.data(), effect.size()));
    for (std::size_t size = 0; size < effect.size(); ++size)
        ASSERT_FALSE(WavDataIsSound(effect.data(), size)) << "cut at " << size;
}

TEST(WavCheckTest, LoadsEffectsAndRefusesMissingUnreadableAndOversizedFiles)
{
    SAMPLE* effect = LoadSoundSample("media/boom.wav");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->bits, 16);
    EXPECT_FALSE(effect->stereo);
    EXPECT_EQ(effect->freq, 22050);
    EXPECT_EQ(effect->len, (ReadFile("media/boom.wav").size() - 44) / 2);
    destroy_sample(effect);
    EXPECT_EQ(LoadSoundSample("media/no-such-effect.wav"), nullptr);
    EXPECT_EQ(LoadSoundSample("media"), nullptr);
    // A file of samples up to the limit, then the same with an empty chunk after them.
    const std::string path = testing::TempDir() + "emberwing-large.wav";
    const Bytes largest = Riff({MONO16, Chunk("data", Bytes(WAV_MOST_BYTES - 44))});
    ASSERT_EQ(largest.size(), WAV_MOST_BYTES);
    for (const Bytes& file : {largest, Cat(largest, Chunk("LIST", {}))}) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        SAMPLE* sample = LoadSoundSample(path.c_str());
        EXPECT_EQ(sample != nullptr, file.size() == WAV_MOST_BYTES) << file.size();
        if (sample)
            destroy_sample(sample);
    }
}
} // namespace
