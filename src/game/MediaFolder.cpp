#include "game/MediaFolder.h"

#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<fs::path> MediaFolderCandidates(const fs::path& program_folder)
{
    std::error_code error;
    fs::path working = fs::current_path(error);
    std::vector<fs::path> candidates = {error ? fs::path(".") : working};
    if (program_folder.empty())
        return candidates;
    candidates.push_back(program_folder);
    candidates.push_back(program_folder.parent_path());
    // The installed layout is set in dist/CMakeLists.txt; found from where the program lies,
    // it holds for the package's prefix and for one a player chose alike. Where the layout
    // keeps the data beside the program (Windows), that place is on the list already.
    const fs::path data_from_program = EMBERWING_DATA_FROM_PROGRAM;
    if (data_from_program != ".")
        candidates.push_back((program_folder / data_from_program).lexically_normal());
    return candidates;
}

fs::path FindMediaFolder(const std::vector<fs::path>& candidates)
{
    for (const fs::path& folder : candidates) {
        std::error_code error;
        if (fs::is_directory(folder / "media", error))
            return folder;
    }
    return {};
}

void EnterMediaFolder()
{
    const std::vector<fs::path> candidates = MediaFolderCandidates(ProgramFolder());
    const fs::path found = FindMediaFolder(candidates);
    if (!found.empty()) {
        std::error_code error;
        fs::current_path(found, error);
        if (!error)
            return;
    }
    std::string places;
    for (const fs::path& folder : candidates)
        places += (places.empty() ? "" : ", ") + folder.u8string();
    std::fprintf(stderr, "emberwing: no media folder in %s; playing on placeholders\n",
                 places.c_str());
}
