// A level played without a window: seeded, frame by frame through the game's own rules, with a
// player's shots and tricks as the cannon takes them, and a tally of what the play did. Shared
// by the playtest tool and the tests; the same seed and actions always play the same way.
#pragma once

#include "field/level_generator.h"
#include "field/map.h"
#include "field/projectile.h"
#include "field/tuning.h"
#include "gameplay/frame_rules.h"
#include "render/shooter_onrender.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Drive {

constexpr int kFrameRate = 100;  // frames per second of game time
constexpr int kKinds = 3;        // pig, cow, sheep
// Block kinds 4 to 10, as the level generator places them.
constexpr int kFirstBlockKind = BlockKind::Ledge;
constexpr int kBlockKinds = BlockKind::Target - BlockKind::Ledge + 1;

// A small generator of its own, so the figures do not hang on a library's distributions.
class Dice {
public:
    explicit Dice(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 16);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state;
};

// One thing the player does, in the frame it happens (before that frame's rules).
struct Action {
    int frame = 0;
    bool trick = false;  // the second click; otherwise a shot
    int kind = 0;
    int dragX = 0;  // pixels the pointer moved with the button held
    int dragY = 0;
};

// What one level's play did.
struct Tally {
    std::array<int, kBlockKinds> broken{};  // by block kind
    std::array<int, kKinds> brokenBy{};     // in the frames after each animal's shot
    std::array<int, kKinds> shotsOf{};
    int shots = 0;
    int refused = 0;
    int targetsByTouch = 0;
    int targetsByFall = 0;
    int deepestOverlay = -1;  // -1: no block ever cracked
    int shotsToWin = 0;       // 0 while targets are left
    bool cannonLeft = false;  // it was ever outside the walls or below the floor
    int cannonLeftFrame = -1;
    float cannonX = 0.0f;
    float cannonY = 0.0f;
};

// A level from its seed, played frame by frame through the game's own rules.
class Session {
public:
    explicit Session(unsigned seed)
        : map(Tuning::kFieldWidth, Tuning::kFieldHeight, b2Vec2(0.0f, Tuning::kGravityY), Tuning::kAllowSleep)
    {
        Rules::GenerateLevel(map, seed, Tuning::kTargetCount);
    }

    int TargetsLeft() const
    {
        return static_cast<int>(std::count_if(map.blocks.begin(), map.blocks.end(),
                                              [](const Block& b) { return b.kind == BlockKind::Target; }));
    }

    // As a release of the left button does; the cow and the sheep then wait for their trick.
    void Do(const Action& action)
    {
        if (action.trick) {
            if (waiting) {
                map.ProjectileAction(last.get());
                waiting = false;
            }
            return;
        }
        const Cannon* cannon = map.GetCannon();
        const b2Vec2 force(-static_cast<float>(action.dragX) * Tuning::kAimForcePerPixel,
                           -static_cast<float>(action.dragY) * Tuning::kAimForcePerPixel);
        last = map.Fire(cannon->x + Tuning::kMuzzleX, cannon->y + Tuning::kMuzzleY, force, action.kind);
        ++tally.shots;
        if (last == nullptr) {
            ++tally.refused;
        } else {
            ++tally.shotsOf[action.kind];
        }
        shooter = action.kind;
        waiting = last != nullptr && action.kind != ProjectileKind::Pig;
    }

    void RunFrame()
    {
        Rules::StepPhysics(map, Tuning::kTimeStep, Tuning::kVelocityIterations, Tuning::kPositionIterations);
        Rules::UpdateMap(map);
        Rules::ApplyContactDamage(map);
        int brokenTargets = 0;
        for (const Block& block : map.blocks) {
            if (block.strength <= 0.0f) {
                ++tally.broken[static_cast<size_t>(block.kind - kFirstBlockKind)];
                if (shooter >= 0 && block.kind != BlockKind::Target) {
                    ++tally.brokenBy[static_cast<size_t>(shooter)];
                }
                brokenTargets += block.kind == BlockKind::Target ? 1 : 0;
            }
        }
        const int lost = Rules::RemoveDestroyed(map);
        tally.targetsByTouch += brokenTargets;
        tally.targetsByFall += lost - brokenTargets;
        for (const Block& block : map.blocks) {
            if (block.fullStrength > block.strength) {
                tally.deepestOverlay =
                    std::max(tally.deepestOverlay, Render::DamageFrame(block.strength, block.fullStrength));
            }
        }
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
        ++frame;
    }

    // Plays the actions in order up to (not including) frame `until`.
    void Replay(const std::vector<Action>& actions, int until)
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

    Map map;
    Tally tally;
    int frame = 0;

private:
    std::unique_ptr<Projectile> last;
    bool waiting = false;
    int shooter = -1;  // the kind of the latest shot: breaks are put down to it
};

// Clicks at `rate` a second for `seconds`: each click shoots `kind` with a drag, or, while a
// cow or sheep waits, triggers its trick. Drags from `dice` up to `drag` pixels each way (to the
// left only), or without dice exactly `drag` pixels to the left.
inline Tally PlayClicks(unsigned seed, int kind, int rate, int seconds, Dice* dice, int drag)
{
    Session session(seed);
    std::vector<Action> actions;
    const int every = kFrameRate / rate;
    bool waiting = false;
    for (int frame = every; frame < seconds * kFrameRate; frame += every) {
        Action action;
        action.frame = frame;
        action.kind = kind;
        if (waiting) {
            action.trick = true;
            waiting = false;
        } else {
            if (dice != nullptr) {
                action.dragX = -dice->Below(drag + 1);
                action.dragY = dice->Below(drag + 1) - drag / 2;
            } else {
                action.dragX = -drag;
            }
            waiting = kind != ProjectileKind::Pig;
        }
        actions.push_back(action);
    }
    // A refused cow or sheep leaves nothing to trick: the game's next click aims again.
    size_t next = 0;
    while (session.frame < seconds * kFrameRate) {
        for (; next < actions.size() && actions[next].frame == session.frame; ++next) {
            const int refusedBefore = session.tally.refused;
            session.Do(actions[next]);
            if (session.tally.refused > refusedBefore && next + 1 < actions.size() &&
                actions[next + 1].trick) {
                actions[next + 1].trick = false;
                actions[next + 1].dragX = actions[next].dragX;
                actions[next + 1].dragY = actions[next].dragY;
            }
        }
        session.RunFrame();
    }
    return session.tally;
}

// The dice of a run of clicks of `kind` at `rate` on the level `seed`: every run its own drags.
inline Dice ClickDice(unsigned seed, int kind, int rate)
{
    return Dice(seed * 31u + static_cast<unsigned>(kind * 7 + rate));
}

}  // namespace Drive
