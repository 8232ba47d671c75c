// The game's entry in a browser page: the same game, paced by the page's clock.
#include "app/shooter.h"
#include "web/browser_sdl.h"
#include "web/web_clock.h"

int main()
{
    BrowserSdl::HoldStreamSlot();
    // The game lives as long as the page; its loop sleeps through the browser's timers.
    static Shooter game;
    game.SetClock(WebClock::Instance());
    return game.OnExecute();
}
