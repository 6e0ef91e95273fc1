// The class window procedure and the default screen-saver procedure.
#include <windows.h>

#include "host/saver_behaviour_win32.h"
#include "host/saver_decisions.h"
#include "host/saver_modes_win32.h"
#include "host/screen_saver_proc_win32.h"
#include "host/system_libraries_win32.h"

bool isClosing = false;
bool isVerifying = false;
HMODULE passwordLibrary = nullptr;
VerifyPasswordFn verifyPasswordFn = nullptr;
POINT lastCursorPos{0, 0};
DWORD lastVerifyTick = noVerificationYet;

namespace {

constexpr UINT kScreenSaveRunning = 97;  // SPI_SETSCREENSAVERRUNNING
// The resume notice of the older power message that ends the saver: 3, which the Windows
// headers call PWR_CRITICALRESUME.
constexpr WPARAM kCloseOnPowerNotice = 3;
constexpr UINT kPreviewParentTimeoutMs = 2000;

using ImmAssociateContextFn = HANDLE(WINAPI*)(HWND window, HANDLE context);

HMODULE imm32Module = nullptr;
ImmAssociateContextFn immAssociateContextFn = nullptr;
HANDLE savedImeContext = nullptr;

void RequestClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

// The display settings own the help and the context menu of their preview area. WM_HELP
// carries a pointer to the sender's HELPINFO, which the system copies only for a sent message:
// posting it fails. It is therefore sent, with a time limit in case the parent hangs.
void HandToPreviewParent(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (!parent || !IsWindow(parent)) return;
    const WPARAM parentHandle = reinterpret_cast<WPARAM>(parent);
    if (message == WM_HELP) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(parent, message, parentHandle, lParam, SMTO_ABORTIFHUNG, kPreviewParentTimeoutMs,
                            &ignored);
    } else {
        PostMessageA(parent, message, parentHandle, lParam);
    }
}

// Input methods would catch keys meant to end the saver: detach the window's context while
// the saver runs, if the input-method library is already there.
void DetachInputMethod(HWND window) {
    imm32Module = GetModuleHandleA("IMM32.DLL");
    if (!imm32Module) return;
    immAssociateContextFn = LookUpEntryPoint<ImmAssociateContextFn>(imm32Module, "ImmAssociateContext");
    if (immAssociateContextFn) savedImeContext = immAssociateContextFn(window, nullptr);
}

void RestoreInputMethod(HWND window) {
    if (imm32Module && immAssociateContextFn && savedImeContext) immAssociateContextFn(window, savedImeContext);
}

// The default processing after the screen-saver meaning has been applied; the AutoPlay query
// is answered here, cancelling AutoPlay only while a password protects the desktop.
LRESULT DefaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (queryCancelAutoPlayMsg != 0 && message == queryCancelAutoPlayMsg) {
        RequestClose(window);
        return verifyPasswordFn ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ApplyPowerBroadcast(HWND window, WPARAM event, LPARAM lParam) {
    switch (PowerBroadcastDecision(event, lParam)) {
        case PowerBroadcastAction::Close:
            RequestClose(window);
            break;
        case PowerBroadcastAction::KeepRunning:
            break;
        case PowerBroadcastAction::CompareAcLineStatus: {
            SYSTEM_POWER_STATUS power{};
            const BYTE status = GetSystemPowerStatus(&power) ? power.ACLineStatus : unreadableAcLineStatus;
            if (AcLineStatusChanged(acLineStatus, status)) RequestClose(window);
            break;
        }
    }
}

}  // namespace

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            DetachInputMethod(window);
            GetCursorPos(&lastCursorPos);
            if (!isPreview) SetCursor(nullptr);
            break;
        case WM_DESTROY:
            RestoreInputMethod(window);
            PostQuitMessage(0);
            break;
        case WM_SETTEXT:
            return 0;
        case WM_PAINT:
            if (isClosing) return DefWindowProcA(window, message, wParam, lParam);
            if (!isPreview) SetCursor(nullptr);
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (isPreview) {
                HandToPreviewParent(window, message, lParam);
                return 1;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (isClosing) return DefWindowProcA(window, message, wParam, lParam);
            break;
        case WM_SYSCOMMAND:
            if (!isPreview) {
                switch (SystemCommandDecision(wParam)) {
                    case SystemCommandAction::AnswerZero:
                        return 0;
                    case SystemCommandAction::CloseAndForward:
                        RequestClose(window);
                        break;
                    case SystemCommandAction::Forward:
                        break;
                }
            }
            break;
        case WM_TIMER:
            if (isClosing) return 0;  // no more frames once the close is allowed
            Sleep(0);
            break;
        default:
            break;
    }
    return ScreenSaverProc(window, message, wParam, lParam);
}

