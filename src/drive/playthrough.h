// A level played without a window: seeded, frame by frame through the game's own rules, with a
// player's shots and tricks as the cannon takes them, and a tally of what the play did. Shared
// by the playtest tool and the tests; the same seed and actions always play the same way.
#pragma once

#include "field/level_generator.h"
#include "field/map.h"
#include "field/projectile.h"
#include "field/tuning.h"
#include "gameplay/frame_rules.h"
#include "gameplay/muzzle_rules.h"
#include "render/shooter_onrender.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace Drive {

// Frames a second of game time: one time step each.
constexpr int kFrameRate = static_cast<int>(1.0f / Tuning::kTimeStep + 0.5f);
constexpr int kKinds = 3;  // pig, cow, sheep
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

// What a player sees of the shots at the muzzle, frame by frame: how long two shots stay drawn
// inside one another, how long a shot covers the cannon, and whether two shots that lay in
// one another fly apart faster than either was going; overlaps measured as the rules do.
class MuzzleWatch {
public:
    static constexpr float kFlingSpeed = 20.0f;  // units a second above the faster of the two

    int longestOverlap = 0;  // frames two shots stayed deeper in one another than kDeepShare
    int longestHidden = 0;   // frames a shot's picture covered the cannon's centre
    int flings = 0;          // pairs that lay deep in one another, then one went kFlingSpeed faster
    float worstGain = 0.0f;  // units a second, the largest such gain that also drove them apart

    void Observe(const Map& map)
    {
        std::map<std::pair<uint64_t, uint64_t>, Pair> now;
        std::map<uint64_t, int> hidingNow;
        for (size_t i = 0; i < map.projectiles.size(); ++i) {
            const Projectile& a = map.projectiles[i];
            if (Rules::CoversCannon(map, a)) {
                const auto before = hiding.find(a.serial);
                const int frames = (before == hiding.end() ? 0 : before->second) + 1;
                hidingNow[a.serial] = frames;
                longestHidden = std::max(longestHidden, frames);
            }
            for (size_t j = i + 1; j < map.projectiles.size(); ++j) {
                const Projectile& b = map.projectiles[j];
                const float depth = OverlapDepth(a, b);
                const auto key = std::make_pair(a.serial, b.serial);
                const auto before = pairs.find(key);
                const float faster = std::max(a.Speed(), b.Speed());
                if (before != pairs.end() && before->second.deepFrames > 0) {
                    // Flung apart: the faster gained kFlingSpeed, and the two fly apart that fast.
                    // Two shots thrown up together by a spring under them are not flung apart.
                    b2Vec2 line = b.body->GetPosition() - a.body->GetPosition();
                    line.Normalize();
                    const float apart =
                        b2Dot(b.body->GetLinearVelocity() - a.body->GetLinearVelocity(), line);
                    const float gain = std::min(faster - before->second.faster, apart);
                    if (gain > kFlingSpeed) {
                        ++flings;
                    }
                    worstGain = std::max(worstGain, gain);
                }
                if (depth > 0.0f) {
                    Pair pair;
                    pair.faster = faster;
                    const bool deep = Rules::LieDeep(a, b);
                    pair.deepFrames = deep ? (before == pairs.end() ? 0 : before->second.deepFrames) + 1 : 0;
                    longestOverlap = std::max(longestOverlap, pair.deepFrames);
                    now[key] = pair;
                }
            }
        }
        pairs = std::move(now);
        hiding = std::move(hidingNow);
    }

private:
    struct Pair {
        float faster = 0.0f;  // the speed of the faster of the two, units a second
        int deepFrames = 0;
    };
    std::map<std::pair<uint64_t, uint64_t>, Pair> pairs;  // by the two shots' serials
    std::map<uint64_t, int> hiding;
};

// A level from its seed, played frame by frame through the game's own rules.
class Session {
public:
    explicit Session(unsigned seed)
        : map(Tuning::kFieldWidth, Tuning::kFieldHeight, b2Vec2(0.0f, Tuning::kGravityY), Tuning::kAllowSleep)
    {
        Levels::GenerateLevel(map, seed, Tuning::kTargetCount);
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
        last = map.FireFromCannon(
            DragForce(static_cast<float>(action.dragX), static_cast<float>(action.dragY)), action.kind);
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
    void CountBroken(const Block& block)
    {
        ++tally.broken[static_cast<size_t>(block.kind - kFirstBlockKind)];
        if (shooter >= 0 && block.kind != BlockKind::Target) {
            ++tally.brokenBy[static_cast<size_t>(shooter)];
        }
    }

    std::unique_ptr<Projectile> last;
    bool waiting = false;
    int shooter = -1;  // the kind of the latest shot: breaks are put down to it
};

// Clicks at `rate` a second for `seconds`: each click shoots `kind` with a drag, or, while a
// cow or sheep waits, triggers its trick; `watch`, when given, sees every frame. Drags from `dice` up to
// `drag` pixels each way (to the left only), or without dice exactly `drag` pixels to the left.
inline Tally PlayClicks(unsigned seed, int kind, int rate, int seconds, Dice* dice, int drag,
                        MuzzleWatch* watch = nullptr)
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
        if (watch != nullptr) {
            watch->Observe(session.map);
        }
    }
    return session.tally;
}

// The dice of a run of clicks of `kind` at `rate` on the level `seed`: every run its own drags.
inline Dice ClickDice(unsigned seed, int kind, int rate)
{
    return Dice(seed * 31u + static_cast<unsigned>(kind * 7 + rate));
}

}  // namespace Drive
