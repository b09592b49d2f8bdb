#include "city/cCity.h"

#include "TestTiles.h"
#include "graphics/cGraphics.h"
#include "support/GuardedBuffer.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {
const uint16_t BLACK = 0x0000;
const uint16_t UNDRAWN = 0x0001; // a colour no tile picture has
const int GRASS = 300, RUBBLE = 400, WATER = 500;

enum class Layer { Ground, Upper };

struct TileDraw {
    BITMAP* picture;
    int x, y;
};

int FloorDiv(int a, int b) {
    return a / b - (a % b < 0);
}
int FloorMod(int a, int b) {
    return a - b * FloorDiv(a, b);
}

// The tiles in view, walked as the rows' layout describes it: the first row's columns by
// division, every later row's by stepping from the row above (32 pixels right after rows
// 0 and 1 of each three, 64 left after row 2). Rows and columns outside the grid are skipped.
std::vector<TileDraw> ExpectedDraws(const cCity& city, const TestTiles& tiles, int x, int y,
                                    Layer layer) {
    std::vector<TileDraw> draws;
    const int first_row = FloorDiv(y, 96);
    const int sub_y = y - first_row * 96;
    const int first_shift = 32 * FloorMod(first_row, 3);
    int j0 = FloorDiv(x - first_shift, 128);
    int sub_x = x - first_shift - j0 * 128;
    for (int r = first_row; r <= first_row + city.screen_tiles_y + 4; ++r) {
        for (int j = j0; j < j0 + city.screen_tiles_x && r >= 0 && r < 30; ++j) {
            if (j < 0 || j >= 40)
                continue;
            const int sx = (j - j0) * 128 - sub_x, sy = (r - first_row) * 96 - sub_y;
            const int kind = city.grid[r][j] / 100, storeys = city.grid[r][j] % 100;
            if (layer == Layer::Ground) {
                draws.push_back({tiles.base[kind], sx, sy});
                for (int k = 1; k <= storeys && k <= 4; ++k)
                    draws.push_back({tiles.ext[kind], sx, sy - 31 * k});
            } else {
                for (int k = 5; k <= storeys; ++k)
                    draws.push_back({tiles.ext[kind], sx, sy - 31 * k});
            }
        }
        if (FloorMod(r, 3) < 2) {
            if (sub_x > 31) {
                sub_x -= 32;
            } else {
                --j0;
                sub_x += 96;
            }
        } else if (sub_x > 63) {
            ++j0;
            sub_x -= 64;
        } else {
            sub_x += 64;
        }
    }
    return draws;
}

