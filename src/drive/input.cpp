// A player's input, built as SDL builds its events.
#include "drive/input.h"

namespace Drive {

SDL_Event ButtonEvent(Uint8 type, Uint8 button, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    event.button.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    return event;
}

SDL_Event MotionEvent(int x, int y, int relX, int relY, Uint8 buttons)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.state = buttons;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    event.motion.xrel = static_cast<Sint16>(relX);
    event.motion.yrel = static_cast<Sint16>(relY);
    return event;
}

SDL_Event KeyEvent(Uint8 type, SDLKey sym, SDLMod mod, Uint16 unicode)
{
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    event.key.keysym.unicode = unicode;
    return event;
}

bool Input::Send(SDL_Event event) const
{
    if (handler != nullptr) {
        handler->OnEvent(&event);
        return true;
    }
    return SDL_PushEvent(&event) == 0;
}

bool Input::Button(Uint8 type, Uint8 button, int x, int y) const
{
    return Send(ButtonEvent(type, button, x, y));
}

bool Input::Motion(int x, int y, int relX, int relY, Uint8 buttons) const
{
    return Send(MotionEvent(x, y, relX, relY, buttons));
}

bool Input::Key(SDLKey sym) const
{
    return Send(KeyEvent(SDL_KEYDOWN, sym));
}

bool Input::Click(int x, int y) const
{
    return Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y) &&
           Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x, y);
}

bool Input::Quit() const
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    return Send(event);
}

bool Input::Drag(int x, int y, int dx, int dy, int steps) const
{
    int atX = x;
    int atY = y;
    for (int step = 1; step <= steps; ++step) {
        const int nextX = x + dx * step / steps;
        const int nextY = y + dy * step / steps;
        if (!Motion(nextX, nextY, nextX - atX, nextY - atY, SDL_BUTTON_LMASK)) {
            return false;
        }
        atX = nextX;
        atY = nextY;
    }
    return true;
}

bool Input::Shoot(int x, int y, int dx, int dy, int steps) const
{
    return Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y) && Drag(x, y, dx, dy, steps) &&
           Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x + dx, y + dy);
}

}  // namespace Drive
