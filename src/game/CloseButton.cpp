#include "game/CloseButton.h"

#include <allegro.h>

#include <atomic>

namespace {
std::atomic<bool> _close_pressed(false);

void OnCloseButton() { _close_pressed = true; }
} // namespace

void WatchCloseButton() { set_close_button_callback(OnCloseButton); }

bool CloseButtonPressed() { return _close_pressed; }
