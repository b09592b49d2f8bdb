#include "game/cPlayPhase.h"
#include "ball/cBall.h"
#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

namespace {
const int GRASS = 300;
const int SEVEN_STOREYS = 6; // kind 0 with six extra storeys: too tall to fly into
const int TWO_STOREYS = 1;   // 62 pixels
const int FIVE_STOREYS = 4;  // 155 pixels, as high as she flies
const int SIX_STOREYS = 5;   // 186 pixels
const uint16_t WHITE = 0xFFFF, SHADE = 0x79EF, FAERIE = 0x001F, FIRE = 0xFFE0;

int _mode_switches = 0;
int _presented = 0;

// The mode switch without a display: a new memory buffer of the mode's size.
void MemorySetMode(int m)
{
    cGraphics::PlayAreaOf(m, &cGraphics::SCR_WIDTH, &cGraphics::SCR_HEIGHT);
    destroy_bitmap(cGraphics::double_buffer);
    cGraphics::double_buffer = SolidBitmap(cGraphics::SCR_WIDTH + 1, cGraphics::SCR_HEIGHT + 1, 0);
    cGraphics::mode = m;
    ++_mode_switches;
}

void CountPresent() { ++_presented; }

class PlayPhaseTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cPlayPhase* play = nullptr;

    void SetUp() override
    {
        ReleaseAllKeys();
        cGraphics::mode = 1;
        _mode_switches = 0;
        _presented = 0;
        play = new cPlayPhase(nullptr, {MemorySetMode, CountPresent});
    }
    void TearDown() override
    {
        delete play;
        cGraphics::mode = 0;
        ReleaseAllKeys();
    }

    void FillCity(int code)
    {
        for (int row = 0; row < play->city->height; ++row)
            for (int column = 0; column < play->city->width; ++column)
                play->city->grid[row][column] = code;
    }
    void Build(int x, int y, int code)
    {
        int column, row;
        play->city->GetTile(x, y, &column, &row);
        play->city->grid[row][column] = code;
    }
    // Holds the given keys for one frame of movement only.
    void FlyWith(std::initializer_list<int> keys)
    {
        for (int k : keys)
            key[k] = 1;
        play->Fly();
        for (int k : keys)
            key[k] = 0;
    }
};
} // namespace

TEST_F(PlayPhaseTest, BeginsOverTheStartingPointFacingFront)
{
    EXPECT_EQ(play->GroundX(), 2624);
    EXPECT_EQ(play->GroundY(), 1488);
    EXPECT_EQ(play->facing, 0);
    EXPECT_EQ(play->weapons.energy, 121);
}

TEST_F(PlayPhaseTest, EachFramePresentsOnceAndCountsEscapeEndsBeforeAnything)
{
    EXPECT_TRUE(play->Frame());
    EXPECT_TRUE(play->Frame());
    EXPECT_EQ(_presented, 2);
    EXPECT_EQ(play->frame_counter, 2);

    key[KEY_ESC] = 1;
    key[KEY_RIGHT] = 1;
    const int view_x = play->view_x;
    EXPECT_FALSE(play->Frame());
    EXPECT_EQ(_presented, 2);
    EXPECT_EQ(play->frame_counter, 2);
    EXPECT_EQ(play->view_x, view_x);
}

TEST_F(PlayPhaseTest, LimitsHoldOnlyTheMovedCoordinateInTheMovedDirection)
{
    FillCity(GRASS);
    const int right_limit = 5120 - 800 - 1, bottom_limit = 2880 - 600 - 1;
    play->view_x = 178;
    play->view_y = 2;
    FlyWith({KEY_LEFT});
    EXPECT_EQ(play->view_x, 176);
    FlyWith({KEY_UP});
    EXPECT_EQ(play->view_y, 0);
    play->view_x = right_limit - 2;
    play->view_y = bottom_limit - 2;
    FlyWith({KEY_RIGHT, KEY_DOWN});
    EXPECT_EQ(play->view_x, right_limit);
    EXPECT_EQ(play->view_y, bottom_limit);

    play->view_x = 100; // outside the left limit: only a Left step pulls it back
    FlyWith({KEY_UP});
    EXPECT_EQ(play->view_x, 100);
    FlyWith({KEY_LEFT});
    EXPECT_EQ(play->view_x, 176);
}

