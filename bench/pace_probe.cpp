// The real game, started as the game program starts it, run for a while on the real clock with
// each iteration's start noted; then it reports steps per wall-clock second and CPU share.
// It clicks START after one second and measures from two seconds later, once the cakes have
// landed: either a settled level, where only the pendulums and rotors move, or a level with a
// player firing a shot every second (pig, cow, sheep in turn, each cow split and sheep jolted).
// With "whole" the game draws and flips the whole window every frame, as it did before it drew
// only what changed. The report ends with the average share of the window redrawn per frame.
// Usage: pace_probe [seconds] [settled|shots] [whole]   (from the repository root, on an X display)
#include "app/shooter.h"
#include "app/video_defaults.h"
#include "drive/headless_game.h"
#include "drive/input.h"
#include "field/map.h"
#include "pace_report.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr double kStartClick = 1.0;  // seconds after the first iteration
constexpr double kMeasureFrom = 3.0;
constexpr double kShotEvery = 1.0;
constexpr double kTrickAfter = 0.35;  // the cow's split or the sheep's jolt, after its launch

double Percent(uint64_t part, uint64_t whole)
{
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

// The system clock, noting each iteration: the loop reads the clock once as an iteration
// starts and once as it ends.
class ProbeClock : public FrameClock {
public:
    ProbeClock(Shooter& game, double seconds, bool shots) : game(game), seconds(seconds), shots(shots) {}

    uint64_t NowMicros() override
    {
        if (reads++ % 2 == 0) {
            OnIterationStart();
        }
        return SystemClock::Instance().NowMicros();
    }
    void SleepMicros(uint64_t micros) override { SystemClock::Instance().SleepMicros(micros); }

    PaceReport report;
    size_t mostInFlight = 0;  // shots in the field at once, at most

private:
    void OnIterationStart()
    {
        const double now = PaceReport::NowSeconds();
        if (reads == 1) {
            begin = now;
        }
        const double elapsed = now - begin;
        if (!measuring && elapsed >= kMeasureFrom) {
            measuring = true;
            report.Start();
            game.painter.ResetStats();
        }
        if (measuring) {
            report.Iteration();
            if (clicked) {
                mostInFlight = std::max(mostInFlight, game.CurrentMap().projectiles.size());
            }
        }
        if (!clicked && elapsed >= kStartClick) {
            clicked = true;
            Drive::Input().Click(Drive::kStartButtonX, Drive::kStartButtonY);
        }
        if (shots && clicked) {
            Shoot(elapsed);
        }
        if (!quitting && elapsed >= kMeasureFrom + seconds) {
            quitting = true;
            Drive::Input().Quit();
        }
    }

    // One shot a second from just after the cakes have landed: the button pressed, a drag over
    // 30 frames with the crosshairs showing, the release; the drag differs a little each time
    // so the shots land all over the field.
    void Shoot(double elapsed)
    {
        constexpr int kDragFrames = 30;
        constexpr int kX = 500;
        constexpr int kY = 300;
        const Drive::Input input;
        const int dx = -120 - 15 * (fired % 5);
        const int dy = 20 + 10 * (fired % 4);
        if (dragFrame > 0) {
            const int atX = kX + dx * (dragFrame - 1) / kDragFrames;
            const int atY = kY + dy * (dragFrame - 1) / kDragFrames;
            const int nextX = kX + dx * dragFrame / kDragFrames;
            const int nextY = kY + dy * dragFrame / kDragFrames;
            input.Motion(nextX, nextY, nextX - atX, nextY - atY, SDL_BUTTON_LMASK);
            if (++dragFrame > kDragFrames) {
                input.Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, kX + dx, kY + dy);
                dragFrame = 0;
                trickPending = fired % 3 != 0;
                trickDue = elapsed + kTrickAfter;
                ++fired;
            }
            return;
        }
        const double due = kMeasureFrom - 0.5 + kShotEvery * static_cast<double>(fired);
        if (trickPending && elapsed >= trickDue) {
            input.Click(kX, kY);
            trickPending = false;
        } else if (!trickPending && elapsed >= due) {
            static constexpr SDLKey kKinds[] = {SDLK_z, SDLK_x, SDLK_c};  // pig, cow, sheep
            input.Key(kKinds[fired % 3]);
            input.Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, kX, kY);
            dragFrame = 1;
        }
    }

    Shooter& game;
    double seconds;
    bool shots;
    double begin = 0.0;
    long reads = 0;
    bool measuring = false;
    bool clicked = false;
    bool quitting = false;
    int fired = 0;
    int dragFrame = 0;  // 1.. while the button is held
    bool trickPending = false;
    double trickDue = 0.0;
};

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const bool shots = argc > 2 && std::strcmp(argv[2], "shots") == 0;
    const bool whole = argc > 3 && std::strcmp(argv[3], "whole") == 0;
    SetVideoDefaults();
    std::atexit(SDL_Quit);
    Shooter game;
    ProbeClock clock(game, seconds, shots);
    game.SetClock(clock);
    game.painter.SetAlwaysWhole(whole);
    if (game.OnExecute() != 0) {
        std::fprintf(
            stderr, "pace_probe: the game did not start (a display, and ./bmp/ under the working folder?)\n");
        return 1;
    }
    const FramePainter::Statistics& stats = game.painter.Stats();
    char share[160];
    std::snprintf(
        share, sizeof share,
        "window redrawn per frame %.1f %% (%.1f %% of frames whole, %.1f %% quiet); up to %zu shots "
        "in the field",
        100.0 * game.painter.RedrawnShare(), Percent(stats.wholeFrames, stats.frames),
        Percent(stats.quietFrames, stats.frames), clock.mostInFlight);
    std::string name = shots ? "game, shots flying" : "game, settled level";
    name += whole ? ", whole window" : ", what changed";
    clock.report.Print(name.c_str(), share);
    return 0;
}
