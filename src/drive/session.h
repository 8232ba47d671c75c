// A level played without a window: seeded, frame by frame through the game's own rules, with a
// player's shots and tricks as the cannon takes them, and a tally of what the play did. The same
// seed and actions always play the same way.
#pragma once

#include "field/map.h"
#include "field/projectile.h"
#include "field/tuning.h"

#include <array>
#include <memory>
#include <vector>

namespace Drive {

// Frames a second of game time: one time step each.
constexpr int kFrameRate = static_cast<int>(1.0f / Tuning::kTimeStep + 0.5f);
constexpr int kKinds = 3;  // pig, cow, sheep
// Block kinds 4 to 10, as the level generator places them.
constexpr int kFirstBlockKind = BlockKind::Ledge;
constexpr int kBlockKinds = BlockKind::Target - BlockKind::Ledge + 1;

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
    explicit Session(unsigned seed);

    int TargetsLeft() const;

    // As a release of the left button does; the cow and the sheep then wait for their trick.
    void Do(const Action& action);

    // One frame of the rules, tallied.
    void RunFrame();

    // Plays the actions in order up to (not including) frame `until`.
    void Replay(const std::vector<Action>& actions, int until);

    Map map;
    Tally tally;
    int frame = 0;

private:
    void CountBroken(const Block& block);
    void TallyCannon();

    std::unique_ptr<Projectile> last;
    bool waiting = false;
    int shooter = -1;  // the kind of the latest shot: breaks are put down to it
};

}  // namespace Drive
