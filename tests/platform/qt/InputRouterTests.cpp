// Input of a dialog's window goes through the message queue as Windows queues it: to the window it
// belongs to, acting when its message is dispatched, and kept from the controls by a loop that
// filters the queue (the folder search). Every test sends real input to the top-level window.

#include "QtTestSupport.h"

#include "platform/qt/DialogView.h"
#include "platform/qt/ListView.h"
#include "platform/qt/TrackbarView.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/SliderCtrl.h"
#include "res/dialogs/SearchProgressDialog.h"
#include "search/CDirStruct.h"

#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>
#include <ostream>

namespace {

// The search engine with a hook on the first directory it enters, after its start-up pause.
class SearchWithInput : public CDirStruct {
public:
    void ScanDirectory(DirNode* node, const std::string& path) override {
        if (m_pRoot == node && onStart)
            onStart();
        CDirStruct::ScanDirectory(node, path);
    }
    std::function<void()> onStart;
};

// One message as a window received it: the control's id, or 0 for the dialog.
struct Seen {
    int id;
    UINT message;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* os) {
    static const std::map<UINT, const char*> names{
        {WM_MOUSEMOVE, "MOUSEMOVE"},   {WM_LBUTTONDOWN, "LBUTTONDOWN"},
        {WM_LBUTTONUP, "LBUTTONUP"},   {WM_LBUTTONDBLCLK, "LBUTTONDBLCLK"},
        {WM_KEYDOWN, "KEYDOWN"},       {WM_KEYUP, "KEYUP"},
        {WM_SYSKEYDOWN, "SYSKEYDOWN"}, {WM_SYSKEYUP, "SYSKEYUP"},
        {WM_COMMAND, "COMMAND"},       {WM_NOTIFY, "NOTIFY"},
        {WM_SYSCOMMAND, "SYSCOMMAND"}, {WM_CLOSE, "CLOSE"},
        {WM_HSCROLL, "HSCROLL"}};
    auto name = names.find(seen.message);
    *os << (seen.id ? std::to_string(seen.id) : "dialog") << ":"
        << (name != names.end() ? name->second : std::to_string(seen.message).c_str());
}

class InputRouterTest : public QtBackendTest {
protected:
    InputRouterTest() {
        dialog.Create();
        dialog.ShowWindow(SW_SHOW);
        list().InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
        for (const char* name : {"a.mid", "b.mid", "c.mid", "d.mid"})
            list().InsertItem(0, name);
        slider().SetRange(0, 100);
        slider().SetPos(50);
        Widget<ListView>(dialog, kListId).FlushRows();
        // The list takes the focus in an active window first: that alone makes a current row.
        ViewOf(dialog).activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ViewOf(dialog)));
        Widget<ListView>(dialog, kListId).setFocus();
        DispatchPending();
    }

    CListCtrl& list() { return dialog.Item<CListCtrl>(kListId); }
    CSliderCtrl& slider() { return dialog.Item<CSliderCtrl>(kSliderId); }
    int Selected() { return list().GetNextItem(-1, LVNI_SELECTED); }
    DialogView& View() { return ViewOf(dialog); }
    QWindow* Window() { return View().windowHandle(); }

    QPoint RowPoint(int row) {
        ListView& view = Widget<ListView>(dialog, kListId);
        QPoint point = view.visualRect(view.Model().index(row, 0)).center();
        return view.viewport()->mapTo(&View(), point);
    }
    // Right of every control, half way down.
    QPoint Background() { return QPoint(View().width() - 4, View().height() / 2); }
    void DragThumb() {
        TrackbarView& view = Widget<TrackbarView>(dialog, kSliderId);
        QPoint grab = view.mapTo(&View(), view.HandleRect().center());
        QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, grab);
        QTest::mouseMove(Window(), grab + QPoint(20, 0));
        QTest::mouseMove(Window(), grab + QPoint(40, 0));
        QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(40, 0));
    }

    // Dispatches what waits and notes what each window received, messages sent to the dialog
    // while the input was handled included. Qt moves the pointer to where a button goes down
    // first; those moves are left out unless asked for.
    std::vector<Seen> DispatchNoting(bool withMoves) {
        std::vector<Seen> seen;
        auto note = [&](int id, UINT message) {
            if (withMoves || message != WM_MOUSEMOVE)
                seen.push_back({id, message});
        };
        dialog.onMessage = [&](const MSG& msg) { note(0, msg.message); };
        MSG msg;
        while (PeekMessage(msg)) {
            if (auto* control = dynamic_cast<CControl*>(CWnd::FromHandle(msg.hwnd)))
                note(control->GetDlgCtrlID(), msg.message);
            DispatchMessage(msg);
        }
        dialog.onMessage = nullptr;
        return seen;
    }

    TestDialog dialog;
};

