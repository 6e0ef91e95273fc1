#include "apps/bench_figures.h"

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

double Milliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

struct Summary {
    double median;
    double minimum;
    double maximum;
};

Summary Summarise(std::vector<double> values) {
    if (values.empty()) return {0.0, 0.0, 0.0};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return {median, values.front(), values.back()};
}

std::vector<double> Part(const std::vector<Elapsed>& times, double Elapsed::*part) {
    std::vector<double> values;
    values.reserve(times.size());
    for (const Elapsed& time : times) values.push_back(time.*part);
    return values;
}

void PrintSummary(const char* name, const Summary& summary) {
    std::printf("%s_median_ms %.3f\n", name, summary.median);
    std::printf("%s_min_ms %.3f\n", name, summary.minimum);
    std::printf("%s_max_ms %.3f\n", name, summary.maximum);
}

void PrintRatio(const char* name, double scene, double floor) {
    if (floor > 0.0) std::printf("%s %.3f\n", name, scene / floor);
}

}  // namespace

Elapsed ClockReading() { return {Milliseconds(CLOCK_MONOTONIC), Milliseconds(CLOCK_PROCESS_CPUTIME_ID)}; }

Elapsed operator-(const Elapsed& later, const Elapsed& earlier) {
    return {later.wall - earlier.wall, later.cpu - earlier.cpu};
}

void PrintBench(const BenchFigures& figures) {
    const Summary frames = Summarise(Part(figures.frames, &Elapsed::wall));
    const Summary floor = Summarise(Part(figures.floorFrames, &Elapsed::wall));
    const Summary framesCpu = Summarise(Part(figures.frames, &Elapsed::cpu));
    const Summary floorCpu = Summarise(Part(figures.floorFrames, &Elapsed::cpu));
    const Elapsed floorStartup = figures.floorStartup.value_or(Elapsed{});

    std::printf("startup_ms %.3f\n", figures.startup.wall);
    PrintSummary("frame", frames);
    if (figures.floorStartup) std::printf("floor_startup_ms %.3f\n", floorStartup.wall);
    PrintSummary("floor", floor);
    PrintRatio("frame_to_floor_ratio", frames.median, floor.median);
    PrintRatio("startup_to_floor_ratio", figures.startup.wall, floorStartup.wall);

    std::printf("startup_cpu_ms %.3f\n", figures.startup.cpu);
    std::printf("frame_cpu_median_ms %.3f\n", framesCpu.median);
    if (figures.floorStartup) std::printf("floor_startup_cpu_ms %.3f\n", floorStartup.cpu);
    std::printf("floor_cpu_median_ms %.3f\n", floorCpu.median);
    PrintRatio("frame_to_floor_cpu_ratio", framesCpu.median, floorCpu.median);
    PrintRatio("startup_to_floor_cpu_ratio", figures.startup.cpu, floorStartup.cpu);
    if (!figures.floorStartup) std::fputs("vintrel-render: the floor's start-up could not be measured\n", stderr);
}

void PrintFloorStartup(const Elapsed& startup) {
    std::printf("floor_startup_ms %.3f\nfloor_startup_cpu_ms %.3f\n", startup.wall, startup.cpu);
}

std::optional<Elapsed> MeasureFloorStartup(int width, int height) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const char* const argv[] = {"vintrel-render", "--floor-startup", "--size", size.c_str(), nullptr};
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, "/proc/self/exe", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    waitpid(child, &status, 0);
    Elapsed startup;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(output.c_str(), "floor_startup_ms %lf floor_startup_cpu_ms %lf", &startup.wall, &startup.cpu) !=
            2) {
        return std::nullopt;
    }
    return startup;
}
