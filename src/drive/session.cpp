#include "drive/session.h"

#include "field/level_generator.h"
#include "field/tuning.h"
#include "gameplay/firing_rules.h"
#include "gameplay/frame_rules.h"
#include "render/shooter_onrender.h"

#include <algorithm>

namespace Drive {

Session::Session(unsigned seed)
    : map(Tuning::kFieldWidth, Tuning::kFieldHeight, b2Vec2(0.0f, Tuning::kGravityY), Tuning::kAllowSleep)
{
    Levels::GenerateLevel(map, seed, Tuning::kTargetCount);
}

int Session::TargetsLeft() const
{
    return static_cast<int>(std::count_if(map.blocks.begin(), map.blocks.end(),
                                          [](const Block& b) { return b.kind == BlockKind::Target; }));
}

void Session::Do(const Action& action)
{
    if (action.trick) {
        if (waiting) {
            Rules::ProjectileAction(map, last.get());
            waiting = false;
        }
        return;
    }
    last = Rules::FireFromCannon(
        map, DragForce(static_cast<float>(action.dragX), static_cast<float>(action.dragY)), action.kind);
    ++tally.shots;
    if (last == nullptr) {
        ++tally.refused;
    } else {
        ++tally.shotsOf[action.kind];
    }
    shooter = action.kind;
    waiting = last != nullptr && action.kind != ProjectileKind::Pig;
}

void Session::RunFrame()
{
    int brokenTargets = 0;
    const int lost = Rules::RunFrame(map, Tuning::kTimeStep, Tuning::kVelocityIterations,
                                     Tuning::kPositionIterations, [&](const Map& damaged) {
                                         for (const Block& block : damaged.blocks) {
                                             if (block.strength <= 0.0f) {
                                                 CountBroken(block);
                                                 brokenTargets += block.kind == BlockKind::Target ? 1 : 0;
                                             }
                                         }
                                     });
    tally.targetsByTouch += brokenTargets;
    tally.targetsByFall += lost - brokenTargets;
    for (const Block& block : map.blocks) {
        if (block.fullStrength > block.strength) {
            tally.deepestOverlay =
                std::max(tally.deepestOverlay, Render::DamageFrame(block.strength, block.fullStrength));
        }
    }
    TallyCannon();
    ++frame;
}

// Where the cannon is, and the first frame it was outside the walls or below the floor.
void Session::TallyCannon()
{
    const Cannon* cannon = map.GetCannon();
    tally.cannonX = cannon->x;
    tally.cannonY = cannon->y;
    const float h = cannon->halfSize;
    const bool outside = cannon->x < -h || cannon->x > static_cast<float>(Tuning::kFieldWidth) + h ||
                         cannon->y > static_cast<float>(Tuning::kFieldHeight) + 1.0f;
    if (outside && !tally.cannonLeft) {
        tally.cannonLeft = true;
        tally.cannonLeftFrame = frame;
    }
}

void Session::Replay(const std::vector<Action>& actions, int until)
{
    size_t next = 0;
    while (next < actions.size() && actions[next].frame < frame) {
        ++next;
    }
    while (frame < until) {
        for (; next < actions.size() && actions[next].frame == frame; ++next) {
            Do(actions[next]);
        }
        RunFrame();
    }
}

void Session::CountBroken(const Block& block)
{
    ++tally.broken[static_cast<size_t>(block.kind - kFirstBlockKind)];
    if (shooter >= 0 && block.kind != BlockKind::Target) {
        ++tally.brokenBy[static_cast<size_t>(shooter)];
    }
}

}  // namespace Drive
