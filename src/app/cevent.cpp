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

}  // namespace

CEvent::CEvent() = default;

CEvent::~CEvent() = default;

void CEvent::OnEvent(SDL_Event* event)
{
    switch (event->type) {
    case SDL_ACTIVEEVENT:
        // One flag at a time; a combination of flags reaches no handler.
        switch (event->active.state) {
        case SDL_APPMOUSEFOCUS:
            if (event->active.gain) {
                OnMouseFocus();
            } else {
                OnMouseBlur();
            }
            break;
        case SDL_APPINPUTFOCUS:
            if (event->active.gain) {
                OnInputFocus();
            } else {
                OnInputBlur();
            }
            break;
        case SDL_APPACTIVE:
            if (event->active.gain) {
                OnRestore();
            } else {
                OnMinimize();
            }
            break;
        default:
            break;
        }
        break;

    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // Keys SDL does not know reach no handler.
        SDLKey sym = SDLK_UNKNOWN;
        SDLMod mod = KMOD_NONE;
        if (ReadKey(event->key.keysym, sym, mod)) {
            if (event->type == SDL_KEYDOWN) {
                OnKeyDown(sym, mod, event->key.keysym.unicode);
            } else {
                OnKeyUp(sym, mod, event->key.keysym.unicode);
            }
        }
        break;
    }

    case SDL_MOUSEMOTION: {
        const Uint8 buttons = event->motion.state;
        // Handler order is left, right, middle; the mask bits are left 1, middle 2, right 4.
        OnMouseMove(event->motion.x, event->motion.y, event->motion.xrel, event->motion.yrel,
                    (buttons & SDL_BUTTON_LMASK) != 0, (buttons & SDL_BUTTON_RMASK) != 0,
                    (buttons & SDL_BUTTON_MMASK) != 0);
        break;
    }

    case SDL_MOUSEBUTTONDOWN:
        switch (event->button.button) {
        case SDL_BUTTON_LEFT:
            OnLButtonDown(event->button.x, event->button.y);
            break;
        case SDL_BUTTON_RIGHT:
            OnRButtonDown(event->button.x, event->button.y);
            break;
        case SDL_BUTTON_MIDDLE:
            OnMButtonDown(event->button.x, event->button.y);
            break;
        default:  // the wheel (4, 5) and extra buttons
            break;
        }
        break;

    case SDL_MOUSEBUTTONUP:
        switch (event->button.button) {
        case SDL_BUTTON_LEFT:
            OnLButtonUp(event->button.x, event->button.y);
            break;
        case SDL_BUTTON_RIGHT:
            OnRButtonUp(event->button.x, event->button.y);
            break;
        case SDL_BUTTON_MIDDLE:
            OnMButtonUp(event->button.x, event->button.y);
            break;
        default:
            break;
        }
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
        // Joystick events, reserved codes and user events all arrive here, read as user events.
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
