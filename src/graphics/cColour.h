#pragma once

// A red, green and blue colour, each component 0..255, stored as given.
class cColour {
public:
    int r;
    int g;
    int b;

    cColour() : r(254), g(0), b(255) {} // a magenta just off the transparent mask colour
    cColour(int r, int g, int b) : r(r), g(g), b(b) {}

    void Set(int r, int g, int b)
    {
        this->r = r;
        this->g = g;
        this->b = b;
    }
};
