#pragma once

// A red, green and blue colour, each component 0..255, stored as given.
class cColour {
public:
    int r;
    int g;
    int b;

    // A magenta one step off the mask colour in red; at 16 bits the step is lost and it
    // packs to the mask colour itself, so it shows as transparent inside a picture.
    cColour() : r(254), g(0), b(255) {}
    cColour(int r, int g, int b) : r(r), g(g), b(b) {}

    void Set(int r, int g, int b)
    {
        this->r = r;
        this->g = g;
        this->b = b;
    }
};
