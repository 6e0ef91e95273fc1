// The module left running (scripts/soak.sh; CTest runs a short one): seeded mouse jitter that never
// travels the closing distance, and random messages against a full-screen saver and a preview. Each
// one's memory and handles after the first round and at the end are printed, and must stay flat.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "saver_harness.h"
// After windows.h.
#include <winternl.h>

struct Usage {
    double privateMiB = 0;
    unsigned long kernel = 0, gdi = 0, user = 0;  // GDI and USER objects where the system counts them: not Wine
};

// From the system's list of processes, which Wine fills for other processes too.
static Usage UsageOf(const Saver& saver) {
    std::vector<char> list(1 << 22);
    Usage usage{0, 0, GetGuiResources(saver.Process(), GR_GDIOBJECTS), GetGuiResources(saver.Process(), GR_USEROBJECTS)};
    auto process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data());
    if (NtQuerySystemInformation(SystemProcessInformation, list.data(), ULONG(list.size()), nullptr)) return usage;
    while (uintptr_t(process->UniqueProcessId) != GetProcessId(saver.Process())) {
        if (!process->NextEntryOffset) return usage;
        process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(LPCSTR(process) + process->NextEntryOffset);
    }
    return {process->VirtualMemoryCounters.PagefileUsage / 1048576.0, process->HandleCount, usage.gdi, usage.user};
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
    ASSERT_TRUE(full.WaitForWindow());
    // Only the full-screen saver's process can move the cursor: the test libraries' hook does it there.
    HMODULE hooks = LoadLibraryA((TestDirectory() + "win9x\\PASSWORD.CPL").c_str());
    SetWindowsHookExA(WH_GETMESSAGE, HOOKPROC(reinterpret_cast<void*>(GetProcAddress(hooks, "MoveCursorHook"))), hooks,
                      GetWindowThreadProcessId(full.window, nullptr));
    std::mt19937 random(0x50A4u);
    Usage usage[4];  // each saver's after the first round, then at the end
    const DWORD begin = GetTickCount();
    int round = 0;
    for (; round < rounds && GetTickCount() - begin < duration && !HasFailure(); ++round) {
        Storm(full, 0x50A4u + round, false, 1);
        Storm(preview, 0x50A4u + round, true, 1);
        if (round == 0) usage[0] = UsageOf(full), usage[1] = UsageOf(preview);
        do {  // at most 2 pixels across and 2 down or up from the rest: 4 in all never closes
            const int x = kCursorRest.x + int(random() % 5) - 2, y = kCursorRest.y + int(random() % 5) - 2;
            PostMessageA(full.window, RegisterWindowMessageA("VintrelMoveCursor"), 0, MAKELPARAM(x, y));
            PostMessageA(full.window, WM_MOUSEMOVE, 0, 0);
            PumpMessagesFor(20);
        } while (GetTickCount() - begin < duration / rounds * (round + 1));
    }
    usage[2] = UsageOf(full), usage[3] = UsageOf(preview);
    std::printf("soak: %d messages in %.0f s, crashes %d\n", round * 200, (GetTickCount() - begin) / 1000.0,
                !full.StillRunning() + !preview.StillRunning());
    for (int i = 0; i < 4; ++i) {
        std::printf("soak %s, %s: private %.1f MiB, kernel handles %lu, GDI objects %lu, USER objects %lu%s\n",
                    i < 2 ? "after the first round" : "at the end", i % 2 ? "preview" : "full screen",
                    usage[i].privateMiB, usage[i].kernel, usage[i].gdi, usage[i].user,
                    usage[i].gdi + usage[i].user ? "" : " (not counted here)");
        const auto handles = [&](int at) { return usage[at].kernel + usage[at].gdi + usage[at].user; };
        EXPECT_LE(usage[i].privateMiB, usage[i % 2].privateMiB + 8) << i;
        EXPECT_LE(handles(i), handles(i % 2) + 8) << i;
    }
    ASSERT_TRUE(BringToForeground(full.window));
    Press('Q');
    EXPECT_EQ(full.ExitCode(), 0u);
    DestroyWindow(parent);
    EXPECT_EQ(preview.ExitCode(), 0u);
}
