#include "game/cPlayPhase.h"

#include "ball/cBall.h"
#include "city/cCity.h"
#include "graphics/cGraphics.h"
#include "image/cImage.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace {
const int SIX_STOREYS = 5;  // kind 0 with five extra storeys: the lowest too tall to fly into
const int FIVE_STOREYS = 4; // 155 pixels, as high as she flies
const int RIGHT_LIMIT = 5120 - 800 - 1, BOTTOM_LIMIT = 2880 - 600 - 1;
const uint16_t WHITE = 0xFFFF, SHADE = SHADOW_MASK, FAERIE = 0x001F, FIRE = 0xFFE0;

const Control UP = &Controls::up, DOWN = &Controls::down;
const Control LEFT = &Controls::left, RIGHT = &Controls::right;

int _presented = 0;

class PlayPhaseTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cPlayPhase* play = nullptr;

    void SetUp() override
    {
        cGraphics::mode = 1;
        NewPlay();
    }
    // A new play phase, over a city of grass.
    void NewPlay()
    {
        delete play;
        _presented = 0;
        play = new cPlayPhase(nullptr, {MemorySetMode, [] { ++_presented; }});
        FillCity(*play->city, GRASS);
    }
    void TearDown() override
    {
        delete play;
        cGraphics::mode = 0;
    }

    void Build(int x, int y, int code) { BuildAt(*play->city, x, y, code); }
    int Shown(uint16_t colour) { return CountPixels(cGraphics::double_buffer, colour); }
    Ints Events() { return EventList(play->Events()); }
    // Everything a frame changes, and, with told, what it told.
    Ints State(bool told = true)
    {
        Ints state = {play->view_x,        play->view_y,         play->facing,
                      play->frame_counter, play->weapons.energy, play->city->GetPopulation(),
                      play->Bob()};
        for (const cBall* ball : play->pool)
            state.insert(state.end(), {ball->active, ball->x, ball->y, ball->z, ball->timer});
        const Ints events = told ? Events() : Ints{};
        state.insert(state.end(), events.begin(), events.end());
        return state;
    }
};

// Throws, blasts and flies in turns, so that the fireballs and the blast are busy.
Controls Scripted(int frame)
{
    const Control moves[] = {RIGHT, DOWN, LEFT, UP};
    Controls controls = Held({moves[frame / 16 % 4], &Controls::fire});
    controls.blast = frame % 50 < 20;
    return controls;
}

TEST_F(PlayPhaseTest, AFrameMovesThenThrowsAndBlastsAndEscapeEndsAFrameBeforeAnything)
{
    EXPECT_EQ((Ints{2624, 1488}), (Ints{play->GroundX(), play->GroundY()}));
    Controls all = Held({&Controls::fire, &Controls::right, &Controls::blast});
    ASSERT_TRUE(play->Frame(all));
    const int gx = play->GroundX(), gy = play->GroundY();
    EXPECT_EQ((Ints{EVENT_THROW, gx, gy, EVENT_BLAST_BEGUN, gx, gy, EVENT_BLAST_STRIKE, gx, gy}),
              Events());
    // Thrown from Gx - 12 at 12 pixels a frame after the step, and updated once.
    EXPECT_EQ((Ints{gx, 1, 1}), (Ints{play->pool[1]->x, _presented, play->frame_counter}));
    all.escape = true;
    const Ints before = State(false);
    EXPECT_FALSE(play->Frame(all));
    EXPECT_EQ(before, State()); // nothing moved and nothing told
    EXPECT_EQ(1, _presented);
}

