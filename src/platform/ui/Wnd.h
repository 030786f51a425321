#pragma once

#include "platform/ui/Message.h"

#include <functional>

// A window that receives messages. Every window gets a handle from the registry when it is
// created; handles are never reused, so a late message for a destroyed window finds nobody.
class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hwnd);

    // Handles one message. The default answers 0.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return WindowProc(message, wParam, lParam);
    }
    void PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    // A dialog makes and ends the windows of its controls with its own.
    friend class CDialog;
    void RegisterHandle();
    void UnregisterHandle();

    HWND m_hWnd = 0;
};

// Delivers a message to its window's WindowProc; a message for no living window is dropped.
LRESULT DispatchMessage(const MSG& msg);

// Mouse and key messages.
bool IsInputMessage(UINT message);
// The default handling of input: what the message being dispatched to the window stands for
// reaches the window's widgets now. Input the program sends itself stands for nothing.
void DeliverCurrentInput(HWND hwnd, UINT message);
// Whether the input is being dispatched now (perhaps with other messages dispatched inside).
bool IsBeingDispatched(std::uint64_t input);

// A nested message loop: dispatches every message until done() says so. Modal dialogs and message
// boxes run in one, so timer ticks and notices go on being handled meanwhile.
void RunModalLoop(const std::function<bool()>& done);
