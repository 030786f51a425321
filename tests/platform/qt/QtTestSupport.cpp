#include "QtTestSupport.h"

#include "platform/qt/DialogView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <array>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const std::array kControls{
    ControlTemplate{kPushId, ControlKind::PushButton, "&Push", 7, 7, 50, 14,
                    kChild | WS_TABSTOP | BS_PUSHBUTTON},
    ControlTemplate{kDefaultPushId, ControlKind::PushButton, "Default", 61, 7, 50, 14,
                    kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    ControlTemplate{kCheckId, ControlKind::CheckBox, "Check", 7, 25, 60, 10,
                    kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
    ControlTemplate{kRadioAId, ControlKind::RadioButton, "Radio A", 7, 37, 60, 10,
                    kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
    ControlTemplate{kRadioBId, ControlKind::RadioButton, "Radio B", 7, 49, 60, 10,
                    kChild | BS_AUTORADIOBUTTON},
    ControlTemplate{kRadioOtherId, ControlKind::RadioButton, "Other", 71, 37, 50, 10,
                    kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
    ControlTemplate{kGroupId, ControlKind::GroupBox, "Group && frame", 125, 4, 110, 30, kChild | BS_GROUPBOX},
    ControlTemplate{kLeftId, ControlKind::Static, "Left", 130, 15, 30, 8, kChild | SS_LEFT, 0, "Value"},
    ControlTemplate{kCenterId, ControlKind::Static, "Centre", 162, 15, 30, 8, kChild | SS_CENTER},
    ControlTemplate{kRightId, ControlKind::Static, "Right", 194, 15, 36, 8, kChild | SS_RIGHT},
    ControlTemplate{kIconId, ControlKind::StaticIcon, "", 240, 7, 18, 20, kChild | SS_ICON, 128, "Logo"},
    ControlTemplate{kFolderEditId, ControlKind::Edit, "", 71, 49, 100, 14,
                    kChild | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_LOWERCASE | ES_AUTOHSCROLL, 0,
                    "Folder"},
    ControlTemplate{kTypedEditId, ControlKind::Edit, "", 175, 49, 50, 14,
                    kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, "Typed"},
    ControlTemplate{kLowerEditId, ControlKind::Edit, "", 229, 49, 40, 14,
                    kChild | WS_BORDER | WS_TABSTOP | ES_LOWERCASE | ES_AUTOHSCROLL, 0, "Lower"},
    ControlTemplate{kListId, ControlKind::ListView, "", 7, 90, 262, 60,
                    kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING, 0,
                    "Songs"},
    ControlTemplate{kSliderId, ControlKind::Trackbar, "", 4, 68, 182, 12, kChild | WS_TABSTOP | TBS_AUTOTICKS,
                    0, "Progress"},
    ControlTemplate{kWrapId, ControlKind::Static, "Two lines of text that wrap", 190, 68, 60, 18,
                    kChild | SS_LEFT},
};

// The same without the default push button, which Enter falls back to.
const std::array kControlsNoDefault{kControls[0], kControls[11], kControls[12]};

} // namespace

const DialogTemplate kTestTemplate{900,
                                   "Test dialog",
                                   "MS Sans Serif",
                                   8,
                                   276,
                                   156,
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME,
                                   WS_EX_APPWINDOW,
                                   kControls};

const DialogTemplate kTestTemplateNoDefault{
    901, "No default",      "MS Sans Serif", 8, 276, 80, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    0,   kControlsNoDefault};

LRESULT TestDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(MSG{m_hWnd, message, wParam, lParam});
    if (onMessage)
        onMessage(received.back());
    return CDialog::WindowProc(message, wParam, lParam);
}

void TestDialog::OnPush() {
    ++pushClicks;
    if (boxOnCommand)
        MessageBox("Pushed", "Test", MB_OK);
}

void TestDialog::OnDblclkList(NMHDR* header, LRESULT* result) {
    ++doubleClicks;
    lastNotifyControl = header->idFrom;
    *result = 0;
    if (boxOnCommand)
        MessageBox("Double clicked", "Test", MB_OK);
}

void TestDialog::OnHScroll(UINT code, UINT position, int) {
    scrolls.emplace_back(code, position);
    if (boxOnCommand)
        MessageBox("Scrolled", "Test", MB_OK);
}

void TestDialog::OnTimer(UINT id) {
    if (onTimer)
        onTimer(id);
}

std::vector<MSG> TestDialog::Received(UINT message) const {
    std::vector<MSG> result;
    for (const MSG& msg : received) {
        if (msg.message == message)
            result.push_back(msg);
    }
    return result;
}

MessageMap TestDialog::GetMessageMap() const {
    using ThisClass = TestDialog;
    static const MessageMapEntry entries[] = {
        ON_BN_CLICKED(kPushId, OnPush),
        ON_NOTIFY(NM_DBLCLK, kListId, OnDblclkList),
        ON_WM_HSCROLL(),
        ON_WM_TIMER(),
        ON_WM_CLOSE(),
    };
    return entries;
}

QPoint PointOf(DialogView& view, int controlId) {
    QWidget* widget = view.WidgetOf(controlId);
    if (!widget)
        throw std::runtime_error("the dialog has no such control");
    return widget->geometry().center();
}

void Click(DialogView& view, QPoint at, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(view.windowHandle(), Qt::LeftButton, modifiers, at);
}

void DoubleClick(DialogView& view, QPoint at, Qt::KeyboardModifiers modifiers) {
    QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, modifiers, at);
}

void Key(DialogView& view, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(view.windowHandle(), key, modifiers);
}

ModalAnswerer::ModalAnswerer() : m_timer(std::make_unique<QTimer>()) {
    // The windows come up inside the handler's nested loop, which lets Qt run this timer.
    QObject::connect(m_timer.get(), &QTimer::timeout, m_timer.get(), [this] { AnswerOpenWindows(); });
    m_timer->start(20);
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::AnswerOpenWindows() {
    // A user answers once the program has caught up with what waited when the window came up,
    // never in the same instant: a slow build would otherwise close a box before the input
    // queued behind the click that opened it has met it.
    if (QueuedMessageCount() != 0)
        return;
    std::vector<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isModal())
            windows.push_back(window);
    }
    for (QWidget* window : windows) {
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            boxes.push_back(box->text().toStdString());
            QAbstractButton* answer = box->button(QMessageBox::No);
            if (!answer)
                answer = box->button(QMessageBox::Ok);
            if (answer)
                answer->click();
        } else if (auto* chooser = qobject_cast<QDialog*>(window)) {
            chooser->reject();
        } else {
            window->close();
        }
    }
}

void DispatchPending() {
    MSG msg;
    while (PeekMessage(msg))
        DispatchMessage(msg);
}

bool RunUntil(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        DispatchPending();
        if (Backend* backend = CurrentBackend())
            backend->WaitForEvents(10);
    }
    return true;
}

DialogView& QtBackendTest::ViewOf(const CDialog& dialog) {
    DialogView* view = backend.ViewOf(dialog);
    if (!view)
        throw std::runtime_error("the dialog has no view");
    return *view;
}

QWidget* QtBackendTest::WidgetOf(const CDialog& dialog, int id) {
    return ViewOf(dialog).WidgetOf(id);
}
