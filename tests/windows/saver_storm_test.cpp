// A bounded, seeded storm of random messages with random parameters, posted and sent to the
// running saver and to a preview: the saver must neither crash nor end.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "preview_host.h"
#include "saver_driving.h"

namespace {

constexpr int kMessages = 2000;
constexpr int kBatch = 150;  // messages between two checks that the saver still runs
constexpr UINT kSystemTimer = 0x0118;  // WM_SYSTIMER, the caret's timer, undeclared in the headers

// The seed comes from VINTREL_STORM_SEED when set, so that a failing storm can be replayed.
uint32_t StormSeed() {
    char text[32] = {};
    if (GetEnvironmentVariableA("VINTREL_STORM_SEED", text, sizeof text) > 0) {
        return static_cast<uint32_t>(std::strtoul(text, nullptr, 0));
    }
    return 0x5EED2024u;
}

bool InRange(UINT message, UINT first, UINT last) { return message >= first && message <= last; }

// Messages left out of every storm.
bool UnsafeToFake(UINT message) {
    switch (message) {
        // Only the system sends these, while it creates or destroys the window; faked, they
        // would tear down the rendering context under a live window.
        case WM_CREATE:
        case WM_NCCREATE:
        case WM_DESTROY:
        case WM_NCDESTROY:
        // End the saver by design: a close request, the loop's end (with a random exit code),
        // and system commands (closing, the task list, modal move and size loops).
        case WM_CLOSE:
        case WM_QUIT:
        case WM_SYSCOMMAND:
        // Carry pointers into the sender's memory, which the system copies between processes
        // only for the messages it knows; with random values the copy itself would fault.
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_SETTINGCHANGE:
        case WM_DEVMODECHANGE:
        case WM_GETMINMAXINFO:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM:
        case WM_COMPAREITEM:
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED:
        case WM_COPYDATA:
        case WM_NOTIFY:
        case WM_HELP:
        case WM_STYLECHANGING:
        case WM_STYLECHANGED:
        case WM_NCCALCSIZE:
        case WM_GETDLGCODE:
        case WM_NEXTMENU:
        case WM_SIZING:
        case WM_MOVING:
        case WM_DEVICECHANGE:
        case WM_IME_CONTROL:
        case WM_IME_REQUEST:
        // Memory handles of the sender.
        case WM_PAINTCLIPBOARD:
        case WM_SIZECLIPBOARD:
        case WM_ASKCBFORMATNAME:
        // Begin the system's modal mouse loops, which take only mouse messages until a real
        // button is released: the saver would stop answering for the rest of the storm.
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        // A system-wide side effect, and the style that the test's own round trips watch.
        case WM_SETHOTKEY:
        case WM_SETREDRAW:
            return true;
        default:
            break;
    }
    // The standard controls' messages (edit, scroll bar, button, combo and list boxes), many
    // of which carry pointers; the multiple-document messages; DDE, whose global-memory handles
    // the system copies between processes; and numbers above 0xFFFF, which are the system's.
    return InRange(message, 0x00B0, 0x00FF) || InRange(message, 0x0140, 0x01FF) ||
           InRange(message, WM_MDICREATE, 0x022F) || InRange(message, WM_DDE_FIRST, WM_DDE_LAST) ||
           message > 0xFFFF;
}

// Messages that end the full-screen saver on purpose: they would stop the storm, not fail it.
bool EndsTheFullScreenSaver(UINT message) {
    switch (message) {
        case WM_IME_KEYDOWN:  // the default handling turns it into WM_KEYDOWN
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_ACTIVATEAPP:
        case WM_POWER:
        case WM_POWERBROADCAST:
            return true;
        default:
            return false;
    }
}

class MessageStorm {
public:
    explicit MessageStorm(uint32_t seed) : random_(seed) {}

    // The next message of the storm that the filter allows.
    template <typename Filter>
    MSG Next(Filter allowed) {
        MSG message{};
        do {
            message.message = RandomMessage();
        } while (UnsafeToFake(message.message) || !allowed(message.message));
        message.wParam = static_cast<WPARAM>(RandomParameter());
        message.lParam = static_cast<LPARAM>(RandomParameter());
        // A timer message's lParam is the address of a callback in the receiving process.
        if (message.message == WM_TIMER || message.message == kSystemTimer) message.lParam = 0;
        return message;
    }

