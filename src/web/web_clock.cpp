// The page's clock over the browser's monotonic time and its timers.
#include "web/web_clock.h"

#include <emscripten.h>

namespace {

// How often a held clock looks for the page's grant, in milliseconds.
constexpr unsigned kGrantPollMillis = 2;

}  // namespace

// The page reads the loop's progress from here.
EM_JS(void, PublishProgress, (double iterations, double steps), {
    Module.iterations = iterations;
    Module.steps = steps;
});

// One iteration granted by the page, taken: 1, or 0 (and the loop is parked) when there is none.
EM_JS(int, TakeGrant, (), {
    if (!(Module.granted > 0)) {
        Module.parked = true;
        return 0;
    }
    Module.granted -= 1;
    Module.parked = false;
    return 1;
});

uint64_t WebClock::NowMicros()
{
    if (held) {
        return heldMicros;
    }
    return static_cast<uint64_t>(emscripten_get_now() * 1000.0);
}

void WebClock::SleepMicros(uint64_t micros)
{
    CountIteration();
    if (held) {
        WaitForGrant(micros);
        return;
    }
    // The browser's timers count whole milliseconds; the pacer's timeline makes up the rest.
    emscripten_sleep(static_cast<unsigned>((micros + 500) / 1000));
}

void WebClock::Yield()
{
    CountIteration();
    if (held) {
        WaitForGrant(0);
        return;
    }
    emscripten_sleep(0);
}

void WebClock::Hold()
{
    held = true;
}

void WebClock::WaitForGrant(uint64_t micros)
{
    while (TakeGrant() == 0) {
        emscripten_sleep(kGrantPollMillis);
    }
    heldMicros += micros;
}

WebClock& WebClock::Instance()
{
    static WebClock clock;
    return clock;
}

void WebClock::CountIteration()
{
    ++iterations;
    PublishProgress(static_cast<double>(iterations), static_cast<double>(steps));
}

void WebClock::Stepped(uint32_t count)
{
    steps += count;
}
