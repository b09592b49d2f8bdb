#include "bitmap/PictureFile.h"

#include "bitmap/MemoryFile.h"
#include "bitmap/PcxCheck.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
const size_t READ_CHUNK_BYTES = 64 * 1024;

struct sCloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the header, then the rest only while it stays within what a well-formed file with
// that header can hold, so a huge file is never held in memory. Empty when refused.
std::vector<uint8_t> ReadPictureBytes(const char* path)
{
    std::unique_ptr<std::FILE, sCloseFile> file(std::fopen(path, "rb"));
    if (!file)
        return {};
    std::vector<uint8_t> bytes(PCX_HEADER_BYTES);
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return {};
    const size_t limit = PcxFileLimit(bytes.data(), bytes.size());
    while (bytes.size() <= limit) {
        const size_t had = bytes.size();
        bytes.resize(had + std::min(READ_CHUNK_BYTES, limit + 1 - had));
        const size_t got = std::fread(bytes.data() + had, 1, bytes.size() - had, file.get());
        bytes.resize(had + got);
        if (got == 0)
            return bytes;
    }
    return {};
}
} // namespace

BITMAP* DecodePicture(const uint8_t* data, size_t size)
{
    if (CheckPcx(data, size) != ePcxFault::NONE)
        return nullptr;
    sMemoryFile memory = {data, size, 0};
    PACKFILE* file = OpenMemoryFile(&memory);
    if (!file)
        return nullptr;
    PALETTE palette; // 8-bit pictures come converted; their palette is not kept
    BITMAP* picture = load_pcx_pf(file, palette);
    pack_fclose(file);
    return picture;
}

BITMAP* LoadPicture(const char* path)
{
    const std::vector<uint8_t> bytes = ReadPictureBytes(path);
    return bytes.empty() ? nullptr : DecodePicture(bytes.data(), bytes.size());
}