TEST_F(InputRouterTest, EachInputReachesTheWindowItBelongsToAsWindowsQueuesIt) {
    const int push = kPushId, listId = kListId;
    struct Case {
        const char* what;
        std::function<void()> input;
        std::vector<Seen> expected;
        bool withMoves = false;
    };
    const Case cases[] = {
        {"a click on a button is the button's; it tells the dialog while it handles the release",
         [&] { Click(View(), PointOf(View(), push)); },
         {{push, WM_LBUTTONDOWN}, {push, WM_LBUTTONUP}, {0, WM_COMMAND}}},
        {"the second press of a double click comes as one double-click message",
         [&] { DoubleClick(View(), PointOf(View(), push)); },
         {{push, WM_LBUTTONDOWN},
          {push, WM_LBUTTONUP},
          {0, WM_COMMAND},
          {push, WM_LBUTTONDBLCLK},
          {push, WM_LBUTTONUP},
          {0, WM_COMMAND}}},
        {"a double click where no control is is the dialog's, once",
         [&] { DoubleClick(View(), Background()); },
         {{0, WM_LBUTTONDOWN}, {0, WM_LBUTTONUP}, {0, WM_LBUTTONDBLCLK}, {0, WM_LBUTTONUP}}},
        {"a static lets it through to the dialog",
         [&] { DoubleClick(View(), PointOf(View(), kLeftId)); },
         {{0, WM_LBUTTONDOWN}, {0, WM_LBUTTONUP}, {0, WM_LBUTTONDBLCLK}, {0, WM_LBUTTONUP}}},
        {"the list's double click notifies the dialog while it is handled",
         [&] { DoubleClick(View(), RowPoint(1)); },
         {{listId, WM_LBUTTONDOWN},
          {listId, WM_LBUTTONUP},
          {listId, WM_LBUTTONDBLCLK},
          {0, WM_NOTIFY},
          {listId, WM_LBUTTONUP}}},
        {"the button a press went down on has the mouse until the release",
         [&] {
             QTest::mouseMove(Window(), PointOf(View(), push));
             QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, PointOf(View(), push));
             QTest::mouseMove(Window(), Background());
             QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, Background());
         },
         {{push, WM_MOUSEMOVE}, {push, WM_LBUTTONDOWN}, {push, WM_MOUSEMOVE}, {push, WM_LBUTTONUP}},
         true},
        {"mouse moves are merged: only the newest waits",
         [&] {
             for (int i = 0; i < 20; ++i)
                 QTest::mouseMove(Window(), Background() + QPoint(0, i));
         },
         {{0, WM_MOUSEMOVE}},
         true},
        {"keys are the focused control's",
         [&] {
             Widget<ListView>(dialog, listId).setFocus();
             Key(View(), Qt::Key_Down);
         },
         {{listId, WM_KEYDOWN}, {listId, WM_KEYUP}}},
        {"Return on a row is the list's double click, sent while the key is handled",
         [&] { Key(View(), Qt::Key_Return); },
         {{listId, WM_KEYDOWN}, {0, WM_NOTIFY}, {listId, WM_KEYUP}}},
        {"Alt+F4 is the system menu's Close, once its key is dispatched",
         [&] { Key(View(), Qt::Key_F4, Qt::AltModifier); },
         {{listId, WM_SYSKEYDOWN}, // Alt
          {listId, WM_SYSKEYDOWN},
          {0, WM_SYSCOMMAND},
          {0, WM_CLOSE},
          {listId, WM_SYSKEYUP},
          {listId, WM_KEYUP}}},
        {"a disabled button lets the mouse through to the dialog",
         [&] {
             dialog.EnableDlgItem(push, false);
             Click(View(), PointOf(View(), push));
         },
         {{0, WM_LBUTTONDOWN}, {0, WM_LBUTTONUP}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.input();
        EXPECT_EQ(DispatchNoting(c.withMoves), c.expected);
    }
    EXPECT_EQ(dialog.pushClicks, 3);
    EXPECT_EQ(dialog.doubleClicks, 2);
    EXPECT_EQ(dialog.closeCount, 1);
}

TEST_F(InputRouterTest, InputActsOnlyWhenItsMessageIsDispatched) {
    ASSERT_NE(Window(), nullptr);
    int before = Selected();
    Click(View(), RowPoint(1));
    Key(View(), Qt::Key_Down);
    DragThumb();
    EXPECT_EQ(Selected(), before);
    EXPECT_EQ(slider().GetPos(), 50);
    DispatchPending();
    EXPECT_EQ(Selected(), 2);
    EXPECT_NE(slider().GetPos(), 50);
    EXPECT_FALSE(dialog.scrolls.empty());
}

