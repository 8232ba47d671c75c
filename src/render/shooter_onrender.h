// The steps of drawing one frame, each handing its blits to the painter in drawing order.
#pragma once

#include "render/frame_painter.h"
#include "render/interface_set.h"

#include <SDL.h>

class Map;

// The pictures the field is drawn from; any may be null, and then draws nothing.
struct FieldPictures {
    SDL_Surface* blockTileset = nullptr;
    SDL_Surface* p1Cannon = nullptr;
    SDL_Surface* ball = nullptr;  // the pendulums' ball
};

namespace Render {

// The bottom layer of every frame.
void Background(FramePainter& painter, SDL_Surface* background);
// Blocks with their crack overlays, the cannon, the shots, the balls, in that order.
void Field(FramePainter& painter, Map& map, const FieldPictures& pictures);
// Every visible interface sprite in list order, over the field.
void Interface(FramePainter& painter, const InterfaceSet& interfaces);
// The crack overlay, 0 to 9, for a block with strength left of fullStrength: the less left,
// the higher.
int DamageFrame(float strength, float fullStrength);

}  // namespace Render