int DifferingPixels(BITMAP* a, BITMAP* b) {
    int differing = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            differing += PixelAt(a, x, y) != PixelAt(b, x, y);
    return differing;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Box BoxOf(BITMAP* frame, uint16_t colour) {
    Box box;
    for (int y = 0; y < frame->h; ++y)
        for (int x = 0; x < frame->w; ++x)
            if (PixelAt(frame, x, y) == colour) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Rows of the column at x whose pixel is the given colour, top to bottom.
std::vector<int> RowsOf(BITMAP* frame, int x, uint16_t colour) {
    std::vector<int> rows;
    for (int y = 0; y < frame->h; ++y)
        if (PixelAt(frame, x, y) == colour)
            rows.push_back(y);
    return rows;
}

class CityDrawingTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { tiles = new TestTiles; }
    static void TearDownTestSuite() { delete tiles; }

    // A city on a play area of the given width, drawing the test tiles.
    void Open(int width) {
        city.reset();
        screen.reset(); // before the next one, as both set the same statics
        screen = std::make_unique<HeadlessScreen>(width, 600);
        city.reset(tiles->BuildCity());
    }
    void SetUp() override { Open(800); }
    void TearDown() override {
        city.reset();
        screen.reset();
    }

    BITMAP* Frame() { return cGraphics::double_buffer; }

    void FillGrid(int code) {
        for (int r = 0; r < city->height; ++r)
            for (int c = 0; c < city->width; ++c)
                city->grid[r][c] = code;
    }

    void DrawLayer(Layer layer, int x, int y) {
        if (layer == Layer::Ground)
            city->DrawBase(x, y);
        else
            city->DrawExt(x, y);
    }

    // Draws one layer on a black frame and compares it with the walk drawn by the test.
    void ExpectLayerAsWalked(Layer layer, int x, int y) {
        clear_to_color(Frame(), BLACK);
        BITMAP* expected = create_bitmap_ex(16, Frame()->w, Frame()->h);
        clear_to_color(expected, BLACK);
        for (const TileDraw& draw : ExpectedDraws(*city, *tiles, x, y, layer))
            draw_sprite(expected, draw.picture, draw.x, draw.y);
        DrawLayer(layer, x, y);
        EXPECT_EQ(0, DifferingPixels(expected, Frame()))
            << (layer == Layer::Ground ? "ground" : "upper") << " layer at " << x << "," << y;
        destroy_bitmap(expected);
    }

    void ExpectBothLayersAsWalked(int x, int y) {
        ExpectLayerAsWalked(Layer::Ground, x, y);
        ExpectLayerAsWalked(Layer::Upper, x, y);
    }

    void ExpectLayersAsWalkedOverASweep() {
        const int origins[][2] = {{640, 576}, {2304, 576},  {650, 590},   {64, 0},
                                  {176, 0},   {4095, 2279}, {4319, 2279}, {4207, 1000}};
        for (const auto& at : origins)
            ExpectBothLayersAsWalked(at[0], at[1]);
        for (int x = 64; x < 64 + 3 * 128; x += 53)
            for (int y = 100; y < 100 + 3 * 96; y += 41)
                ExpectBothLayersAsWalked(x, y);
    }

    static TestTiles* tiles;
    std::unique_ptr<HeadlessScreen> screen;
    std::unique_ptr<cCity> city;
};

TestTiles* CityDrawingTest::tiles = nullptr;

TEST_F(CityDrawingTest, TestPicturesReadBackExactly) {
    EXPECT_TRUE(tiles->FilesMatchPictures());
}

TEST_F(CityDrawingTest, LayersDrawTheTilesInViewOfTheNarrowScreen) {
    ExpectLayersAsWalkedOverASweep();
}

TEST_F(CityDrawingTest, LayersDrawTheTilesInViewOfTheWideScreen) {
    Open(1024);
    ExpectLayersAsWalkedOverASweep();
}

TEST_F(CityDrawingTest, LayersDrawEveryRowWhoseTowersReachIntoView) {
    FillGrid(212);
    ExpectLayersAsWalkedOverASweep();
    Open(1024);
    FillGrid(109);
    ExpectLayersAsWalkedOverASweep();
}

TEST_F(CityDrawingTest, LayersDrawAGridOfEveryKindAndHeight) {
    std::mt19937 random(5);
    for (int width : {800, 1024}) {
        Open(width);
        for (int r = 0; r < city->height; ++r)
            for (int c = 0; c < city->width; ++c) {
                const int kind = random() % 6;
                city->grid[r][c] = kind < 3 ? 100 * kind + random() % 13 : 100 * kind;
            }
        ExpectLayersAsWalkedOverASweep();
    }
}

TEST_F(CityDrawingTest, TowerElevenRowsBelowTheTopStillReachesIntoView) {
    FillGrid(GRASS);
    city->grid[16][10] = 212;
    const int x = 128 * 10 + 32 - 300, y = 96 * 5 + 90; // row 16 starts 966 rows down
    clear_to_color(Frame(), BLACK);
    city->DrawExt(x, y);
    // Storey 12 at 966 - 12 * 31 = 594: its top rows reach the bottom of the buffer.
    EXPECT_EQ((std::vector<int>{594, 595, 596, 597, 598, 599, 600}),
              RowsOf(Frame(), 300, TestTiles::EXT_COLOURS[2]));
}

TEST_F(CityDrawingTest, StaggeredRowsStartWithTheColumnTheirShiftBringsIntoView) {
    FillGrid(GRASS);
    city->grid[6][18] = RUBBLE;
    city->grid[7][17] = WATER;
    city->grid[8][17] = 0;
    clear_to_color(Frame(), BLACK);
    city->DrawBase(2304, 576);

    const Box first = BoxOf(Frame(), TestTiles::BASE_COLOURS[4]);
    EXPECT_EQ(0, first.left); // at (0, 0)
    EXPECT_EQ(0, first.top);
    EXPECT_EQ(127, first.right);
    EXPECT_EQ(95, first.bottom);
    const Box shifted = BoxOf(Frame(), TestTiles::BASE_COLOURS[5]);
    EXPECT_EQ(0, shifted.left); // at (-96, 96)
    EXPECT_EQ(96, shifted.top);
    EXPECT_EQ(31, shifted.right);
    EXPECT_EQ(191, shifted.bottom);
    const Box twice_shifted = BoxOf(Frame(), TestTiles::BASE_COLOURS[0]);
    EXPECT_EQ(0, twice_shifted.left); // at (-64, 192)
    EXPECT_EQ(192, twice_shifted.top);
    EXPECT_EQ(63, twice_shifted.right);
    EXPECT_EQ(287, twice_shifted.bottom);
}

TEST_F(CityDrawingTest, ViewBetweenTileEdgesStartsWithAPartialTile) {
    FillGrid(GRASS);
    city->grid[6][5] = RUBBLE;
    clear_to_color(Frame(), BLACK);
    city->DrawBase(650, 590);
    const Box first = BoxOf(Frame(), TestTiles::BASE_COLOURS[4]);
    EXPECT_EQ(0, first.left); // at (-10, -14)
    EXPECT_EQ(0, first.top);
    EXPECT_EQ(117, first.right);
    EXPECT_EQ(81, first.bottom);
}

TEST_F(CityDrawingTest, UpperLayerOverTheParkShowsOnlyTheTowersUpperStoreys) {
    clear_to_color(Frame(), BLACK);
    city->DrawExt(640, 576);
    // Storeys 5 to 12 at y 37, 6, -25, ...; each storey's bottom row is its marker.
    EXPECT_EQ((std::vector<int>{7, 38, 69, 100}), RowsOf(Frame(), 320, TestTiles::EXT_MARKS[2]));
    EXPECT_EQ((std::vector<int>{7, 38, 69, 100}), RowsOf(Frame(), 447, TestTiles::EXT_MARKS[2]));
    const Box tower = BoxOf(Frame(), TestTiles::EXT_COLOURS[2]);
    EXPECT_EQ(320, tower.left);
    EXPECT_EQ(447, tower.right);
    EXPECT_EQ(0, tower.top);
    EXPECT_EQ(99, tower.bottom);
    EXPECT_EQ(Frame()->w * Frame()->h - 128 * 101, CountPixels(Frame(), BLACK));
}

TEST_F(CityDrawingTest, UpperLayerOnTheWideScreenAlsoReachesColumnTwelveOfRowSeven) {
    Open(1024);
    ASSERT_EQ(207, city->grid[7][12]);
    clear_to_color(Frame(), BLACK);
    city->DrawExt(640, 576);
    // Storey 5 of (7, 12) at (928, -59) shows its last five rows; 6 and 7 stay above.
    EXPECT_EQ((std::vector<int>{4}), RowsOf(Frame(), 928, TestTiles::EXT_MARKS[2]));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), RowsOf(Frame(), 928, TestTiles::EXT_COLOURS[2]));
    EXPECT_EQ((std::vector<int>{7, 38, 69, 100}), RowsOf(Frame(), 320, TestTiles::EXT_MARKS[2]));
    EXPECT_EQ(Frame()->w * Frame()->h - 128 * 101 - 97 * 5, CountPixels(Frame(), BLACK));
}

