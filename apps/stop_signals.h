// SIGTERM and SIGINT, the way a screen-saver daemon (or an idle daemon's resume command) ends its
// program: caught once the scene is set up, they ask the main loop to stop, and wake it.
#pragma once

// Until this is called the signals' defaults end the process at once.
void CatchStopSignals();
bool StopRequested();
// Readable once a stop signal came, for poll(); -1 where the signals keep their defaults.
int StopWakeDescriptor();

double MonotonicSeconds();
