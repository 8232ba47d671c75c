// Running the real game as its own process.
#include "game_process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool SleepingInMainLoop(pid_t pid)
{
    std::ifstream syscall("/proc/" + std::to_string(pid) + "/syscall");
    long number = -1;
    syscall >> number;
    // The system call the process is blocked in, by this machine's own numbers.
#ifdef SYS_nanosleep
    if (number == SYS_nanosleep) {
        return true;
    }
#endif
    return number == SYS_clock_nanosleep;
}

ProcessResult RunGame(const fs::path& dir, int closeSignal, const EnvChanges& env)
{
    const std::string outPath = (dir / "stdout.txt").string();
    const std::string errPath = (dir / "stderr.txt").string();
    const std::string dirPath = dir.string();
    ProcessResult result;

    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || chdir(dirPath.c_str()) != 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
            _exit(126);
        }
        for (const auto& [name, value] : env) {
            if (value != nullptr) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        }
        execl(SHOOTER_BINARY, "shooter", static_cast<char*>(nullptr));
        _exit(127);
    }
    EXPECT_GT(pid, 0) << "fork failed";
    if (pid <= 0) {
        return result;
    }

    constexpr int kSafetyPolls = 6000;  // 60 s of 10 ms polls
    bool closeSent = false;
    int waitStatus = 0;
    struct rusage usage {};
    pid_t done = 0;
    for (int poll = 0; poll < kSafetyPolls && done == 0; ++poll) {
        done = wait4(pid, &waitStatus, WNOHANG, &usage);
        if (done == 0 && closeSignal != 0 && !closeSent && SleepingInMainLoop(pid)) {
            closeSent = kill(pid, closeSignal) == 0;
        }
        if (done == 0) {
            usleep(10000);
        }
    }
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &waitStatus, 0, &usage);
        ADD_FAILURE() << "the game did not end by itself within the safety limit";
    }
    result.peakKiB = usage.ru_maxrss;
    result.exited = WIFEXITED(waitStatus);
    result.status = result.exited ? WEXITSTATUS(waitStatus) : -1;
    result.signal = WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0;
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

TempDir::TempDir()
{
    char pattern[] = "/tmp/shooter-app-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
        path = pattern;
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void CopyArtwork(const fs::path& dir, const std::string& leftOut)
{
    const fs::path from = fs::path(SHOOTER_SOURCE_DIR) / "bmp";
    fs::create_directory(dir / "bmp");
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        if (entry.path().filename() != leftOut) {
            fs::copy_file(entry.path(), dir / "bmp" / entry.path().filename());
        }
    }
}