TEST_F(CityDrawingTest, GroundLayerOfTheTowerHoldsItsTileAndFirstFourStoreys) {
    city->DrawBase(640, 576);
    // Storeys 1 to 4 at y 161, 130, 99 and 68 over the tile at (320, 192).
    const std::vector<int> marks = RowsOf(Frame(), 320, TestTiles::EXT_MARKS[2]);
    EXPECT_EQ((std::vector<int>{131, 162, 193, 224}), marks);
    EXPECT_EQ(TestTiles::EXT_COLOURS[2], PixelAt(Frame(), 350, 68));
    EXPECT_NE(TestTiles::EXT_COLOURS[2], PixelAt(Frame(), 350, 67));
    EXPECT_EQ(TestTiles::BASE_COLOURS[2], PixelAt(Frame(), 350, 225));
    EXPECT_EQ(TestTiles::BASE_COLOURS[2], PixelAt(Frame(), 350, 255));
}

TEST_F(CityDrawingTest, FirstFourStoreysBelongToTheGroundLayerAndTheRestToTheUpper) {
    for (int code : {0, 1, 3, 4, 5, 9, 100, 104, 105, 109, 201, 204, 205, 212}) {
        FillGrid(GRASS);
        city->grid[10][10] = code;
        const int kind = code / 100, storeys = code % 100;
        const int x = 128 * 10 + 32 - 300, y = 96 * 10 - 500; // the tile at (300, 500)

        clear_to_color(Frame(), BLACK);
        city->DrawBase(x, y);
        EXPECT_EQ(std::min(storeys, 4),
                  static_cast<int>(RowsOf(Frame(), 300, TestTiles::EXT_MARKS[kind]).size()))
            << code;
        EXPECT_EQ(TestTiles::BASE_COLOURS[kind], PixelAt(Frame(), 300, 595)) << code;

        clear_to_color(Frame(), BLACK);
        city->DrawExt(x, y);
        EXPECT_EQ(std::max(storeys - 4, 0),
                  static_cast<int>(RowsOf(Frame(), 300, TestTiles::EXT_MARKS[kind]).size()))
            << code;
    }
}

