#include "sound/SampleFile.h"

#include "bitmap/MemoryFile.h"
#include "sound/WavCheck.h"

#include <fstream>
#include <vector>

SAMPLE* DecodeSoundSample(const uint8_t* data, size_t size)
{
    if (!WavDataIsSound(data, size))
        return nullptr;
    sMemoryFile memory = {data, size, 0};
    PACKFILE* file = OpenMemoryFile(&memory);
    if (!file)
        return nullptr;
    SAMPLE* sample = load_wav_pf(file);
    pack_fclose(file);
    return sample;
}

SAMPLE* LoadSoundSample(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    // One byte more than allowed, to tell a file at the limit from a larger one.
    std::vector<uint8_t> data(WAV_MOST_BYTES + 1);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (file.bad())
        return nullptr;
    return DecodeSoundSample(data.data(), static_cast<size_t>(file.gcount()));
}
