// The module left running (scripts/soak.sh; CTest runs a short one): seeded mouse jitter that never
// travels the closing distance, and random messages against a full-screen saver and a preview.
// Each one's memory and handles after the first round and at the end are printed, and must stay flat.
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

// From the system's process list, which Wine fills for other processes too.
static Usage UsageOf(const Saver& saver) {
    std::vector<char> list(1 << 22);
    Usage usage{0, 0, GetGuiResources(saver.Process(), GR_GDIOBJECTS), GetGuiResources(saver.Process(), GR_USEROBJECTS)};
    if (NtQuerySystemInformation(SystemProcessInformation, list.data(), ULONG(list.size()), nullptr)) return usage;
    for (size_t at = 0;;) {
        const auto& process = *reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&list[at]);
        if (uintptr_t(process.UniqueProcessId) == GetProcessId(saver.Process())) {
            usage.privateMiB = process.VirtualMemoryCounters.PagefileUsage / 1048576.0;
            usage.kernel = process.HandleCount;
        }
        if (!process.NextEntryOffset) return usage;
        at += process.NextEntryOffset;
    }
}

static void Report(const char* when, const Usage (&usage)[2]) {
    for (int i = 0; i < 2; ++i) {
        std::printf("soak %s, %s: private %.1f MiB, kernel handles %lu, ", when, i ? "preview" : "full screen",
                    usage[i].privateMiB, usage[i].kernel);
        if (usage[i].gdi + usage[i].user) std::printf("GDI objects %lu, USER objects %lu\n", usage[i].gdi, usage[i].user);
        else std::printf("GDI and USER objects not counted here\n");
    }
}

// Puts the cursor at most 2 pixels across and 2 down or up from the rest: 4 in all never closes.
static void Jitter(std::mt19937& random) {
    const int x = kCursorRest.x + int(random() % 5) - 2, y = kCursorRest.y + int(random() % 5) - 2;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi = {(x * 65536 + width - 1) / width, (y * 65536 + height - 1) / height, 0,
               MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
    SendInput(1, &move, sizeof move);
    PumpMessagesFor(20);
}

// Messages go 100 to each saver a round, spread over the run; the jitter goes on in between.
TEST(Soak, FullScreenAndPreviewRunOnFlat) {
    const char *seconds = std::getenv("VINTREL_SOAK_SECONDS"), *messages = std::getenv("VINTREL_SOAK_MESSAGES");
    if (!seconds) GTEST_SKIP() << "scripts/soak.sh sets VINTREL_SOAK_SECONDS";
    const DWORD duration = DWORD(std::atof(seconds) * 1000);
    const int rounds = std::max(1, (messages ? std::atoi(messages) : 100000) / 200);
    HWND parent = CreateTestWindow("soak preview parent", 0, 0, 160, 120);
    Saver preview("/p " + Decimal(parent));
    ASSERT_TRUE(preview.WaitForWindow(parent) && SetCursorPos(kCursorRest.x, kCursorRest.y));
    Saver full("/s");  // started last, in front
    ASSERT_TRUE(full.WaitForWindow());
    std::mt19937 random(0x50A4u);
    Usage start[2], end[2];
    const DWORD begin = GetTickCount();
    int round = 0;
    for (; round < rounds && GetTickCount() - begin < duration && !HasFailure(); ++round) {
        Storm(full, 0x50A4u + round, false, 1);
        Storm(preview, 0x50A4u + round, true, 1);
        if (round == 0) start[0] = UsageOf(full), start[1] = UsageOf(preview);
        do Jitter(random);
        while (GetTickCount() - begin < duration / rounds * (round + 1));
    }
    end[0] = UsageOf(full), end[1] = UsageOf(preview);
    std::printf("soak: %d messages in %.0f s, crashes %d\n", round * 200, (GetTickCount() - begin) / 1000.0,
                !full.StillRunning() + !preview.StillRunning());
    Report("after the first round", start);
    Report("at the end", end);
    for (int i = 0; i < 2; ++i) {
        EXPECT_LE(end[i].privateMiB, start[i].privateMiB + 8) << i;
        EXPECT_LE(end[i].kernel + end[i].gdi + end[i].user, start[i].kernel + start[i].gdi + start[i].user + 8) << i;
    }
    ASSERT_TRUE(BringToForeground(full.window));
    Press('Q');
    EXPECT_EQ(full.ExitCode(), 0u);
    DestroyWindow(parent);
    EXPECT_EQ(preview.ExitCode(), 0u);
}
