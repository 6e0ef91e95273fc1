// Win32 implementation of the platform layer.
#include <windows.h>

#include "platform/platform.h"

namespace {

OwnerWindowLookup errorMessageOwner = nullptr;

// The module whose image holds this code: the screen saver itself, whatever its file is called.
HMODULE OwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

}  // namespace

LocalTimeOfDay ReadLocalTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

int64_t ReadPerformanceCounter() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

int64_t ReadPerformanceFrequency() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

uint32_t ReadTickCount() { return GetTickCount(); }

bool ResourceModuleAvailable() { return OwnModule() != nullptr; }

ResourceBytes FindModuleResource(const char* type, int id) {
    HMODULE module = OwnModule();
    if (!module) return {nullptr, 0};
    const bool isBitmap = lstrcmpA(type, "BITMAP") == 0;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), isBitmap ? MAKEINTRESOURCEA(2) : type);
    if (!info) return {nullptr, 0};
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {nullptr, 0};
    return {static_cast<const unsigned char*>(data), SizeofResource(module, info)};
}

void SetErrorMessageOwner(OwnerWindowLookup ownerWindow) { errorMessageOwner = ownerWindow; }

void ShowErrorMessage(const char* text, const char* caption) {
    MessageBoxA(static_cast<HWND>(errorMessageOwner ? errorMessageOwner() : nullptr), text, caption, MB_OK);
}
