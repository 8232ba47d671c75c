// The interface sprite list.
#include "render/interface_set.h"

#include "assets/asset_catalog.h"
#include "assets/cimage.h"

#include <algorithm>

namespace {

constexpr int32_t kCakeSpacing = 60;               // pixels between the left edges of two cake icons
constexpr int32_t kCakeSize = Asset::kCake.width;  // pixels, square

}  // namespace

ObjInterface::ObjInterface(std::pair<int32_t, int32_t> pos, std::pair<int32_t, int32_t> tam, bool visible,
                           SDL_Surface* surface, SpriteName name)
    : pos(pos), tam(tam), anc(tam.first / 2, tam.second / 2), name(name.Text()), visible(visible),
      surface(surface)
{
    CImage::SetTransparent(surface, Asset::kColourKey.r, Asset::kColourKey.g, Asset::kColourKey.b);
}

void InterfaceSet::Add(std::pair<int32_t, int32_t> pos, std::pair<int32_t, int32_t> tam, bool visible,
                       SDL_Surface* surface, SpriteName name)
{
    objects.emplace_back(pos, tam, visible, surface, name);
}

void InterfaceSet::Remove(SpriteName name)
{
    auto found = std::find_if(objects.begin(), objects.end(),
                              [name](const ObjInterface& object) { return object.name == name.Text(); });
    if (found != objects.end()) {
        objects.erase(found);
    }
}

ObjInterface* InterfaceSet::Find(SpriteName name)
{
    for (ObjInterface& object : objects) {
        if (object.name == name.Text()) {
            return &object;
        }
    }
    return nullptr;
}

bool InterfaceSet::SetPosition(SpriteName name, int32_t x, int32_t y)
{
    ObjInterface* object = Find(name);
    if (object == nullptr) {
        return false;
    }
    object->pos = {x, y};
    return true;
}

bool InterfaceSet::SetVisible(SpriteName name, bool visible)
{
    ObjInterface* object = Find(name);
    if (object == nullptr) {
        return false;
    }
    object->visible = visible;
    return true;
}

bool InterfaceSet::HitTest(int32_t x, int32_t y, SpriteName name)
{
    const ObjInterface* object = Find(name);
    if (object == nullptr) {
        return false;
    }
    const int32_t left = object->pos.first - object->anc.first;
    const int32_t top = object->pos.second - object->anc.second;
    return left <= x && x <= left + object->tam.first && top <= y && y <= top + object->tam.second;
}

void InterfaceSet::AddCakes(int32_t count, SDL_Surface* surface)
{
    for (int32_t i = 0; i < count; ++i) {
        Add({i * kCakeSpacing + kCakeSize / 2, kCakeSize / 2}, {kCakeSize, kCakeSize}, true, surface,
            Sprite::kCake);
    }
}

void InterfaceSet::RemoveCake()
{
    Remove(Sprite::kCake);
}

SDL_Surface* InterfaceSet::Keep(OwnedSurface picture)
{
    pictures.push_back(std::move(picture));
    return pictures.back().get();
}

void InterfaceSet::ReleasePictures()
{
    for (ObjInterface& object : objects) {
        object.surface = nullptr;
    }
    for (OwnedSurface& picture : pictures) {
        picture.reset();
    }
    pictures.clear();
}

size_t InterfaceSet::Size() const
{
    return objects.size();
}

ObjInterface& InterfaceSet::operator[](size_t index)
{
    return objects[index];
}

const ObjInterface& InterfaceSet::operator[](size_t index) const
{
    return objects[index];
}
