#include "game/MediaFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
// An installed tree, the program in its layout's folder, and the test standing in a folder
// of its own so the repository's media/ is out of sight.
TEST(MediaFolderTest, EachPlaceWinsOverThoseAfterItAndAFileNamedMediaIsNotTheFolder)
{
    const fs::path root = NewTempFolder("emberwing-media-"), started_in = fs::current_path();
    const fs::path program = root / "lib/games/emberwing", elsewhere = root / "elsewhere";
    fs::create_directories(program);
    fs::create_directories(elsewhere);
    fs::current_path(elsewhere);
    const std::vector<fs::path> candidates = MediaFolderCandidates(program);
    const auto found = [&] {
        const fs::path folder = FindMediaFolder(candidates);
        return folder.empty() ? fs::path() : fs::canonical(folder);
    };
#ifdef _WIN32
    const std::size_t places = 3; // the installed data lies beside the program
#else
    const std::size_t places = 4;
#endif
    ASSERT_EQ(places, candidates.size());
    EXPECT_EQ(fs::canonical(elsewhere), fs::canonical(candidates[0]));
    EXPECT_EQ(program, candidates[1]);
    EXPECT_EQ(program.parent_path(), candidates[2]);

    std::ofstream(elsewhere / "media") << "not a folder";
    EXPECT_EQ(found(), fs::path());
    // From the last place to the first: the installed data folder (where it has a place of
    // its own), the program's parent, its own and the working folder, where the file was.
    for (auto place = candidates.rbegin(); place != candidates.rend(); ++place) {
        fs::remove(*place / "media");
        fs::create_directories(*place / "media");
        EXPECT_EQ(found(), fs::canonical(*place));
    }
    fs::current_path(started_in);
    fs::remove_all(root);
}
} // namespace
