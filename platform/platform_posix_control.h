// Controls of the POSIX platform layer for the native front-ends and tests: a frozen clock and
// counter make frames reproducible, and the error messages can be read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// From now on ReadLocalTime returns this time of day.
void FreezeLocalTime(const LocalTimeOfDay& time);

// From now on ReadPerformanceCounter returns this value (counts of ReadPerformanceFrequency).
void FreezePerformanceCounter(int64_t counter);
void AdvanceFrozenPerformanceCounter(int64_t counts);

// Replaces the frequency the counter reports (0 is allowed: a platform without a counter).
void OverridePerformanceFrequency(int64_t frequency);

// From now on ReadTickCount returns this value (the scene seeds its random numbers with it).
void FreezeTickCount(uint32_t ticks);

// Returns to the real clock, counter, frequency and tick count.
void UnfreezeClocks();

struct ShownErrorMessage {
    std::string text;
    std::string caption;
};

// Every message ShowErrorMessage has shown since the last call of ClearShownErrorMessages.
const std::vector<ShownErrorMessage>& ShownErrorMessages();
void ClearShownErrorMessages();

// Makes FindModuleResource answer with these bytes for (type, id) instead of the embedded
// resource, so tests can hand the loaders missing, truncated or inconsistent resources.
// The bytes must outlive the override. A null data pointer makes the resource missing.
void OverrideModuleResource(const char* type, int id, const unsigned char* data, std::size_t size);
void ClearModuleResourceOverrides();

// Makes the module that carries the resources unavailable (false) or available again (true):
// ResourceModuleAvailable answers false and FindModuleResource finds nothing, overrides included.
void SetResourceModuleAvailable(bool available);
