#include "city/cCity.h"

#include "city/StackedTile.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const int COLUMNS = 40;
const int ROWS = 30;
const int ROW_SHIFT = 32; // row r lies 32 * (r % 3) pixels further right
const int PEOPLE_PER_STOREY = 193;
const int LOWEST_UPPER_STOREY = 5; // storeys from this one up cover the sprites

const int SEED = 0x9ABE16;
const int64_t PARK_MILLER_MODULUS = 2147483647; // 2^31 - 1
const int64_t PARK_MILLER_MULTIPLIER = 16807;
const int TALL_BUILDING_ODDS = 72; // one cell in 72 becomes a tower of 8 to 10 storeys

const int BUILDING_KINDS = 3;

const char* const BASE_FILES[] = {
    "media/building_base.pcx", "media/building_base2.pcx", "media/building_base3.pcx",
    "media/grass.pcx",         "media/rubble.pcx",         "media/water.pcx",
};
const char* const EXT_FILES[] = {
    "media/building_ext.pcx",
    "media/building_ext2.pcx",
    "media/building_ext3.pcx",
};
const int BASE_COUNT = sizeof(BASE_FILES) / sizeof(BASE_FILES[0]);
const int EXT_COUNT = sizeof(EXT_FILES) / sizeof(EXT_FILES[0]);

struct FixedCell {
    int row, column, code;
};
// The park around the first tower, the starting point's lawn and the tower itself.
const FixedCell FIXED_CELLS[] = {
    {7, 6, cCity::GRASS},   {7, 7, cCity::GRASS}, {8, 6, cCity::GRASS},
    {8, 8, cCity::GRASS},   {9, 6, cCity::GRASS}, {9, 7, cCity::GRASS},
    {15, 20, cCity::GRASS}, {8, 7, 212},          {9, 8, 104},
};

int64_t FloorDivide(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

void* AllocateOrStop(size_t bytes)
{
    void* block = std::malloc(bytes);
    if (!block) {
        std::fprintf(stderr, "emberwing: out of memory while building the city\n");
        std::exit(1);
    }
    return block;
}
} // namespace

static cImage* _base[BASE_COUNT];
static cImage* _ext[EXT_COUNT];
// _stacked[kind][n]: a building's ground tile with storeys 1 to n on it, for n from 1 up to
// the ground layer's last storey; null where a picture is missing, drawn then layer by layer.
static cImage* _stacked[EXT_COUNT][LOWEST_UPPER_STOREY];
static int _seed;

// Park and Miller's minimal standard generator; the product needs 46 bits.
static int CityRandom()
{
    _seed = static_cast<int>(PARK_MILLER_MULTIPLIER * _seed % PARK_MILLER_MODULUS);
    return _seed;
}

cCity::cCity()
{
    for (int i = 0; i < BASE_COUNT; ++i)
        _base[i] = new cImage(BASE_FILES[i]);
    for (int i = 0; i < EXT_COUNT; ++i)
        _ext[i] = new cImage(EXT_FILES[i]);
    for (int i = 0; i < EXT_COUNT; ++i)
        for (int n = 1; n < LOWEST_UPPER_STOREY; ++n)
            _stacked[i][n] =
                _base[i]->loaded && _ext[i]->loaded
                    ? new cImage(StackStoreys(_base[i]->bitmap, _ext[i]->bitmap, n, STOREY_HEIGHT))
                    : nullptr;

    width = COLUMNS;
    height = ROWS;
    // One spare byte per block, as the grid has always had; nothing uses it.
    grid = static_cast<int**>(AllocateOrStop(height * sizeof(int*) + 1));
    _seed = SEED;
    for (int y = 0; y < height; ++y) {
        grid[y] = static_cast<int*>(AllocateOrStop(width * sizeof(int) + 1));
        for (int x = 0; x < width; ++x) {
            const int a = CityRandom();
            const int b = CityRandom();
            int cell = a % 4 + 100 * (b % 2);
            if (a % 4 == 2 || a % 4 == 3)
                CityRandom(); // drawn and discarded: the city depends on this sequence
            if (CityRandom() % TALL_BUILDING_ODDS == 0) {
                const int k = CityRandom();
                const int s = CityRandom();
                cell = 100 * (k % 3) + 7 + s % 3;
            }
            // The draws above are made for the border too, so that the interior is the same.
            if (y <= 3 || y >= height - 3 || x <= 3 || x >= width - 4)
                cell = WATER;
            grid[y][x] = cell;
        }
    }
    for (const FixedCell& fixed : FIXED_CELLS)
        grid[fixed.row][fixed.column] = fixed.code;

    tile_width = TILE_WIDTH;
    tile_height = TILE_HEIGHT;
    start_x = 20 * TILE_WIDTH + TILE_WIDTH / 2;
    start_y = 15 * TILE_HEIGHT + TILE_HEIGHT / 2;
    width_pixel = width * tile_width;
    height_pixel = height * tile_height;
    storey_height = STOREY_HEIGHT;
    CalcScreenTiles();

    population = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (grid[y][x] / 100 < BUILDING_KINDS)
                population += PEOPLE_PER_STOREY * (grid[y][x] % 100 + 1);
}

