#pragma once

#include <allegro.h>

#include <cstddef>
#include <cstdint>

// Bytes in memory served to the library's readers as a read-only PACKFILE, so that a file
// is read once and the bytes a check looked at are the very bytes the reader gets.
struct sMemoryFile {
    const uint8_t* data;
    size_t size;
    size_t at; // where the next read starts
};

// A PACKFILE reading from file, which must outlive it; close it with pack_fclose. Null when
// the library cannot make one.
PACKFILE* OpenMemoryFile(sMemoryFile* file);
