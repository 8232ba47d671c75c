// One frame of the game's rules, as the Shooter runs them: the end of the game, then the frame's
// rules over the current Map; each target they take away scores.
#include "app/shooter.h"
#include "field/map.h"
#include "gameplay/frame_rules.h"
#include "render/bar_lights.h"

namespace {

constexpr int32_t kTargetPoints = 5;  // score for each target lost

}  // namespace

void Shooter::OnLoop()
{
    CheckGameOver();
    if (gameState == GameState::Playing || gameState == GameState::Ended) {
        const int32_t lost = Rules::RunFrame(CurrentMap(), timeStep, velocityIterations, positionIterations);
        for (int32_t i = 0; i < lost; ++i) {
            TargetLost(kTargetPoints);
        }
    }
}

void Shooter::CheckGameOver()
{
    if (gameState == GameState::Playing) {
        if (targetsLeft <= 0) {
            gameState = GameState::Ended;
            // No click plays a trick after the win: its light on the bar goes out with it, while
            // the chosen animal's key stays lit.
            if (aimState == AimState::WaitingForAction) {
                aimState = AimState::Idle;
            }
            BarLights::Show(interfaces, projectileKind, false);
        }
    } else if (gameState == GameState::Ended) {
        interfaces.SetVisible(Sprite::kEnd, true);
    }
}

void Shooter::StepPhysics()
{
    Rules::StepPhysics(CurrentMap(), timeStep, velocityIterations, positionIterations);
}

void Shooter::UpdateMap()
{
    Rules::UpdateMap(CurrentMap());
}

void Shooter::ApplyContactDamage()
{
    Rules::ApplyContactDamage(CurrentMap());
}

void Shooter::RemoveDestroyed()
{
    for (int32_t lost = Rules::RemoveDestroyed(CurrentMap()); lost > 0; --lost) {
        TargetLost(kTargetPoints);
    }
}

void Shooter::TargetLost(int32_t points)
{
    score += points;
    targetsLeft -= 1;
    interfaces.RemoveCake();
}
