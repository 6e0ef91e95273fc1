// vintrel --wayland: a whole clock on every output of a Wayland desktop, until the first input
// or a stop signal.
#pragma once

#include "apps/saver_program_options.h"

// Returns the program's exit code: 0 when input or a signal ended it, 1 when the compositor
// could not be reached or went away (with a line on stderr saying so).
int RunOnWayland(const SaverProgramOptions& options);
