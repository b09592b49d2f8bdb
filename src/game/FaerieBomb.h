#pragma once

class cCity;

// One frame of the blast's damage around map point (x, y); first is nonzero in the first
// frame of a blast. Its static timer counts the frames of the current blast: in frames
// 1, 31, 61 and 91 it knocks a storey off every tile of a growing square (1, 3x3, 5x5 and
// 7x7 tiles) centred on the point; later frames strike nothing. True in a frame that struck.
bool FaerieBomb(int x, int y, cCity* city, int first);
