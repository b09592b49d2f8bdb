#include "game/cTitleMenu.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {
class TitleMenuTest : public testing::Test {
protected:
    cTitleMenu menu;

    void SetUp() override { std::memset(const_cast<char*>(key), 0, KEY_MAX); }
    void TearDown() override { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

    // Plays frames with the given key held, as the title loop does: the frame is shown,
    // then counted. Stops early, like the loop, when the menu wants to leave.
    void HoldFor(int frames, int held_key)
    {
        key[held_key] = 1;
        for (int i = 0; i < frames && !menu.WantsToLeave(); ++i)
            menu.AfterFrame();
        key[held_key] = 0;
    }
    void Idle(int frames)
    {
        for (int i = 0; i < frames; ++i)
            menu.AfterFrame();
    }
};

TEST_F(TitleMenuTest, StartsOnPlayAndStaysWithNoKeys)
{
    Idle(100);
    EXPECT_FALSE(menu.WantsToLeave());
    EXPECT_EQ(menu.selection, cTitleMenu::PLAY);
}

TEST_F(TitleMenuTest, ArrowsWrapAroundBothWays)
{
    HoldFor(1, KEY_UP); // from the first entry up to the last
    EXPECT_EQ(menu.selection, cTitleMenu::QUIT);
    Idle(20);
    HoldFor(1, KEY_DOWN); // from the last entry down to the first
    EXPECT_EQ(menu.selection, cTitleMenu::PLAY);
    Idle(20);
    HoldFor(1, KEY_DOWN);
    EXPECT_EQ(menu.selection, cTitleMenu::QUIT);
}

TEST_F(TitleMenuTest, AHeldArrowActsInTheFirstFrameAndThenEverySixteenth)
{
    key[KEY_DOWN] = 1;
    int changes = 0, last = menu.selection;
    int change_frames[4] = {};
    for (int frame = 1; frame <= 48 && changes < 4; ++frame) {
        menu.AfterFrame();
        if (menu.selection != last) {
            change_frames[changes++] = frame;
            last = menu.selection;
        }
    }
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(change_frames[0], 1);
    EXPECT_EQ(change_frames[1], 17);
    EXPECT_EQ(change_frames[2], 33);
}

TEST_F(TitleMenuTest, BothArrowsTogetherCancelButStillStartTheDelay)
{
    key[KEY_UP] = 1;
    key[KEY_DOWN] = 1;
    menu.AfterFrame();
    EXPECT_EQ(menu.selection, cTitleMenu::PLAY);
    key[KEY_UP] = 0;
    Idle(15); // Down alone, still held, but inside the delay
    EXPECT_EQ(menu.selection, cTitleMenu::PLAY);
    menu.AfterFrame();
    EXPECT_EQ(menu.selection, cTitleMenu::QUIT);
}

TEST_F(TitleMenuTest, EnterChoosesTheSelectedEntry)
{
    key[KEY_ENTER] = 1;
    EXPECT_TRUE(menu.WantsToLeave());
    EXPECT_EQ(menu.Choice(), cTitleMenu::PLAY);
    menu.selection = cTitleMenu::QUIT;
    EXPECT_EQ(menu.Choice(), cTitleMenu::QUIT);
}

TEST_F(TitleMenuTest, EscapeQuitsWhateverIsSelectedEvenWithEnter)
{
    key[KEY_ESC] = 1;
    EXPECT_TRUE(menu.WantsToLeave());
    EXPECT_EQ(menu.Choice(), cTitleMenu::QUIT);
    key[KEY_ENTER] = 1;
    EXPECT_EQ(menu.Choice(), cTitleMenu::QUIT);
}
} // namespace
