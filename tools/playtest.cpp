// Plays seeded levels without a window and prints what the rules make of them: blocks broken per
// shot (by kind and by animal), the deepest crack drawn, shots to win, how targets were lost,
// refused shots and where the cannon ends. The same arguments always print the same bytes.
// Run from the repository root (shots load their pictures from ./bmp/).
//
// Usage:
//   playtest [levels] [shots] [first seed]          a random player and an aiming player
//   playtest cannon [seeds] [seconds] [first seed]  every animal with its trick at 1 to 5 clicks
//                                                   a second: the runs where the cannon left
//   playtest muzzle [seconds] [seed]                refused shots at a human pace, per drag
#include "app/shooter.h"
#include "field/level_generator.h"
#include "field/map.h"
#include "gameplay/frame_rules.h"
#include "gameplay/projectile.h"
#include "gameplay/tuning.h"

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

constexpr int kFrameRate = 100;  // frames per second of game time
// The muzzle, from the cannon's centre, as the game's input handler places shots.
constexpr float kMuzzleX = 0.6f;
constexpr float kMuzzleY = -0.6f;
constexpr int kKinds = 3;  // pig, cow, sheep
const char* const kKindNames[kKinds] = {"pig", "cow", "sheep"};
constexpr int kDeepestOverlay = 9;
constexpr int kManyCracks = 5;  // the overlay a level should reach

// Block kinds 4 to 10, as the level generator places them.
constexpr int kFirstBlockKind = BlockKind::Ledge;
constexpr int kBlockKinds = BlockKind::Target - BlockKind::Ledge + 1;
const char* const kBlockNames[kBlockKinds - 1] = {"ledge", "earth", "bedrock", "spring", "pedestal", "anchor"};

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
        Rules::GenerateLevel(map, seed, Tuning::kTargetCount, Tuning::kFieldWidth);
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
        last = map.Fire(cannon->x + kMuzzleX, cannon->y + kMuzzleY, force, action.kind);
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
        const int lost = Rules::RemoveDestroyed(map, Tuning::kFieldHeight);
        tally.targetsByTouch += brokenTargets;
        tally.targetsByFall += lost - brokenTargets;
        for (const Block& block : map.blocks) {
            if (block.fullStrength > block.strength) {
                tally.deepestOverlay =
                    std::max(tally.deepestOverlay, Shooter::DamageFrame(block.strength, block.fullStrength));
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
    const Cannon* cannon = map.GetCannon();
    const float mx = cannon->x + kMuzzleX;
    const float my = cannon->y + kMuzzleY;
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
    const Throw throws[] = {{ProjectileKind::Pig, 90.0f, false, 0.0f},  {ProjectileKind::Pig, 40.0f, true, 0.0f},
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
        std::printf("%-6u %5d %7d %7d %8d %10d/%-10d %9s  (%.2f, %.2f)%s\n", firstSeed + static_cast<unsigned>(i),
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
    std::printf("targets lost: %d by an animal's touch, %d by a fall\n", total.targetsByTouch, total.targetsByFall);
    std::printf("shots refused: %d of %d\n", total.refused, total.shots);
    std::printf("cannon in the field at the end: %d of %zu levels\n", cannonsIn, levels.size());
}

// Clicks at `rate` a second for `seconds`: each click shoots `kind` with a drag, or, while a
// cow or sheep waits, triggers its trick. Drags from `dice`, or `fixedDrag` pixels to the left.
Tally PlayClicks(unsigned seed, int kind, int rate, int seconds, Dice* dice, int fixedDrag)
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
                action.dragX = -dice->Below(301);
                action.dragY = dice->Below(301) - 150;
            } else {
                action.dragX = -fixedDrag;
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
            if (session.tally.refused > refusedBefore && next + 1 < actions.size() && actions[next + 1].trick) {
                actions[next + 1].trick = false;
                actions[next + 1].dragX = actions[next].dragX;
                actions[next + 1].dragY = actions[next].dragY;
            }
        }
        session.RunFrame();
    }
    return session.tally;
}

void CannonProbe(int seeds, int seconds, unsigned firstSeed)
{
    std::printf("every animal with its trick at 1 to 5 clicks a second, %d s, random drags up to 300 px\n", seconds);
    int runs = 0;
    int left = 0;
    for (unsigned seed = firstSeed; seed < firstSeed + static_cast<unsigned>(seeds); ++seed) {
        for (int kind = 0; kind < kKinds; ++kind) {
            for (int rate = 1; rate <= 5; ++rate) {
                Dice dice(seed * 31u + static_cast<unsigned>(kind * 7 + rate));
                const Tally t = PlayClicks(seed, kind, rate, seconds, &dice, 0);
                ++runs;
                if (t.cannonLeft) {
                    ++left;
                    std::printf("seed %u, %s, %d a second: the cannon left the field at %.2f s, ends at (%.2f, %.2f)\n",
                                seed, kKindNames[kind], rate, static_cast<double>(t.cannonLeftFrame) / kFrameRate,
                                static_cast<double>(t.cannonX), static_cast<double>(t.cannonY));
                }
            }
        }
    }
    std::printf("the cannon left the field in %d of %d runs\n", left, runs);
}

void MuzzleProbe(int seconds, unsigned seed)
{
    const int rates[] = {1, 2, 3, 5};
    const int drags[] = {0, 5, 72, 160};
    std::printf("refused shots, seed %u, %d s per run, drags straight to the left, every cow and sheep with its "
                "trick\n",
                seed, seconds);
    std::printf("%-6s %5s %s\n", "animal", "rate", "refused/shots for drags of 0, 5, 72, 160 px");
    int refused = 0;
    int shots = 0;
    for (int kind = 0; kind < kKinds; ++kind) {
        for (const int rate : rates) {
            std::printf("%-6s %5d", kKindNames[kind], rate);
            for (const int drag : drags) {
                const Tally t = PlayClicks(seed, kind, rate, seconds, nullptr, drag);
                std::printf("  %3d/%-3d", t.refused, t.shots);
                refused += t.refused;
                shots += t.shots;
            }
            std::printf("\n");
        }
    }
    std::printf("shots refused: %d of %d\n", refused, shots);
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
        CannonProbe(Arg(argc, argv, 2, 10), Arg(argc, argv, 3, 60), static_cast<unsigned>(Arg(argc, argv, 4, 1)));
        return 0;
    }
    if (mode == "muzzle") {
        MuzzleProbe(Arg(argc, argv, 2, 30), static_cast<unsigned>(Arg(argc, argv, 3, 1)));
        return 0;
    }
    const int levels = Arg(argc, argv, 1, 30);
    const int shots = Arg(argc, argv, 2, 30);
    const auto firstSeed = static_cast<unsigned>(Arg(argc, argv, 3, 1));
    std::printf("playtest: %d levels x %d shots from seed %u\n", levels, shots, firstSeed);
    std::vector<Tally> random;
    std::vector<Tally> aiming;
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
