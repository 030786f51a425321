#pragma once

#include "platform/WinTypes.h"

#include <cstdint>

// One queued message, as the application's handlers see it.
struct MSG {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    // For input: the number the queue gave it, by which the backend finds the toolkit event it
    // stands for; 0 for posted messages and timer ticks.
    std::uint64_t input = 0;
};

// The header of a WM_NOTIFY message; lParam points at it while the message is dispatched.
struct NMHDR {
    HWND hwndFrom = 0;
    UINT idFrom = 0;
    UINT code = 0;
};
