// Plays seeded levels without a window and prints what the rules make of them: blocks broken per
// shot (by kind and by animal), the deepest crack drawn, shots to win, how targets were lost,
// refused shots and where the cannon ends. The same arguments always print the same bytes.
// Run from the repository root (shots load their pictures from ./bmp/).
//
// Usage:
//   playtest [levels] [shots] [first seed]          a random player and an aiming player
//   playtest cannon [seeds] [seconds] [first seed] [max drag px] [1: only levels with a spring
//                   beside the cannon's pocket]     every animal with its trick at 1 to 5 clicks
//                                                   a second: the runs where the cannon left
//   playtest eye [levels] [first seed] [shots]      a player who aims by eye, skilled and casual,
//                                                   each animal alone
//   playtest muzzle [seconds] [seeds] [first seed]  the muzzle at a player's pace, per drag: shots
//                                                   refused, shots drawn inside one another, the
//                                                   cannon covered, shots flung apart
#include "drive/playthrough.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Drive::Action;
using Drive::Dice;
using Drive::kBlockKinds;
using Drive::kFirstBlockKind;
using Drive::kFrameRate;
using Drive::kKinds;
using Drive::PlayClicks;
using Drive::Session;
using Drive::Tally;

const char* const kKindNames[kKinds] = {"pig", "cow", "sheep"};
constexpr int kDeepestOverlay = 9;
constexpr int kManyCracks = 5;  // the overlay a level should reach

const char* const kBlockNames[kBlockKinds - 1] = {"ledge",  "earth",    "bedrock",
                                                  "spring", "pedestal", "anchor"};

constexpr int kRandomShotEvery = 200;  // frames: two seconds between a random player's shots
constexpr int kAimedShotEvery = 150;   // frames the aiming player waits before the next shot
constexpr int kLookAhead = 120;        // frames the aiming player watches a trial shot

// A random player: any animal, a drag of 40 to 600 pixels that throws it anywhere from steeply
// up to somewhat down the field, the cow's and the sheep's trick a moment later.
Tally PlayRandom(unsigned seed, int shots)
{
    Session session(seed);
    Dice dice(seed);
    std::vector<Action> actions;
    constexpr float kPi = 3.14159265f;
    for (int shot = 0; shot < shots; ++shot) {
        Action action;
        action.frame = shot * kRandomShotEvery;
        action.kind = dice.Below(kKinds);
        const float angle = (-70.0f + static_cast<float>(dice.Below(101))) * kPi / 180.0f;  // -70..30 degrees
        const float length = static_cast<float>(40 + dice.Below(561));
        action.dragX = -static_cast<int>(std::lround(length * std::cos(angle)));
        action.dragY = -static_cast<int>(std::lround(length * std::sin(angle)));
        actions.push_back(action);
        if (action.kind != ProjectileKind::Pig) {
            Action trick;
            trick.trick = true;
            trick.frame = action.frame + 20 + dice.Below(61);
            actions.push_back(trick);
        }
    }
    const int end = shots * kRandomShotEvery;
    for (size_t i = 0; i < actions.size(); ++i) {
        const int until = i + 1 < actions.size() ? actions[i + 1].frame : end;
        session.Replay(actions, until);
        if (session.tally.shotsToWin == 0 && session.TargetsLeft() == 0) {
            session.tally.shotsToWin = session.tally.shots;
        }
    }
    return session.tally;
}

