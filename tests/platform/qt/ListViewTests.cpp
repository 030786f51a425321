// The song list's view: the model reads the list control, row notices are gathered and told to the
// view in batches, the program's selection is shown and scrolled into view, and clicks go back to
// the control and the dialog.

#include "QtTestSupport.h"

#include "platform/qt/DialogObserver.h"
#include "platform/qt/Icons.h"
#include "platform/qt/ListView.h"
#include "platform/ui/ListCtrl.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

namespace {

class ListViewTest : public QtBackendTest {
protected:
    ListViewTest() {
        dialog.Create();
        dialog.ShowWindow(SW_SHOW);
        list().SetImageList({143, 142}, LVSIL_SMALL);
        list().InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
        list().InsertColumn(1, "Folder", LVCFMT_LEFT, 230);
        list().InsertColumn(2, "Size", LVCFMT_LEFT, 66);
    }

    CListCtrl& list() { return dialog.Item<CListCtrl>(kListId); }
    ListView& view() { return Widget<ListView>(dialog, kListId); }
    ListModel& model() { return view().Model(); }

    int AddSong(const std::string& name) {
        int row = list().InsertItem(0, name);
        list().SetItemText(row, 1, "/music/");
        list().SetItemText(row, 2, "100 B");
        list().SetItemData(row, 0);
        return row;
    }

    QString Shown(int row, int column) { return model().data(model().index(row, column)).toString(); }

    int SelectedRowInView() {
        QModelIndexList rows = view().selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }

