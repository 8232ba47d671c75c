// The cannon and the muzzle under a player who clicks on and on: whether the cannon leaves the
// field, and what a player sees of the shots at the muzzle.
#include "playtest/probes.h"

#include <algorithm>
#include <cstdio>

namespace Playtest {

using Drive::Dice;
using Drive::kFrameRate;
using Drive::kKinds;
using Drive::PlayClicks;
using Drive::Session;
using Drive::Tally;

namespace {

// A spring in the first column past the cannon's pocket, beside the empty cells under the ledge.
bool SpringBesideThePocket(unsigned seed)
{
    const Session session(seed);
    return std::any_of(session.map.blocks.begin(), session.map.blocks.end(), [](const Block& b) {
        return b.kind == BlockKind::Spring && b.x < 5.0f && b.y < 8.0f;
    });
}

}  // namespace

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

}  // namespace Playtest
