// When an X error means that the window the program draws on is gone.
#pragma once

// The server found no such window or drawable, and the error names the window drawn on (0 for
// none yet). Any other error, or one about another resource, is a fault: the window still stands.
constexpr bool ErrorMeansWindowGone(unsigned long resource, int errorCode, unsigned long drawnWindow) {
    constexpr int kBadWindow = 3;    // X's error codes
    constexpr int kBadDrawable = 9;
    return drawnWindow != 0 && resource == drawnWindow && (errorCode == kBadWindow || errorCode == kBadDrawable);
}
