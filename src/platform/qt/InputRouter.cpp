#include "platform/qt/InputRouter.h"

#include "platform/ui/MessageQueue.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Input that no filter took and no dispatch delivered is forgotten beyond this many events.
constexpr std::size_t kMaxPending = 1024;

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

InputRouter::InputRouter(std::function<HWND(const QWindow*)> dialogOf) : m_dialogOf(std::move(dialogOf)) {}

InputRouter::~InputRouter() = default;

MSG InputRouter::MessageFor(HWND hwnd, const QEvent& event) {
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
        msg.lParam = PackPoint(mouse.position().toPoint());
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
    // Only input looks for its dialog: other events also come while a dialog's view is destroyed.
    MSG msg = MessageFor(0, *event);
    if (msg.message == WM_NULL)
        return QObject::eventFilter(watched, event);
    auto* window = static_cast<QWindow*>(watched);
    msg.hwnd = m_dialogOf(window);
    if (msg.hwnd == 0)
        return QObject::eventFilter(watched, event);
    if (m_pending.size() >= kMaxPending)
        m_pending.pop_front();
    m_pending.push_back(Pending{msg, window, std::unique_ptr<QEvent>(event->clone())});
    PostMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    event->accept();
    return true;
}

void InputRouter::Deliver(const MSG& msg) {
    auto it = std::find_if(m_pending.begin(), m_pending.end(), [&msg](const Pending& pending) {
        return pending.msg.hwnd == msg.hwnd && pending.msg.message == msg.message &&
               pending.msg.wParam == msg.wParam && pending.msg.lParam == msg.lParam;
    });
    if (it == m_pending.end())
        return;
    Pending pending = std::move(*it);
    m_pending.erase(m_pending.begin(), it + 1);
    if (!pending.window)
        return;
    const QEvent* outer = m_delivering;
    m_delivering = pending.event.get();
    QCoreApplication::sendEvent(pending.window, pending.event.get());
    m_delivering = outer;
}
