#include "platform/QuitRequests.h"

#include <atomic>
#include <csignal>
#include <pthread.h>

namespace {
const int QUIT_SIGNALS[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

std::atomic<int> _quit_signal(0);
sigset_t _ignored_at_start;

void OnQuitSignal(int signal_number) { _quit_signal = signal_number; }

sigset_t QuitSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal_number : QUIT_SIGNALS)
        sigaddset(&set, signal_number);
    return set;
}
} // namespace

void HoldQuitRequests()
{
    sigemptyset(&_ignored_at_start);
    for (int signal_number : QUIT_SIGNALS) {
        struct sigaction inherited;
        if (sigaction(signal_number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            sigaddset(&_ignored_at_start, signal_number);
    }
    const sigset_t held = QuitSignalSet();
    pthread_sigmask(SIG_BLOCK, &held, nullptr);
}

void CatchQuitRequests()
{
    for (int signal_number : QUIT_SIGNALS) {
        struct sigaction action = {};
        action.sa_handler = sigismember(&_ignored_at_start, signal_number) ? SIG_IGN : OnQuitSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        sigaction(signal_number, &action, nullptr);
    }
    const sigset_t held = QuitSignalSet();
    pthread_sigmask(SIG_UNBLOCK, &held, nullptr);
}

bool QuitRequested() { return _quit_signal != 0; }

// As a shell reports a program that a signal ended.
int ExitStatus() { return _quit_signal ? 128 + _quit_signal : 0; }
