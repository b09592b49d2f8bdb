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
class MediaFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/emberwing-media-XXXXXX";
        _root = mkdtemp(name);
        _program = _root / "lib/games/emberwing";
        _elsewhere = _root / "elsewhere";
        fs::create_directories(_program);
        fs::create_directories(_elsewhere);
        _started_in = fs::current_path();
        fs::current_path(_elsewhere);
    }

    void TearDown() override
    {
        fs::current_path(_started_in);
        fs::remove_all(_root);
    }

    // Where the media folder was found, or "" for nowhere.
    fs::path Found() const
    {
        const std::string folder = FindMediaFolder(MediaFolderCandidates(_program.string()));
        return folder.empty() ? fs::path() : fs::canonical(folder);
    }

    fs::path _root, _program, _elsewhere, _started_in;
};

TEST_F(MediaFolderTest, EachPlaceWinsOverThoseAfterItAndAFileNamedMediaIsNotTheFolder)
{
    std::ofstream(_elsewhere / "media") << "not a folder";
    EXPECT_EQ(Found(), fs::path());

    const fs::path data = _root / "share/games/emberwing";
    fs::create_directories(data / "media");
    EXPECT_EQ(Found(), data);

    fs::create_directories(_program.parent_path() / "media");
    EXPECT_EQ(Found(), _program.parent_path());

    fs::create_directories(_program / "media");
    EXPECT_EQ(Found(), _program);

    fs::remove(_elsewhere / "media");
    fs::create_directories(_elsewhere / "media");
    EXPECT_EQ(Found(), _elsewhere);
}
} // namespace
