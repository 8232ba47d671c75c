// Interface sprites (bars, markers, cake icons, start button, end picture) found by name.
#pragma once

#include "assets/owned_surface.h"
#include "render/sprite_names.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One sprite, placed in screen pixels by its centre. It does not own its surface: the set
// keeps the pictures its sprites show.
struct ObjInterface {
    std::pair<int32_t, int32_t> pos;  // the anchor point on screen: the sprite's centre
    std::pair<int32_t, int32_t> tam;  // width, height
    std::pair<int32_t, int32_t> anc;  // offset from the top-left corner to pos: tam / 2
    std::string name;
    bool visible = false;
    SDL_Surface* surface = nullptr;  // may be null: then nothing is drawn

    ObjInterface(std::pair<int32_t, int32_t> pos, std::pair<int32_t, int32_t> tam, bool visible,
                 SDL_Surface* surface, SpriteName name);
};

// The ordered list of sprites; list order is drawing order. Names need not be unique: every
// lookup acts on the first record with the name.
class InterfaceSet {
public:
    void Add(std::pair<int32_t, int32_t> pos, std::pair<int32_t, int32_t> tam, bool visible,
             SDL_Surface* surface, SpriteName name);
    void Remove(SpriteName name);
    ObjInterface* Find(SpriteName name);
    bool SetPosition(SpriteName name, int32_t x, int32_t y);
    bool SetVisible(SpriteName name, bool visible);
    // Edges count: the tested area is one pixel wider and taller than the sprite. Hidden
    // sprites still answer.
    bool HitTest(int32_t x, int32_t y, SpriteName name);
    // One "cake" icon per target still standing, 60 pixels apart from the left.
    void AddCakes(int32_t count, SDL_Surface* surface);
    // The leftmost icon goes; the others stay where they are.
    void RemoveCake();

    // Takes a picture into the set's keeping and returns it for Add and AddCakes, which may
    // show it on any number of sprites; the set frees each picture it keeps once.
    SDL_Surface* Keep(OwnedSurface picture);
    // Frees the kept pictures in the order they were kept; every sprite then shows nothing.
    void ReleasePictures();

    size_t Size() const;
    ObjInterface& operator[](size_t index);
    const ObjInterface& operator[](size_t index) const;

private:
    std::vector<ObjInterface> objects;
    std::vector<OwnedSurface> pictures;
};
