#include "game/MediaFolder.h"

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
    char name[] = "/tmp/emberwing-media-XXXXXX";
    const fs::path root = mkdtemp(name), started_in = fs::current_path();
    const fs::path program = root / "lib/games/emberwing", elsewhere = root / "elsewhere";
    fs::create_directories(program);
    fs::create_directories(elsewhere);
    fs::current_path(elsewhere);
    const auto found = [&] {
        const std::string folder = FindMediaFolder(MediaFolderCandidates(program.string()));
        return folder.empty() ? fs::path() : fs::canonical(folder);
    };

    std::ofstream(elsewhere / "media") << "not a folder";
    EXPECT_EQ(found(), fs::path());
    // From the last place to the first: the data folder, the program's parent, its own and
    // the working folder, where the file was.
    for (const fs::path& place :
         {root / "share/games/emberwing", program.parent_path(), program, elsewhere}) {
        fs::remove(place / "media");
        fs::create_directories(place / "media");
        EXPECT_EQ(found(), place);
    }
    fs::current_path(started_in);
    fs::remove_all(root);
}
} // namespace
