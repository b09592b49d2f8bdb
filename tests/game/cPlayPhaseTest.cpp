#include "game/cPlayPhase.h"

#include "ball/cBall.h"
#include "city/cCity.h"
#include "game/PlayRandom.h"
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
const uint16_t WHITE = 0xFFFF, SHADE = SHADOW_MASK, BLUE = 0x001F, FIRE = 0xFFE0, RED = 0xF800;
const int PEOPLE_PER_STOREY = 193;

const Control UP = &Controls::up, DOWN = &Controls::down;
const Control LEFT = &Controls::left, RIGHT = &Controls::right;

int _presented = 0;

// Everything a frame changes.
Ints State(const cPlayPhase& play)
{
    Ints state = {play.view_x,        play.view_y,         play.facing,
                  play.frame_counter, play.weapons.energy, play.city->GetPopulation()};
    for (const cBall* ball : play.pool)
        state.insert(state.end(), {ball->active, ball->x, ball->y, ball->z, ball->timer});
    return state;
}

// Each test starts over a city of grass, in the narrow play area.
class PlayPhaseTest : public testing::Test {
protected:
    HeadlessScreen screen;
    cPlayPhase play{nullptr, {MemorySetMode, [] { ++_presented; }}};

    PlayPhaseTest() { FillCity(*play.city, GRASS); }
};

// Throws, blasts and flies in turns, so that the fireballs and the blast are busy.
Controls Scripted(int frame)
{
    const Control moves[] = {RIGHT, DOWN, LEFT, UP};
    Controls controls = Held({moves[frame / 16 % 4], &Controls::fire});
    controls.blast = frame % 50 < 20;
    return controls;
}

// Two play phases may not live at once: they would share the city's pictures.
TEST(PlayPhasePauseTest, APauseFreezesEverythingAndResumingContinuesAsIfThereHadBeenNone)
{
    const int FRAMES = 90;
    HeadlessScreen screen;
    std::vector<Ints> unpaused;
    {
        cPlayPhase play(nullptr, {MemorySetMode, [] {}});
        FillCity(*play.city, GRASS);
        SeedPlayRandom(3);
        for (int frame = 0; frame < FRAMES; ++frame) {
            ASSERT_TRUE(play.Frame(Scripted(frame)));
            unpaused.push_back(State(play));
        }
    }

    cPlayPhase play(nullptr, {MemorySetMode, [] { ++_presented; }});
    FillCity(*play.city, GRASS);
    SeedPlayRandom(3);
    _presented = 0;
    Controls lost, everything = Scripted(0);
    lost.focus_lost = true;
    everything.up = everything.down = everything.left = everything.switch_mode = true;
    const Controls pause = Held({&Controls::pause});
    // P held for three frames toggles once and every other control goes unseen; the focus
    // lost pauses too, and stays paused when it comes back. Either way a press resumes.
    const std::pair<int, std::vector<Controls>> pauses[] = {
        {40, {pause, pause, pause, everything, Controls()}}, {60, {lost, Controls(), lost}}};
    for (int frame = 0; frame < FRAMES; ++frame) {
        Controls controls = Scripted(frame);
        for (const auto& [at, held_still] : pauses) {
            if (at != frame)
                continue;
            const int presented = _presented;
            for (const Controls& held : held_still) {
                ASSERT_TRUE(play.Frame(held));
                EXPECT_EQ(unpaused[frame - 1], State(play)) << "frame " << frame;
                EXPECT_EQ(0, play.Events().Count());
                EXPECT_TRUE(play.Paused());
            }
            EXPECT_EQ(1, _presented - presented) << "the pausing frame shows the panel, once";
            controls.pause = true;
        }
        ASSERT_TRUE(play.Frame(controls));
        ASSERT_EQ(unpaused[frame], State(play)) << "frame " << frame;
    }
    EXPECT_FALSE(play.Paused());
    // Escape ends a frame before anything moves, is drawn or is told.
    const Ints before = State(play);
    EXPECT_FALSE(play.Frame(Held({&Controls::escape, &Controls::fire, &Controls::blast})));
    EXPECT_EQ(before, State(play));
    EXPECT_EQ(0, play.Events().Count());
    EXPECT_EQ(FRAMES + 2, _presented);
}

TEST_F(PlayPhaseTest, AFullBlastStrikesInFrames1_31_61And91ThenTheHeldKeyDoesNothing)
{
    const Controls blast = Held({&Controls::blast});
    const int squares[] = {1, 9, 25, 49};
    // Exhausted after 121 frames, the held key neither strikes nor lets energy come back.
    for (int blast_frame = 1; blast_frame <= 240; ++blast_frame) {
        const int population = play.city->GetPopulation();
        ASSERT_TRUE(play.Frame(blast));
        const bool strikes = blast_frame % 30 == 1 && blast_frame < 121;
        EXPECT_EQ(strikes ? squares[blast_frame / 30] : 0,
                  (population - play.city->GetPopulation()) / PEOPLE_PER_STOREY)
            << "blast frame " << blast_frame;
        // Told: begun in the first frame, each strike, and empty in the last.
        EXPECT_EQ(strikes + (blast_frame == 1) + (blast_frame == 121), play.Events().Count())
            << "blast frame " << blast_frame;
    }
    EXPECT_EQ(0, play.weapons.energy);
}

