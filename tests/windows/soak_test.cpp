// The module left running (scripts/soak.sh; CTest runs a short one) under seeded mouse jitter and random
// messages, full screen and in a preview: no crash, and the full-screen one's memory and handles stay flat.
#include <cstdio>
#include <cstdlib>

#include "saver_harness.h"
#include <winternl.h>  // after windows.h

// Working set in MiB and kernel handles (Wine lists them for every process), GDI and USER objects (not Wine).
static std::vector<double> UsageOf(const Saver& saver) {
    std::vector<char> list(1 << 22);
    auto process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data());
    if (NtQuerySystemInformation(SystemProcessInformation, list.data(), ULONG(list.size()), nullptr)) return {};
    while (uintptr_t(process->UniqueProcessId) != GetProcessId(saver.Process())) {
        if (!process->NextEntryOffset) return {};
        process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(LPCSTR(process) + process->NextEntryOffset);
    }
    return {process->VirtualMemoryCounters.WorkingSetSize / 1048576.0, double(process->HandleCount),
            double(GetGuiResources(saver.Process(), GR_GDIOBJECTS)), double(GetGuiResources(saver.Process(), GR_USEROBJECTS))};
}

TEST(Soak, FullScreenAndPreviewRunOnFlat) {
    const char *seconds = std::getenv("VINTREL_SOAK_SECONDS"), *messages = std::getenv("VINTREL_SOAK_MESSAGES");
    if (!seconds) GTEST_SKIP() << "scripts/soak.sh sets VINTREL_SOAK_SECONDS";
    const DWORD duration = DWORD(std::atof(seconds) * 1000);
    const int rounds = std::max(1, (messages ? std::atoi(messages) : 100000) / 200);  // 100 to each saver a round
    HWND parent = CreateTestWindow("soak preview parent", 0, 0, 160, 120);
    Saver preview("/p " + Decimal(parent));
    ASSERT_TRUE(preview.WaitForWindow(parent) && SetCursorPos(kCursorRest.x, kCursorRest.y));
    Saver full("/s");  // started last, in front
    POINT rest{};  // where the saver found the cursor; the jitter stays within a pixel of it each way
    ASSERT_TRUE(full.WaitForWindow() && GetCursorPos(&rest));
    // Only the full-screen saver's process can move the cursor: the test libraries' hook does it there.
    HMODULE hooks = LoadLibraryA((TestDirectory() + "win9x\\PASSWORD.CPL").c_str());
    SetWindowsHookExA(WH_GETMESSAGE, HOOKPROC(reinterpret_cast<void*>(GetProcAddress(hooks, "MoveCursorHook"))), hooks,
                      GetWindowThreadProcessId(full.window, nullptr));
    std::mt19937 random(0x50A4u);
    std::vector<double> usage[2];  // the full-screen saver's after the first round and at the end
    const DWORD begin = GetTickCount();
    int round = 0;
    for (; round < rounds && GetTickCount() - begin < duration && !HasFailure(); ++round) {
        for (Saver* saver : {&full, &preview}) Storm(*saver, 0x50A4u + round, saver == &preview, 1);
        if (round == 0) usage[0] = UsageOf(full);
        for (int move = 0; move < 5 || GetTickCount() - begin < duration / rounds * (round + 1); ++move) {
            const int x = rest.x + int(random() % 3) - 1, y = rest.y + int(random() % 3) - 1;
            PostMessageA(full.window, RegisterWindowMessageA("VintrelMoveCursor"), 0, MAKELPARAM(x, y));
            PostMessageA(full.window, WM_MOUSEMOVE, 0, 0);
            PumpMessagesFor(20);
        }
    }
    usage[1] = UsageOf(full);
    std::printf("soak: %d messages in %.0f s, crashes %d\n", round * 200, (GetTickCount() - begin) / 1000.0,
                !full.StillRunning() + !preview.StillRunning());
    // Figures that cannot be read fail the test: a soak that measured nothing has shown nothing.
    ASSERT_EQ(usage[0].size(), 4u) << "no figures of the process after the first round";
    ASSERT_EQ(usage[1].size(), 4u) << "no figures of the process at the end";
    for (int i = 0; i < 2; ++i) {
        std::printf("soak %s: working set %.1f MiB, kernel handles %.0f, GDI objects %.0f, USER objects %.0f\n",
                    i ? "at the end" : "after the first round", usage[i][0], usage[i][1], usage[i][2], usage[i][3]);
    }
    for (int k = 0; k < 4; ++k) EXPECT_LE(usage[1][k], usage[0][k] + 8) << k;  // MiB or handles
    DestroyWindow(parent);
}
