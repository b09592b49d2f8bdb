#pragma once

#include <filesystem>
#include <vector>

// Every file the game reads is "media/..." from its working folder, and the tune's patch
// setting is made from that folder too. A player may start the program from anywhere, so
// before anything loads the game moves to the folder that holds media/.

// The folders that may hold media/, in the order they are tried: the working folder, the
// program's own folder, the one above it (a build tree), then the installed data folder.
std::vector<std::filesystem::path>
MediaFolderCandidates(const std::filesystem::path& program_folder);

// The first candidate that holds a media/ folder, or an empty path when none does.
std::filesystem::path FindMediaFolder(const std::vector<std::filesystem::path>& candidates);

// Moves to the folder that holds media/. When there is none the game still runs, on its
// placeholders, and one line on stderr names the places it looked.
void EnterMediaFolder();
