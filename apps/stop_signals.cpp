#include "apps/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

namespace {

// A stop signal writes a byte here, so that a wait for the next tick ends at once whichever
// thread (the driver has its own) the signal was delivered to.
int wakePipe[2] = {-1, -1};
volatile sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
    const char byte = 0;
    const ssize_t written = write(wakePipe[1], &byte, 1);
    (void)written;
}

}  // namespace

void CatchStopSignals() {
    if (pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) return;  // the defaults stay
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool StopRequested() { return stopRequested != 0; }

int StopWakeDescriptor() { return wakePipe[0]; }

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1.0e9;
}