    TestDialog dialog;
};

TEST_F(ListViewTest, ModelShowsColumnsRowsAndTheSmallImages) {
    EXPECT_EQ(model().columnCount(), 3);
    EXPECT_EQ(model().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Folder"));
    EXPECT_EQ(view().header()->sectionSize(0), 110);
    EXPECT_EQ(view().header()->sectionSize(1), 230);
    EXPECT_EQ(view().header()->sectionSize(2), 66);

    AddSong("b.mid");
    AddSong("A.mid");
    int row = AddSong("c.kar");
    list().SetItemImage(row, 1);
    view().FlushRows();
    ASSERT_EQ(model().rowCount(), 3);
    EXPECT_EQ(Shown(0, 0), QStringLiteral("A.mid"));
    EXPECT_EQ(Shown(1, 0), QStringLiteral("b.mid"));
    EXPECT_EQ(Shown(2, 0), QStringLiteral("c.kar"));
    EXPECT_EQ(Shown(2, 2), QStringLiteral("100 B"));

    // Image 0 is the empty box, image 1 the ticked one; only the first column has one.
    QImage unplayed = model()
                          .data(model().index(0, 0), Qt::DecorationRole)
                          .value<QIcon>()
                          .pixmap(QSize(16, 16), 1.0)
                          .toImage();
    QImage played = model()
                        .data(model().index(2, 0), Qt::DecorationRole)
                        .value<QIcon>()
                        .pixmap(QSize(16, 16), 1.0)
                        .toImage();
    EXPECT_EQ(unplayed.size(), QSize(16, 16));
    EXPECT_EQ(unplayed.convertToFormat(QImage::Format_ARGB32),
              IconImage(143, 16).convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(played.convertToFormat(QImage::Format_ARGB32),
              IconImage(142, 16).convertToFormat(QImage::Format_ARGB32));
    EXPECT_FALSE(model().data(model().index(0, 1), Qt::DecorationRole).isValid());
}

TEST_F(ListViewTest, RowNoticesReachTheViewInOneBatchAndClearingAtOnce) {
    for (int i = 0; i < 50; ++i)
        AddSong("song" + std::to_string(i) + ".mid");
    // Nothing told yet: the view still reads only rows it knew of, which exist.
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_TRUE(model().Pending());
    ASSERT_TRUE(RunUntil([&] { return model().rowCount() == 50; }, 10000));
    EXPECT_FALSE(model().Pending());

    // Rows land above rows the view knows: those show their new contents after the next batch.
    AddSong("a first.mid");
    EXPECT_EQ(model().rowCount(), 50);
    ASSERT_TRUE(RunUntil([&] { return model().rowCount() == 51; }, 10000));
    EXPECT_EQ(Shown(0, 0), QStringLiteral("a first.mid"));

    // Clearing is told at once, so the view never asks for a row the list no longer has.
    AddSong("pending.mid");
    list().DeleteAllItems();
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_FALSE(model().Pending());
    view().grab(); // paints without reading a row
    AddSong("again.mid");
    view().FlushRows();
    EXPECT_EQ(model().rowCount(), 1);

    // Deleting one row is told at once too, with the rows after it moved up.
    for (const char* name : {"b.mid", "c.mid", "d.mid"})
        AddSong(name);
    list().SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list().DeleteItem(0);
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_EQ(Shown(0, 0), QStringLiteral("b.mid"));
    EXPECT_EQ(SelectedRowInView(), 1);
}

TEST_F(ListViewTest, AHiddenListHearsOfItsRowsWhenShown) {
    dialog.ShowWindow(SW_HIDE);
    for (int i = 0; i < 30; ++i)
        AddSong("song" + std::to_string(i) + ".mid");
    QTest::qWait(2 * ListView::kFlushIntervalMs);
    EXPECT_EQ(model().rowCount(), 0);
    dialog.ShowWindow(SW_SHOW);
    EXPECT_EQ(model().rowCount(), 30);
    EXPECT_EQ(Shown(29, 0), QStringLiteral("song9.mid"));
}

TEST_F(ListViewTest, TheObserverHearsOfRowsOnlyWhenTheFocusedRowChanges) {
    struct Counter : DialogObserver {
        void ControlChanged(CDialog&, CControl&) override { ++changes; }
        void DialogDestroyed(CDialog&) override {}
        int changes = 0;
    } observer;
    backend.SetDialogObserver(&observer);
    for (int i = 0; i < 20; ++i)
        AddSong("song" + std::to_string(i) + ".mid");
    EXPECT_EQ(observer.changes, 0);
    list().SetItemState(3, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(observer.changes, 1);
    AddSong("a first.mid"); // lands above the focused row, which moves down with its texts
    list().SetItemText(5, 1, "/elsewhere/");
    EXPECT_EQ(observer.changes, 1);
    list().SetItemText(4, 1, "/elsewhere/");
    EXPECT_EQ(observer.changes, 2);
    backend.SetDialogObserver(nullptr);
}

TEST_F(ListViewTest, ProgramSelectionIsShownAndScrolledFullyIntoView) {
    for (int i = 0; i < 200; ++i)
        AddSong("song" + std::to_string(1000 + i) + ".mid");
    int row = list().FindItem("song1150.mid");
    ASSERT_EQ(row, 150);
    list().SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list().EnsureVisible(row, FALSE);
    EXPECT_EQ(SelectedRowInView(), 150);
    EXPECT_EQ(view().currentIndex().row(), 150);
    QRect shown = view().visualRect(model().index(150, 0));
    EXPECT_TRUE(view().viewport()->rect().contains(shown))
        << "row drawn at " << shown.y() << ".." << shown.bottom();

    // Back up to the top: the row comes in at the top edge, whole.
    list().EnsureVisible(3, FALSE);
    QRect top = view().visualRect(model().index(3, 0));
    EXPECT_TRUE(view().viewport()->rect().contains(top));

    // Sorted insertion above the selection moves it in the control; the view follows.
    AddSong("a new first.mid");
    view().FlushRows();
    EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 151);
    EXPECT_EQ(SelectedRowInView(), 151);

    list().SetItemState(151, 0, LVIS_SELECTED);
    EXPECT_EQ(SelectedRowInView(), -1);
}

TEST_F(ListViewTest, ClicksChooseRowsAndADoubleClickNotifiesTheDialog) {
    for (const char* name : {"a.mid", "b.mid", "c.mid"})
        AddSong(name);
    view().FlushRows();
    QRect second = view().visualRect(model().index(1, 1));
    QTest::mouseClick(view().viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list().GetNextItem(-1, LVNI_FOCUSED), 1);

    QRect third = view().visualRect(model().index(2, 0));
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
    EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 2);
    DispatchPending();
    EXPECT_EQ(dialog.doubleClicks, 1);
    EXPECT_EQ(dialog.lastNotifyControl, static_cast<UINT>(kListId));

    // Below the rows: the selection stays, and the double click still reaches the dialog, which
    // plays the focused row.
    QPoint empty(5, view().viewport()->height() - 3);
    ASSERT_FALSE(view().indexAt(empty).isValid());
    QTest::mouseClick(view().viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(SelectedRowInView(), 2);
    DispatchPending();
    EXPECT_EQ(dialog.doubleClicks, 2);

    // Keys move the choice too.
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Up);
    EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 1);
}

} // namespace
