// Plays the play phase headless for a given number of frames with seeded random keys and
// checks the game's invariants after every frame. Usage: emberwing-soak FRAMES [SEED]
// Prints a summary line; exits 0 when every check held, 1 at the first broken one.
#include "city/cCity.h"
#include "game/PlayRandom.h"
#include "game/cPlayPhase.h"
#include "graphics/cGraphics.h"
#include "support/GuardedBuffer.h"
#include "support/Headless.h"
#include "support/Scripted.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {
const int FIRST_KEPT_FRAME = 1000;      // memory then must equal memory at the end
const int MAPPING_THRESHOLD = 32 << 20; // bytes, the most glibc allows
const int STRAY_CHECK_PERIOD = 1000;
const int RUBBLE = cCity::RUBBLE, WATER = cCity::WATER;

// Controls held for runs of frames, so that she crosses the city and blasts run dry.
const Control HELD[] = {&Controls::up,    &Controls::down, &Controls::left,
                        &Controls::right, &Controls::fire, &Controls::blast};
const int FLIP_CHANCE = 40;     // one in this many frames a control changes state
const int SWITCH_CHANCE = 1500; // one in this many frames the mode switch is down for the frame

GuardedBuffer* _guard = nullptr;
int _frame = 0;

// A mode switch in memory: a new guarded buffer of the mode's play area.
void GuardedSetMode(int m)
{
    delete _guard;
    MemorySetMode(m);
    _guard = new GuardedBuffer();
}

// Stops the run at the first broken check.
void Check(bool held, const char* what, long value)
{
    if (!held) {
        std::printf("FAIL at frame %d: %s (%ld)\n", _frame, what, value);
        std::exit(1);
    }
}

// A tile may only lose storeys, turn to rubble when it loses its last, or stay as it is; as
// the generated city holds only allowed codes, so do all cities that follow from it.
bool ChangeAllowed(int before, int after)
{
    const bool open_ground = before == GRASS || before == RUBBLE || before == WATER;
    const bool fewer_storeys =
        after / 100 == before / 100 && after % 100 >= 0 && after % 100 < before % 100;
    return after == before || (!open_ground && (after == RUBBLE || fewer_storeys));
}

// Compares the city with the last frame's cells and population, which it then keeps.
void CheckCity(cCity& city, std::vector<int>& cells, int& population)
{
    std::vector<int> now;
    for (int row = 0; row < city.height; ++row)
        now.insert(now.end(), city.grid[row], city.grid[row] + city.width);
    for (size_t i = 0; i < cells.size(); ++i)
        Check(ChangeAllowed(cells[i], now[i]), "cell changed other than by losing storeys", now[i]);
    cells.swap(now);
    const int was = population;
    population = city.GetPopulation();
    Check(population >= 0 && population <= was, "population rose or fell below zero", population);
}

// The opening frames draw every picture at least once: each facing, throws that burst, a
// whole blast that leaves rubble in view, and both play areas. A picture finds its drawing
// shape at its first draw, and memory is compared from the end of the opening on.
const int OPENING_FRAMES = 122;
Controls OpeningControls(int frame)
{
    if (frame < 4)
        return Held({HELD[frame]}); // the four facings
    if (frame < 8)
        return Held({&Controls::fire});
    if (frame < OPENING_FRAMES - 3)
        return Held({&Controls::blast});
    if (frame == OPENING_FRAMES - 2)
        return Controls();                 // the switch key let go between two presses
    return Held({&Controls::switch_mode}); // to the wide area and back
}

// Frame buffers come from the heap, not from mappings of their own, so that the bytes in use
// do not depend on where glibc's adaptive threshold put each one. Windows' C heap has no such
// threshold.
void KeepBuffersOnTheHeap()
{
#ifndef _WIN32
    mallopt(M_MMAP_THRESHOLD, MAPPING_THRESHOLD);
#endif
}

// Bytes the program holds from the C heap.
size_t HeapInUse()
{
#ifdef _WIN32
    size_t used = 0;
    _HEAPINFO block = {};
    while (_heapwalk(&block) == _HEAPOK)
        if (block._useflag == _USEDENTRY)
            used += block._size;
    return used;
#else
    return mallinfo2().uordblks;
#endif
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::atol(argv[1]) < FIRST_KEPT_FRAME) {
        std::fprintf(stderr, "usage: %s FRAMES [SEED], FRAMES at least %d\n", argv[0],
                     FIRST_KEPT_FRAME);
        return 2;
    }
    KeepBuffersOnTheHeap();
    const long frames = std::atol(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1;
    std::mt19937 random(seed);
    SeedPlayRandom(seed);

    StartHeadlessAllegro();
    HeadlessScreen screen;
    _guard = new GuardedBuffer();
    cPlayPhase* play = new cPlayPhase(nullptr, {GuardedSetMode, [] {}});

    std::vector<int> cells;
    int population = play->city->GetPopulation();
    const int first_population = population;
    CheckCity(*play->city, cells, population);
    size_t kept_heap = 0;
    const auto start = std::chrono::steady_clock::now();

    Controls controls;
    for (_frame = 0; _frame < frames; ++_frame) {
        if (_frame < OPENING_FRAMES) {
            controls = OpeningControls(_frame);
        } else {
            for (Control held : HELD)
                if (random() % FLIP_CHANCE == 0)
                    controls.*held = !(controls.*held);
            controls.switch_mode = random() % SWITCH_CHANCE == 0;
        }
        // The last frame returns to the narrow area, so memory is compared in like modes.
        if (_frame == frames - 1)
            controls.switch_mode = cGraphics::GetMode() == cGraphics::WIDE_MODE;
        Check(play->Frame(controls), "the frame asked to stop", 0);

        CheckCity(*play->city, cells, population);
        const int energy = play->weapons.energy;
        Check(energy >= 0 && energy <= cWeapons::MAX_ENERGY, "energy out of range", energy);
        if (_frame % STRAY_CHECK_PERIOD == 0 || _frame == frames - 1)
            Check(_guard->StrayPixels() == 0, "drawing strayed outside the frame buffer",
                  _guard->StrayPixels());
        if (_frame + 1 == FIRST_KEPT_FRAME) {
            // Measured in the narrow area, as at the end.
            if (cGraphics::GetMode() == cGraphics::WIDE_MODE)
                play->SwitchMode();
            kept_heap = HeapInUse();
        }
    }
    const size_t end_heap = HeapInUse();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%ld frames in %.1f s (%.0f a second); population %d -> %d; heap in use %zu "
                "bytes after frame %d, %zu at the end\n",
                frames, seconds, frames / seconds, first_population, population, kept_heap,
                FIRST_KEPT_FRAME, end_heap);
    Check(end_heap == kept_heap, "heap in use changed",
          static_cast<long>(end_heap) - static_cast<long>(kept_heap));

    delete play;
    delete _guard;
    std::printf("PASS\n");
    return 0;
}
