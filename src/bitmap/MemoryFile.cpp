#include "bitmap/MemoryFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
sMemoryFile& Of(void* userdata) { return *static_cast<sMemoryFile*>(userdata); }

int MemoryClose(void*) { return 0; }

int MemoryGetc(void* userdata)
{
    sMemoryFile& file = Of(userdata);
    return file.at < file.size ? file.data[file.at++] : EOF;
}

int MemoryUngetc(int c, void* userdata)
{
    sMemoryFile& file = Of(userdata);
    if (file.at == 0)
        return EOF;
    --file.at;
    return c;
}

long MemoryRead(void* destination, long count, void* userdata)
{
    sMemoryFile& file = Of(userdata);
    const size_t taken = std::min(size_t(std::max(count, 0L)), file.size - file.at);
    std::memcpy(destination, file.data + file.at, taken);
    file.at += taken;
    return long(taken);
}

int MemoryPutc(int, void*) { return EOF; }

long MemoryWrite(const void*, long, void*) { return 0; }

// The library only ever seeks forwards, relative to where it is.
int MemorySeek(void* userdata, int offset)
{
    sMemoryFile& file = Of(userdata);
    if (offset < 0)
        return -1;
    file.at += std::min(size_t(offset), file.size - file.at);
    return 0;
}

int MemoryEof(void* userdata) { return Of(userdata).at >= Of(userdata).size; }

int MemoryError(void*) { return 0; }

const PACKFILE_VTABLE MEMORY_FILE = {MemoryClose, MemoryGetc, MemoryUngetc, MemoryRead, MemoryPutc,
                                     MemoryWrite, MemorySeek, MemoryEof,    MemoryError};
} // namespace

PACKFILE* OpenMemoryFile(sMemoryFile* file) { return pack_fopen_vtable(&MEMORY_FILE, file); }
