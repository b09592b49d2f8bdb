#pragma once

// The title screen: a generated backdrop, the faerie's portrait, the logo and the two-entry
// menu, shown until Enter or Escape. Creates and releases its own images.
// Returns cTitleMenu::PLAY or cTitleMenu::QUIT.
int RunTitleScreen();