// The grid placed inside a larger table whose cells around it are rubble, so that a read
// outside the grid shows as rubble instead of going unseen or crashing.
class RubbleSurround {
  public:
    static constexpr int PAD = 16;

    explicit RubbleSurround(cCity& city) : city(city), own_grid(city.grid) {
        const int columns = city.width + 2 * PAD;
        cells.assign((city.height + 2 * PAD) * columns, RUBBLE);
        for (int r = 0; r < city.height + 2 * PAD; ++r)
            rows.push_back(&cells[r * columns + PAD]);
        for (int r = 0; r < city.height; ++r)
            for (int c = 0; c < city.width; ++c)
                rows[PAD + r][c] = own_grid[r][c];
        city.grid = &rows[PAD];
    }
    ~RubbleSurround() { city.grid = own_grid; }

  private:
    cCity& city;
    int** own_grid;
    std::vector<int> cells;
    std::vector<int*> rows;
};

TEST_F(CityDrawingTest, ViewsReachingPastTheGridDrawOnlyTilesOfTheGrid) {
    const int origins[][2] = {{0, 0},       {63, 0},        {-200, -150},      {-1000, 300},
                              {4700, 2500}, {5000, 2800},   {5119, 2879},      {6000, 3500},
                              {2000, -500}, {-5000, -5000}, {1 << 20, 1 << 20}};
    for (int width : {800, 1024}) {
        Open(width);
        RubbleSurround surround(*city);
        for (const auto& at : origins) {
            for (Layer layer : {Layer::Ground, Layer::Upper}) {
                clear_to_color(Frame(), BLACK);
                DrawLayer(layer, at[0], at[1]);
                EXPECT_EQ(0, CountPixels(Frame(), TestTiles::BASE_COLOURS[4]))
                    << "rubble drawn from outside the grid at " << at[0] << "," << at[1];
            }
            ExpectBothLayersAsWalked(at[0], at[1]);
        }
    }
}

TEST_F(CityDrawingTest, ViewOriginsAtTheLimitsOfIntDrawNothing) {
    const int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    const int origins[][2] = {{low, 576}, {high, 576},  {640, low},   {640, high},
                              {low, low}, {high, high}, {low + 40, 0}};
    RubbleSurround surround(*city);
    for (const auto& at : origins) {
        clear_to_color(Frame(), BLACK);
        city->DrawBase(at[0], at[1]);
        city->DrawExt(at[0], at[1]);
        EXPECT_EQ(Frame()->w * Frame()->h, CountPixels(Frame(), BLACK)) << at[0] << "," << at[1];
    }
}

TEST_F(CityDrawingTest, GroundLayerAloneCoversThePlayAreaForEveryViewTheGameAllows) {
    std::mt19937 random(7);
    for (int width : {800, 1024}) {
        Open(width);
        const int left = width == 800 ? 176 : 64;
        const int right = 5120 - width - 1, bottom = 2880 - 600 - 1;
        std::vector<std::pair<int, int>> origins = {
            {left, 0}, {right, 0}, {left, bottom}, {right, bottom}, {64, 0}};
        for (int i = 0; i < 40; ++i)
            origins.push_back({64 + static_cast<int>(random() % (right - 63)),
                               static_cast<int>(random() % (bottom + 1))});
        for (const auto& [x, y] : origins) {
            clear_to_color(Frame(), UNDRAWN);
            city->DrawBase(x, y);
            int undrawn = 0;
            for (int row = 0; row < 600; ++row)
                for (int column = 0; column < width; ++column)
                    undrawn += PixelAt(Frame(), column, row) == UNDRAWN;
            EXPECT_EQ(0, undrawn) << "view " << x << "," << y << " on " << width;
        }
    }
}

TEST_F(CityDrawingTest, DrawingNeverTouchesPixelsOutsideTheBuffer) {
    FillGrid(212);
    GuardedBuffer guarded;
    const int origins[][2] = {{64, 0}, {-300, -300}, {5000, 2800}, {4319, 2279}, {1000, 1000}};
    for (const auto& at : origins) {
        city->DrawBase(at[0], at[1]);
        city->DrawExt(at[0], at[1]);
    }
    EXPECT_EQ(0, guarded.StrayPixels());
}

TEST_F(CityDrawingTest, CityBuiltAgainAfterDestructionDrawsItsFreshlyLoadedTiles) {
    Open(800);
    Open(800);
    clear_to_color(Frame(), BLACK);
    city->DrawBase(640, 576);
    EXPECT_EQ(0, CountPixels(Frame(), HeadlessScreen::PLACEHOLDER));
    ExpectBothLayersAsWalked(640, 576);
}
} // namespace
