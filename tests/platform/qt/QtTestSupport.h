#pragma once

#include "platform/qt/QtBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/MessageQueue.h"

#include <gtest/gtest.h>

#include <QPoint>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;
class QWidget;
class DialogView;

// Controls of the test dialog: one of every kind the templates use.
enum TestControlId {
    kPushId = 100,
    kDefaultPushId = 101,
    kCheckId = 102,
    kRadioAId = 103,
    kRadioBId = 104,
    kRadioOtherId = 105,
    kGroupId = 106,
    kLeftId = 107,
    kCenterId = 108,
    kRightId = 109,
    kIconId = 110,
    kFolderEditId = 111,
    kTypedEditId = 112,
    kLowerEditId = 113,
    kListId = 114,
    kSliderId = 115,
    kWrapId = 116,
};

// The test dialog's template; with a default push button or without one.
extern const DialogTemplate kTestTemplate;
extern const DialogTemplate kTestTemplateNoDefault;

// A dialog that records every message that reaches it through the queue, and counts what its
// message table routes.
class TestDialog : public CDialog {
public:
    explicit TestDialog(const DialogTemplate& tmpl = kTestTemplate) : CDialog(tmpl) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { ++okCount; }
    void OnCancel() override { ++cancelCount; }

    void OnPush();
    void OnDblclkList(NMHDR* header, LRESULT* result);
    void OnHScroll(UINT code, UINT position, int id);
    void OnTimer(UINT id);
    void OnClose() { ++closeCount; }

    // Messages of one kind, in arrival order.
    std::vector<MSG> Received(UINT message) const;

    std::vector<MSG> received;
    int okCount = 0;
    int cancelCount = 0;
    int pushClicks = 0;
    int closeCount = 0;
    int doubleClicks = 0;
    UINT lastNotifyControl = 0;
    std::vector<std::pair<UINT, UINT>> scrolls; // code, position
    std::function<void(UINT)> onTimer;
    // Called with every message that reaches the dialog, sent or dispatched.
    std::function<void(const MSG&)> onMessage;
    // The commands of the button, the list and the slider hold a message box, as a handler that
    // asks or reports does.
    bool boxOnCommand = false;

protected:
    MessageMap GetMessageMap() const override;
};

// Real input for a dialog, as the window system gives it: every event goes to the dialog's
// top-level window (so through the input router), at a point in the window. A control's point is
// the centre of its widget.
QPoint PointOf(DialogView& view, int controlId);
void Click(DialogView& view, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void DoubleClick(DialogView& view, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void Key(DialogView& view, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Answers the modal windows that come up while it lives, as a user would: a message box with its
// No or OK button, a chooser with Cancel, a dialog with its close box. It notes what each box said.
class ModalAnswerer {
public:
    ModalAnswerer();
    ~ModalAnswerer();
    std::vector<std::string> boxes; // the texts of the message boxes, in order

private:
    void AnswerOpenWindows();
    std::unique_ptr<QTimer> m_timer;
};

// Dispatches every queued message, letting Qt deliver its pending events first.
void DispatchPending();
// Lets Qt and the queue run until the condition holds or the time is up; returns the condition.
bool RunUntil(const std::function<bool()>& condition, int milliseconds);

// Every test starts with a fresh backend and an empty queue.
class QtBackendTest : public ::testing::Test {
protected:
    QtBackendTest() { ClearMessageQueue(); }
    ~QtBackendTest() override { ClearMessageQueue(); }

    DialogView& ViewOf(const CDialog& dialog);
    template <class T> T& Widget(const CDialog& dialog, int id) {
        T* widget = dynamic_cast<T*>(WidgetOf(dialog, id));
        if (!widget)
            throw std::runtime_error("no widget of that type for the control");
        return *widget;
    }
    QWidget* WidgetOf(const CDialog& dialog, int id);

    QtBackend backend;
};
