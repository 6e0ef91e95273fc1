// Every image the module embeds, by file name, as the generator makes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ModuleImage {
    const char* fileName;  // as resources/Vintrel.rc names it
    std::vector<uint8_t> (*make)();  // the complete file
};

const std::vector<ModuleImage>& ModuleImages();

// Writes every image into `directory`; false (with a line on stderr) when a file cannot be
// written.
bool WriteModuleImages(const std::string& directory);
