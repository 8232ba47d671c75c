// The player's input: choosing the animal, slingshot aiming, firing, the second click.
#include "app/shooter.h"

#include "field/map.h"
#include "field/projectile.h"
#include "gameplay/firing_rules.h"
#include "render/bar_lights.h"

void Shooter::OnKeyDown(SDLKey sym, SDLMod /*mod*/, Uint16 /*unicode*/)
{
    switch (sym) {
    case SDLK_z:
        projectileKind = ProjectileKind::Pig;
        break;
    case SDLK_x:
        projectileKind = ProjectileKind::Cow;
        break;
    case SDLK_c:
        projectileKind = ProjectileKind::Sheep;
        break;
    default:
        break;
    }
    BarLights::Show(interfaces, projectileKind, aimState == AimState::WaitingForAction);
}

void Shooter::OnMouseMove(int32_t x, int32_t y, int32_t relX, int32_t relY, bool left, bool /*right*/,
                          bool /*middle*/)
{
    if (gameState != GameState::Playing || aimState != AimState::Aiming || !left) {
        return;
    }
    interfaces.SetPosition(Sprite::kAimPointer, x, y);
    // Like a slingshot: the force points away from the drag.
    aim += DragForce(static_cast<float>(relX), static_cast<float>(relY), aimScale);
}

void Shooter::OnLButtonDown(int32_t x, int32_t y)
{
    if (gameState == GameState::Playing) {
        if (aimState == AimState::Idle) {
            interfaces.SetPosition(Sprite::kAimOrigin, x, y);
            interfaces.SetVisible(Sprite::kAimOrigin, true);
            interfaces.SetPosition(Sprite::kAimPointer, x, y);
            interfaces.SetVisible(Sprite::kAimPointer, true);
            aimState = AimState::Aiming;
        } else if (aimState == AimState::WaitingForAction) {
            Rules::ProjectileAction(CurrentMap(), lastProjectile.get());
            aimState = AimState::Idle;
            BarLights::Show(interfaces, projectileKind, false);
        }
    }
    if (gameState == GameState::StartScreen) {
        if (interfaces.HitTest(x, y, Sprite::kStartButton)) {
            gameState = GameState::Playing;
            interfaces.SetVisible(Sprite::kStartButton, false);
            GenerateLevel();
        }
    }
}

void Shooter::OnLButtonUp(int32_t /*x*/, int32_t /*y*/)
{
    if (gameState != GameState::Playing || aimState != AimState::Aiming) {
        return;
    }
    lastProjectile = Rules::FireFromCannon(CurrentMap(), aim, projectileKind);
    interfaces.SetVisible(Sprite::kAimOrigin, false);
    interfaces.SetVisible(Sprite::kAimPointer, false);
    aim = b2Vec2(0.0f, 0.0f);
    // No shot, no second click to wait for: there was no cannon, or the shot would have appeared
    // on one fired in this same frame (Rules::Fire refuses that).
    const bool trick = projectileKind != ProjectileKind::Pig && lastProjectile != nullptr;
    aimState = trick ? AimState::WaitingForAction : AimState::Idle;
    BarLights::Show(interfaces, projectileKind, trick);
}
