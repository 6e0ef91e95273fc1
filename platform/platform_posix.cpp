// POSIX implementation of the platform layer, used by the native front-ends and tests.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <utility>

#include "platform/embedded_resources.h"
#include "platform/platform.h"
#include "platform/platform_posix_control.h"

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

bool localTimeFrozen = false;
LocalTimeOfDay frozenLocalTime{};

bool counterFrozen = false;
int64_t frozenCounter = 0;

bool tickCountFrozen = false;
uint32_t frozenTickCount = 0;

bool frequencyOverridden = false;
int64_t overriddenFrequency = 0;

std::vector<ShownErrorMessage> shownMessages;

bool resourceModuleAvailable = true;

std::map<std::pair<std::string, int>, ResourceBytes>& ResourceOverrides() {
    static std::map<std::pair<std::string, int>, ResourceBytes> overrides;
    return overrides;
}

int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

}  // namespace

LocalTimeOfDay ReadLocalTime() {
    if (localTimeFrozen) return frozenLocalTime;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(now.tv_nsec / 1000000)};
}

int64_t ReadPerformanceCounter() {
    return counterFrozen ? frozenCounter : MonotonicNanoseconds();
}

int64_t ReadPerformanceFrequency() {
    return frequencyOverridden ? overriddenFrequency : kNanosecondsPerSecond;
}

uint32_t ReadTickCount() {
    if (tickCountFrozen) return frozenTickCount;
    return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000);
}

bool ResourceModuleAvailable() { return resourceModuleAvailable; }

ResourceBytes FindModuleResource(const char* type, int id) {
    if (!resourceModuleAvailable) return {nullptr, 0};
    const auto found = ResourceOverrides().find({type, id});
    if (found != ResourceOverrides().end()) return found->second;
    for (std::size_t i = 0; i < embeddedResourceCount; ++i) {
        const EmbeddedResource& resource = embeddedResources[i];
        if (resource.id == id && std::strcmp(resource.type, type) == 0) {
            return {resource.begin, static_cast<std::size_t>(resource.end - resource.begin)};
        }
    }
    return {nullptr, 0};
}

// A message on the terminal has no owner window.
void SetErrorMessageOwner(OwnerWindowLookup) {}

void ShowErrorMessage(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    shownMessages.push_back({text, caption});
}

void FreezeLocalTime(const LocalTimeOfDay& time) {
    localTimeFrozen = true;
    frozenLocalTime = time;
}

void FreezePerformanceCounter(int64_t counter) {
    counterFrozen = true;
    frozenCounter = counter;
}

void AdvanceFrozenPerformanceCounter(int64_t counts) { frozenCounter += counts; }

void OverridePerformanceFrequency(int64_t frequency) {
    frequencyOverridden = true;
    overriddenFrequency = frequency;
}

void FreezeTickCount(uint32_t ticks) {
    tickCountFrozen = true;
    frozenTickCount = ticks;
}

void UnfreezeClocks() {
    localTimeFrozen = false;
    tickCountFrozen = false;
    counterFrozen = false;
    frequencyOverridden = false;
}

const std::vector<ShownErrorMessage>& ShownErrorMessages() { return shownMessages; }

void ClearShownErrorMessages() { shownMessages.clear(); }

void OverrideModuleResource(const char* type, int id, const unsigned char* data, std::size_t size) {
    ResourceOverrides()[{type, id}] = ResourceBytes{data, data ? size : 0};
}

void ClearModuleResourceOverrides() { ResourceOverrides().clear(); }

void SetResourceModuleAvailable(bool available) { resourceModuleAvailable = available; }
