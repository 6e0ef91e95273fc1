// What vintrel-render --bench measures and prints: wall-clock time, and the processor time of
// all the process's threads, which moves much less when other work shares the machine.
#pragma once

#include <optional>
#include <vector>

struct Elapsed {
    double wall = 0.0;  // milliseconds
    double cpu = 0.0;   // milliseconds, every thread of the process together
};

// Both clocks now: wall from an arbitrary origin, processor time since the process began.
Elapsed ClockReading();
Elapsed operator-(const Elapsed& later, const Elapsed& earlier);

struct BenchFigures {
    Elapsed startup;  // process start to the first frame finished
    std::vector<Elapsed> frames;
    std::optional<Elapsed> floorStartup;  // none where it could not be measured
    std::vector<Elapsed> floorFrames;
};

// One "name value" line each: start-up and frame times (median, least, greatest) of the scene
// and of the floor, wall and processor, and the ratios of the scene's to the floor's.
void PrintBench(const BenchFigures& figures);

// Runs this program again with --floor-startup at the given size and reads what it prints.
std::optional<Elapsed> MeasureFloorStartup(int width, int height);

// The line pair --floor-startup prints, read back by MeasureFloorStartup.
void PrintFloorStartup(const Elapsed& startup);
