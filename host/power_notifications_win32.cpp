#include "host/power_notifications_win32.h"

#include <cstring>

#include "host/saver_decisions.h"
#include "host/system_libraries_win32.h"

namespace {

using RegisterPowerSettingNotificationFn = HANDLE(WINAPI*)(HANDLE recipient, const GUID* setting, DWORD flags);
using UnregisterPowerSettingNotificationFn = BOOL(WINAPI*)(HANDLE registration);

UnregisterPowerSettingNotificationFn unregisterFn = nullptr;
HANDLE registrations[2] = {};

GUID AsGuid(const PowerSettingGuid& setting) {
    GUID guid{};
    static_assert(sizeof guid == sizeof setting, "a power setting's identifier is a GUID");
    std::memcpy(&guid, &setting, sizeof guid);
    return guid;
}

const PowerSettingGuid& DisplayStateSetting() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return monitorPowerOnSetting;
    return DisplayStateSettingFor(version.dwMajorVersion, version.dwMinorVersion);
}

}  // namespace

void RegisterPowerNotifications(HWND window, bool displayState) {
    // Windows Vista and later; user32 is loaded in every process with a window.
    HMODULE user32 = GetModuleHandleA("USER32.DLL");
    const auto registerFn =
        LookUpEntryPoint<RegisterPowerSettingNotificationFn>(user32, "RegisterPowerSettingNotification");
    unregisterFn = LookUpEntryPoint<UnregisterPowerSettingNotificationFn>(user32, "UnregisterPowerSettingNotification");
    if (!registerFn || !unregisterFn) return;
    const GUID batterySaver = AsGuid(powerSavingStatusSetting);
    registrations[0] = registerFn(window, &batterySaver, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (displayState) {
        const GUID display = AsGuid(DisplayStateSetting());
        registrations[1] = registerFn(window, &display, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

void UnregisterPowerNotifications() {
    for (HANDLE& registration : registrations) {
        if (registration && unregisterFn) unregisterFn(registration);
        registration = nullptr;
    }
}
