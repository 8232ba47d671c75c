// The interface sprites that exist from start-up on.
#pragma once

#include "render/interface_set.h"

#include <cstdint>

namespace Render {

// Bars, aiming markers, one cake icon per cake, start button and end picture, in drawing order.
void CreateInterface(InterfaceSet& interfaces, int32_t cakes);

}  // namespace Render
