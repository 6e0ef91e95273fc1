// A top-level window of the test standing in for the display settings' preview area: the
// saver's preview is its child, and what the preview hands up to it is recorded.
#pragma once

#include <windows.h>

#include <vector>

struct HandedUpMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    HELPINFO help;  // a copy of WM_HELP's HELPINFO, read while the message is handled
};

class PreviewHost {
public:
    PreviewHost(int clientWidth, int clientHeight);
    ~PreviewHost();
    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;

    HWND window() const { return window_; }
    void Destroy();

    // WM_HELP and WM_CONTEXTMENU received so far, oldest first.
    const std::vector<HandedUpMessage>& handedUp() const { return handedUp_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<HandedUpMessage> handedUp_;
};
