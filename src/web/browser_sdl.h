// The browser's SDL, made to behave as the desktop's for the game.
#pragma once

namespace BrowserSdl {

// Called once before the first picture is loaded.
void HoldStreamSlot();

}  // namespace BrowserSdl