LRESULT DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isPreview || isClosing) return DefaultProcessing(window, message, wParam, lParam);

    if (message == WM_CLOSE) {
        if (win9xPlatform && !VerifySaverPassword(window)) {
            GetCursorPos(&lastCursorPos);  // a refused password re-bases the mouse
            return 0;
        }
        return DefaultProcessing(window, message, wParam, lParam);
    }
    if (message == VerifyPasswordMessage && win9xPlatform) {
        return verifyPasswordFn ? verifyPasswordFn(window) : 1;
    }
    // While the prompt is open, input must not post further close requests.
    if (isVerifying) return DefaultProcessing(window, message, wParam, lParam);

    switch (message) {
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        case WM_SHOWWINDOW:
            if (wParam) SetCursor(nullptr);
            break;
        case WM_ACTIVATEAPP:
            if (wParam == FALSE) RequestClose(window);
            break;
        case WM_POWER:
            if (wParam == kCloseOnPowerNotice) RequestClose(window);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            RequestClose(window);
            break;
        case WM_MOUSEMOVE: {
            // The cursor's position, not the message's coordinates, measures the travel.
            POINT cursor{};
            GetCursorPos(&cursor);
            if (MouseTravelCloses(lastCursorPos.x, lastCursorPos.y, cursor.x, cursor.y)) {
                RequestClose(window);
                lastCursorPos = cursor;
            }
            break;
        }
        case WM_POWERBROADCAST:
            ApplyPowerBroadcast(window, wParam, lParam);
            break;
        default:
            break;
    }
    return DefaultProcessing(window, message, wParam, lParam);
}

BOOL VerifySaverPassword(HWND window) {
    switch (PasswordCheckFor(isVerifying, isClosing, verifyPasswordFn != nullptr, lastVerifyTick, GetTickCount())) {
        case PasswordCheck::Refuse:
            return FALSE;
        case PasswordCheck::CloseWithoutPrompt:
            isClosing = true;
            return TRUE;
        case PasswordCheck::RepeatLastAnswer:
            return isClosing;
        case PasswordCheck::Prompt:
            break;
    }

    isVerifying = true;
    MSG pending{};
    for (int pass = 0; pass < 2; ++pass) {
        while (PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD)) {
        }
    }
    isClosing = SendMessageA(window, VerifyPasswordMessage, 0, 0) != 0;
    isVerifying = false;

    if (!isClosing) SetCursor(nullptr);
    lastVerifyTick = GetTickCount();
    return isClosing;
}

void LoadPasswordVerifier() {
    if (!win9xPlatform) return;
    if (passwordLibrary) UnloadPasswordVerifier();

    HKEY desktop = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &desktop) != ERROR_SUCCESS) {
        return;
    }
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    if (RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&usePassword),
                         &size) == ERROR_SUCCESS &&
        usePassword != 0) {
        passwordLibrary = LoadLibraryA("PASSWORD.CPL");
        if (passwordLibrary) {
            verifyPasswordFn = LookUpEntryPoint<VerifyPasswordFn>(passwordLibrary, "VerifyScreenSavePwd");
            if (verifyPasswordFn) {
                SetSaverRunning(TRUE);
            } else {
                UnloadPasswordVerifier();
            }
        }
    }
    RegCloseKey(desktop);
}

void UnloadPasswordVerifier() {
    if (!win9xPlatform) return;
    if (passwordLibrary) {
        FreeLibrary(passwordLibrary);
        passwordLibrary = nullptr;
    }
    if (verifyPasswordFn) {
        verifyPasswordFn = nullptr;
        SetSaverRunning(FALSE);
    }
}

void SetSaverRunning(BOOL running) {
    if (!win9xPlatform) return;
    BOOL previous = FALSE;
    SystemParametersInfoA(kScreenSaveRunning, running, &previous, 0);
}
