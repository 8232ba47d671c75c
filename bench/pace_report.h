// Steps per wall-clock second, frame intervals and CPU share of a paced loop, for the pacing tools.
// With XSERVER_PID naming the X server's process, the server's CPU share over the same time too.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// Marks the start of each iteration and reports on the whole run.
class PaceReport {
public:
    void Start()
    {
        starts.clear();
        cpuStart = CpuSeconds();
        serverStart = ServerCpuSeconds();
    }
    void Iteration() { starts.push_back(NowSeconds()); }

    // extra: more words for the end of the line, or null.
    void Print(const char* name, const char* extra = nullptr) const
    {
        const double cpu = CpuSeconds() - cpuStart;
        const double server = ServerCpuSeconds() - serverStart;
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
                    "%zu over 20 ms; CPU %.1f %% of one core",
                    name, static_cast<double>(intervals.size()) / wall, wall,
                    wall * 1e3 / static_cast<double>(intervals.size()),
                    intervals[intervals.size() * 99 / 100], intervals.back(), over, 100.0 * cpu / wall);
        if (serverStart >= 0.0) {
            std::printf("; X server CPU %.1f %%", 100.0 * server / wall);
        }
        if (extra != nullptr) {
            std::printf("; %s", extra);
        }
        std::printf("\n");
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

    // User and system time of the X server named by XSERVER_PID; -1 when there is none to read.
    static double ServerCpuSeconds()
    {
        const char* pid = std::getenv("XSERVER_PID");
        if (pid == nullptr || *pid == '\0') {
            return -1.0;
        }
        std::ifstream stat(std::string("/proc/") + pid + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) {
            return -1.0;
        }
        // After the command's closing parenthesis: state is field 3, utime 14, stime 15.
        std::string rest = line.substr(line.rfind(')') + 2);
        std::vector<std::string> fields;
        size_t at = 0;
        while (at < rest.size()) {
            const size_t space = rest.find(' ', at);
            fields.push_back(rest.substr(at, space == std::string::npos ? std::string::npos : space - at));
            at = space == std::string::npos ? rest.size() : space + 1;
        }
        if (fields.size() < 13) {
            return -1.0;
        }
        const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
        return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / ticks;
    }

    std::vector<double> starts;
    double cpuStart = 0.0;
    double serverStart = -1.0;
};
