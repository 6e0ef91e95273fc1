// Reads the current frame back and writes it as PNG (libpng).
#pragma once

#include <string>

// Writes the width x height frame of the bound read buffer, top row first; false on failure.
bool WriteFramePng(const std::string& path, int width, int height);
