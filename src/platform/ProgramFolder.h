#pragma once

#include <filesystem>

// The folder that holds the running program, wherever the player started it from; empty
// when the system does not say.
std::filesystem::path ProgramFolder();