TEST_F(PlayPhaseTest, TheWidePlayAreaHasItsOwnLeftAndRightLimits)
{
    FillCity(GRASS);
    MemorySetMode(2);
    play->view_x = 66;
    FlyWith({KEY_LEFT});
    EXPECT_EQ(play->view_x, 64);
    play->view_x = 5120 - 1024 - 3;
    FlyWith({KEY_RIGHT});
    EXPECT_EQ(play->view_x, 5120 - 1024 - 1);
}

TEST_F(PlayPhaseTest, UpFromThreeIntoATallBuildingEndsTwoPixelsLower)
{
    FillCity(GRASS);
    play->view_y = 3;
    Build(play->GroundX(), 0 + 300 + 155, SEVEN_STOREYS);
    FlyWith({KEY_UP});
    EXPECT_EQ(play->view_y, 5);
    EXPECT_EQ(play->facing, 1);
}

TEST_F(PlayPhaseTest, AStepIntoATallBuildingIsUndoneWithHerTurnedTowardsIt)
{
    FillCity(GRASS);
    play->view_x = 2687 - 400; // the ground point on the last column of its tile
    Build(2692, 1488, SEVEN_STOREYS);
    FlyWith({KEY_RIGHT});
    EXPECT_EQ(play->view_x, 2287);
    EXPECT_EQ(play->facing, 3);

    Build(2692, 1488, SIX_STOREYS - 1); // five storeys: low enough to fly over
    FlyWith({KEY_RIGHT});
    EXPECT_EQ(play->view_x, 2292);
}

TEST_F(PlayPhaseTest, KeysActTogetherAndFacingFollowsTheLastOneHeld)
{
    FillCity(GRASS);
    const int x = play->view_x, y = play->view_y;
    FlyWith({KEY_UP, KEY_LEFT});
    EXPECT_EQ(play->view_x, x - 5);
    EXPECT_EQ(play->view_y, y - 5);
    EXPECT_EQ(play->facing, 2);

    FlyWith({KEY_UP, KEY_DOWN});
    EXPECT_EQ(play->view_y, y - 5);
    EXPECT_EQ(play->facing, 0);

    FlyWith({KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT});
    EXPECT_EQ(play->view_x, x - 5);
    EXPECT_EQ(play->facing, 3);

    FlyWith({});
    EXPECT_EQ(play->facing, 3);
}

TEST_F(PlayPhaseTest, HoldingF1SwitchesModeInEveryFrameKeepingTheGroundPoint)
{
    const int ground_x = play->GroundX(), ground_y = play->GroundY();
    key[KEY_F1] = 1;
    const int expected_modes[] = {2, 1, 2, 1};
    for (int mode : expected_modes) {
        ASSERT_TRUE(play->Frame());
        EXPECT_EQ(cGraphics::GetMode(), mode);
        EXPECT_EQ(cGraphics::SCR_WIDTH, mode == 2 ? 1024 : 800);
        EXPECT_EQ(play->city->screen_tiles_x, cGraphics::SCR_WIDTH / 128 + 2);
        EXPECT_EQ(play->GroundX(), ground_x);
        EXPECT_EQ(play->GroundY(), ground_y);
    }
    EXPECT_EQ(_mode_switches, 4);
    EXPECT_EQ(_presented, 4);
}

TEST_F(PlayPhaseTest, SwitchingModesAtTheEdgesShiftsByExactly112)
{
    FillCity(GRASS);
    play->view_x = 5120 - 800 - 1;
    play->SwitchMode();
    EXPECT_EQ(play->view_x, 5120 - 800 - 1 - 112); // 112 past the wide right limit
    FlyWith({KEY_RIGHT});
    EXPECT_EQ(play->view_x, 5120 - 1024 - 1);

    play->view_x = 64;
    play->SwitchMode();
    EXPECT_EQ(cGraphics::GetMode(), 1);
    EXPECT_EQ(play->view_x, 176);
}

