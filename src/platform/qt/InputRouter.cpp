#include "platform/qt/InputRouter.h"

#include "platform/qt/DialogView.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

LPARAM PackPoint(QPoint point) {
    auto word = [](int v) { return static_cast<LPARAM>(static_cast<WORD>(static_cast<std::int16_t>(v))); };
    return word(point.x()) | (word(point.y()) << 16);
}

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM keys = 0;
    if (buttons & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        keys |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return keys;
}

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton button) {
    int column = type == QEvent::MouseButtonPress ? 0 : type == QEvent::MouseButtonRelease ? 1 : 2;
    switch (button) {
    case Qt::LeftButton:
        return WM_LBUTTONDOWN + column;
    case Qt::RightButton:
        return WM_RBUTTONDOWN + column;
    case Qt::MiddleButton:
        return WM_MBUTTONDOWN + column;
    default:
        return WM_NULL;
    }
}

// The Windows virtual-key code of the keys a dialog's controls act on; 0 for the others.
WPARAM VirtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<WPARAM>(key); // the same codes as ASCII, as on Windows
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<WPARAM>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        return 0;
    }
}

} // namespace

InputRouter::InputRouter(std::function<DialogView*(const QWindow*)> viewOf) : m_viewOf(std::move(viewOf)) {}

InputRouter::~InputRouter() = default;

MSG InputRouter::MessageFor(HWND hwnd, const QEvent& event, QPoint origin) {
    MSG msg{hwnd, WM_NULL, 0, 0};
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto& mouse = static_cast<const QMouseEvent&>(event);
        msg.message =
            event.type() == QEvent::MouseMove ? WM_MOUSEMOVE : ButtonMessage(event.type(), mouse.button());
        msg.wParam = MouseKeys(mouse.buttons(), mouse.modifiers());
        msg.lParam = PackPoint(mouse.position().toPoint() - origin);
        break;
    }
    case QEvent::Wheel: {
        const auto& wheel = static_cast<const QWheelEvent&>(event);
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(static_cast<WORD>(MouseKeys(wheel.buttons(), wheel.modifiers())),
                                static_cast<WORD>(static_cast<std::int16_t>(wheel.angleDelta().y())));
        msg.lParam = PackPoint(wheel.globalPosition().toPoint());
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto& key = static_cast<const QKeyEvent&>(event);
        bool down = event.type() == QEvent::KeyPress;
        bool alt = key.modifiers() & Qt::AltModifier;
        msg.message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
        msg.wParam = VirtualKey(key.key());
        // Repeat count 1; bit 30 the key was already down, bit 31 it is being released.
        msg.lParam = 1 | ((key.nativeScanCode() & 0xFF) << 16);
        if (!down || key.isAutoRepeat())
            msg.lParam |= LPARAM{1} << 30;
        if (!down)
            msg.lParam |= LPARAM{1} << 31;
        break;
    }
    default:
        break;
    }
    return msg;
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
    // Qt gives input to a window first, then to the widget under the pointer or with the focus;
    // taking it at the window keeps every widget of it from seeing it before its message comes.
    if (event == m_delivering || !watched->isWindowType())
        return QObject::eventFilter(watched, event);
    auto* window = static_cast<QWindow*>(watched);
    if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked) {
        std::erase_if(m_blocked,
                      [window](const QPointer<QWindow>& blocked) { return !blocked || blocked == window; });
        if (event->type() == QEvent::WindowBlocked)
            m_blocked.emplace_back(window);
        // A window that a modal box blocks loses the mouse, as a disabled window loses the capture.
        if (m_capture.window == window)
            m_capture = {};
        return QObject::eventFilter(watched, event);
    }
    // Only input looks for its dialog: other events also come while a dialog's view is destroyed.
    if (MessageFor(0, *event).message == WM_NULL)
        return QObject::eventFilter(watched, event);
    DialogView* view = m_viewOf(window);
    if (!view)
        return QObject::eventFilter(watched, event);
    if (Route(*window, *view, *event)) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

InputRouter::MouseOwner InputRouter::OwnerOfMouse(QWindow& window, DialogView& view, const QEvent& event) {
    if (event.type() == QEvent::Wheel) {
        auto [hwnd, origin] = view.MouseOwnerAt(static_cast<const QWheelEvent&>(event).position().toPoint());
        return {&window, hwnd, origin};
    }
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    MouseOwner owner = m_capture;
    if (owner.window != &window) {
        auto [hwnd, origin] = view.MouseOwnerAt(mouse.position().toPoint());
        owner = {&window, hwnd, origin};
    }
    if (event.type() == QEvent::MouseButtonPress && mouse.buttons() == mouse.button())
        m_capture = owner;
    else if (event.type() == QEvent::MouseButtonRelease && mouse.buttons() == Qt::NoButton)
        m_capture = {};
    return owner;
}

bool InputRouter::Route(QWindow& window, DialogView& view, QEvent& event) {
    // Qt follows the second press of a double click with an event of its own; with it the press,
    // still waiting, becomes the double-click message, which delivers both.
    if (event.type() == QEvent::MouseButtonDblClick) {
        UINT message = MessageFor(0, event).message;
        if (!m_pending.empty() && m_pending.back().input == m_lastPress &&
            ChangeWaitingInput(m_lastPress, message))
            m_pending.back().events.emplace_back(event.clone());
        return true;
    }
    MSG msg;
    if (event.type() == QEvent::KeyPress || event.type() == QEvent::KeyRelease) {
        msg = MessageFor(view.KeyOwner(), event);
    } else {
        MouseOwner owner = OwnerOfMouse(window, view, event);
        msg = MessageFor(owner.hwnd, event, owner.origin);
    }
    Prune();
    std::uint64_t input = PostInput(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    if (!m_pending.empty() && m_pending.back().input == input) {
        m_pending.back().events.clear(); // a move merged into the one waiting
    } else {
        m_pending.push_back(Pending{input, &window, {}});
    }
    m_pending.back().events.emplace_back(event.clone());
    if (event.type() == QEvent::MouseButtonPress)
        m_lastPress = input;
    return true;
}

void InputRouter::Prune() {
    std::uint64_t oldestWaiting = OldestWaitingInput();
    while (!m_pending.empty() && m_pending.front().input < oldestWaiting &&
           !IsBeingDispatched(m_pending.front().input))
        m_pending.pop_front();
}

void InputRouter::Deliver(const MSG& msg) {
    auto it = std::find_if(m_pending.begin(), m_pending.end(),
                           [&msg](const Pending& pending) { return pending.input == msg.input; });
    if (it == m_pending.end())
        return;
    Pending pending = std::move(*it);
    m_pending.erase(it);
    // A window a modal box blocks gets none of the input that waited (Qt's own check would let a
    // double click through to it).
    if (!pending.window ||
        std::find(m_blocked.begin(), m_blocked.end(), pending.window.data()) != m_blocked.end())
        return;
    // The keys the window system gives a meaning to act on the dialog, whatever control has the
    // focus: a focused button would take Alt+Space for a Space.
    if (msg.message == WM_SYSKEYDOWN &&
        (msg.wParam == static_cast<WPARAM>(VK_F4) || msg.wParam == static_cast<WPARAM>(VK_SPACE))) {
        if (DialogView* view = m_viewOf(pending.window))
            view->SystemKey(static_cast<int>(msg.wParam));
        return;
    }
    const QEvent* outer = m_delivering;
    for (const auto& event : pending.events) {
        if (!pending.window)
            break;
        m_delivering = event.get();
        QCoreApplication::sendEvent(pending.window, event.get());
    }
    m_delivering = outer;
}
