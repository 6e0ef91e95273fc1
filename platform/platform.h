// The thin layer between the portable core and the operating system. One implementation per
// platform (platform_win32.cpp, platform_posix.cpp); the core includes only this header.
#pragma once

#include <cstddef>
#include <cstdint>

struct LocalTimeOfDay {
    int hour;         // 0..23
    int minute;       // 0..59
    int second;       // 0..59
    int millisecond;  // 0..999
};

// Bytes of a resource embedded in the running module; data is null when there is none.
struct ResourceBytes {
    const unsigned char* data;
    std::size_t size;
    explicit operator bool() const { return data != nullptr; }
};

LocalTimeOfDay ReadLocalTime();

// The high-resolution counter and its counts per second (the frequency may be 0 where the
// platform has no such counter).
int64_t ReadPerformanceCounter();
int64_t ReadPerformanceFrequency();

// Milliseconds since an arbitrary start, wrapping at 32 bits.
uint32_t ReadTickCount();

// Whether the module that carries the resources can be found at all. Where it cannot, no
// resource can be had and the texture loaders tell the user once per image.
bool ResourceModuleAvailable();

// Looks up a resource of the running module by its type name ("BITMAP" for the standard bitmap
// type, or a custom name such as "SHADER") and integer identifier. A bitmap comes without its
// 14-byte file header, exactly as the Windows resource compiler stores it.
ResourceBytes FindModuleResource(const char* type, int id);

// Finds the window that owns an error message at the moment it is shown (a window handle, or
// null for none): the screen-saver window, which the scene's window procedure stores on every
// message. Until one is set, messages have no owner.
using OwnerWindowLookup = void* (*)();
void SetErrorMessageOwner(OwnerWindowLookup ownerWindow);

// A modal message with an OK button only, owned by the window the lookup names.
void ShowErrorMessage(const char* text, const char* caption);