TEST_F(InputRouterTest, NoInputIsLostHoweverMuchWaits) {
    for (int i = 0; i < 700; ++i)
        Click(View(), PointOf(View(), kPushId));
    DispatchPending();
    EXPECT_EQ(dialog.pushClicks, 700);
}

TEST_F(InputRouterTest, InputWaitingWhileACommandHoldsABoxMeetsABlockedWindow) {
    struct Case {
        const char* what;
        std::function<void()> input;
        std::function<std::size_t()> commands;
    };
    const Case cases[] = {
        {"two clicks on a button",
         [&] {
             Click(View(), PointOf(View(), kPushId));
             Click(View(), PointOf(View(), kPushId));
         },
         [&] { return static_cast<std::size_t>(dialog.pushClicks); }},
        {"a double click on a button", [&] { DoubleClick(View(), PointOf(View(), kPushId)); },
         [&] { return static_cast<std::size_t>(dialog.pushClicks); }},
        {"two double clicks on a row",
         [&] {
             DoubleClick(View(), RowPoint(2));
             DoubleClick(View(), RowPoint(2));
         },
         [&] { return static_cast<std::size_t>(dialog.doubleClicks); }},
        {"a click in the slider's channel, whose release the box keeps from it",
         [&] {
             TrackbarView& view = Widget<TrackbarView>(dialog, kSliderId);
             QPoint end(view.width() - 3, view.HandleRect().center().y());
             Click(View(), view.mapTo(&View(), end));
         },
         [&] {
             // Paging held on would go on stepping after the box.
             RunUntil([] { return false; },
                      TrackbarView::kRepeatDelayMs + 2 * TrackbarView::kRepeatIntervalMs);
             return dialog.scrolls.size();
         }},
        {"a drag of the slider's thumb", [&] { DragThumb(); }, [&] { return dialog.scrolls.size(); }},
    };
    dialog.boxOnCommand = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialog.pushClicks = dialog.doubleClicks = 0;
        dialog.scrolls.clear();
        // All of it waits, as input does while the program is busy, then the first command's box
        // comes up with the rest still queued.
        c.input();
        ModalAnswerer answerer;
        DispatchPending();
        EXPECT_EQ(c.commands(), 1u);
        EXPECT_EQ(answerer.boxes.size(), 1u);
    }
}

TEST_F(InputRouterTest, ASearchDropsClicksKeysDragsTheWindowMenuAndAltF4OfTheMainWindow) {
    QTemporaryDir root;
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(QDir(root.path()).mkdir(QString::number(i)));
    Click(View(), RowPoint(1));
    DispatchPending();
    ASSERT_EQ(Selected(), 1);
    std::size_t messagesBefore = dialog.received.size();

    SearchWithInput search;
    search.onStart = [&] {
        Click(View(), RowPoint(3));
        DoubleClick(View(), PointOf(View(), kPushId));
        Key(View(), Qt::Key_Up);
        DragThumb();
        // The window menu opens only when its key is dispatched, which the walk does not, even
        // with the main window active, as a click on it makes it.
        View().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&View()));
        Key(View(), Qt::Key_Space, Qt::AltModifier);
        EXPECT_FALSE(View().SystemMenu()->isVisible());
        Key(View(), Qt::Key_F4, Qt::AltModifier);
        ASSERT_GT(QueuedMessageCount(), 6u);
    };
    // Empty folders: the walk adds no rows that would move the selection.
    EXPECT_EQ(search.Search(QFile::encodeName(root.path()).toStdString(), &list(), TRUE), 0);
    // The walk took every message (one per directory) and dropped them: none reached the dialog.
    EXPECT_EQ(QueuedMessageCount(), 0u);
    EXPECT_EQ(dialog.received.size(), messagesBefore);
    DispatchPending();
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(slider().GetPos(), 50);
    EXPECT_TRUE(dialog.scrolls.empty());
    EXPECT_EQ(dialog.pushClicks, 0);
    EXPECT_FALSE(View().SystemMenu()->isVisible());
    EXPECT_EQ(dialog.closeCount, 0);
}

TEST_F(InputRouterTest, ABurstOfMouseMovesDuringASearchTakesOneSample) {
    QTemporaryDir root;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(QDir(root.path()).mkdir(QString::number(i)));
    SearchWithInput search;
    search.onStart = [&] {
        for (int i = 0; i < 40; ++i)
            QTest::mouseMove(Window(), QPoint(20 + i, 20));
        Key(*backend.ViewOf(*search.m_pProgressDlg), Qt::Key_Escape);
    };
    // The moves are the first folder's sample; the Escape, the second's, stops the walk.
    EXPECT_EQ(search.Search(QFile::encodeName(root.path()).toStdString(), &list(), TRUE), -1);
}

} // namespace
