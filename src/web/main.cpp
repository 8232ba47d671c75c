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
    game.SetClock(WebClock::Instance());
    game.AllowCatchUp(kMostStepsBetweenPictures, kMostFramesMadeUp);
    PublishAnimal(game.projectileKind);
    return game.OnExecute();
}
