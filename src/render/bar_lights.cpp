// The bottom bar's lit states, as interface sprites shown and hidden by the player's input.
#include "render/bar_lights.h"

#include "app/cimage.h"
#include "assets/asset_catalog.h"
#include "gameplay/projectile.h"
#include "render/interface_layout.h"

namespace BarLights {

namespace {

void AddLight(InterfaceSet& interfaces, const Asset::Bitmap& bitmap, Asset::BarSpot spot, const char* name)
{
    const Layout::ScreenPoint centre = Layout::BotBarLightCentre(bitmap, spot);
    SDL_Surface* picture = interfaces.Keep(CImage::LoadOwned(bitmap));
    interfaces.Add({centre.x, centre.y}, {bitmap.width, bitmap.height}, false, picture, name);
}

}  // namespace

void Add(InterfaceSet& interfaces)
{
    AddLight(interfaces, Asset::kLitPig, Asset::kLitPigSpot, kPig);
    AddLight(interfaces, Asset::kLitCow, Asset::kLitCowSpot, kCow);
    AddLight(interfaces, Asset::kLitSheep, Asset::kLitSheepSpot, kSheep);
    AddLight(interfaces, Asset::kLitTrick, Asset::kLitTrickSpot, kTrick);
}

void Show(InterfaceSet& interfaces, int32_t projectileKind, bool trickWaiting)
{
    interfaces.SetVisible(kPig, projectileKind == ProjectileKind::Pig);
    interfaces.SetVisible(kCow, projectileKind == ProjectileKind::Cow);
    interfaces.SetVisible(kSheep, projectileKind == ProjectileKind::Sheep);
    interfaces.SetVisible(kTrick, trickWaiting);
}

}  // namespace BarLights