// The drag that throws `kind` from the muzzle through (tx, ty) at `speed`, on the flatter of the
// two arcs or on the higher one; false when the speed cannot reach it.
bool AimAt(const Map& map, int kind, float tx, float ty, float speed, bool high, Action& action)
{
    const b2Vec2 muzzle = map.Muzzle();
    const float mx = muzzle.x;
    const float my = muzzle.y;
    const float dx = std::fabs(tx - mx);
    const float up = my - ty;  // height to gain; y grows downwards
    const float g = Tuning::kGravityY;
    const float v2 = speed * speed;
    const float root = v2 * v2 - g * (g * dx * dx + 2.0f * up * v2);
    if (root < 0.0f || dx < 1e-3f) {
        return false;
    }
    const float angle = std::atan2(v2 + (high ? 1.0f : -1.0f) * std::sqrt(root), g * dx);
    const float side = tx >= mx ? 1.0f : -1.0f;
    const b2Vec2 velocity(side * speed * std::cos(angle), -speed * std::sin(angle));
    // The launch force acts for one step: it gives the velocity over one time step.
    const Projectile probe(0.0f, -100.0f, nullptr, kind);
    const float radius = probe.size;
    const float mass = kind == ProjectileKind::Cow ? probe.density * 4.0f * radius * radius
                                                   : probe.density * 3.14159265f * radius * radius;
    const b2Vec2 force = (mass / Tuning::kTimeStep) * velocity;
    action.kind = kind;
    action.dragX = -static_cast<int>(std::lround(force.x / Tuning::kAimForcePerPixel));
    action.dragY = -static_cast<int>(std::lround(force.y / Tuning::kAimForcePerPixel));
    return true;
}

// How good a trial shot was: targets first, then blocks broken, then damage done.
double TrialScore(unsigned seed, const std::vector<Action>& actions, const Action& trial, int targetsBefore)
{
    Session trialRun(seed);
    trialRun.Replay(actions, trial.frame);
    trialRun.Do(trial);
    trialRun.Replay({}, trial.frame + kLookAhead);
    double damage = 0.0;
    for (const Block& block : trialRun.map.blocks) {
        damage += static_cast<double>(std::min(block.fullStrength, block.fullStrength - block.strength));
    }
    int broken = 0;
    for (const int n : trialRun.tally.broken) {
        broken += n;
    }
    return 1e9 * (targetsBefore - trialRun.TargetsLeft()) + 1e5 * broken + damage;
}

// An aiming player: tries shots at each cake in turn (pigs and cows, thrown flat or lobbed, at a
// few speeds) by playing each ahead from where the level stands, and fires the one that knocks
// out the most cakes, or else breaks the most; one that clears the level is taken at once.
Tally PlayAiming(unsigned seed, int shots)
{
    Session session(seed);
    std::vector<Action> actions;
    struct Throw {
        int kind;
        float speed;  // units per second
        bool high;    // the lob rather than the flat throw
        float above;  // units above the cake's centre
    };
    const Throw throws[] = {
        {ProjectileKind::Pig, 90.0f, false, 0.0f},  {ProjectileKind::Pig, 40.0f, true, 0.0f},
        {ProjectileKind::Cow, 60.0f, false, 0.0f},  {ProjectileKind::Cow, 40.0f, true, 0.0f},
        {ProjectileKind::Pig, 150.0f, false, 0.3f}, {ProjectileKind::Cow, 110.0f, false, 0.0f},
        {ProjectileKind::Cow, 60.0f, true, 0.0f}};
    session.Replay(actions, kAimedShotEvery);
    for (int shot = 0; shot < shots && session.TargetsLeft() > 0; ++shot) {
        const int targets = session.TargetsLeft();
        Action best;
        double bestScore = -1.0;
        bool chosen = false;
        const double clearsAll = 1e9 * targets;
        for (const Block& target : session.map.blocks) {
            if (target.kind != BlockKind::Target || bestScore >= clearsAll) {
                continue;
            }
            for (const Throw& t : throws) {
                Action trial;
                trial.frame = session.frame;
                if (!AimAt(session.map, t.kind, target.x, target.y - t.above, t.speed, t.high, trial)) {
                    continue;
                }
                const double score = TrialScore(seed, actions, trial, targets);
                if (!chosen || score > bestScore) {
                    best = trial;
                    bestScore = score;
                    chosen = true;
                }
                if (score >= clearsAll) {
                    break;
                }
            }
        }
        if (!chosen) {  // no cake within reach of any throw: a straight cow along the ledge
            best.frame = session.frame;
            best.kind = ProjectileKind::Cow;
            best.dragX = -800;
        }
        actions.push_back(best);
        session.Replay(actions, session.frame + kAimedShotEvery);
        if (session.TargetsLeft() == 0) {
            session.tally.shotsToWin = session.tally.shots;
        }
    }
    return session.tally;
}

