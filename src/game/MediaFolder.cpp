#include "game/MediaFolder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> MediaFolderCandidates(const std::string& program_folder)
{
    std::error_code error;
    fs::path working = fs::current_path(error);
    std::vector<std::string> candidates = {error ? "." : working.string()};
    if (program_folder.empty())
        return candidates;
    const fs::path program(program_folder);
    candidates.push_back(program.string());
    candidates.push_back(program.parent_path().string());
    // The installed layout is set in dist/CMakeLists.txt; found from where the program lies,
    // it holds for the package's prefix and for one a player chose alike.
    candidates.push_back((program / EMBERWING_DATA_FROM_PROGRAM).lexically_normal().string());
    return candidates;
}

std::string FindMediaFolder(const std::vector<std::string>& candidates)
{
    for (const std::string& folder : candidates) {
        std::error_code error;
        if (fs::is_directory(fs::path(folder) / "media", error))
            return folder;
    }
    return "";
}

void EnterMediaFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    const std::vector<std::string> candidates =
        MediaFolderCandidates(error ? "" : program.parent_path().string());
    const std::string found = FindMediaFolder(candidates);
    if (!found.empty()) {
        fs::current_path(found, error);
        if (!error)
            return;
    }
    std::string places;
    for (const std::string& folder : candidates)
        places += (places.empty() ? "" : ", ") + folder;
    std::fprintf(stderr, "emberwing: no media folder in %s; playing on placeholders\n",
                 places.c_str());
}
