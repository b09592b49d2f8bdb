#pragma once

#include <allegro.h>

#include <cstdint>

struct OpaqueRuns;

// The AND mask of every shadow: it roughly halves red, green and blue, a darker ground.
const short SHADOW_MASK = 0x79EF;

// The one bitmap wrapper of the game: a picture read from a PCX file or made by the fractal
// generator, drawn into cGraphics::double_buffer. An image that holds no picture is not an
// error: it draws the shared placeholder, cGraphics::not_loaded, top-left at the given point.
// Images are created with new, held by pointer and never copied.
//
// When a picture is read or made, the image notes where its opaque pixels lie, and keeps
// that until the picture is released (Unload, Load, GenerateFractal, the destructor); a
// picture put in through the public fields after Unload() is looked at on its first draw.
// A picture must therefore not be changed in place: replace it after Unload().
class cImage {
public:
    BITMAP* bitmap; // owned while loaded; stale (never read) while not
    bool loaded;
    int half_width; // width / 2 and height / 2, rounded down; valid while loaded
    int half_height;

    cImage();
    explicit cImage(const char* file);
    explicit cImage(BITMAP* picture); // takes the picture over; null leaves the image empty
    ~cImage();
    cImage(const cImage&) = delete;
    cImage& operator=(const cImage&) = delete;

    // Reads a picture, converted to the current colour depth, releasing any earlier one
    // first. A file that cannot be read leaves the image empty.
    void Load(const char* file);
    void Unload();

    // Pixels of the mask colour (bright pink, 0xF81F) are transparent; drawing is clipped.
    void Draw(int x, int y);
    void DrawCentred(int x, int y); // the placeholder is not centred

    // Stencils: under every opaque pixel of the image, the frame's pixel is combined with
    // the 16-bit mask. Clipped to the play area, not to the whole buffer.
    void OrMaskDraw(int x, int y, short mask);
    void AndMaskDraw(int x, int y, short mask);

    // Fills the image with an escape-time fractal of width x height pixels.
    // kind 0: Mandelbrot; any other: the absolute-value ("burning ship") iteration with the
    // point subtracted. palette 0: red to yellow and back; any other: dark red to blue.
    // The view spans re_min..re_min + re_span across and im_min..im_min + im_span down.
    // max_iterations is taken as 0 to 200. A size of 0 or less leaves the image empty.
    void GenerateFractal(int kind, int width, int height, double re_min, double im_min,
                         double re_span, double im_span, int max_iterations, int palette);

private:
    OpaqueRuns* shape; // of the current picture; null until found

    void Adopt(BITMAP* picture); // takes a new picture, or none, into an empty image
    const OpaqueRuns* Shape();   // null when the picture cannot be drawn by runs
    void DrawPicture(int x, int y);
    template <typename Combine> void Stencil(int x, int y, uint16_t mask, Combine combine);
};
