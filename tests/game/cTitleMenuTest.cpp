#include "game/cTitleMenu.h"

#include "support/Scripted.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {
const int PLAY = cTitleMenu::PLAY, QUIT = cTitleMenu::QUIT;
const Control UP = &Controls::up, DOWN = &Controls::down;

// AfterFrame is called as the title loop calls it: after each shown frame.
TEST(TitleMenuTest, AHeldArrowWrapsAroundInItsFirstFrameAndThenEverySixteenth)
{
    cTitleMenu menu;
    EXPECT_FALSE(menu.WantsToLeave(Controls()));
    // Down is held for 48 frames, then Up: the cursor moves in frames 1, 17, 33, 49 and 65,
    // down from Quit in 17 and up from Play in 65.
    for (int frame = 1; frame <= 80; ++frame) {
        menu.AfterFrame(Held({frame > 48 ? UP : DOWN}));
        EXPECT_EQ((frame - 1) / 16 % 2 ? PLAY : QUIT, menu.selection) << "frame " << frame;
    }
}

TEST(TitleMenuTest, BothArrowsTogetherCancelButStillStartTheDelay)
{
    cTitleMenu menu;
    menu.AfterFrame(Held({UP, DOWN}));
    for (int frame = 1; frame <= 17; menu.AfterFrame(Held({DOWN})), ++frame)
        EXPECT_EQ(frame == 17 ? QUIT : PLAY, menu.selection) << "frame " << frame;
}

TEST(TitleMenuTest, EnterChoosesTheSelectedEntryButEscapeAlwaysQuits)
{
    cTitleMenu menu;
    const Controls enter = Held({&Controls::enter}), escape = Held({&Controls::escape});
    const Controls both = Held({&Controls::enter, &Controls::escape});
    EXPECT_TRUE(menu.WantsToLeave(enter));
    EXPECT_EQ(PLAY, menu.Choice(enter));
    menu.selection = QUIT;
    EXPECT_EQ(QUIT, menu.Choice(enter));
    menu.selection = PLAY;
    EXPECT_EQ(QUIT, menu.Choice(both));
    EXPECT_TRUE(menu.WantsToLeave(escape));
    EXPECT_EQ(QUIT, menu.Choice(escape));
}

// The one place the keyboard itself is read.
TEST(TitleMenuTest, AltEnterIsTheWindowsAndDoesNotChoose)
{
    cTitleMenu menu;
    key[KEY_ENTER] = key[KEY_ALT] = 1;
    const Controls alt_enter = ReadKeyboard();
    key[KEY_ALT] = 0;
    const Controls enter = ReadKeyboard();
    key[KEY_ENTER] = 0;
    EXPECT_EQ((std::vector<bool>{false, true, true, false}),
              (std::vector<bool>{menu.WantsToLeave(alt_enter), alt_enter.window_toggle,
                                 menu.WantsToLeave(enter), enter.window_toggle}));
}
} // namespace
