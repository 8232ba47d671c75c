// Steps per wall-clock second, frame intervals and CPU share of a paced loop, for the pacing tools.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

// Marks the start of each iteration and reports on the whole run.
class PaceReport {
public:
    void Start()
    {
        starts.clear();
        cpuStart = CpuSeconds();
    }
    void Iteration() { starts.push_back(NowSeconds()); }

    void Print(const char* name) const
    {
        const double cpu = CpuSeconds() - cpuStart;
        if (starts.size() < 2) {
            std::printf("%s: too few iterations to measure\n", name);
            return;
        }
        const double wall = starts.back() - starts.front();
        std::vector<double> intervals;
        for (size_t i = 1; i < starts.size(); ++i) {
            intervals.push_back((starts[i] - starts[i - 1]) * 1e3);
        }
        std::sort(intervals.begin(), intervals.end());
        const size_t over = static_cast<size_t>(
            std::count_if(intervals.begin(), intervals.end(), [](double ms) { return ms > 20.0; }));
        std::printf("%s: %.2f steps per second over %.1f s; interval mean %.3f ms, p99 %.2f ms, max %.2f ms, "
                    "%zu over 20 ms; CPU %.1f %% of one core\n",
                    name, static_cast<double>(intervals.size()) / wall, wall,
                    wall * 1e3 / static_cast<double>(intervals.size()),
                    intervals[intervals.size() * 99 / 100], intervals.back(), over, 100.0 * cpu / wall);
        std::fflush(stdout);
    }

    static double NowSeconds()
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }

private:
    // User and system time of every thread of the process.
    static double CpuSeconds()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        auto seconds = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
        };
        return seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }

    std::vector<double> starts;
    double cpuStart = 0.0;
};
