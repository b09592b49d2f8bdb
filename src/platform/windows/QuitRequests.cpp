#include "platform/QuitRequests.h"

#include <allegro.h>
// After allegro.h, which it needs.
#include <winalleg.h>

#include <atomic>

namespace {
std::atomic<bool> _requested(false);
std::atomic<int> _status(0);

// Runs on a thread the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    // What a console program ended by Ctrl+C reports, as cmd and PowerShell show it.
    _status = static_cast<int>(CONTROL_C_EXIT);
    _requested = true;
    // Once this returns from any other event the system ends the process at once, so the
    // thread waits here while the game shuts down; the game's exit ends it. The system
    // gives up waiting after a few seconds.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

// Runs on the library's window thread, before the library's own handling of the message.
int OnWindowMessage(HWND, UINT message, WPARAM, LPARAM, int* result)
{
    if (message != WM_QUERYENDSESSION)
        return 1; // not ours: the library goes on with it
    _requested = true;
    *result = TRUE; // the session may end; the game is ending too
    return 0;
}
} // namespace

void HoldQuitRequests()
{
    // Nothing of the library's stands in the way here: the handler only raises the flag,
    // which the frame loops read once they run.
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void CatchQuitRequests() { win_set_msg_pre_proc(OnWindowMessage); }

bool QuitRequested() { return _requested; }

int ExitStatus() { return _status; }