TEST_F(PlayPhaseTest, APauseFreezesEverythingAndResumingContinuesAsIfThereHadBeenNone)
{
    const int FRAMES = 90, PAUSE_AT = 40;
    std::srand(3);
    std::vector<Ints> unpaused;
    for (int frame = 0; frame < FRAMES; ++frame) {
        ASSERT_TRUE(play->Frame(Scripted(frame)));
        unpaused.push_back(State(frame != PAUSE_AT - 1));
    }

    NewPlay();
    std::srand(3);
    for (int frame = 0; frame < PAUSE_AT; ++frame)
        ASSERT_TRUE(play->Frame(Scripted(frame)));
    const Controls pause = Held({&Controls::pause});
    // Held for three frames, it toggles once; then every other control is held, unseen.
    ASSERT_TRUE(play->Frame(pause));
    BITMAP* shown = create_bitmap(801, 601);
    blit(cGraphics::double_buffer, shown, 0, 0, 0, 0, 801, 601);
    const int presented = _presented;
    Controls everything = Scripted(0);
    everything.up = everything.down = everything.left = everything.switch_mode = true;
    for (const Controls& held : {pause, pause, everything, everything, Controls()}) {
        ASSERT_TRUE(play->Frame(held));
        EXPECT_EQ(unpaused[PAUSE_AT - 1], State()); // and no events
        EXPECT_TRUE(play->Paused());
    }
    EXPECT_EQ(0, DifferingPixels(shown, cGraphics::double_buffer));
    // The pausing frame presents the panel, the paused ones nothing.
    EXPECT_EQ((Ints{PAUSE_AT + 1, 0}), (Ints{presented, _presented - presented}));
    destroy_bitmap(shown);

    // The press that resumes runs its frame.
    for (int frame = PAUSE_AT; frame < FRAMES; ++frame) {
        Controls controls = Scripted(frame);
        controls.pause = frame == PAUSE_AT;
        ASSERT_TRUE(play->Frame(controls));
        ASSERT_EQ(unpaused[frame], State()) << "frame " << frame;
    }
    EXPECT_FALSE(play->Paused());
}

TEST_F(PlayPhaseTest, LosingTheFocusPausesUntilThePauseKeyAndEscapeStillEnds)
{
    Controls lost;
    lost.focus_lost = true;
    const Controls pause = Held({&Controls::pause}), escape = Held({&Controls::escape});
    // {controls, paused after the frame}
    const std::pair<Controls, bool> frames[] = {{lost, true},   {Controls(), true},  {lost, true},
                                                {pause, false}, {Controls(), false}, {lost, true}};
    for (const auto& [controls, paused] : frames) {
        ASSERT_TRUE(play->Frame(controls));
        EXPECT_EQ(paused, play->Paused());
    }
    EXPECT_EQ(2, play->frame_counter);
    EXPECT_FALSE(play->Frame(escape));
}

TEST_F(PlayPhaseTest, FlyingStepsFiveStopsAtTheLimitsAndRefusesTallBuildings)
{
    struct Case {
        const char* name;
        int mode, x, y;
        Controls keys;
        int want_x, want_y, want_facing;
        int build_x = 0, build_y = 0, code = GRASS;
    };
    // The view over the starting point and the limits.
    const int x = 2224, y = 1033, R = RIGHT_LIMIT, B = BOTTOM_LIMIT;
    const int TX = 2692, TY = 1488; // a tile on her right
    const Case cases[] = {
        {"left limit", 1, 178, 2, Held({LEFT}), 176, 2, FACING_LEFT},
        {"top limit", 1, 178, 2, Held({UP}), 178, 0, FACING_BACK},
        {"right, bottom limits", 1, R - 2, B - 2, Held({RIGHT, DOWN}), R, B, FACING_RIGHT},
        {"beyond the left limit", 1, 100, y, Held({UP}), 100, y - 5, FACING_BACK},
        {"back from beyond it", 1, 100, y, Held({LEFT}), 176, y, FACING_LEFT},
        {"wide left limit", 2, 66, y, Held({LEFT}), 64, y, FACING_LEFT},
        {"wide right limit", 2, 5120 - 1024 - 3, y, Held({RIGHT}), 5120 - 1024 - 1, y,
         FACING_RIGHT},
        {"all four", 1, x, y, Held({UP, DOWN, LEFT, RIGHT}), x, y, FACING_RIGHT},
        // The buildings stay: the next cases build on other tiles or replace them.
        // Up from 3 is cut to 0, then undone by a whole step out of the tower: 5.
        {"up from 3", 1, x, 3, Held({UP}), x, 5, FACING_BACK, 2624, 455, SIX_STOREYS},
        {"into a tower", 1, 2287, y, Held({RIGHT}), 2287, y, FACING_RIGHT, TX, TY, SIX_STOREYS},
        {"over 5 storeys", 1, 2287, y, Held({RIGHT}), 2292, y, FACING_RIGHT, TX, TY, FIVE_STOREYS}};
    for (const Case& c : cases) {
        if (cGraphics::GetMode() != c.mode)
            MemorySetMode(c.mode);
        play->view_x = c.x;
        play->view_y = c.y;
        if (c.build_x)
            Build(c.build_x, c.build_y, c.code);
        play->Fly(c.keys);
        EXPECT_EQ((Ints{c.want_x, c.want_y, c.want_facing}),
                  (Ints{play->view_x, play->view_y, play->facing}))
            << c.name;
    }
}

