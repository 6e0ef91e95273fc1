#include <gtest/gtest.h>

#include "host/saver_decisions.h"

namespace {

TEST(MouseTravel, MoreThanFourPixelsInTotalCloses) {
    EXPECT_FALSE(MouseTravelCloses(100, 100, 100, 100));
    EXPECT_FALSE(MouseTravelCloses(100, 100, 103, 101));  // 3 across and 1 down
    EXPECT_FALSE(MouseTravelCloses(100, 100, 96, 100));
    EXPECT_TRUE(MouseTravelCloses(100, 100, 103, 102));
    EXPECT_TRUE(MouseTravelCloses(100, 100, 95, 100));
    EXPECT_TRUE(MouseTravelCloses(100, 100, 98, 97));
}

TEST(MouseTravel, HugeJumpsDoNotOverflow) {
    EXPECT_TRUE(MouseTravelCloses(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(MouseTravelCloses(INT32_MAX, 0, INT32_MIN, 0));
}

TEST(PowerBroadcast, SuspendAndStandbyAlwaysClose) {
    for (uintptr_t event = 0; event <= 5; ++event) {
        EXPECT_EQ(PowerBroadcastDecision(event, 0), PowerBroadcastAction::Close) << event;
        EXPECT_EQ(PowerBroadcastDecision(event, 1), PowerBroadcastAction::Close) << event;
    }
}

TEST(PowerBroadcast, ResumeAfterFailureKeepsRunning) {
    for (uintptr_t event : {6u, 7u, 8u, 18u}) {
        EXPECT_EQ(PowerBroadcastDecision(event, 0), PowerBroadcastAction::Close) << event;
        EXPECT_EQ(PowerBroadcastDecision(event, 1), PowerBroadcastAction::KeepRunning) << event;
        EXPECT_EQ(PowerBroadcastDecision(event, 3), PowerBroadcastAction::KeepRunning) << event;
        EXPECT_EQ(PowerBroadcastDecision(event, 2), PowerBroadcastAction::Close) << event;
    }
}

TEST(PowerBroadcast, StatusChangeComparesTheAcLine) {
    EXPECT_EQ(PowerBroadcastDecision(10, 0), PowerBroadcastAction::CompareAcLineStatus);
    EXPECT_EQ(PowerBroadcastDecision(10, 1), PowerBroadcastAction::CompareAcLineStatus);
}

TEST(PowerBroadcast, EverythingElseCloses) {
    for (uintptr_t event : {9u, 11u, 12u, 17u, 19u, 0x8013u, 0xFFFFu}) {
        EXPECT_EQ(PowerBroadcastDecision(event, 1), PowerBroadcastAction::Close) << event;
    }
}

TEST(PowerBroadcast, AcLineChangesAreMeasuredFromTheLastReading) {
    uint8_t stored = 1;                          // on mains power at start-up
    EXPECT_FALSE(AcLineStatusChanged(stored, 1));
    EXPECT_TRUE(AcLineStatusChanged(stored, 0));  // unplugged
    EXPECT_EQ(stored, 0);
    EXPECT_FALSE(AcLineStatusChanged(stored, 0));  // a second notice of the same state
    EXPECT_TRUE(AcLineStatusChanged(stored, unreadableAcLineStatus));
    EXPECT_FALSE(AcLineStatusChanged(stored, unreadableAcLineStatus));
    EXPECT_TRUE(AcLineStatusChanged(stored, 1));
    EXPECT_EQ(stored, 1);
}

TEST(SystemCommand, WindowSwitchingAndScreenSaveAreSwallowed) {
    EXPECT_EQ(SystemCommandDecision(0xF040), SystemCommandAction::AnswerZero);
    EXPECT_EQ(SystemCommandDecision(0xF050), SystemCommandAction::AnswerZero);
    EXPECT_EQ(SystemCommandDecision(0xF140), SystemCommandAction::AnswerZero);
    EXPECT_EQ(SystemCommandDecision(0xF170), SystemCommandAction::CloseAndForward);
    EXPECT_EQ(SystemCommandDecision(0xF060), SystemCommandAction::Forward);  // SC_CLOSE
}

TEST(SystemCommand, ComparesTheWholeWParam) {
    // The low four bits are the system's own; a command with them set is another command here.
    EXPECT_EQ(SystemCommandDecision(0xF141), SystemCommandAction::Forward);
    EXPECT_EQ(SystemCommandDecision(0xF172), SystemCommandAction::Forward);
    EXPECT_EQ(SystemCommandDecision(0x1F140), SystemCommandAction::Forward);
}

TEST(VerificationWindow, TwoHundredMillisecondsAfterAPrompt) {
    EXPECT_FALSE(VerificationEndedRecently(noVerificationYet, 0));
    EXPECT_FALSE(VerificationEndedRecently(noVerificationYet, 100));
    EXPECT_TRUE(VerificationEndedRecently(1000, 1000));
    EXPECT_TRUE(VerificationEndedRecently(1000, 1199));
    EXPECT_FALSE(VerificationEndedRecently(1000, 1200));
}

TEST(VerificationWindow, TickCountWrapsAround) {
    EXPECT_TRUE(VerificationEndedRecently(0xFFFFFFF0u, 0x00000010u));  // 32 ms across the wrap
    EXPECT_FALSE(VerificationEndedRecently(0xFFFFFF00u, 0x00000100u));
}

}  // namespace
