#include "game/CloseButton.h"
#include "game/Gamepad.h"
#include "game/MediaFolder.h"
#include "game/PlayLoop.h"
#include "game/TitleScreen.h"
#include "game/cTitleMenu.h"
#include "graphics/cGraphics.h"
#include "platform/DisplayLoss.h"
#include "platform/QuitRequests.h"
#include "platform/Startup.h"
#include "sound/Music.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main()
{
    EnterMediaFolder();
    PrepareForLibrary();
    HoldQuitRequests();
    if (allegro_init() != 0) {
        // Without a display every later library call would crash.
        std::fprintf(stderr, "emberwing: needs a graphical display, but the library said: %s\n",
                     allegro_error[0] ? allegro_error : "no system driver could start");
        return 1;
    }
    EndOnDisplayLoss();
    install_keyboard();
    StartGamepad();
    StartSound();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    set_color_depth(16);
    cGraphics::Initialize(cGraphics::NARROW_MODE);
    set_window_title("Emberwing");
    WatchCloseButton();
    CatchQuitRequests();
    MIDI* music = StartMusic();

    if (RunTitleScreen() == cTitleMenu::QUIT) {
        cGraphics::UnloadModule();
        stop_midi();
        destroy_midi(music);
        return ExitStatus();
    }
    RunPlayPhase(music);
    return ExitStatus();
}
END_OF_MAIN()
