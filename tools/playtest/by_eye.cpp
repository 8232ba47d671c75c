// A player who aims by eye: no throw played ahead, only what a person sees. It waits for the
// field to settle, picks the cake nearest the cannon that shows in the window, and throws at
// it (a cake behind the top bar counts as seen: the bar lets the field show through) along a
// flat arc a little stronger than the weakest that reaches, or, after a miss at the
// same cake, along the other arc and a little harder; never with a drag longer than the
// window's diagonal. Its hand errs by a seeded angle and share of the force. A cow or a sheep
// gets its trick as it passes over the cake.
#include "playtest/probes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Playtest {

using Drive::Action;
using Drive::Dice;
using Drive::kKinds;
using Drive::Session;

namespace {

struct Eye {
    const char* name;
    float angleError;  // degrees, about one standard deviation
    float forceError;  // share of the force, about one standard deviation
};
constexpr Eye kSkilled{"skilled", 2.0f, 0.05f};
constexpr Eye kCasual{"casual", 6.0f, 0.15f};
constexpr float kWindowDiagonal = 1192.9f;  // pixels, 1000 x 650
constexpr float kTopBarUnits = 64.0f / 50.0f;
constexpr int kSettleLimit = 600;  // frames a player waits at most for the field to settle

// About a standard normal, from the dice: the sum of four uniforms, centred and scaled.
float Wobble(Dice& dice)
{
    float sum = 0.0f;
    for (int i = 0; i < 4; ++i) {
        sum += static_cast<float>(dice.Below(10001)) / 10000.0f;
    }
    return (sum - 2.0f) * 1.7320508f;
}

bool Settled(const Map& map)
{
    constexpr float kStill = 0.3f;  // units a second
    for (const Projectile& shot : map.projectiles) {
        if (shot.Speed() > kStill) {
            return false;
        }
    }
    for (const Block& block : map.blocks) {
        if (block.body->GetLinearVelocity().Length() > kStill) {
            return false;
        }
    }
    return true;
}

void WaitToSettle(Session& session, int atLeast)
{
    const int start = session.frame;
    while (session.frame - start < kSettleLimit &&
           (session.frame - start < atLeast || !Settled(session.map))) {
        session.RunFrame();
    }
}

// The cake nearest the muzzle that shows in the window, or nothing.
const Block* NearestCakeInView(const Map& map, b2Vec2 muzzle)
{
    const Block* cake = nullptr;
    float nearest = 1e9f;
    for (const Block& block : map.blocks) {
        const bool inView = block.kind == BlockKind::Target && block.y > 0.0f && block.x > 0.0f &&
                            block.x < static_cast<float>(Tuning::kFieldWidth) &&
                            block.y < static_cast<float>(Tuning::kFieldHeight);
        const float distance = std::hypot(block.x - muzzle.x, block.y - muzzle.y);
        if (inView && distance < nearest) {
            nearest = distance;
            cake = &block;
        }
    }
    return cake;
}

// The player's hand: the drag it gives a throw at a cake, erring as the eye errs.
struct Hand {
    const Eye& eye;
    Dice& dice;
    float mass;           // of the animal it throws
    float fastest;        // units a second, the throw of a drag as long as the window's diagonal
    int unreachable = 0;  // throws at a cake out of an arm's reach

