#include "platform/ui/ListCtrl.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/ui/Dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

namespace {

const std::array kListOnly{ControlTemplate{7, ControlKind::ListView, "", 0, 0, 100, 100,
                                           WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING}};
const DialogTemplate kListDialog{1, "t", "MS Sans Serif", 8, 100, 100, WS_POPUP, 0, kListOnly};

class ListCtrlTest : public ::testing::Test {
protected:
    HeadlessBackend m_backend;
    CDialog m_dialog{kListDialog};
    CListCtrl& m_list = m_dialog.Item<CListCtrl>(7);

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            names.push_back(m_list.GetItemText(row, 0));
        return names;
    }
};

TEST_F(ListCtrlTest, InsertionSortsWithoutRegardToCaseAndReturnsTheRow) {
    EXPECT_EQ(m_list.InsertItem(0, "c.kar"), 0);
    EXPECT_EQ(m_list.InsertItem(0, "B.mid"), 0);
    EXPECT_EQ(m_list.InsertItem(0, "a.mid"), 0);
    EXPECT_EQ(m_list.InsertItem(5, "Zed.mid"), 3);
    EXPECT_EQ(m_list.InsertItem(0, "b.MID"), 2); // after the equal "B.mid" that came first
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mid", "B.mid", "b.MID", "c.kar", "Zed.mid"}));
}

TEST_F(ListCtrlTest, ManyRandomInsertionsMatchAStableSort) {
    std::mt19937 random(7);
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        std::string name = "song" + std::to_string(random() % 3000) + (random() % 2 ? ".MID" : ".mid");
        if (random() % 3 == 0)
            name[0] = 'S';
        int row = m_list.InsertItem(0, name);
        m_list.SetItemText(row, 1, "/folder" + std::to_string(i) + "/");
        expected.push_back(name);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    EXPECT_EQ(Names(), expected);
}

TEST_F(ListCtrlTest, SubItemsAndDataStayWithTheirRowWhenOthersLandBefore) {
    int row = m_list.InsertItem(0, "m.mid");
    m_list.SetItemText(row, 1, "/a/");
    m_list.SetItemText(row, 2, "10 B");
    m_list.SetItemData(row, 5);
    m_list.InsertItem(0, "a.mid");
    EXPECT_EQ(m_list.GetItemText(1, 0), "m.mid");
    EXPECT_EQ(m_list.GetItemText(1, 1), "/a/");
    EXPECT_EQ(m_list.GetItemText(1, 2), "10 B");
    EXPECT_EQ(m_list.GetItemData(1), 5);
    EXPECT_EQ(m_list.GetItemText(0, 1), "");
}

TEST_F(ListCtrlTest, MissingRowsReadAsEmptyAndUnplayed) {
    m_list.InsertItem(0, "a.mid");
    EXPECT_EQ(m_list.GetItemData(1), 0);
    EXPECT_EQ(m_list.GetItemData(-1), 0);
    EXPECT_EQ(m_list.GetItemText(3, 0), "");
    EXPECT_FALSE(m_list.SetItemData(1, 1));
    EXPECT_FALSE(m_list.SetItemState(9, LVIS_SELECTED, LVIS_SELECTED));
}

TEST_F(ListCtrlTest, FindItemMatchesWholeNamesAfterTheStartWithoutWrapping) {
    for (const char* name : {"x.mid", "A.MID", "a.mid", "b.mid", "ab.mid"})
        m_list.InsertItem(0, name);
    // Rows: A.MID, a.mid, ab.mid, b.mid, x.mid
    EXPECT_EQ(m_list.FindItem("a.MID"), 0);
    EXPECT_EQ(m_list.FindItem("a.mid", 0), 1);
    EXPECT_EQ(m_list.FindItem("a.mid", 1), -1);
    EXPECT_EQ(m_list.FindItem("x.mid", 2), 4);
    EXPECT_EQ(m_list.FindItem("a"), -1);
    EXPECT_EQ(m_list.FindItem("zzz"), -1);
}

