// The bottom bar's lit states, as interface sprites shown and hidden by the player's input.
#include "render/bar_lights.h"

#include "assets/asset_catalog.h"
#include "assets/cimage.h"
#include "field/projectile.h"
#include "render/interface_layout.h"

namespace BarLights {

namespace {

void AddLight(InterfaceSet& interfaces, const Asset::Bitmap& bitmap, Asset::BarSpot spot, SpriteName name)
{
    const Layout::ScreenPoint centre = Layout::BotBarLightCentre(bitmap, spot);
    SDL_Surface* picture = interfaces.Keep(CImage::LoadOwned(bitmap));
    interfaces.Add({centre.x, centre.y}, {bitmap.width, bitmap.height}, false, picture, name);
}

}  // namespace

void Add(InterfaceSet& interfaces)
{
    AddLight(interfaces, Asset::kLitPig, Asset::kLitPigSpot, Sprite::kLitPig);
    AddLight(interfaces, Asset::kLitCow, Asset::kLitCowSpot, Sprite::kLitCow);
    AddLight(interfaces, Asset::kLitSheep, Asset::kLitSheepSpot, Sprite::kLitSheep);
    AddLight(interfaces, Asset::kLitTrick, Asset::kLitTrickSpot, Sprite::kLitTrick);
}

void Show(InterfaceSet& interfaces, int32_t projectileKind, bool trickWaiting)
{
    interfaces.SetVisible(Sprite::kLitPig, projectileKind == ProjectileKind::Pig);
    interfaces.SetVisible(Sprite::kLitCow, projectileKind == ProjectileKind::Cow);
    interfaces.SetVisible(Sprite::kLitSheep, projectileKind == ProjectileKind::Sheep);
    interfaces.SetVisible(Sprite::kLitTrick, trickWaiting);
}

}  // namespace BarLights
