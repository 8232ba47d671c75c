// One frame of the game's rules, as the Shooter runs them: the end of the game, then the frame's
// rules over the Map; each target they take away takes a cake off the bar.
#include "app/shooter.h"
#include "field/map.h"
#include "gameplay/frame_rules.h"
#include "render/bar_lights.h"

void Shooter::OnLoop()
{
    CheckGameOver();
    if (gameState == GameState::Playing || gameState == GameState::Ended) {
        const int32_t lost = Rules::RunFrame(CurrentMap(), timeStep, velocityIterations, positionIterations);
        for (int32_t i = 0; i < lost; ++i) {
            TargetLost();
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

void Shooter::TargetLost()
{
    targetsLeft -= 1;
    interfaces.RemoveCake();
}
