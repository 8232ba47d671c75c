// A random player and an aiming player, seeded, level after level, and the report of what the
// rules made of their play: blocks broken per shot (by kind and by animal), the deepest crack
// drawn, shots to win, how targets were lost, refused shots and where the cannon ends.
#include "playtest/probes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace Playtest {

using Drive::Action;
using Drive::Dice;
using Drive::kBlockKinds;
using Drive::kFirstBlockKind;
using Drive::kKinds;
using Drive::Session;
using Drive::Tally;

namespace {

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
    float angle = 0.0f;
    if (!ArcAngle(std::fabs(tx - muzzle.x), muzzle.y - ty, speed, high, angle)) {
        return false;
    }
    const float side = tx >= muzzle.x ? 1.0f : -1.0f;
    const b2Vec2 velocity(side * speed * std::cos(angle), -speed * std::sin(angle));
    // The launch force acts for one step: it gives the velocity over one time step.
    const b2Vec2 force = (ShotMass(kind) / Tuning::kTimeStep) * velocity;
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

// The aiming player's throws at a cake: pigs and cows, thrown flat or lobbed, at a few speeds.
struct Throw {
    int kind;
    float speed;  // units per second
    bool high;    // the lob rather than the flat throw
    float above;  // units above the cake's centre
};
constexpr Throw kThrows[] = {
    {ProjectileKind::Pig, 90.0f, false, 0.0f},  {ProjectileKind::Pig, 40.0f, true, 0.0f},
    {ProjectileKind::Cow, 60.0f, false, 0.0f},  {ProjectileKind::Cow, 40.0f, true, 0.0f},
    {ProjectileKind::Pig, 150.0f, false, 0.3f}, {ProjectileKind::Cow, 110.0f, false, 0.0f},
    {ProjectileKind::Cow, 60.0f, true, 0.0f}};

// The best of the throws at every cake, each played ahead from where the level stands: the one
// that knocks out the most cakes, or else breaks the most; one that clears the level is taken at
// once. Without a cake in reach, a straight cow along the ledge.
Action BestThrow(unsigned seed, const Session& session, const std::vector<Action>& actions)
{
    const int targets = session.TargetsLeft();
    Action best;
    double bestScore = -1.0;
    bool chosen = false;
    const double clearsAll = 1e9 * targets;
    for (const Block& target : session.map.blocks) {
        if (target.kind != BlockKind::Target || bestScore >= clearsAll) {
            continue;
        }
        for (const Throw& t : kThrows) {
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
    if (!chosen) {
        best.frame = session.frame;
        best.kind = ProjectileKind::Cow;
        best.dragX = -800;
    }
    return best;
}

// An aiming player: fires the best of its trial throws, then waits for the next shot.
Tally PlayAiming(unsigned seed, int shots)
{
    Session session(seed);
    std::vector<Action> actions;
    session.Replay(actions, kAimedShotEvery);
    for (int shot = 0; shot < shots && session.TargetsLeft() > 0; ++shot) {
        actions.push_back(BestThrow(seed, session, actions));
        session.Replay(actions, session.frame + kAimedShotEvery);
        if (session.TargetsLeft() == 0) {
            session.tally.shotsToWin = session.tally.shots;
        }
    }
    return session.tally;
}

double PerShot(int count, int shots)
{
    return shots > 0 ? static_cast<double>(count) / static_cast<double>(shots) : 0.0;
}

// Blocks broken, targets aside.
int BrokenBlocks(const Tally& t)
{
    int broken = 0;
    for (int k = 0; k + kFirstBlockKind < BlockKind::Target; ++k) {
        broken += t.broken[static_cast<size_t>(k)];
    }
    return broken;
}

// The sums over a player's levels.
struct Totals {
    Tally sum;
    std::vector<int> wins;  // shots to win, of the levels cleared
    int cracked = 0;        // levels with an overlay of kManyCracks or deeper
    int deepest = 0;        // levels with the deepest overlay
    int cannonsIn = 0;      // levels that end with the cannon in the field
};

Totals Add(const std::vector<Tally>& levels)
{
    Totals totals;
    Tally& total = totals.sum;
    for (const Tally& t : levels) {
        for (size_t k = 0; k < kBlockKinds; ++k) {
            total.broken[k] += t.broken[k];
        }
        for (size_t k = 0; k < kKinds; ++k) {
            total.brokenBy[k] += t.brokenBy[k];
            total.shotsOf[k] += t.shotsOf[k];
        }
        total.shots += t.shots;
        total.refused += t.refused;
        total.targetsByTouch += t.targetsByTouch;
        total.targetsByFall += t.targetsByFall;
        totals.cracked += t.deepestOverlay >= kManyCracks ? 1 : 0;
        totals.deepest += t.deepestOverlay == kDeepestOverlay ? 1 : 0;
        totals.cannonsIn += t.cannonLeft ? 0 : 1;
        if (t.shotsToWin > 0) {
            totals.wins.push_back(t.shotsToWin);
        }
    }
    std::sort(totals.wins.begin(), totals.wins.end());
    return totals;
}

void PrintLevels(const std::vector<Tally>& levels, unsigned firstSeed)
{
    std::printf("seed   shots refused  broken  deepest  targets(touch/fall)  won after  cannon at\n");
    for (size_t i = 0; i < levels.size(); ++i) {
        const Tally& t = levels[i];
        std::printf(
            "%-6u %5d %7d %7d %8d %10d/%-10d %9s  (%.2f, %.2f)%s\n", firstSeed + static_cast<unsigned>(i),
            t.shots, t.refused, BrokenBlocks(t), t.deepestOverlay, t.targetsByTouch, t.targetsByFall,
            t.shotsToWin > 0 ? std::to_string(t.shotsToWin).c_str() : "-", static_cast<double>(t.cannonX),
            static_cast<double>(t.cannonY), t.cannonLeft ? "  LEFT THE FIELD" : "");
    }
}

// Blocks broken per shot, by block kind and by animal, and the cow's share against the pig's.
void PrintBreaks(const Tally& total)
{
    std::printf("blocks broken per shot, targets aside: %.2f (", PerShot(BrokenBlocks(total), total.shots));
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
}

void Report(const char* player, const std::vector<Tally>& levels, int shotsPerLevel, unsigned firstSeed)
{
    std::printf("\n== %s player: %zu levels (seeds %u..%zu), up to %d shots each ==\n", player, levels.size(),
                firstSeed, firstSeed + levels.size() - 1, shotsPerLevel);
    PrintLevels(levels, firstSeed);
    const Totals totals = Add(levels);
    const Tally& total = totals.sum;
    PrintBreaks(total);
    std::printf("deepest overlay >= %d in %d of %zu levels, %d in %d\n", kManyCracks, totals.cracked,
                levels.size(), kDeepestOverlay, totals.deepest);
    const std::vector<int>& wins = totals.wins;
    std::printf("levels cleared: %zu of %zu, shots to win median %s\n", wins.size(), levels.size(),
                wins.empty() ? "-" : std::to_string(wins[(wins.size() - 1) / 2]).c_str());
    std::printf("targets lost: %d by an animal's touch, %d by a fall\n", total.targetsByTouch,
                total.targetsByFall);
    std::printf("shots refused: %d of %d\n", total.refused, total.shots);
    std::printf("cannon in the field at the end: %d of %zu levels\n", totals.cannonsIn, levels.size());
}

}  // namespace

float ShotMass(int kind)
{
    const Projectile probe(0.0f, -100.0f, nullptr, kind);
    const float radius = probe.size;
    return kind == ProjectileKind::Cow ? probe.density * 4.0f * radius * radius
                                       : probe.density * 3.14159265f * radius * radius;
}

bool ArcAngle(float dx, float up, float speed, bool high, float& angle)
{
    const float g = Tuning::kGravityY;
    const float v2 = speed * speed;
    const float root = v2 * v2 - g * (g * dx * dx + 2.0f * up * v2);
    if (root < 0.0f || dx < 1e-3f) {
        return false;
    }
    angle = std::atan2(v2 + (high ? 1.0f : -1.0f) * std::sqrt(root), g * dx);
    return true;
}

void PlayersProbe(int levels, int shots, unsigned firstSeed)
{
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
}

}  // namespace Playtest
