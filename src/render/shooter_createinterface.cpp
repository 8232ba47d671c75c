// The interface sprites that exist from start-up on.
#include "app/cimage.h"
#include "app/shooter.h"
#include "assets/asset_catalog.h"
#include "render/bar_lights.h"
#include "render/interface_layout.h"

#include <string>
#include <utility>

namespace {

// Adds a sprite whose size is its bitmap's.
void AddPicture(InterfaceSet& interfaces, Layout::ScreenPoint centre, const Asset::Bitmap& bitmap,
                bool visible, std::string name)
{
    SDL_Surface* picture = interfaces.Keep(CImage::LoadOwned(bitmap));
    interfaces.Add({centre.x, centre.y}, {bitmap.width, bitmap.height}, visible, picture, std::move(name));
}

}  // namespace

void Shooter::CreateInterface()
{
    AddPicture(interfaces, Layout::kTopBarCentre, Asset::kTopBar, true, "top_bar");
    AddPicture(interfaces, Layout::kBotBarCentre, Asset::kBotBar, true, "bot_bar");
    BarLights::Add(interfaces);
    BarLights::Show(interfaces, projectileKind, aimState == AimState::WaitingForAction);
    // The aiming markers: the drag's origin and the pointer.
    AddPicture(interfaces, {0, 0}, Asset::kTarget1Interface, false, "target1");
    AddPicture(interfaces, {0, 0}, Asset::kTarget2Interface, false, "target2");
    // One picture shared by every cake icon.
    interfaces.AddCakes(targetsLeft, interfaces.Keep(CImage::LoadOwned(Asset::kCake)));
    AddPicture(interfaces, Layout::kStartButtonCentre, Asset::kStartButton, true, "start_button");
    AddPicture(interfaces, Layout::kStartButtonCentre, Asset::kEndPicture, false, "end");
}
