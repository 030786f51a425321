#pragma once

// Completion notices (MM_MCINOTIFY) leave the device through one function that the application
// installs; it must be safe to call from any thread, since notices of plays that end come from the
// device's own notifier thread.

#include <vector>

#include "platform/MMSystem.h"

namespace mci {

using NotifySink = void (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void SetNotifySinkFunction(NotifySink sink);

// Posts MM_MCINOTIFY with the code in wParam and the device id in lParam. A notice to window 0 is
// not posted, as MCI does not post one without a callback window.
void PostNotice(HWND window, UINT code, MCIDEVICEID device);

// Posts any message through the same sink, for the device's other reports to the application.
void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Notices a command decides on while the device's lock is held, posted after it is let go, so
// that a sink which handles them at once may call the device again.
class NoticeList {
public:
    void Add(HWND window, UINT code, MCIDEVICEID device);
    void PostAll() const;
    void Clear() { m_notices.clear(); }

private:
    struct Notice {
        HWND window;
        UINT code;
        MCIDEVICEID device;
    };
    std::vector<Notice> m_notices;
};

// Takes the reports of ended plays off the engine's queue and posts the notices they carry.
class Engine;
void DeliverReports(Engine& engine);

} // namespace mci
