// The real game, started as the game program starts it, run for a while on the real clock with
// each iteration's start noted; then it reports steps per wall-clock second and CPU share.
// It clicks START after two seconds, so most of the run is a level in play.
// Usage: pace_probe [seconds]   (run from the repository root, on an X display)
#include "app/shooter.h"
#include "app/video_defaults.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "pace_report.h"

#include <SDL.h>

#include <cstdlib>

namespace {

// The system clock, noting each iteration: the loop reads the clock once as an iteration
// starts and once as it ends.
class ProbeClock : public FrameClock {
public:
    explicit ProbeClock(double seconds) : seconds(seconds) {}

    uint64_t NowMicros() override
    {
        if (reads++ % 2 == 0) {
            OnIterationStart();
        }
        return SystemClock::Instance().NowMicros();
    }
    void SleepMicros(uint64_t micros) override { SystemClock::Instance().SleepMicros(micros); }

    PaceReport report;

private:
    void OnIterationStart()
    {
        const double now = PaceReport::NowSeconds();
        if (reads == 1) {
            begin = now;
        }
        const double elapsed = now - begin;
        // The first second (the window appearing) is left out of the figures.
        if (!measuring && elapsed >= 1.0) {
            measuring = true;
            report.Start();
        }
        if (measuring) {
            report.Iteration();
        }
        if (!clicked && elapsed >= 2.0) {
            clicked = true;
            Drive::Input().Click(Drive::kStartButtonX, Drive::kStartButtonY);
        }
        if (!quitting && elapsed >= 1.0 + seconds) {
            quitting = true;
            Drive::Input().Quit();
        }
    }

    double seconds;
    double begin = 0.0;
    long reads = 0;
    bool measuring = false;
    bool clicked = false;
    bool quitting = false;
};

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    SetVideoDefaults();
    std::atexit(SDL_Quit);
    ProbeClock clock(seconds);
    Shooter game;
    game.SetClock(clock);
    if (game.OnExecute() != 0) {
        std::fprintf(
            stderr, "pace_probe: the game did not start (a display, and ./bmp/ under the working folder?)\n");
        return 1;
    }
    clock.report.Print("game ");
    return 0;
}