// A player who aims by eye: no throw played ahead, only what a person sees. It waits for the
// field to settle, picks the cake nearest the cannon that shows in the window, and throws at
// it (a cake behind the top bar counts as seen: the bar lets the field show through) along a
// flat arc a little stronger than the weakest that reaches, or, after a miss at the
// same cake, along the other arc and a little harder; never with a drag longer than the
// window's diagonal. Its hand errs by a seeded angle and share of the force. A cow or a sheep
// gets its trick as it passes over the cake.
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
    const Projectile probe(0.0f, -100.0f, nullptr, kind);
    const float radius = probe.size;
    const float mass = kind == ProjectileKind::Cow ? probe.density * 4.0f * radius * radius
                                                   : probe.density * 3.14159265f * radius * radius;
    const float g = Tuning::kGravityY;
    const float fastest = kWindowDiagonal * Tuning::kAimForcePerPixel * Tuning::kTimeStep / mass;
    int unreachable = 0;
    for (int shot = 0; shot < shots && session.TargetsLeft() > 0; ++shot) {
        const b2Vec2 muzzle = session.map.Muzzle();
        const Block* cake = nullptr;
        float nearest = 1e9f;
        for (const Block& block : session.map.blocks) {
            const bool inView = block.kind == BlockKind::Target && block.y > 0.0f && block.x > 0.0f &&
                                block.x < static_cast<float>(Tuning::kFieldWidth) &&
                                block.y < static_cast<float>(Tuning::kFieldHeight);
            const float distance = std::hypot(block.x - muzzle.x, block.y - muzzle.y);
            if (inView && distance < nearest) {
                nearest = distance;
                cake = &block;
            }
        }
        if (cake == nullptr) {
            result.why = "no cake left in view";
            break;
        }
        const auto cakeId = reinterpret_cast<uintptr_t>(cake->body);
        misses = cakeId == lastCake ? misses + 1 : 0;
        lastCake = cakeId;
        const float tx = cake->x;
        const float ty = cake->y;
        const float dx = std::fabs(tx - muzzle.x);
        const float up = muzzle.y - ty;
        // The weakest throw that reaches, a fifth stronger, and harder after every second miss.
        const float weakest = std::sqrt(g * (up + std::hypot(dx, up)));
        const int harder = misses / 2;
        float speed = std::min(fastest, weakest * 1.2f * std::pow(1.15f, static_cast<float>(harder)));
        const bool high = misses % 2 == 1;
        const float v2 = speed * speed;
        const float root = v2 * v2 - g * (g * dx * dx + 2.0f * up * v2);
        if (root < 0.0f || dx < 1e-3f) {
            ++unreachable;
            speed = fastest;  // out of reach: throw as hard as an arm allows, at 45 degrees
        }
        float angle = root < 0.0f || dx < 1e-3f
                          ? 0.785398f
                          : std::atan2(v2 + (high ? 1.0f : -1.0f) * std::sqrt(root), g * dx);
        angle += eye.angleError * Wobble(dice) * 3.14159265f / 180.0f;
        speed *= std::max(0.2f, 1.0f + eye.forceError * Wobble(dice));
        const float side = tx >= muzzle.x ? 1.0f : -1.0f;
        const b2Vec2 force =
            (mass * speed / Tuning::kTimeStep) * b2Vec2(side * std::cos(angle), -std::sin(angle));
        b2Vec2 drag(-force.x / Tuning::kAimForcePerPixel, -force.y / Tuning::kAimForcePerPixel);
        if (drag.Length() > kWindowDiagonal) {
            drag *= kWindowDiagonal / drag.Length();
        }
        Action action;
        action.frame = session.frame;
        action.kind = kind;
        action.dragX = static_cast<int>(std::lround(drag.x));
        action.dragY = static_cast<int>(std::lround(drag.y));
        const size_t before = session.map.projectiles.size();
        session.Do(action);
        if (kind != ProjectileKind::Pig && session.map.projectiles.size() > before) {
            // Watches it fly and clicks as it passes over the cake, or when it comes down short.
            const uint64_t serial = session.map.projectiles.back().serial;
            for (int frame = 0; frame < kSettleLimit; ++frame) {
                session.RunFrame();
                const auto flying =
                    std::find_if(session.map.projectiles.begin(), session.map.projectiles.end(),
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
        WaitToSettle(session, 50);
        if (session.TargetsLeft() == 0) {
            result.shotsToWin = shot + 1;
        }
    }
    if (result.shotsToWin == 0 && result.why.empty()) {
        result.why = std::to_string(session.TargetsLeft()) + " cake(s) left";
        for (const Block& block : session.map.blocks) {
            if (block.kind == BlockKind::Target) {
                char where[96];
                std::snprintf(where, sizeof where, ", one at (%.1f, %.1f)%s", static_cast<double>(block.x),
                              static_cast<double>(block.y),
                              block.y < kTopBarUnits ? " behind the top bar" : "");
                result.why += where;
            }
        }
        if (unreachable > 0) {
            result.why += ", " + std::to_string(unreachable) + " throws out of an arm's reach";
        }
    }
    return result;
}

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

double PerShot(int count, int shots)
{
    return shots > 0 ? static_cast<double>(count) / static_cast<double>(shots) : 0.0;
}

void Report(const char* player, const std::vector<Tally>& levels, int shotsPerLevel, unsigned firstSeed)
{
    std::printf("\n== %s player: %zu levels (seeds %u..%zu), up to %d shots each ==\n", player, levels.size(),
                firstSeed, firstSeed + levels.size() - 1, shotsPerLevel);
    std::printf("seed   shots refused  broken  deepest  targets(touch/fall)  won after  cannon at\n");
    Tally total;
    std::vector<int> wins;
    int cracked = 0;
    int deepest = 0;
    int cannonsIn = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        const Tally& t = levels[i];
        int broken = 0;
        for (int k = 0; k < kBlockKinds; ++k) {
            broken += k + kFirstBlockKind == BlockKind::Target ? 0 : t.broken[static_cast<size_t>(k)];
            total.broken[static_cast<size_t>(k)] += t.broken[static_cast<size_t>(k)];
        }
        for (int k = 0; k < kKinds; ++k) {
            total.brokenBy[static_cast<size_t>(k)] += t.brokenBy[static_cast<size_t>(k)];
            total.shotsOf[static_cast<size_t>(k)] += t.shotsOf[static_cast<size_t>(k)];
        }
        total.shots += t.shots;
        total.refused += t.refused;
        total.targetsByTouch += t.targetsByTouch;
        total.targetsByFall += t.targetsByFall;
        cracked += t.deepestOverlay >= kManyCracks ? 1 : 0;
        deepest += t.deepestOverlay == kDeepestOverlay ? 1 : 0;
        cannonsIn += t.cannonLeft ? 0 : 1;
        if (t.shotsToWin > 0) {
            wins.push_back(t.shotsToWin);
        }
        std::printf(
            "%-6u %5d %7d %7d %8d %10d/%-10d %9s  (%.2f, %.2f)%s\n", firstSeed + static_cast<unsigned>(i),
            t.shots, t.refused, broken, t.deepestOverlay, t.targetsByTouch, t.targetsByFall,
            t.shotsToWin > 0 ? std::to_string(t.shotsToWin).c_str() : "-", static_cast<double>(t.cannonX),
            static_cast<double>(t.cannonY), t.cannonLeft ? "  LEFT THE FIELD" : "");
    }
    int broken = 0;
    for (int k = 0; k + kFirstBlockKind < BlockKind::Target; ++k) {
        broken += total.broken[static_cast<size_t>(k)];
    }
    std::printf("blocks broken per shot, targets aside: %.2f (", PerShot(broken, total.shots));
    for (int k = 0; k + kFirstBlockKind < BlockKind::Target; ++k) {
        std::printf("%s%s %.2f", k > 0 ? ", " : "", kBlockNames[k],
                    PerShot(total.broken[static_cast<size_t>(k)], total.shots));
    }
    std::printf(")\nblocks broken per shot by animal, targets aside:");
    for (int k = 0; k < kKinds; ++k) {
        std::printf(" %s %.2f (%d shots)", kKindNames[k],
                    PerShot(total.brokenBy[static_cast<size_t>(k)], total.shotsOf[static_cast<size_t>(k)]),
                    total.shotsOf[static_cast<size_t>(k)]);
    }
    const double pig = PerShot(total.brokenBy[0], total.shotsOf[0]);
    const double cow = PerShot(total.brokenBy[1], total.shotsOf[1]);
    std::printf("; cow / pig %.1f\n", pig > 0.0 ? cow / pig : 0.0);
    std::printf("deepest overlay >= %d in %d of %zu levels, %d in %d\n", kManyCracks, cracked, levels.size(),
                kDeepestOverlay, deepest);
    std::sort(wins.begin(), wins.end());
    std::printf("levels cleared: %zu of %zu, shots to win median %s\n", wins.size(), levels.size(),
                wins.empty() ? "-" : std::to_string(wins[(wins.size() - 1) / 2]).c_str());
    std::printf("targets lost: %d by an animal's touch, %d by a fall\n", total.targetsByTouch,
                total.targetsByFall);
    std::printf("shots refused: %d of %d\n", total.refused, total.shots);
    std::printf("cannon in the field at the end: %d of %zu levels\n", cannonsIn, levels.size());
}

// A spring in the first column past the cannon's pocket, beside the empty cells under the ledge.
bool SpringBesideThePocket(unsigned seed)
{
    const Session session(seed);
    return std::any_of(session.map.blocks.begin(), session.map.blocks.end(), [](const Block& b) {
        return b.kind == BlockKind::Spring && b.x < 5.0f && b.y < 8.0f;
    });
}

void CannonProbe(int seeds, int seconds, unsigned firstSeed, int maxDrag, bool springsOnly)
{
    std::printf("every animal with its trick at 1 to 5 clicks a second, %d s, random drags up to %d px%s\n",
                seconds, maxDrag, springsOnly ? ", levels with a spring beside the cannon's pocket" : "");
    int runs = 0;
    int left = 0;
    for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(seeds); ++seed) {
        if (springsOnly && !SpringBesideThePocket(seed)) {
            continue;
        }
        for (int kind = 0; kind < kKinds; ++kind) {
            for (int rate = 1; rate <= 5; ++rate) {
                Dice dice = Drive::ClickDice(seed, kind, rate);
                const Tally t = PlayClicks(seed, kind, rate, seconds, &dice, maxDrag);
                ++runs;
                if (t.cannonLeft) {
                    ++left;
                    std::printf("seed %u, %s, %d a second: the cannon left the field at %.2f s, ends at "
                                "(%.2f, %.2f)\n",
                                seed, kKindNames[kind], rate,
                                static_cast<double>(t.cannonLeftFrame) / kFrameRate,
                                static_cast<double>(t.cannonX), static_cast<double>(t.cannonY));
                    std::fflush(stdout);
                }
            }
        }
    }
    std::printf("the cannon left the field in %d of %d runs\n", left, runs);
}

