// The interface sprites that exist from start-up on.
#include "app/cimage.h"
#include "app/shooter.h"
#include "assets/asset_catalog.h"

#include <string>
#include <utility>

namespace {

// Adds a sprite whose size is its bitmap's.
void AddPicture(InterfaceSet& interfaces, std::pair<int32_t, int32_t> pos, const Asset::Bitmap& bitmap,
                bool visible, std::string name)
{
    interfaces.Add(pos, {bitmap.width, bitmap.height}, visible, CImage::Load(bitmap.path), std::move(name));
}

}  // namespace

void Shooter::CreateInterface()
{
    AddPicture(interfaces, {500, 32}, Asset::kTopBar, true, "top_bar");
    AddPicture(interfaces, {500, 634}, Asset::kBotBar, true, "bot_bar");
    // The aiming markers: the drag's origin and the pointer.
    AddPicture(interfaces, {0, 0}, Asset::kTarget1Interface, false, "target1");
    AddPicture(interfaces, {0, 0}, Asset::kTarget2Interface, false, "target2");
    // One picture shared by every cake icon.
    interfaces.AddCakes(targetsLeft, CImage::Load(Asset::kCake.path));
    AddPicture(interfaces, {500, 216}, Asset::kStartButton, true, "start_button");
    AddPicture(interfaces, {500, 216}, Asset::kEndPicture, false, "end");
}
