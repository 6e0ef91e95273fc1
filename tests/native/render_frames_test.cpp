#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "png_image.h"

namespace {

struct RunResult {
    int exitCode;
    std::string output;  // stdout and stderr together
};

RunResult RunRender(const std::string& arguments) {
    const std::string command = std::string(VINTREL_RENDER) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "popen failed"};
    std::string output;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string TempPath(const std::string& name) {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory ? directory : "/tmp") + "/vintrel-render-test-" + std::to_string(getpid()) + "-" + name;
}

TEST(VintrelRender, WritesAPngOfTheRequestedSize) {
    const std::string path = TempPath("size.png");
    const RunResult run = RunRender("--size 640x480 --time 10:10:00 --seed 1 --out " + path);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto image = ReadPng(path);
    ASSERT_TRUE(image) << "no valid PNG at " << path;
    EXPECT_EQ(image->width, 640);
    EXPECT_EQ(image->height, 480);
    std::remove(path.c_str());
}

TEST(VintrelRender, NumbersEveryFrameWherePathHoldsAPlaceholder) {
    const std::string pattern = TempPath("frame%d.png");
    const RunResult run = RunRender("--size 64x48 --frames 3 --out " + pattern);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (int frame = 0; frame < 3; ++frame) {
        const std::string path = TempPath("frame" + std::to_string(frame) + ".png");
        EXPECT_TRUE(ReadPng(path)) << path;
        std::remove(path.c_str());
    }
}

TEST(VintrelRender, BenchPrintsOneFigureALine) {
    const RunResult run = RunRender("--size 64x48 --frames 5 --bench");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::istringstream lines(run.output);
    std::map<std::string, double> figures;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name;
        double value = -1.0;
        std::string rest;
        ASSERT_TRUE(fields >> name >> value) << "not a figure: " << line;
        EXPECT_FALSE(fields >> rest) << "more than one figure: " << line;
        EXPECT_TRUE(figures.emplace(name, value).second) << "printed twice: " << name;
    }
    for (const char* name : {"startup_ms", "frame_median_ms", "frame_min_ms", "frame_max_ms", "floor_median_ms",
                             "floor_min_ms", "floor_max_ms", "frame_to_floor_ratio"}) {
        EXPECT_EQ(figures.count(name), 1u) << name << " missing from:\n" << run.output;
    }
    EXPECT_EQ(figures.size(), 8u) << run.output;
    EXPECT_GT(figures["startup_ms"], 0.0);
    for (const std::string kind : {"frame", "floor"}) {
        EXPECT_LE(figures[kind + "_min_ms"], figures[kind + "_median_ms"]) << kind;
        EXPECT_LE(figures[kind + "_median_ms"], figures[kind + "_max_ms"]) << kind;
    }
    EXPECT_GT(figures["frame_to_floor_ratio"], 0.0);
    if (figures["floor_median_ms"] > 0.1) {
        const double ratio = figures["frame_median_ms"] / figures["floor_median_ms"];
        EXPECT_NEAR(figures["frame_to_floor_ratio"], ratio, 0.02 * ratio + 0.002) << "not median over median";
    }
}

TEST(VintrelRender, BadOptionsExitWithTwoAndOneLine) {
    for (const char* arguments : {"--bogus", "--size 640", "--frames 0", "--time 25:00:00", "--seed"}) {
        const RunResult run = RunRender(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << arguments << ": " << run.output;
    }
}

TEST(VintrelRender, HelpDescribesTheOptions) {
    const RunResult run = RunRender("--help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"--size", "--time", "--clock", "--snow-clock", "--step", "--seed", "--frames", "--out",
                               "--bench"}) {
        EXPECT_NE(run.output.find(option), std::string::npos) << option;
    }
}

}  // namespace

