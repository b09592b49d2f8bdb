#pragma once

// The playing field: 40 columns by 30 rows of tiles, generated from a fixed seed so that
// every game is played on the same city. Map coordinates are pixels, x to the right and
// y downwards from the city's top-left corner; row r is shifted 32 * (r % 3) pixels right.
//
// A cell holds kind * 100 + extra storeys: kinds 0 to 2 are buildings (height = extra
// storeys + 1), 300 is grass, 400 rubble, 500 water. Only one city exists at a time: the
// nine tile images are shared statics that each city creates and deletes.
class cCity {
public:
    static constexpr int GRASS = 300;
    static constexpr int RUBBLE = 400;
    static constexpr int WATER = 500;
    static constexpr int TILE_WIDTH = 128;
    static constexpr int TILE_HEIGHT = 96;
    static constexpr int STOREY_HEIGHT = 31; // pixels between storeys

    int** grid;  // grid[row][column]
    int start_x; // the faerie starts over this map point
    int start_y;
    int tile_width;     // 128
    int tile_height;    // 96, one row
    int width;          // columns
    int height;         // rows
    int width_pixel;    // 5120
    int height_pixel;   // 2880
    int screen_tiles_x; // tiles drawn per row for the current play area
    int screen_tiles_y;
    int storey_height; // pixels between storeys, 31
    int population;    // 193 per storey standing; never negative

    cCity();
    ~cCity();
    cCity(const cCity&) = delete;
    cCity& operator=(const cCity&) = delete;

    // Drawing, for the view origin (x, y) shown at the buffer's top-left corner. The ground
    // layer holds the tiles and storeys 1 to 4; the upper layer, drawn after the sprites,
    // storeys 5 and up.
    void DrawBase(int x, int y);
    void DrawExt(int x, int y);
    void CalcScreenTiles(); // after every change of the play area's size

    int GetCityWidthPixel() { return width_pixel; }
    int GetCityHeightPixel() { return height_pixel; }
    void GetTile(int x, int y, int* column, int* row); // no range check

    // Storeys of the building at a map point; 0 for open ground and outside the city.
    int GetBuildingHeight(int x, int y);
    int GetStoreyHeight() { return storey_height; }

    // Knocks one storey off the tile at a map point and takes 193 off the population; a
    // building with one storey or one extra storey becomes rubble. Outside the city: nothing.
    void LowerBuilding(int x, int y);

    void GetStartingPoint(int* x, int* y);
    int GetPopulation() { return population; }

private:
    template <typename DrawTile> void VisitTilesInView(int x, int y, DrawTile draw_tile);
    int* CellAt(int x, int y); // null outside the city
};
