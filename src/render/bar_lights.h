// The bottom bar's lit states: the key of the animal the next shot fires, and the trick's words
// while a cow's or a sheep's trick waits for its click.
#pragma once

#include "render/interface_set.h"

#include <cstdint>

namespace BarLights {

// Adds the four lit sprites, all hidden; call right after the bottom bar, so they lie over it and
// under everything else.
void Add(InterfaceSet& interfaces);
// Lights the key of the given projectile kind (none for a kind the keys do not choose) and the
// trick's words when a trick waits.
void Show(InterfaceSet& interfaces, int32_t projectileKind, bool trickWaiting);

}  // namespace BarLights
