#pragma once

#include <string>

// Lays every picture of the folder out on a neutral grey with its name under it, for
// review, and saves it as a BMP at path. Returns false when nothing could be written.
bool WriteContactSheet(const std::string& folder, const std::string& path);