cCity::~cCity()
{
    for (int y = height - 1; y >= 0; --y)
        std::free(grid[y]);
    std::free(grid);
    for (int i = EXT_COUNT - 1; i >= 0; --i) {
        for (int n = LOWEST_UPPER_STOREY - 1; n >= 1; --n) {
            delete _stacked[i][n];
            _stacked[i][n] = nullptr;
        }
        delete _ext[i];
        _ext[i] = nullptr;
    }
    for (int i = BASE_COUNT - 1; i >= 0; --i) {
        delete _base[i];
        _base[i] = nullptr;
    }
}

void cCity::CalcScreenTiles()
{
    screen_tiles_x = cGraphics::SCR_WIDTH / tile_width + 2;
    screen_tiles_y = cGraphics::SCR_HEIGHT / tile_height + 2;
}

// Calls draw_tile(code, sx, sy) for every tile in view, rows top to bottom (later rows cover
// earlier ones), each tile at its map position less the view origin. Rows below the screen
// are visited too, since their storeys can reach up into view. Where the view reaches past
// the grid, the water that borders the city goes on in the same pattern, so that every
// pixel of the play area is drawn every frame.
template <typename DrawTile> void cCity::VisitTilesInView(int x, int y, DrawTile draw_tile)
{
    // Rows and columns are found in 64 bits, so that a view origin however far off cannot
    // overflow; the screen positions of the tiles visited are small.
    const int64_t first_row = FloorDivide(y, tile_height);
    for (int64_t r = first_row; r <= first_row + screen_tiles_y + 4; ++r) {
        const bool row_inside = r >= 0 && r < height;
        const int shift = ROW_SHIFT * static_cast<int>(r - 3 * FloorDivide(r, 3));
        const int64_t j0 = FloorDivide(int64_t{x} - shift, tile_width);
        const int sy = static_cast<int>(tile_height * r - y);
        for (int64_t j = j0; j < j0 + screen_tiles_x; ++j) {
            const int sx = static_cast<int>(tile_width * j + shift - x);
            draw_tile(row_inside && j >= 0 && j < width ? grid[r][j] : WATER, sx, sy);
        }
    }
}

void cCity::DrawBase(int x, int y)
{
    VisitTilesInView(x, y, [this](int code, int sx, int sy) {
        const int kind = code / 100, lower = std::min(code % 100, LOWEST_UPPER_STOREY - 1);
        cImage* stacked = lower > 0 && kind < EXT_COUNT ? _stacked[kind][lower] : nullptr;
        if (stacked && stacked->loaded) {
            stacked->Draw(sx, sy - STOREY_HEIGHT * lower);
            return;
        }
        _base[kind]->Draw(sx, sy);
        for (int k = 1; k <= lower; ++k)
            _ext[kind]->Draw(sx, sy - storey_height * k);
    });
}

void cCity::DrawExt(int x, int y)
{
    VisitTilesInView(x, y, [this](int code, int sx, int sy) {
        const int kind = code / 100, storeys = code % 100;
        for (int k = LOWEST_UPPER_STOREY; k <= storeys; ++k)
            _ext[kind]->Draw(sx, sy - storey_height * k);
    });
}

void cCity::GetTile(int x, int y, int* column, int* row)
{
    *row = y / tile_height;
    *column = (x - ROW_SHIFT * (*row % 3)) / tile_width;
}

int* cCity::CellAt(int x, int y)
{
    if (x < 0 || x >= width_pixel || y < 0 || y >= height_pixel)
        return nullptr;
    int column, row;
    GetTile(x, y, &column, &row);
    return &grid[row][column];
}

int cCity::GetBuildingHeight(int x, int y)
{
    const int* cell = CellAt(x, y);
    if (!cell || *cell == GRASS || *cell == RUBBLE || *cell == WATER)
        return 0;
    return *cell % 100 + 1;
}

void cCity::LowerBuilding(int x, int y)
{
    int* cell = CellAt(x, y);
    if (!cell)
        return;
    if (*cell % 100 != 0)
        --*cell;
    if (*cell % 100 == 0 && *cell != GRASS && *cell != WATER)
        *cell = RUBBLE;
    population = std::max(0, population - PEOPLE_PER_STOREY);
}

void cCity::GetStartingPoint(int* x, int* y)
{
    *x = start_x;
    *y = start_y;
}
