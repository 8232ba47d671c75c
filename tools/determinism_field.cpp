// The determinism run on the field alone: the same level, the same script and the same hashes as
// the game's own run (determinism.cpp), with the clicks turned into what the game's handlers do
// with them (the key chooses the animal, the release fires with the drag's force, a click while
// a trick waits plays it, nothing once the game is won), and no window, no SDL and no artwork.
// For a platform without a display: the browser's engine under node, built with emscripten.
// Usage: determinism_field [seed] [frames] [every] [frame to print whole]   (defaults 31, 3000, 100)
#include "determinism_script.h"
#include "field/level_generator.h"
#include "field/map.h"
#include "field/tuning.h"
#include "gameplay/firing_rules.h"
#include "gameplay/frame_rules.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : Determinism::kSeed;
    const int frames = argc > 2 ? std::atoi(argv[2]) : Determinism::kFrames;
    const int dump = argc > 4 ? std::atoi(argv[4]) : -1;  // a frame whose every number is printed
    const int every = argc > 3 ? std::max(1, std::atoi(argv[3])) : Determinism::kReportEvery;

    Map map(Tuning::kFieldWidth, Tuning::kFieldHeight, b2Vec2(0.0f, Tuning::kGravityY), Tuning::kAllowSleep);
    Levels::GenerateLevel(map, seed, Tuning::kTargetCount);
    // Frame 0: the level as generated, before any step.
    std::printf("0 %016" PRIx64 "\n", Determinism::HashField(map));
    int targetsLeft = Tuning::kTargetCount;
    bool playing = true;
    bool waiting = false;
    std::unique_ptr<Projectile> last;
    int shots = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        const Determinism::Step step = Determinism::At(frame, shots, waiting);
        if (playing && step.what != Determinism::Step::None) {
            if (waiting) {
                Rules::ProjectileAction(map, last.get());
                waiting = false;
            } else if (step.what == Determinism::Step::Shot) {
                last = Rules::FireFromCannon(
                    map, DragForce(static_cast<float>(step.dx), static_cast<float>(step.dy)), step.kind);
                waiting = last != nullptr && step.kind != ProjectileKind::Pig;
            }
        }
        if (playing && targetsLeft <= 0) {
            playing = false;
        }
        targetsLeft -= Rules::RunFrame(map);
        if (frame % every == 0) {
            std::printf("%d %016" PRIx64 "\n", frame, Determinism::HashField(map));
        }
        if (frame == dump) {
            Determinism::DumpField(map);
        }
    }
    return 0;
}
