// The host's decisions without Windows: mouse travel, power events, system commands, and when a
// close request asks for the password, on a clock the test drives.
#include <gtest/gtest.h>

#include "host/saver_decisions.h"

TEST(MouseTravel, MoreThanFourPixelsInTotalCloses) {
    const struct { int32_t dx, dy; bool closes; } moves[] = {
        {0, 0, false}, {3, 1, false}, {-4, 0, false}, {1, -3, false}, {3, 2, true}, {-5, 0, true}, {-2, -3, true}};
    for (auto move : moves) EXPECT_EQ(MouseTravelCloses(9, 9, 9 + move.dx, 9 + move.dy), move.closes) << move.dx;
    EXPECT_TRUE(MouseTravelCloses(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));  // no overflow
}

TEST(PowerBroadcast, EventsWithAndWithoutTheResumeFailureFlag) {
    constexpr auto close = PowerBroadcastAction::Close, keep = PowerBroadcastAction::KeepRunning,
                   compare = PowerBroadcastAction::CompareAcLineStatus;
    const struct { uintptr_t event; PowerBroadcastAction plain, failed; } events[] = {{0, close, close},
        {1, close, close}, {2, close, close}, {3, close, close}, {4, close, close}, {5, close, close}, {6, close, keep},
        {7, close, keep}, {8, close, keep}, {18, close, keep}, {9, close, close}, {11, close, close},
        {12, close, close}, {0x8013, close, close}, {10, compare, compare}};
    for (auto power : events) {
        EXPECT_EQ(PowerBroadcastDecision(power.event, 0), power.plain) << power.event;
        EXPECT_EQ(PowerBroadcastDecision(power.event, 1), power.failed) << power.event;
    }
    EXPECT_EQ(PowerBroadcastDecision(7, 2), close);  // only bit 0 is the failure flag
}

TEST(PowerBroadcast, AcLineChangesCountFromTheLastReading) {
    uint8_t stored = 1;  // on mains power at start-up
    const struct { uint8_t reading; bool changed; } readings[] = {
        {1, false}, {0, true}, {0, false}, {unreadableAcLineStatus, true}, {1, true}};
    for (auto now : readings) {
        EXPECT_EQ(AcLineStatusChanged(stored, now.reading), now.changed) << int{now.reading};
        EXPECT_EQ(stored, now.reading);
    }
}

TEST(SystemCommand, TheWholeWParamSelectsTheAnswer) {
    using Action = SystemCommandAction;
    const struct { uintptr_t command; Action action; } commands[] = {{0xF040, Action::AnswerZero},
        {0xF050, Action::AnswerZero}, {0xF140, Action::AnswerZero}, {0xF170, Action::CloseAndForward},
        {0xF060, Action::Forward}, {0xF141, Action::Forward}, {0xF172, Action::Forward}, {0x1F140, Action::Forward}};
    for (auto entry : commands) EXPECT_EQ(SystemCommandDecision(entry.command), entry.action) << entry.command;
}

TEST(PasswordCheck, APromptsAnswerStandsForTwoHundredMilliseconds) {
    using Check = PasswordCheck;
    EXPECT_EQ(PasswordCheckFor(false, false, false, noVerificationYet, 5), Check::CloseWithoutPrompt);
    EXPECT_EQ(PasswordCheckFor(true, false, true, noVerificationYet, 5), Check::Refuse);   // a prompt is open
    EXPECT_EQ(PasswordCheckFor(false, true, false, noVerificationYet, 5), Check::Refuse);  // the close is allowed
    EXPECT_EQ(PasswordCheckFor(false, false, true, noVerificationYet, ~0u), Check::Prompt);  // no prompt yet
    // A prompt ended at `end`; the clock is driven on from there, across the wrap too.
    const struct { uint32_t end, later; Check check; } steps[] = {{1000, 0, Check::RepeatLastAnswer},
        {1000, 199, Check::RepeatLastAnswer}, {1000, 200, Check::Prompt}, {0xFFFFFF80u, 199, Check::RepeatLastAnswer},
        {0xFFFFFF80u, 200, Check::Prompt}, {0xFFFFFF80u, 5000, Check::Prompt}};
    for (auto step : steps) {
        EXPECT_EQ(PasswordCheckFor(false, false, true, step.end, step.end + step.later), step.check) << step.later;
    }
}
