#pragma once

#include "platform/ui/Message.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWindow>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class DialogView;
class QEvent;

// Mouse and keyboard input of the dialogs' windows goes through the program's message queue, as
// on Windows. Installed on the application, the router takes each input event from Qt before any
// widget sees it and queues it as input (WM_LBUTTONDOWN, WM_KEYDOWN ...) for the window it
// belongs to: mouse input for the control under the pointer, or the one that has the mouse since
// a button went down on it, and for the dialog where no control (or a static) is; keys for the
// control with the focus, or the dialog. The window's widgets get the event only when that
// message is dispatched, so a loop that filters the queue, such as the folder search, decides
// about every click and key: what it drops never reaches a control. Windows that are not a
// dialog's (message boxes, choosers, menus) get their input straight from Qt.
class InputRouter : public QObject {
public:
    // viewOf: the dialog view a window shows, or null for any other window.
    explicit InputRouter(std::function<DialogView*(const QWindow*)> viewOf);
    ~InputRouter() override;

    // Lets the input that a dispatched message stands for reach its window now.
    void Deliver(const MSG& msg);

    // The message of an input event for a window, with the Windows parameters; the point of a
    // mouse message is made relative to `origin`, the window's top left corner in the dialog.
    // WM_NULL for events that are not routed.
    static MSG MessageFor(HWND hwnd, const QEvent& event, QPoint origin = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window a mouse event belongs to, and where it lies in the dialog.
    struct MouseOwner {
        QPointer<QWindow> window;
        HWND hwnd = 0;
        QPoint origin;
    };
    // One input waiting or being dispatched: the events it stands for (a double click's press and
    // Qt's double-click event go together).
    struct Pending {
        std::uint64_t input = 0;
        QPointer<QWindow> window;
        std::vector<std::unique_ptr<QEvent>> events;
    };

    bool Route(QWindow& window, DialogView& view, QEvent& event);
    MouseOwner OwnerOfMouse(QWindow& window, DialogView& view, const QEvent& event);
    // Forgets input that was taken from the queue and will not be dispatched any more.
    void Prune();

    std::function<DialogView*(const QWindow*)> m_viewOf;
    std::deque<Pending> m_pending; // by input number, oldest first
    // The window that has the mouse while a button is held, as Windows captures it for the
    // window the button went down on.
    MouseOwner m_capture;
    // The last button press queued: Qt tells of a double click right after its second press.
    std::uint64_t m_lastPress = 0;
    // Windows a modal box blocks now, as Qt tells them.
    std::vector<QPointer<QWindow>> m_blocked;
    const QEvent* m_delivering = nullptr;
};
