#include "game/cTitleMenu.h"

#include "support/Scripted.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
const int PLAY = cTitleMenu::PLAY, QUIT = cTitleMenu::QUIT;

class TitleMenuTest : public testing::Test {
protected:
    cTitleMenu menu;

    TitleMenuTest() { ReleaseAllKeys(); }
    ~TitleMenuTest() override { ReleaseAllKeys(); }
};

// AfterFrame is called as the title loop calls it: after each shown frame.
TEST_F(TitleMenuTest, AHeldArrowWrapsAroundInItsFirstFrameAndThenEverySixteenth)
{
    EXPECT_FALSE(menu.WantsToLeave());
    // Down is held for 48 frames, then Up: the cursor moves in frames 1, 17, 33, 49 and 65,
    // down from Quit in 17 and up from Play in 65.
    for (int frame = 1; frame <= 80; ++frame) {
        key[KEY_UP] = frame > 48;
        key[KEY_DOWN] = frame <= 48;
        menu.AfterFrame();
        EXPECT_EQ((frame - 1) / 16 % 2 ? PLAY : QUIT, menu.selection) << "frame " << frame;
    }
}

TEST_F(TitleMenuTest, BothArrowsTogetherCancelButStillStartTheDelay)
{
    key[KEY_UP] = key[KEY_DOWN] = 1;
    menu.AfterFrame();
    key[KEY_UP] = 0;
    for (int frame = 1; frame <= 17; menu.AfterFrame(), ++frame)
        EXPECT_EQ(frame == 17 ? QUIT : PLAY, menu.selection) << "frame " << frame;
}

TEST_F(TitleMenuTest, EnterChoosesTheSelectedEntryButEscapeAlwaysQuits)
{
    key[KEY_ENTER] = 1;
    EXPECT_TRUE(menu.WantsToLeave());
    EXPECT_EQ(PLAY, menu.Choice());
    menu.selection = QUIT;
    EXPECT_EQ(QUIT, menu.Choice());
    menu.selection = PLAY;
    key[KEY_ESC] = 1;
    EXPECT_EQ(QUIT, menu.Choice());
    key[KEY_ENTER] = 0;
    EXPECT_TRUE(menu.WantsToLeave());
    EXPECT_EQ(QUIT, menu.Choice());
}
} // namespace