TEST_F(PlayPhaseTest, HoldingF1SwitchesModeInEveryFrameKeepingTheGroundPointEvenAtTheEdges)
{
    const int ground_x = play->GroundX(), ground_y = play->GroundY();
    for (int mode : {2, 1, 2, 1}) {
        ASSERT_TRUE(play->Frame(Held({&Controls::switch_mode})));
        EXPECT_EQ((Ints{mode, mode == 2 ? 10 : 8, ground_x, ground_y}),
                  (Ints{cGraphics::GetMode(), play->city->screen_tiles_x, play->GroundX(),
                        play->GroundY()}));
    }
    EXPECT_EQ(4, _presented);

    play->view_x = RIGHT_LIMIT;
    play->SwitchMode();
    EXPECT_EQ(RIGHT_LIMIT - 112, play->view_x); // 112 past the wide right limit
    play->Fly(Held({RIGHT}));
    EXPECT_EQ(5120 - 1024 - 1, play->view_x);
    play->view_x = 64;
    play->SwitchMode();
    EXPECT_EQ((Ints{1, 176}), (Ints{cGraphics::GetMode(), play->view_x}));
}

TEST_F(PlayPhaseTest, SheBobsFiveToZeroAndBackHoldingFiveForTwentyFramesAtTheTurn)
{
    const int per_ten_frames[] = {5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 5, 4};
    for (play->frame_counter = 0; play->frame_counter < 130; ++play->frame_counter)
        EXPECT_EQ(per_ten_frames[play->frame_counter / 10], play->Bob())
            << "frame " << play->frame_counter;
}

TEST_F(PlayPhaseTest, HerSpriteHangsByTheBobAndHerShadowFallsOnTheRoofUnderHer)
{
    Paint(play->faerie[0], 1, 1, FAERIE);
    Paint(play->shadow, 1, 1, 0);
    // {tile under her, frame, shadow's y or 0 for none under a roof above her, sprite's y};
    // codes 1 and 5 are buildings of two and six storeys, 62 and 186 pixels.
    const int cases[][4] = {
        {GRASS, 0, 487, 305}, {1, 50, 425, 300}, {FIVE_STOREYS, 0, 332, 305}, {5, 50, 0, 300}};
    for (const auto& c : cases) {
        clear_to_color(cGraphics::double_buffer, WHITE);
        Build(play->GroundX(), play->GroundY(), c[0]);
        play->frame_counter = c[1];
        play->DrawFaerie();
        EXPECT_EQ(FAERIE, PixelAt(cGraphics::double_buffer, 400, c[3])) << c[0];
        EXPECT_EQ(c[2] ? 1 : 0, Shown(SHADE)) << c[0];
        EXPECT_EQ(c[2] ? SHADE : WHITE, PixelAt(cGraphics::double_buffer, 376, c[2])) << c[0];
    }
}

TEST_F(PlayPhaseTest, AFireballLevelWithHerGroundPointIsDrawnInFront)
{
    cBall* ball = play->pool[3];
    Paint(ball->frames[0], 1, 1, FIRE);
    ball->Create(play->GroundX(), play->GroundY(), 155, 0, 0, 0);
    ball->ground_height = 200; // no shadow, to see the ball alone
    for (int dy : {0, -1}) {
        ball->y = play->GroundY() + dy;
        clear_to_color(cGraphics::double_buffer, 0);
        play->DrawFireballs(dy < 0);
        EXPECT_EQ(0, Shown(FIRE)) << "drawn in the wrong layer, y " << dy;
        play->DrawFireballs(dy == 0);
        EXPECT_EQ(1, Shown(FIRE)) << "y " << dy;
    }
}
} // namespace