    // The weakest throw that reaches (tx, ty), a fifth stronger, and harder after every second
    // miss; the higher arc after an odd number of misses; out of reach, as hard as an arm allows
    // at 45 degrees.
    b2Vec2 Drag(b2Vec2 muzzle, float tx, float ty, int misses)
    {
        const float g = Tuning::kGravityY;
        const float dx = std::fabs(tx - muzzle.x);
        const float up = muzzle.y - ty;
        const float weakest = std::sqrt(g * (up + std::hypot(dx, up)));
        const int harder = misses / 2;
        float speed = std::min(fastest, weakest * 1.2f * std::pow(1.15f, static_cast<float>(harder)));
        float angle = 0.0f;
        if (!ArcAngle(dx, up, speed, misses % 2 == 1, angle)) {
            ++unreachable;
            speed = fastest;
            angle = 0.785398f;
        }
        angle += eye.angleError * Wobble(dice) * 3.14159265f / 180.0f;
        speed *= std::max(0.2f, 1.0f + eye.forceError * Wobble(dice));
        const float side = tx >= muzzle.x ? 1.0f : -1.0f;
        const b2Vec2 force =
            (mass * speed / Tuning::kTimeStep) * b2Vec2(side * std::cos(angle), -std::sin(angle));
        b2Vec2 drag(-force.x / Tuning::kAimForcePerPixel, -force.y / Tuning::kAimForcePerPixel);
        if (drag.Length() > kWindowDiagonal) {
            drag *= kWindowDiagonal / drag.Length();
        }
        return drag;
    }
};

// Watches the latest shot fly and clicks for its trick as it passes over the cake at (tx, ty),
// or when it comes down short.
void TrickOverCake(Session& session, float tx, float ty)
{
    const uint64_t serial = session.map.projectiles.back().serial;
    for (int frame = 0; frame < kSettleLimit; ++frame) {
        session.RunFrame();
        const auto flying = std::find_if(session.map.projectiles.begin(), session.map.projectiles.end(),
                                         [serial](const Projectile& p) { return p.serial == serial; });
        if (flying == session.map.projectiles.end()) {
            break;
        }
        const bool over = std::fabs(flying->x - tx) < 0.5f && flying->y < ty;
        if (over || (frame > 20 && flying->Speed() < 1.0f)) {
            Action trick;
            trick.frame = session.frame;
            trick.trick = true;
            session.Do(trick);
            break;
        }
    }
}

// Why a level was not cleared: the cakes left and where they are, and the throws out of reach.
std::string CakesLeft(const Session& session, int unreachable)
{
    std::string why = std::to_string(session.TargetsLeft()) + " cake(s) left";
    for (const Block& block : session.map.blocks) {
        if (block.kind == BlockKind::Target) {
            char where[96];
            std::snprintf(where, sizeof where, ", one at (%.1f, %.1f)%s", static_cast<double>(block.x),
                          static_cast<double>(block.y), block.y < kTopBarUnits ? " behind the top bar" : "");
            why += where;
        }
    }
    if (unreachable > 0) {
        why += ", " + std::to_string(unreachable) + " throws out of an arm's reach";
    }
    return why;
}

struct EyeResult {
    int shotsToWin = 0;  // 0: not cleared
    std::string why;     // for a level not cleared
};

EyeResult PlayByEye(unsigned seed, int kind, const Eye& eye, int shots)
{
    Session session(seed);
    Dice dice(seed * 7919u + static_cast<unsigned>(kind) * 31u + (eye.angleError > 3.0f ? 1u : 0u));
    EyeResult result;
    WaitToSettle(session, 100);
    uint64_t lastCake = 0;  // the block body aimed at last, by address
    int misses = 0;
    const float mass = ShotMass(kind);
    Hand hand{eye, dice, mass, kWindowDiagonal * Tuning::kAimForcePerPixel * Tuning::kTimeStep / mass};
    for (int shot = 0; shot < shots && session.TargetsLeft() > 0; ++shot) {
        const b2Vec2 muzzle = session.map.Muzzle();
        const Block* cake = NearestCakeInView(session.map, muzzle);
        if (cake == nullptr) {
            result.why = "no cake left in view";
            break;
        }
        const auto cakeId = reinterpret_cast<uintptr_t>(cake->body);
        misses = cakeId == lastCake ? misses + 1 : 0;
        lastCake = cakeId;
        const float tx = cake->x;
        const float ty = cake->y;
        const b2Vec2 drag = hand.Drag(muzzle, tx, ty, misses);
        Action action;
        action.frame = session.frame;
        action.kind = kind;
        action.dragX = static_cast<int>(std::lround(drag.x));
        action.dragY = static_cast<int>(std::lround(drag.y));
        const size_t before = session.map.projectiles.size();
        session.Do(action);
        if (kind != ProjectileKind::Pig && session.map.projectiles.size() > before) {
            TrickOverCake(session, tx, ty);
        }
        WaitToSettle(session, 50);
        if (session.TargetsLeft() == 0) {
            result.shotsToWin = shot + 1;
        }
    }
    if (result.shotsToWin == 0 && result.why.empty()) {
        result.why = CakesLeft(session, hand.unreachable);
    }
    return result;
}

}  // namespace

void EyeProbe(int levels, unsigned firstSeed, int shots)
{
    std::printf("a player who aims by eye: %d levels (seeds %u..%u), up to %d shots, one animal alone\n",
                levels, firstSeed, firstSeed + static_cast<unsigned>(levels) - 1, shots);
    for (const Eye& eye : {kSkilled, kCasual}) {
        for (int kind = 0; kind < kKinds; ++kind) {
            std::vector<int> wins;
            std::string failed;
            for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(levels); ++seed) {
                const EyeResult r = PlayByEye(seed, kind, eye, shots);
                if (r.shotsToWin > 0) {
                    wins.push_back(r.shotsToWin);
                } else {
                    failed += "\n    level " + std::to_string(seed) + ": " + r.why;
                }
            }
            std::sort(wins.begin(), wins.end());
            std::printf("%-7s %-5s (%.0f deg, %.0f %%): cleared %zu of %d, shots to win median %s%s\n",
                        eye.name, kKindNames[kind], static_cast<double>(eye.angleError),
                        static_cast<double>(eye.forceError) * 100.0, wins.size(), levels,
                        wins.empty() ? "-" : std::to_string(wins[(wins.size() - 1) / 2]).c_str(),
                        failed.c_str());
            std::fflush(stdout);
        }
    }
}

}  // namespace Playtest