void MuzzleProbe(int seconds, int seeds, unsigned firstSeed)
{
    const int rates[] = {1, 2, 3, 5};
    const int drags[] = {0, 5, 72, 160};
    constexpr int kOverlapLimit = kFrameRate / 2;  // frames two shots may stay inside one another
    constexpr int kHiddenLimit = kFrameRate;       // frames a shot may cover the cannon
    std::printf(
        "the muzzle at a player's pace, seeds %u..%u, %d s per run, drags straight to the left, every "
        "cow and sheep with its trick\n",
        firstSeed, firstSeed + static_cast<unsigned>(seeds) - 1, seconds);
    std::printf(
        "per drag of 0, 5, 72, 160 px, the worst over the seeds: refused / longest two shots overlapped "
        "(s) / longest the cannon was covered (s) / flings\n");
    int refused = 0;
    int shots = 0;
    int runs = 0;
    int overlapRuns = 0;
    int hiddenRuns = 0;
    int flings = 0;
    float worstGain = 0.0f;
    for (int kind = 0; kind < kKinds; ++kind) {
        for (const int rate : rates) {
            std::printf("%-6s %d/s", kKindNames[kind], rate);
            for (const int drag : drags) {
                int cellRefused = 0;
                int cellOverlap = 0;
                int cellHidden = 0;
                int cellFlings = 0;
                for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(seeds); ++seed) {
                    Drive::MuzzleWatch watch;
                    const Tally t = PlayClicks(seed, kind, rate, seconds, nullptr, drag, &watch);
                    ++runs;
                    cellRefused += t.refused;
                    refused += t.refused;
                    shots += t.shots;
                    cellOverlap = std::max(cellOverlap, watch.longestOverlap);
                    cellHidden = std::max(cellHidden, watch.longestHidden);
                    cellFlings += watch.flings;
                    flings += watch.flings;
                    worstGain = std::max(worstGain, watch.worstGain);
                    overlapRuns += watch.longestOverlap > kOverlapLimit ? 1 : 0;
                    hiddenRuns += watch.longestHidden > kHiddenLimit ? 1 : 0;
                }
                std::printf("  %d/%.2f/%.2f/%d", cellRefused, static_cast<double>(cellOverlap) / kFrameRate,
                            static_cast<double>(cellHidden) / kFrameRate, cellFlings);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    std::printf("shots refused: %d of %d\n", refused, shots);
    std::printf("runs where two shots stayed inside one another over %.1f s: %d of %d\n",
                static_cast<double>(kOverlapLimit) / kFrameRate, overlapRuns, runs);
    std::printf("runs where a shot covered the cannon over %.1f s: %d of %d\n",
                static_cast<double>(kHiddenLimit) / kFrameRate, hiddenRuns, runs);
    std::printf("flings (shots that lay in one another, then one went %.0f units/s faster than the faster of "
                "the two): %d; largest gain %.1f units/s\n",
                static_cast<double>(Drive::MuzzleWatch::kFlingSpeed), flings, static_cast<double>(worstGain));
}

int Arg(int argc, char** argv, int i, int fallback)
{
    return argc > i ? std::atoi(argv[i]) : fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "cannon") {
        CannonProbe(Arg(argc, argv, 2, 10), Arg(argc, argv, 3, 60),
                    static_cast<unsigned>(Arg(argc, argv, 4, 1)), Arg(argc, argv, 5, 300),
                    Arg(argc, argv, 6, 0) != 0);
        return 0;
    }
    if (mode == "eye") {
        EyeProbe(Arg(argc, argv, 2, 30), static_cast<unsigned>(Arg(argc, argv, 3, 1)),
                 Arg(argc, argv, 4, 30));
        return 0;
    }
    if (mode == "muzzle") {
        MuzzleProbe(Arg(argc, argv, 2, 30), Arg(argc, argv, 3, 1),
                    static_cast<unsigned>(Arg(argc, argv, 4, 1)));
        return 0;
    }
    const int levels = Arg(argc, argv, 1, 30);
    const int shots = Arg(argc, argv, 2, 30);
    const auto firstSeed = static_cast<unsigned>(Arg(argc, argv, 3, 1));
    std::printf("playtest: %d levels x %d shots from seed %u\n", levels, shots, firstSeed);
    std::vector<Tally> random;
    std::vector<Tally> aiming;
    random.reserve(static_cast<size_t>(std::max(levels, 0)));
    aiming.reserve(static_cast<size_t>(std::max(levels, 0)));
    for (int i = 0; i < levels; ++i) {
        random.push_back(PlayRandom(firstSeed + static_cast<unsigned>(i), shots));
    }
    Report("random", random, shots, firstSeed);
    std::fflush(stdout);
    for (int i = 0; i < levels; ++i) {
        aiming.push_back(PlayAiming(firstSeed + static_cast<unsigned>(i), shots));
    }
    Report("aiming", aiming, shots, firstSeed);
    return 0;
}