    bool SendNext() { return Uniform(0, 4) == 0; }  // one in five is sent, the rest posted

private:
    UINT RandomMessage() {
        switch (Uniform(0, 9)) {
            case 0:
                return static_cast<UINT>(Uniform(WM_USER, WM_APP - 1));
            case 1:
                return static_cast<UINT>(Uniform(WM_APP, 0xBFFF));
            case 2:
                return static_cast<UINT>(Uniform(0xC000, 0xFFFF));  // registered messages
            default:
                return static_cast<UINT>(Uniform(0, WM_USER - 1));  // the system's own
        }
    }

    uint64_t RandomParameter() {
        switch (Uniform(0, 4)) {
            case 0:
                return static_cast<uint64_t>(Uniform(0, 16));
            case 1:
                return static_cast<uint64_t>(Uniform(0, 0xFFFF));
            case 2:
                return static_cast<uint64_t>(Uniform(0, 0xFFFFFFFF));
            case 3:
                return ~static_cast<uint64_t>(Uniform(0, 16));  // small negative numbers
            default:
                return (static_cast<uint64_t>(random_()) << 32) | random_();
        }
    }

    int64_t Uniform(int64_t low, int64_t high) { return std::uniform_int_distribution<int64_t>(low, high)(random_); }

    std::mt19937 random_;
};

std::string Describe(const std::vector<MSG>& batch) {
    std::string text;
    char line[96];
    for (const MSG& message : batch) {
        std::snprintf(line, sizeof line, "\n  %s 0x%04x wParam 0x%llx lParam 0x%llx", message.time ? "sent" : "posted",
                      message.message, static_cast<unsigned long long>(message.wParam),
                      static_cast<unsigned long long>(message.lParam));
        text += line;
    }
    return text;
}

std::string Outcome(RunningSaver& saver) {
    const std::optional<DWORD> exitCode = saver.process.WaitForExit(0);
    if (exitCode) return "the process ended with " + std::to_string(static_cast<long>(*exitCode));
    return IsWindow(saver.window) ? "the process runs, its window does not answer" : "the process runs without its window";
}

// Delivers the storm in batches, checking after each that the saver still runs; a failure
// lists the batch that caused it.
template <typename Filter>
void Storm(RunningSaver& saver, uint32_t seed, Filter allowed) {
    MessageStorm storm(seed);
    std::vector<MSG> batch;
    for (int sent = 0; sent < kMessages;) {
        batch.clear();
        for (int i = 0; i < kBatch; ++i, ++sent) {
            MSG message = storm.Next(allowed);
            message.time = storm.SendNext() ? 1 : 0;  // marks the sent ones
            batch.push_back(message);
            if (message.time) {
                DWORD_PTR ignored = 0;
                SendMessageTimeoutA(saver.window, message.message, message.wParam, message.lParam, SMTO_NORMAL,
                                    2000, &ignored);
            } else {
                PostMessageA(saver.window, message.message, message.wParam, message.lParam);
            }
        }
        PumpMessagesFor(10);
        ASSERT_TRUE(StillRunning(saver)) << "after " << sent << " messages of the storm with seed " << seed << ", "
                                         << Outcome(saver) << "; the last batch:" << Describe(batch);
    }
}

TEST(MessageStorm, FullScreenSaverSurvives) {
    const uint32_t seed = StormSeed();
    RecordProperty("seed", std::to_string(seed));
    SetCursorPos(kCursorRest.x, kCursorRest.y);
    RunningSaver saver("/s");
    ASSERT_TRUE(saver.window);
    Storm(saver, seed, [](UINT message) { return !EndsTheFullScreenSaver(message); });
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
}

TEST(MessageStorm, PreviewSurvivesInput) {
    const uint32_t seed = StormSeed() + 1;
    RecordProperty("seed", std::to_string(seed));
    PreviewHost host(320, 240);
    ASSERT_TRUE(host.window());
    RunningSaver saver("/p " + std::to_string(reinterpret_cast<uintptr_t>(host.window())), host.window());
    ASSERT_TRUE(saver.window);
    // Input, power and activation messages never end a preview, so they stay in its storm.
    Storm(saver, seed, [](UINT) { return true; });
    host.Destroy();
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
}

}  // namespace
