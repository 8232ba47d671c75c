// Drawing one frame: background, the field, the interface sprites on top. The steps collect the
// blits of a full redraw; the painter puts on the window what changed.
#include "render/shooter_onrender.h"

#include "assets/asset_catalog.h"
#include "field/map.h"
#include "field/projectile.h"
#include "render/screen_mapping.h"

namespace {

constexpr int32_t kTileSize = Asset::kTileSize;  // pixels, tiles and overlays alike

}  // namespace

void Render::Background(FramePainter& painter, SDL_Surface* background)
{
    painter.Draw(background, 0, 0);
}

void Render::Field(FramePainter& painter, Map& map, const FieldPictures& pictures)
{
    for (unsigned i = 0; i < map.BlockCount(); ++i) {
        const Block& block = map.GetBlock(i);
        const int32_t left = WorldToScreen(block.x, block.halfSize);
        const int32_t top = WorldToScreen(block.y, block.halfSize);
        if (block.body != nullptr) {
            painter.DrawPart(pictures.blockTileset, left, top, block.tileX, block.tileY, kTileSize,
                             kTileSize);
        }
        if (block.fullStrength > block.strength) {
            painter.DrawPart(pictures.blockTileset, left, top,
                             DamageFrame(block.strength, block.fullStrength) * kTileSize,
                             Asset::kDamageOverlayRow, kTileSize, kTileSize);
        }
    }

    if (const Cannon* cannon = map.GetCannon()) {
        painter.Draw(pictures.p1Cannon, WorldToScreen(cannon->x, cannon->halfSize),
                     WorldToScreen(cannon->y, cannon->halfSize));
    }

    for (unsigned i = 0; i < map.ProjectileCount(); ++i) {
        const Projectile& projectile = map.GetProjectile(i);
        if (projectile.body != nullptr) {
            painter.Draw(projectile.sprite, WorldToScreen(projectile.x, projectile.size),
                         WorldToScreen(projectile.y, projectile.size));
        }
    }

    for (unsigned i = 0; i < map.BallCount(); ++i) {
        const Ball& ball = map.GetBall(i);
        if (ball.body != nullptr) {
            painter.Draw(pictures.ball, WorldToScreen(ball.x, ball.radius),
                         WorldToScreen(ball.y, ball.radius));
        }
    }
}

void Render::Interface(FramePainter& painter, const InterfaceSet& interfaces)
{
    for (size_t i = 0; i < interfaces.Size(); ++i) {
        const ObjInterface& object = interfaces[i];
        if (object.visible) {
            painter.Draw(object.surface, object.pos.first - object.anc.first,
                         object.pos.second - object.anc.second);
        }
    }
}

int Render::DamageFrame(float strength, float fullStrength)
{
    // The ratio is rounded to single precision before it meets the double thresholds, so
    // 1/10 and 8/10 land just above 0.1 and 0.8, and 7/10 just below 0.7.
    const float ratio = strength / fullStrength;
    const double wide = static_cast<double>(ratio);
    constexpr double kThresholds[] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    for (int i = 0; i < 9; ++i) {
        if (wide <= kThresholds[i]) {
            return 9 - i;
        }
    }
    return 0;
}
