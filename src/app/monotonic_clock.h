// Milliseconds on the monotonic clock, which no change of the date moves; safe in a signal
// handler. The process guard's waits and deadlines all count in these.
#pragma once

#include <ctime>

namespace ProcessGuard {

inline long long MonotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

}  // namespace ProcessGuard
