// Event routing: which SDL event reaches which handler, and with which arguments.
#include "app/cevent.h"

#include <cstring>
#include <type_traits>

namespace {

#ifdef __EMSCRIPTEN__
// The browser's SDL: key codes are plain 32-bit integers, any value among them.
bool ReadKey(const SDL_keysym& keysym, SDLKey& sym, SDLMod& mod)
{
    sym = keysym.sym;
    mod = static_cast<SDLMod>(keysym.mod);
    return true;
}
#else
using RawKey = std::underlying_type_t<SDLKey>;
using RawMod = std::underlying_type_t<SDLMod>;

// The key code and modifiers of a key event, read as plain integers first: the queue may carry
// any value (a foreign key code, a synthetic event), and one outside SDL's enumerations must
// never be loaded as an enumerator. False for a key code outside SDL's key range; modifiers
// keep SDL's 16 bits.
bool ReadKey(const SDL_keysym& keysym, SDLKey& sym, SDLMod& mod)
{
    RawKey rawSym = 0;
    RawMod rawMod = 0;
    static_assert(sizeof(rawSym) == sizeof(keysym.sym) && sizeof(rawMod) == sizeof(keysym.mod));
    std::memcpy(&rawSym, &keysym.sym, sizeof(rawSym));
    std::memcpy(&rawMod, &keysym.mod, sizeof(rawMod));
    if (rawSym < static_cast<RawKey>(SDLK_FIRST) || rawSym >= static_cast<RawKey>(SDLK_LAST)) {
        return false;
    }
    sym = static_cast<SDLKey>(rawSym);
    mod = static_cast<SDLMod>(rawMod & 0xFFFFu);
    return true;
}
#endif

// Focus, visibility: one flag at a time; a combination of flags reaches no handler.
void Active(CEvent& handler, const SDL_ActiveEvent& active)
{
    const bool gain = active.gain != 0;
    switch (active.state) {
    case SDL_APPMOUSEFOCUS:
        gain ? handler.OnMouseFocus() : handler.OnMouseBlur();
        break;
    case SDL_APPINPUTFOCUS:
        gain ? handler.OnInputFocus() : handler.OnInputBlur();
        break;
    case SDL_APPACTIVE:
        gain ? handler.OnRestore() : handler.OnMinimize();
        break;
    default:
        break;
    }
}

// Keys SDL does not know reach no handler.
void Key(CEvent& handler, bool down, const SDL_keysym& keysym)
{
    SDLKey sym = SDLK_UNKNOWN;
    SDLMod mod = KMOD_NONE;
    if (!ReadKey(keysym, sym, mod)) {
        return;
    }
    if (down) {
        handler.OnKeyDown(sym, mod, keysym.unicode);
    } else {
        handler.OnKeyUp(sym, mod, keysym.unicode);
    }
}

void Motion(CEvent& handler, const SDL_MouseMotionEvent& motion)
{
    const Uint8 buttons = motion.state;
    // Handler order is left, right, middle; the mask bits are left 1, middle 2, right 4.
    handler.OnMouseMove(motion.x, motion.y, motion.xrel, motion.yrel, (buttons & SDL_BUTTON_LMASK) != 0,
                        (buttons & SDL_BUTTON_RMASK) != 0, (buttons & SDL_BUTTON_MMASK) != 0);
}

// The left, right and middle buttons; the wheel (4, 5) and extra buttons reach no handler.
void Button(CEvent& handler, const SDL_MouseButtonEvent& button)
{
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        down ? handler.OnLButtonDown(button.x, button.y) : handler.OnLButtonUp(button.x, button.y);
        break;
    case SDL_BUTTON_RIGHT:
        down ? handler.OnRButtonDown(button.x, button.y) : handler.OnRButtonUp(button.x, button.y);
        break;
    case SDL_BUTTON_MIDDLE:
        down ? handler.OnMButtonDown(button.x, button.y) : handler.OnMButtonUp(button.x, button.y);
        break;
    default:
        break;
    }
}

}  // namespace

CEvent::CEvent() = default;

CEvent::~CEvent() = default;

void CEvent::OnEvent(SDL_Event* event)
{
    switch (event->type) {
    case SDL_ACTIVEEVENT:
        Active(*this, event->active);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        Key(*this, event->type == SDL_KEYDOWN, event->key.keysym);
        break;
    case SDL_MOUSEMOTION:
        Motion(*this, event->motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Button(*this, event->button);
        break;
    case SDL_QUIT:
        OnExit();
        break;
    case SDL_SYSWMEVENT:
        break;
    case SDL_VIDEORESIZE:
        OnResize(event->resize.w, event->resize.h);
        break;
    case SDL_VIDEOEXPOSE:
        OnExpose();
        break;
    default:
        // Every other type (user events, reserved codes, a joystick event pushed by hand) arrives
        // here, read as a user event.
        OnUser(event->type, event->user.code, event->user.data1, event->user.data2);
        break;
    }
}

void CEvent::OnInputFocus() {}
void CEvent::OnInputBlur() {}
void CEvent::OnKeyDown(SDLKey, SDLMod, Uint16) {}
void CEvent::OnKeyUp(SDLKey, SDLMod, Uint16) {}
void CEvent::OnMouseFocus() {}
void CEvent::OnMouseBlur() {}
void CEvent::OnMouseMove(int32_t, int32_t, int32_t, int32_t, bool, bool, bool) {}
void CEvent::OnMouseSpare(int32_t, int32_t) {}
void CEvent::OnLButtonDown(int32_t, int32_t) {}
void CEvent::OnLButtonUp(int32_t, int32_t) {}
void CEvent::OnRButtonDown(int32_t, int32_t) {}
void CEvent::OnRButtonUp(int32_t, int32_t) {}
void CEvent::OnMButtonDown(int32_t, int32_t) {}
void CEvent::OnMButtonUp(int32_t, int32_t) {}
void CEvent::OnMinimize() {}
void CEvent::OnRestore() {}
void CEvent::OnResize(int32_t, int32_t) {}
void CEvent::OnExpose() {}
void CEvent::OnExit() {}
void CEvent::OnUser(Uint8, int32_t, void*, void*) {}