TEST_F(PlayPhaseTest, SheBobsFiveToZeroAndBackHoldingFiveForTwentyFramesAtTheTurn)
{
    const int per_ten_frames[] = {5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 5, 4};
    for (int step = 0; step < 13; ++step)
        for (int frame = step * 10; frame < step * 10 + 10; ++frame) {
            play->frame_counter = frame;
            EXPECT_EQ(play->Bob(), per_ten_frames[step]) << "frame " << frame;
        }
}

TEST_F(PlayPhaseTest, HerSpriteHangsBelowTheCentreByTheBob)
{
    FillCity(GRASS);
    Paint(play->faerie[0], 1, 1, FAERIE);
    Paint(play->shadow, 1, 1, 0xF81F);
    play->frame_counter = 0;
    play->DrawFaerie();
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 400, 305), FAERIE);
    play->frame_counter = 50;
    play->DrawFaerie();
    EXPECT_EQ(PixelAt(cGraphics::double_buffer, 400, 300), FAERIE);
}

TEST_F(PlayPhaseTest, HerShadowFallsOnTheRoofUnderHerUnlessTheRoofIsAboveHer)
{
    Paint(play->faerie[0], 1, 1, 0xF81F);
    Paint(play->shadow, 1, 1, 0);
    const struct {
        int code, shadow_y; // 0: none
    } cases[] = {{GRASS, 487}, {TWO_STOREYS, 425}, {FIVE_STOREYS, 332}, {SIX_STOREYS, 0}};
    for (const auto& c : cases) {
        clear_to_color(cGraphics::double_buffer, WHITE);
        Build(play->GroundX(), play->GroundY(), c.code);
        play->DrawFaerie();
        if (c.shadow_y) {
            EXPECT_EQ(PixelAt(cGraphics::double_buffer, 376, c.shadow_y), SHADE) << c.code;
            EXPECT_EQ(CountPixels(cGraphics::double_buffer, SHADE), 1) << c.code;
        } else {
            EXPECT_EQ(CountPixels(cGraphics::double_buffer, SHADE), 0) << c.code;
        }
    }
}

TEST_F(PlayPhaseTest, AFireballLevelWithHerGroundPointIsDrawnInFront)
{
    Paint(play->pool[3]->frames[0], 1, 1, FIRE);
    cBall* ball = play->pool[3];
    ball->Create(play->GroundX(), play->GroundY(), 155, 0, 0, 0);
    ball->ground_height = 200; // no shadow, to see the ball alone

    play->DrawFireballs(false);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, FIRE), 0);
    play->DrawFireballs(true);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, FIRE), 1);

    clear_to_color(cGraphics::double_buffer, 0);
    ball->y -= 1;
    play->DrawFireballs(true);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, FIRE), 0);
    play->DrawFireballs(false);
    EXPECT_EQ(CountPixels(cGraphics::double_buffer, FIRE), 1);
}

TEST_F(PlayPhaseTest, AThrowLeavesFromTheGroundPointAfterThisFramesMoveAndFliesAtOnce)
{
    FillCity(GRASS);
    key[KEY_LSHIFT] = 1;
    key[KEY_RIGHT] = 1;
    ASSERT_TRUE(play->Frame());
    cBall* ball = play->pool[1];
    ASSERT_TRUE(ball->active);
    // Launched at Gx - 12 with 12 pixels per frame to the right, then updated once.
    EXPECT_EQ(ball->x, play->GroundX());
    EXPECT_EQ(ball->timer, 1);
}

TEST_F(PlayPhaseTest, ABlastInAFrameLowersThePopulationShownThatFrame)
{
    FillCity(GRASS);
    const int before = play->city->GetPopulation();
    key[KEY_LCONTROL] = 1;
    ASSERT_TRUE(play->Frame());
    EXPECT_EQ(play->city->GetPopulation(), before - 193);
    EXPECT_EQ(play->weapons.energy, 120);
}
