// The page's clock over the browser's monotonic time and its timers.
#include "web/web_clock.h"

#include <emscripten.h>

// The page reads the loop's progress from here.
EM_JS(void, PublishProgress, (double iterations, double steps), {
    Module.iterations = iterations;
    Module.steps = steps;
});

uint64_t WebClock::NowMicros()
{
    return static_cast<uint64_t>(emscripten_get_now() * 1000.0);
}

void WebClock::SleepMicros(uint64_t micros)
{
    CountIteration();
    // The browser's timers count whole milliseconds; the pacer's timeline makes up the rest.
    emscripten_sleep(static_cast<unsigned>((micros + 500) / 1000));
}

void WebClock::Yield()
{
    CountIteration();
    emscripten_sleep(0);
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
