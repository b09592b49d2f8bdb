#pragma once

#include <string>

// Each family of pictures and sounds writes its files into the given folder.

// grass, water and rubble: opaque 128 x 96 ground tiles.
void WriteGroundTiles(const std::string& folder);

// building_base*, building_ext*: the three kinds of building, ground storey and upper storeys.
void WriteBuildings(const std::string& folder);

// The faerie in four facings, her shadow, the fireball, its shadow and its burst frames.
void WriteSprites(const std::string& folder);

// circle96x96, circle64x64, pop_sign and NotLoaded.
void WriteHud(const std::string& folder);

// title, menu and faerieface: the pictures of the title screen.
void WriteTitlePictures(const std::string& folder);

// music0.mid.
void WriteTune(const std::string& folder);

// throw, bounce, crumble, boom, charge and empty: the sound effects, as WAV files.
void WriteSoundEffects(const std::string& folder);
