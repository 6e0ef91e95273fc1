// The screen saver's command line as plain decisions, free of the operating system: which mode
// the argument text selects and which window number it names. The Win32 host applies them.
#pragma once

#include <cstdint>

// Reads the decimal digits at the start of text, stopping at the first other byte (bytes of
// 128 and above included); the value wraps at 32 bits. 0 when there is no digit.
uint32_t ParseDecimal(const char* text);

enum class SaverMode {
    ConfigureWithoutOwner,  // empty argument text
    Configure,              // C: owner from ":<handle>", else the foreground window
    FullScreen,             // S
    Preview,                // P or L with the preview window's handle
    ChangePassword,         // A, owner handle after the letter
    Unrecognised,           // anything else: exit code -1
};

struct SaverArguments {
    SaverMode mode;
    uint32_t window;  // the handle the text names; 0 when it names none
};

SaverArguments ParseSaverArguments(const char* text);

// Steps one character on; multibyte-aware on platforms with double-byte code pages.
using NextCharacterFn = const char* (*)(const char* text);

// Skips the program name at the start of a process command line (quoted or not) and the
// spaces and control characters after it; returns the start of the argument text.
const char* SkipProgramName(const char* commandLine, NextCharacterFn next);
