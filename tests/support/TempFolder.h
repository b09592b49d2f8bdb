#pragma once

#include <filesystem>
#include <string>

// A new, empty folder of the system's temporary folder, named prefix and a random ending so
// that test programs running side by side never share one. The caller removes it.
std::filesystem::path NewTempFolder(const std::string& prefix);
