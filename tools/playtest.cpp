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
#include "playtest/probes.h"

#include <cstdlib>
#include <string>

namespace {

int Arg(int argc, char** argv, int i, int fallback)
{
    return argc > i ? std::atoi(argv[i]) : fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "cannon") {
        Playtest::CannonProbe(Arg(argc, argv, 2, 10), Arg(argc, argv, 3, 60),
                              static_cast<unsigned>(Arg(argc, argv, 4, 1)), Arg(argc, argv, 5, 300),
                              Arg(argc, argv, 6, 0) != 0);
        return 0;
    }
    if (mode == "eye") {
        Playtest::EyeProbe(Arg(argc, argv, 2, 30), static_cast<unsigned>(Arg(argc, argv, 3, 1)),
                           Arg(argc, argv, 4, 30));
        return 0;
    }
    if (mode == "muzzle") {
        Playtest::MuzzleProbe(Arg(argc, argv, 2, 30), Arg(argc, argv, 3, 1),
                              static_cast<unsigned>(Arg(argc, argv, 4, 1)));
        return 0;
    }
    Playtest::PlayersProbe(Arg(argc, argv, 1, 30), Arg(argc, argv, 2, 30),
                           static_cast<unsigned>(Arg(argc, argv, 3, 1)));
    return 0;
}
