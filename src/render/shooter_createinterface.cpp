// The interface sprites that exist from start-up on.
#include "render/shooter_createinterface.h"

#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "render/bar_lights.h"
#include "render/interface_layout.h"

#include <string>
#include <utility>

namespace {

// Adds a sprite whose size is its bitmap's.
void AddPicture(InterfaceSet& interfaces, Layout::ScreenPoint centre, const Asset::Bitmap& bitmap,
                bool visible, SpriteName name)
{
    SDL_Surface* picture = interfaces.Keep(CImage::LoadOwned(bitmap));
    interfaces.Add({centre.x, centre.y}, {bitmap.width, bitmap.height}, visible, picture, name);
}

}  // namespace

void Render::CreateInterface(InterfaceSet& interfaces, int32_t cakes)
{
    AddPicture(interfaces, Layout::kTopBarCentre, Asset::kTopBar, true, Sprite::kTopBar);
    AddPicture(interfaces, Layout::kBotBarCentre, Asset::kBotBar, true, Sprite::kBotBar);
    BarLights::Add(interfaces);
    // The aiming markers: the drag's origin and the pointer.
    AddPicture(interfaces, {0, 0}, Asset::kTarget1Interface, false, Sprite::kAimOrigin);
    AddPicture(interfaces, {0, 0}, Asset::kTarget2Interface, false, Sprite::kAimPointer);
    // One picture shared by every cake icon.
    interfaces.AddCakes(cakes, interfaces.Keep(CImage::LoadOwned(Asset::kCake)));
    AddPicture(interfaces, Layout::kStartButtonCentre, Asset::kStartButton, true, Sprite::kStartButton);
    AddPicture(interfaces, Layout::kStartButtonCentre, Asset::kEndPicture, false, Sprite::kEnd);
}
