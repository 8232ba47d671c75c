// Turns one SDL event into one call of a virtual handler with the event's fields unpacked.
#pragma once

#include <SDL.h>

#include <cstdint>

class CEvent {
public:
    CEvent();
    virtual ~CEvent();

    // The dispatcher: calls at most one handler for the event; keeps nothing.
    virtual void OnEvent(SDL_Event* event);

    virtual void OnInputFocus();
    virtual void OnInputBlur();
    virtual void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode);
    virtual void OnKeyUp(SDLKey sym, SDLMod mod, Uint16 unicode);
    virtual void OnMouseFocus();
    virtual void OnMouseBlur();
    virtual void OnMouseMove(int32_t x, int32_t y, int32_t relX, int32_t relY, bool left, bool right,
                             bool middle);
    // Kept for the handler layout; no event reaches it.
    virtual void OnMouseSpare(int32_t a, int32_t b);
    virtual void OnLButtonDown(int32_t x, int32_t y);
    virtual void OnLButtonUp(int32_t x, int32_t y);
    virtual void OnRButtonDown(int32_t x, int32_t y);
    virtual void OnRButtonUp(int32_t x, int32_t y);
    virtual void OnMButtonDown(int32_t x, int32_t y);
    virtual void OnMButtonUp(int32_t x, int32_t y);
    virtual void OnMinimize();
    virtual void OnRestore();
    virtual void OnResize(int32_t w, int32_t h);
    virtual void OnExpose();
    virtual void OnExit();
    virtual void OnUser(Uint8 type, int32_t code, void* data1, void* data2);
};