TEST_F(PlayPhaseTest, EachBlastFrameGlowsAtTheCentreAndDrawsTwentyFiveSparks)
{
    SeedPlayRandom(5); // sparks that do not overlap
    // Each image a black stencil: the glows by their corners, sparks one or two pixels wide.
    Paint(play.outer_glow, 1, 1, 0);
    Paint(play.inner_glow, 1, 1, 0);
    Paint(play.pool[0]->frames[1], 1, 1, 0);
    Paint(play.pool[0]->frames[2], 2, 1, 0);
    cFrameEvents events;
    const auto blast_step = [&] {
        play.weapons.BlastStep(Held({&Controls::blast}), play.pool, play.city, play.GroundX(),
                               play.GroundY(), play.outer_glow, play.inner_glow, events);
    };
    // The red mask left on white at the outer glow's corner, by blast frame; 0: not checked.
    uint16_t red[46] = {};
    red[1] = red[44] = red[45] = 0xF000, red[3] = 0xE000, red[21] = 0x8000;
    for (int blast_frame = 1; blast_frame <= 45; ++blast_frame) {
        clear_to_color(cGraphics::double_buffer, WHITE);
        blast_step();
        if (red[blast_frame]) {
            EXPECT_EQ(red[blast_frame], PixelAt(cGraphics::double_buffer, 352, 252))
                << "blast frame " << blast_frame;
        }
        EXPECT_EQ(WHITE, PixelAt(cGraphics::double_buffer, 368, 268)) << "OR blue on white";
        const int sparks = CountPixels(cGraphics::double_buffer, BLUE); // one or two pixels each
        EXPECT_TRUE(sparks >= 25 && sparks <= 50) << sparks << " blue, blast frame " << blast_frame;
    }
    clear_to_color(cGraphics::double_buffer, 0);
    blast_step();
    EXPECT_EQ(BLUE, PixelAt(cGraphics::double_buffer, 368, 268));
}

TEST_F(PlayPhaseTest, FlyingStepsFiveStopsAtTheLimitsAndRefusesTallBuildings)
{
    struct Case {
        int mode, x, y;
        Controls keys;
        int want_x, want_y, want_facing;
        int build_x = 0, build_y = 0, code = GRASS;
    };
    // The view over the starting point and the limits.
    const int x = 2224, y = 1033, R = 5120 - 800 - 1, B = 2880 - 600 - 1;
    const int TX = 2692, TY = 1488; // a tile on her right
    const Case cases[] = {
        {1, 178, 2, Held({LEFT}), 176, 2, FACING_LEFT},
        {1, 178, 2, Held({UP}), 178, 0, FACING_BACK},
        {1, R - 2, B - 2, Held({RIGHT, DOWN}), R, B, FACING_RIGHT},
        {1, 100, y, Held({UP}), 100, y - 5, FACING_BACK}, // beyond the left limit
        {1, 100, y, Held({LEFT}), 176, y, FACING_LEFT},
        {2, 66, y, Held({LEFT}), 64, y, FACING_LEFT},
        {2, 5120 - 1024 - 3, y, Held({RIGHT}), 5120 - 1024 - 1, y, FACING_RIGHT},
        {1, x, y, Held({UP, DOWN, LEFT, RIGHT}), x, y, FACING_RIGHT},
        // The buildings stay: the next cases build on other tiles or replace them.
        // Up from 3 is cut to 0, then undone by a whole step out of the tower: 5.
        {1, x, 3, Held({UP}), x, 5, FACING_BACK, 2624, 455, SIX_STOREYS},
        {1, 2287, y, Held({RIGHT}), 2287, y, FACING_RIGHT, TX, TY, SIX_STOREYS},
        {1, 2287, y, Held({RIGHT}), 2292, y, FACING_RIGHT, TX, TY, FIVE_STOREYS}};
    for (const Case& c : cases) {
        MemorySetMode(c.mode);
        play.view_x = c.x;
        play.view_y = c.y;
        if (c.build_x)
            BuildAt(*play.city, c.build_x, c.build_y, c.code);
        play.Fly(c.keys);
        EXPECT_EQ((Ints{c.want_x, c.want_y, c.want_facing}),
                  (Ints{play.view_x, play.view_y, play.facing}))
            << "case " << &c - cases;
    }
}

