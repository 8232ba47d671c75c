// The game's entry in a browser page: the same game, paced by the page's clock.
#include "app/shooter.h"
#include "web/browser_sdl.h"
#include "web/web_clock.h"

#include <emscripten.h>

namespace {

// The page lights its own animal buttons with the animal chosen (0 pig, 1 cow, 2 sheep).
EM_JS(void, PublishAnimal, (int kind), {
    Module.animal = kind;
    if (Module.onAnimal) {
        Module.onAnimal(kind);
    }
});

// What a test may ask for in the page's address: ?seed=N builds every level from seed N (0 to
// 4294967295) instead of the time, as the desktop tools do, and &hold holds the clock (see
// WebClock). A player's address has neither, and the page plays as always.
EM_JS(double, AskedSeed, (), {
    var text = String(new URLSearchParams(location.search).get('seed'));
    var seed = Number(text);
    var whole = String(seed) == text && Math.floor(seed) == seed && seed >= 0 && seed <= 4294967295;
    return whole ? seed : -1;
});
EM_JS(int, AskedToHold, (), { return new URLSearchParams(location.search).has('hold') ? 1 : 0; });

// The game, telling the page which animal is chosen whenever a key may have changed it.
class PageGame : public Shooter {
public:
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override
    {
        Shooter::OnKeyDown(sym, mod, unicode);
        PublishAnimal(projectileKind);
    }
};

// A slow device may take up to six steps between two pictures to keep the game's pace, so it
// draws at least a sixth as often as the game steps; a hiccup of up to half a second is
// made up over the next pictures. A tab back from the background, far further behind, forgets
// what it missed instead of rushing through it.
constexpr uint32_t kMostStepsBetweenPictures = 6;
constexpr uint32_t kMostFramesMadeUp = 50;

}  // namespace

int main()
{
    BrowserSdl::HoldStreamSlot();
    // The game lives as long as the page; its loop sleeps through the browser's timers.
    static PageGame game;
    const double seed = AskedSeed();
    if (seed >= 0) {
        game.SetLevelSeed(static_cast<unsigned>(seed));
    }
    if (AskedToHold() != 0) {
        WebClock::Instance().Hold();
    }
    game.SetClock(WebClock::Instance());
    game.AllowCatchUp(kMostStepsBetweenPictures, kMostFramesMadeUp);
    PublishAnimal(game.projectileKind);
    return game.OnExecute();
}
