// Running the real game as its own process, in a directory of its own.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
    bool exited = false;  // ended by returning or exit(), not by a signal
    int status = -1;
    int signal = 0;
    long peakKiB = 0;  // the most resident memory the process had
    std::string out;
    std::string err;
};

std::string ReadFile(const std::filesystem::path& path);

// True when the process's main thread is asleep in the loop's frame pacing (and so past start-up).
bool SleepingInMainLoop(pid_t pid);

// Environment changes for the game's process: a null value removes the variable.
using EnvChanges = std::vector<std::pair<const char*, const char*>>;

// Runs the game in dir with the inherited (dummy-driver) environment and the given changes.
// When closeSignal is not 0, the game gets that signal (a close request) once it sleeps in its
// main loop. A safety limit kills a game that hangs; it is no part of what is tested.
ProcessResult RunGame(const std::filesystem::path& dir, int closeSignal, const EnvChanges& env = {});

// A temporary directory removed at the end of its scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path path;
};

// Copies the game's artwork into dir/bmp, leaving out one file (or none).
void CopyArtwork(const std::filesystem::path& dir, const std::string& leftOut);
