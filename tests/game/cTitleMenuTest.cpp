#include "game/cTitleMenu.h"

#include "support/Scripted.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
class TitleMenuTest : public testing::Test {
protected:
    cTitleMenu menu;

    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }

    // Plays frames with the given key held (none: 0), as the title loop does: the frame is
    // shown, then counted.
    void HoldFor(int frames, int held_key)
    {
        key[held_key] = 1;
        for (int i = 0; i < frames; ++i)
            menu.AfterFrame();
        key[held_key] = 0;
    }
};

TEST_F(TitleMenuTest, StartsOnPlayAndArrowsWrapAroundBothWays)
{
    HoldFor(100, 0);
    EXPECT_FALSE(menu.WantsToLeave());
    EXPECT_EQ(cTitleMenu::PLAY, menu.selection);
    // {arrow, selection after it}, with the repeat delay let run out between them.
    const int steps[][2] = {
        {KEY_UP, cTitleMenu::QUIT}, {KEY_DOWN, cTitleMenu::PLAY}, {KEY_DOWN, cTitleMenu::QUIT}};
    for (const auto& step : steps) {
        HoldFor(1, step[0]);
        EXPECT_EQ(step[1], menu.selection) << "after key " << step[0];
        HoldFor(20, 0);
    }
}

TEST_F(TitleMenuTest, AHeldArrowActsInTheFirstFrameAndThenEverySixteenth)
{
    key[KEY_DOWN] = 1;
    for (int frame = 1; frame <= 48; ++frame) {
        const int before = menu.selection;
        menu.AfterFrame();
        EXPECT_EQ(frame % 16 == 1, menu.selection != before) << "frame " << frame;
    }
}

TEST_F(TitleMenuTest, BothArrowsTogetherCancelButStillStartTheDelay)
{
    key[KEY_UP] = 1;
    key[KEY_DOWN] = 1;
    menu.AfterFrame();
    EXPECT_EQ(cTitleMenu::PLAY, menu.selection);
    key[KEY_UP] = 0;
    HoldFor(15, KEY_DOWN); // Down alone, but inside the delay
    EXPECT_EQ(cTitleMenu::PLAY, menu.selection);
    HoldFor(1, KEY_DOWN);
    EXPECT_EQ(cTitleMenu::QUIT, menu.selection);
}

TEST_F(TitleMenuTest, EnterChoosesTheSelectedEntryButEscapeAlwaysQuits)
{
    key[KEY_ENTER] = 1;
    EXPECT_TRUE(menu.WantsToLeave());
    EXPECT_EQ(cTitleMenu::PLAY, menu.Choice());
    menu.selection = cTitleMenu::QUIT;
    EXPECT_EQ(cTitleMenu::QUIT, menu.Choice());
    menu.selection = cTitleMenu::PLAY;
    key[KEY_ESC] = 1;
    EXPECT_EQ(cTitleMenu::QUIT, menu.Choice());
    key[KEY_ENTER] = 0;
    EXPECT_TRUE(menu.WantsToLeave());
    EXPECT_EQ(cTitleMenu::QUIT, menu.Choice());
}
} // namespace
