#pragma once

#include "platform/WinTypes.h"

// One queued message, as the application's handlers see it.
struct MSG {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The header of a WM_NOTIFY message; lParam points at it while the message is dispatched.
struct NMHDR {
    HWND hwndFrom = 0;
    UINT idFrom = 0;
    UINT code = 0;
};