TEST_F(ListCtrlTest, SelectionIsSingleAndFollowsInsertions) {
    for (const char* name : {"b", "c", "d"})
        m_list.InsertItem(0, name);
    m_list.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(m_list.GetSelectedCount(), 1u);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 1);
    m_list.InsertItem(0, "a");
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(m_list.GetItemText(2, 0), "c");
    m_list.DeleteAllItems();
    EXPECT_EQ(m_list.GetSelectedCount(), 0u);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), -1);
}

TEST_F(ListCtrlTest, NextItemIsTheFirstRowAfterStartInTheAskedState) {
    for (const char* name : {"a", "b", "c", "d"})
        m_list.InsertItem(0, name);
    m_list.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    const UINT both = LVNI_FOCUSED | LVNI_SELECTED;
    struct Case {
        int start;
        UINT flags;
        int expected;
    };
    for (Case c : {Case{-1, LVNI_ALL, 0}, Case{1, LVNI_ALL, 2}, Case{3, LVNI_ALL, -1}, Case{-7, LVNI_ALL, 0},
                   Case{-1, LVNI_FOCUSED, 1}, Case{0, LVNI_FOCUSED, 1}, Case{1, LVNI_FOCUSED, -1},
                   Case{-1, LVNI_SELECTED, 2}, Case{2, LVNI_SELECTED, -1}, Case{-1, both, -1}}) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << ", flags " << c.flags);
        EXPECT_EQ(m_list.GetNextItem(c.start, c.flags), c.expected);
    }
    m_list.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(m_list.GetNextItem(-1, both), 2);
    EXPECT_EQ(m_list.GetNextItem(2, both), -1);
}

TEST_F(ListCtrlTest, SharedFolderTextsAreStoredOnce) {
    const std::string folder = "/a/rather/long/folder/name/that/many/songs/share/";
    for (int i = 0; i < 1000; ++i)
        m_list.SetItemText(m_list.InsertItem(0, "s" + std::to_string(i)), 1, folder);
    for (int row = 0; row < 1000; row += 97)
        EXPECT_EQ(&m_list.ItemTextRef(row, 1), &m_list.ItemTextRef(0, 1));
}

} // namespace

TEST_F(ListCtrlTest, AMemoryOrderPassVisitsEveryLiveRowOnceWithItsIndex) {
    for (const char* name : {"d.mid", "b.mid", "a.mid", "c.mid", "e.mid"}) {
        int row = m_list.InsertItem(0, name);
        m_list.SetItemText(row, 1, std::string("/folder/") + name[0] + "/");
        m_list.SetItemData(row, name[0]);
    }
    m_list.DeleteItem(m_list.FindItem("c.mid"));
    std::vector<int> seen(static_cast<std::size_t>(m_list.GetItemCount()), 0);
    m_list.ForEachRowInMemoryOrder(
        [&](int row, const std::string& name, const std::string& folder, LPARAM data) {
            ASSERT_GE(row, 0);
            ASSERT_LT(row, m_list.GetItemCount());
            ++seen[static_cast<std::size_t>(row)];
            EXPECT_EQ(name, m_list.GetItemText(row, 0));
            EXPECT_EQ(folder, m_list.GetItemText(row, 1));
            EXPECT_EQ(data, m_list.GetItemData(row));
        });
    EXPECT_EQ(seen, std::vector<int>(4, 1));
}

TEST_F(ListCtrlTest, PassesOverAllRowsSeeThemInDisplayOrderOrChangeThem) {
    for (const char* name : {"d.mid", "b.mid", "a.mid", "c.mid"})
        m_list.SetItemText(m_list.InsertItem(0, name), 1, std::string("/") + name[0] + "/");
    m_list.DeleteItem(m_list.FindItem("b.mid"));
    std::vector<std::string> shown;
    m_list.ForEachRow([&](int row, const std::string& name, const std::string& folder, LPARAM) {
        EXPECT_EQ(row, static_cast<int>(shown.size()));
        shown.push_back(folder + name);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"/a/a.mid", "/c/c.mid", "/d/d.mid"}));

    m_list.UpdateRowsInMemoryOrder([&](int row, LPARAM& data, int& image) {
        data = row + 10;
        image = row == 1;
    });
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(m_list.GetItemData(row), row + 10);
        EXPECT_EQ(m_list.GetItemImage(row), row == 1);
    }
}
