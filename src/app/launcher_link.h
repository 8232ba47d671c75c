// What passes between the game and the launcher that started it: the launcher's end is the
// game's end, and the game leaves it one line for each reason it could not start.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ProcessGuard {

// Status of a start-up that failed: no display, a display that does not answer, missing artwork.
constexpr int kStartFailedStatus = 255;

// Started by its launcher (FARMYARD_CANNON_LAUNCHER names the launcher's process), the game
// ends with it: when the launcher ends, however it ends, the game gets a quit signal, and a
// game whose launcher is already gone quits at once. Takes the process's environment, as the
// program's first code gets it (the library's own view of it is not ready yet).
void EndWithLauncher(char** environment);

// The game prints nothing; its launcher hands it a descriptor in FARMYARD_CANNON_REPORT, and
// the game writes one line there for each reason it could not start. Without it, nothing.
void TellLauncher(const std::string& line);

// That descriptor, or -1. The first call reads the environment, so a signal handler may only
// use a value fetched before; WriteToLauncher itself is safe in a signal handler. It never
// holds the game up: it waits at most a second for room in a launcher's full pipe, and once a
// launcher has left its pipe full that long, not at all; what does not fit is left out.
int LauncherDescriptor();
void WriteToLauncher(int descriptor, const char* text, std::size_t length);

// A value as a line shows it: its first kShownCharacters characters and its length when it is
// longer, control characters as "?", so that the line stays one short line.
constexpr std::size_t kShownCharacters = 200;
std::string Shown(std::string_view value);

}  // namespace ProcessGuard
