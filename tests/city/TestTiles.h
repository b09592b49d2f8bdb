#pragma once

#include <cstdint>
#include <string>

class cCity;

// The nine tile pictures of a city, made with one colour each and written as PCX files into
// a temporary media folder, so that cities built here draw them instead of the game's own
// pictures. Ground tiles are opaque 128 x 96; storeys are 128 x 64, taller than their
// 31-pixel spacing so that storeys above the screen's top edge still show, with a marker row
// at the bottom that gives each storey's position away.
class TestTiles {
public:
    TestTiles();
    ~TestTiles();
    TestTiles(const TestTiles&) = delete;
    TestTiles& operator=(const TestTiles&) = delete;

    // A new city, constructed with the temporary folder as the working directory.
    cCity* BuildCity() const;

    static constexpr uint16_t BASE_COLOURS[] = {0xA000, 0x0500, 0x0014, 0x8410, 0xFFE0, 0x03EF};
    static constexpr uint16_t EXT_COLOURS[3] = {0x7800, 0x03C0, 0x000F};
    static constexpr uint16_t EXT_MARKS[3] = {0xF800, 0x07C0, 0x001E};

private:
    std::string folder;
};