// The switch key read as held for frames on end, as it is while the new window takes the
// focus, switches once per press, with the ground point kept.
TEST_F(PlayPhaseTest, TheSwitchKeyHeldSwitchesOnceAndThePressAfterItSwitchesBack)
{
    const int ground_x = play.GroundX();
    const std::pair<bool, int> frames[] = {
        {true, cGraphics::WIDE_MODE},   {true, cGraphics::WIDE_MODE},
        {true, cGraphics::WIDE_MODE},   {false, cGraphics::WIDE_MODE},
        {true, cGraphics::NARROW_MODE}, {true, cGraphics::NARROW_MODE}};
    for (const auto& [held, mode] : frames) {
        ASSERT_TRUE(play.Frame(held ? Held({&Controls::switch_mode}) : Controls()));
        EXPECT_EQ(cGraphics::GetMode(), mode);
        EXPECT_EQ(play.GroundX(), ground_x);
    }
}

TEST_F(PlayPhaseTest, HerSpriteBobsAndHerShadowFallsOnTheRoofUnderHer)
{
    Paint(play.faerie[0], 1, 1, BLUE);
    Paint(play.shadow, 1, 1, 0);
    // {tile under her, frame, shadow's y or 0 for none under a roof above her, sprite's y}:
    // codes 1 and 5 are buildings of two and six storeys, 62 and 186 pixels. She bobs 5 to
    // 0 pixels and back, a pixel every ten frames, and hangs at 5 for twenty frames at the turn.
    const int cases[][4] = {
        {GRASS, 0, 487, 305}, {1, 50, 425, 300}, {FIVE_STOREYS, 119, 332, 305}, {5, 120, 0, 304}};
    for (const auto& c : cases) {
        clear_to_color(cGraphics::double_buffer, WHITE);
        BuildAt(*play.city, play.GroundX(), play.GroundY(), c[0]);
        play.frame_counter = c[1];
        play.DrawFaerie();
        EXPECT_EQ(BLUE, PixelAt(cGraphics::double_buffer, 400, c[3])) << c[0];
        EXPECT_EQ(c[2] ? 1 : 0, CountPixels(cGraphics::double_buffer, SHADE)) << c[0];
        EXPECT_EQ(c[2] ? SHADE : WHITE, PixelAt(cGraphics::double_buffer, 376, c[2])) << c[0];
    }
}

TEST_F(PlayPhaseTest, AFireballRestsThenBurstsLoweringOneTileAndLevelWithHerIsDrawnInFront)
{
    cBall& ball = *play.pool[0];
    Paint(ball.frames[0], 2, 2, FIRE);
    Paint(ball.frames[1], 2, 2, BLUE);
    Paint(ball.frames[2], 2, 2, RED);
    Paint(play.small_shadow, 1, 1, WHITE);
    // The colour centred at the ball's screen point after one frame of drawing.
    const auto shown = [&] {
        clear_to_color(cGraphics::double_buffer, WHITE);
        ball.Draw(ball.x - 400, ball.y - 300 - ball.z, play.small_shadow);
        return PixelAt(cGraphics::double_buffer, 400, 300);
    };
    const int x = 2000, y = 1500; // well inside the city: every flight stays over the grid
    ball.Create(x, y, 155, 3, -5, 10);
    for (int tick = 1; tick <= 31; ++tick)
        play.UpdateFireballs();
    EXPECT_EQ((Ints{0, 0}), (Ints{ball.z, ball.exploding}));
    EXPECT_EQ(FIRE & SHADE, shown()) << "resting on the ground, it lies under its own shadow";

    // The burst tick moves the ball once more: to (x + 3 * 31 + 3, y - 5 * 31 - 5).
    BuildAt(*play.city, x + 96, y - 160, SIX_STOREYS);
    const int population = play.city->GetPopulation();
    play.UpdateFireballs();
    // The burst shows frame 1 for two frames and frame 2 for three, then the ball is free
    // and no longer draws.
    const uint16_t frames[] = {BLUE, BLUE, RED, RED, RED, WHITE};
    for (int tick = 32; tick <= 37; play.UpdateFireballs(), ++tick) {
        EXPECT_EQ(frames[tick - 32], shown()) << "tick " << tick;
        EXPECT_EQ(population - PEOPLE_PER_STOREY, play.city->GetPopulation())
            << "one storey per flight, tick " << tick;
    }

    // Level with her ground point, a ball is drawn in front of her.
    ball.Create(play.GroundX(), play.GroundY(), 155, 0, 0, 0);
    ball.ground_height = 200; // no shadow, to see the ball alone
    for (int dy : {0, -1}) {
        ball.y = play.GroundY() + dy;
        clear_to_color(cGraphics::double_buffer, 0);
        play.DrawFireballs(dy < 0);
        EXPECT_EQ(0, CountPixels(cGraphics::double_buffer, FIRE))
            << "drawn in the wrong layer, y " << dy;
        play.DrawFireballs(dy == 0);
        EXPECT_EQ(4, CountPixels(cGraphics::double_buffer, FIRE)) << "y " << dy;
    }
}
} // namespace
