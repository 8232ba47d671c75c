// Seeded play for the tests and the playtest tool: a player who clicks on and on at a steady
// pace, and what a player sees of the shots at the muzzle meanwhile. The same seed and clicks
// always play the same way.
#pragma once

#include "drive/dice.h"
#include "drive/session.h"
#include "field/map.h"
#include "field/projectile.h"
#include "gameplay/muzzle_rules.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace Drive {

// What a player sees of the shots at the muzzle, frame by frame: how long two shots stay drawn
// inside one another, how long a shot covers the cannon, and whether two shots that lay in
// one another fly apart faster than either was going; overlaps measured as the rules do.
class MuzzleWatch {
public:
    static constexpr float kFlingSpeed = 20.0f;  // units a second above the faster of the two

    int longestOverlap = 0;  // frames two shots stayed deeper in one another than Rules::kDeepShare
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

// Clicks at `rate` a second for `seconds`: each click shoots `kind` with a drag, or, while a
// cow or sheep waits, triggers its trick; `watch`, when given, sees every frame. Drags from `dice` up to
// `drag` pixels each way (to the left only), or without dice exactly `drag` pixels to the left.
Tally PlayClicks(unsigned seed, int kind, int rate, int seconds, Dice* dice, int drag,
                 MuzzleWatch* watch = nullptr);

// The dice of a run of clicks of `kind` at `rate` on the level `seed`: every run its own drags.
inline Dice ClickDice(unsigned seed, int kind, int rate)
{
    return Dice(seed * 31u + static_cast<unsigned>(kind * 7 + rate));
}

}  // namespace Drive
