#pragma once

#include "platform/ui/Message.h"

#include <QObject>
#include <QPointer>
#include <QWindow>

#include <deque>
#include <functional>
#include <memory>

class QEvent;

// Mouse and keyboard input of the dialogs' windows goes through the program's message queue, as
// on Windows. Installed on the application, the router takes each input event from Qt before any
// widget sees it, posts it to the dialog as the Windows message (WM_LBUTTONDOWN, WM_KEYDOWN ...),
// and gives it to the window's widgets only when that message is dispatched. A loop that filters
// the queue, such as the folder search, so decides about every click and key: what it drops never
// reaches a control. Windows that are not a dialog's (message boxes, choosers, menus) get their
// input straight from Qt.
class InputRouter : public QObject {
public:
    // dialogOf: the dialog whose window it is, or 0 for any other window.
    explicit InputRouter(std::function<HWND(const QWindow*)> dialogOf);
    ~InputRouter() override;

    // Lets the input that a dispatched message stands for reach its window now.
    void Deliver(const MSG& msg);

    // The message of an input event for a window, with the Windows parameters; WM_NULL for events
    // that are not routed.
    static MSG MessageFor(HWND hwnd, const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        MSG msg;
        QPointer<QWindow> window;
        std::unique_ptr<QEvent> event;
    };

    std::function<HWND(const QWindow*)> m_dialogOf;
    // Input posted and not delivered yet, oldest first. Messages are taken in the order they were
    // posted, so what lies before a delivered one was taken and dropped by a filter.
    std::deque<Pending> m_pending;
    const QEvent* m_delivering = nullptr;
};
