// Input of a dialog's window goes through the message queue: it acts when its message is
// dispatched, and a loop that filters the queue (the folder search) keeps it from the controls.

#include "QtTestSupport.h"

#include "platform/qt/DialogView.h"
#include "platform/qt/ListView.h"
#include "platform/qt/TrackbarView.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/SliderCtrl.h"
#include "search/CDirStruct.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

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
    QWindow* Window() { return ViewOf(dialog).windowHandle(); }

    // Input as the window system gives it: to the window, which hands it to its widgets.
    void ClickRow(int row) {
        ListView& view = Widget<ListView>(dialog, kListId);
        QPoint point = view.visualRect(view.Model().index(row, 0)).center();
        QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier,
                          view.viewport()->mapTo(&ViewOf(dialog), point));
    }
    void DragThumb() {
        TrackbarView& view = Widget<TrackbarView>(dialog, kSliderId);
        QPoint grab = view.mapTo(&ViewOf(dialog), view.HandleRect().center());
        QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, grab);
        QTest::mouseMove(Window(), grab + QPoint(40, 0));
        QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(40, 0));
    }

    TestDialog dialog;
};

TEST_F(InputRouterTest, InputActsWhenItsMessageIsDispatched) {
    ASSERT_NE(Window(), nullptr);
    int before = Selected();
    ClickRow(1);
    EXPECT_EQ(Selected(), before);
    ASSERT_EQ(dialog.Received(WM_LBUTTONDOWN).size(), 0u);
    DispatchPending();
    EXPECT_EQ(Selected(), 1);
    ASSERT_EQ(dialog.Received(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(dialog.Received(WM_LBUTTONDOWN)[0].wParam, MK_LBUTTON);
    EXPECT_EQ(dialog.Received(WM_LBUTTONUP).size(), 1u);

    QTest::keyClick(Window(), Qt::Key_Down);
    DispatchPending();
    EXPECT_EQ(Selected(), 2);
    ASSERT_EQ(dialog.Received(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(dialog.Received(WM_KEYDOWN)[0].wParam, 0x28u); // VK_DOWN

    DragThumb();
    DispatchPending();
    EXPECT_NE(slider().GetPos(), 50);
    EXPECT_FALSE(dialog.scrolls.empty());
}

TEST_F(InputRouterTest, ASearchDropsClicksKeysAndDragsAimedAtTheMainWindow) {
    QTemporaryDir root;
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(QDir(root.path()).mkdir(QString::number(i)));
    ClickRow(1);
    DispatchPending();
    ASSERT_EQ(Selected(), 1);
    std::size_t messagesBefore = dialog.received.size();

    SearchWithInput search;
    search.onStart = [&] {
        ClickRow(3);
        QTest::keyClick(Window(), Qt::Key_Up);
        DragThumb();
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
}

} // namespace
