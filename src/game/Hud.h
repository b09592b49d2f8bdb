#pragma once

class cImage;

// The heads-up display in the top-left corner, drawn over everything else: the sign, the
// population in red and the blast energy (0 to 121) as a bar whose blue pulses with the
// frame counter. Fixed screen positions in every mode.
void DrawHud(cImage* sign, int population, int energy, int frame_counter);

// The pause panel, over the middle of the play area: a shaded box with a blue border and
// the word in large red letters.
void DrawPausePanel();

// The population line: the number right-aligned in seven places; wider numbers widen it.
// text must hold POPULATION_TEXT_SIZE characters, which any int fits.
const int POPULATION_TEXT_SIZE = 32;
void FormatPopulation(int population, char* text);
