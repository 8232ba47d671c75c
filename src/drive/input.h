// A player's input for tests, tools and benchmarks: SDL events as SDL delivers them, pushed into
// SDL's queue for the next frame or handed straight to the game's handlers.
#pragma once

#include "app/cevent.h"

#include <SDL.h>

namespace Drive {

SDL_Event ButtonEvent(Uint8 type, Uint8 button, int x, int y);
SDL_Event MotionEvent(int x, int y, int relX, int relY, Uint8 buttons);
SDL_Event KeyEvent(Uint8 type, SDLKey sym, SDLMod mod = KMOD_NONE, Uint16 unicode = 0);

// Positions are window pixels. Every operation returns false when SDL's queue refused an event;
// the events after a refused one are not sent.
class Input {
public:
    // Into SDL's queue, where the next frame handles them as it handles a player's.
    Input() = default;
    // Straight to the handler, at once, without a frame.
    explicit Input(CEvent& handler) : handler(&handler) {}

    bool Send(SDL_Event event) const;
    bool Button(Uint8 type, Uint8 button, int x, int y) const;
    bool Motion(int x, int y, int relX, int relY, Uint8 buttons) const;
    bool Key(SDLKey sym) const;      // a press
    bool Click(int x, int y) const;  // left press and release
    bool Quit() const;

    // With the left button held, from (x, y) by (dx, dy) in `steps` motion events that share
    // the distance as evenly as whole pixels allow.
    bool Drag(int x, int y, int dx, int dy, int steps = 1) const;
    // A slingshot shot: the left button pressed at (x, y), dragged by (dx, dy), released there.
    bool Shoot(int x, int y, int dx, int dy, int steps = 1) const;

private:
    CEvent* handler = nullptr;
};

}  // namespace Drive
