// What a screen reader is told of a dialog, and what a keyboard alone can do in it: keys are sent
// to the window, so they take the way a user's keys take, through the message queue.

#include "QtTestSupport.h"

#include "platform/qt/DialogView.h"
#include "platform/qt/ListView.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/SliderCtrl.h"

#include <QAccessible>
#include <QRadioButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

std::string Name(QAccessibleInterface* node) {
    return node->text(QAccessible::Name).toStdString();
}

// Everything a screen reader finds below a node that it cannot put a name or a role to.
void Nameless(QAccessibleInterface* node, std::vector<std::string>& found) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child)
            continue;
        const QAccessible::Role role = child->role();
        if (role == QAccessible::Client || role == QAccessible::NoRole)
            found.push_back("filler " + Name(child));
        else if (Name(child).empty() && role != QAccessible::Separator && role != QAccessible::Cell &&
                 role != QAccessible::ColumnHeader && role != QAccessible::ScrollBar)
            found.push_back("unnamed role " + std::to_string(role));
        if (role != QAccessible::Tree && role != QAccessible::ScrollBar)
            Nameless(child, found);
    }
}

class AccessibilityTest : public QtBackendTest {
protected:
    AccessibilityTest() {
        dialog.Create();
        list().SetImageList({143, 142}, LVSIL_SMALL);
        list().InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
        for (const char* name : {"a.mid", "b.mid", "c.mid"})
            list().InsertItem(0, name);
        dialog.Item<CSliderCtrl>(kSliderId).SetRange(0, 225);
        dialog.Item<CSliderCtrl>(kSliderId).SetPos(83);
        dialog.ShowWindow(SW_SHOW);
        Widget<ListView>(dialog, kListId).FlushRows();
        ViewOf(dialog).activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ViewOf(dialog)));
        DispatchPending();
    }

    CListCtrl& list() { return dialog.Item<CListCtrl>(kListId); }
    QAccessibleInterface* Control(int id) { return Accessible(WidgetOf(dialog, id)); }
    void Keys(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (Qt::Key key : keys) {
            QTest::keyClick(ViewOf(dialog).windowHandle(), key, modifiers);
            DispatchPending();
        }
    }
    QWidget* Focused() { return ViewOf(dialog).focusWidget(); }
    std::vector<WORD> Clicked() {
        std::vector<WORD> ids;
        for (const MSG& msg : dialog.Received(WM_COMMAND))
            ids.push_back(LOWORD(msg.wParam));
        return ids;
    }

    TestDialog dialog;
};

TEST_F(AccessibilityTest, EveryControlHasARoleAndAName) {
    struct Expected {
        int id;
        QAccessible::Role role;
        std::string name;
    };
    const Expected expected[] = {
        {kPushId, QAccessible::Button, "Push"},
        {kRadioAId, QAccessible::RadioButton, "Radio A"},
        {kGroupId, QAccessible::Grouping, "Group & frame"},
        {kLeftId, QAccessible::StaticText, "Value: Left"},
        {kIconId, QAccessible::Graphic, "Logo"},
        {kFolderEditId, QAccessible::EditableText, "Folder"},
        {kListId, QAccessible::Tree, "Songs"},
        {kSliderId, QAccessible::Slider, "Progress"},
    };
    for (const Expected& control : expected) {
        QAccessibleInterface* node = Control(control.id);
        ASSERT_NE(node, nullptr) << control.id;
        EXPECT_EQ(node->role(), control.role) << control.name;
        EXPECT_EQ(Name(node), control.name);
    }
    EXPECT_EQ(Control(kSliderId)->text(QAccessible::Description).toStdString(), "83 of 225");

    // A main window is a frame, any other window a dialog; neither holds anything nameless.
    QAccessibleInterface* window = Accessible(&ViewOf(dialog));
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(Name(window), "Test dialog");
    std::vector<std::string> nameless;
    Nameless(window, nameless);
    EXPECT_EQ(nameless, std::vector<std::string>{});
    TestDialog other(kTestTemplateNoDefault);
    other.Create();
    EXPECT_EQ(Accessible(&ViewOf(other))->role(), QAccessible::Dialog);
}

TEST_F(AccessibilityTest, APlayedMarkIsTheFirstCellsCheckedStateAndAValueSaysWhatItIs) {
    list().SetItemImage(1, 1);
    Widget<ListView>(dialog, kListId).FlushRows();
    QAccessibleTableInterface* table = Control(kListId)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->cellAt(0, 0)->state().checked);
    EXPECT_TRUE(table->cellAt(1, 0)->state().checked);
    EXPECT_FALSE(table->cellAt(2, 0)->state().checked);

    // That the change is announced, Qt tells only with a screen reader listening: the end-to-end
    // check hears it.
    dialog.SetDlgItemText(kLeftId, "Minuet in G.mid");
    EXPECT_EQ(Name(Control(kLeftId)), "Value: Minuet in G.mid");
}

TEST_F(AccessibilityTest, ReturnOrEnterOnTheFocusedRowIsADoubleClickOnIt) {
    WidgetOf(dialog, kListId)->setFocus();
    Keys({Qt::Key_End, Qt::Key_Return});
    EXPECT_EQ(dialog.doubleClicks, 1);
    EXPECT_EQ(dialog.lastNotifyControl, static_cast<UINT>(kListId));
    EXPECT_EQ(list().GetNextItem(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(list().GetNextItem(-1, LVNI_SELECTED), 2);
    Keys({Qt::Key_Home});
    Keys({Qt::Key_Enter}, Qt::KeypadModifier);
    EXPECT_EQ(dialog.doubleClicks, 2);
    EXPECT_EQ(list().GetNextItem(-1, LVNI_FOCUSED), 0);
    // Modified, it is not the list's.
    Keys({Qt::Key_Return}, Qt::AltModifier);
    EXPECT_EQ(dialog.doubleClicks, 2);
}

TEST_F(AccessibilityTest, TabReachesARadioGroupAtItsCheckedButtonAndArrowsChooseInTheGroup) {
    dialog.Item<CButton>(kRadioBId).SetCheck(1);
    WidgetOf(dialog, kCheckId)->setFocus();
    // The group of A and B at B, the checked one; the group of Other, with none checked, at its first.
    Keys({Qt::Key_Tab});
    EXPECT_EQ(Focused(), WidgetOf(dialog, kRadioBId));
    Keys({Qt::Key_Tab});
    EXPECT_EQ(Focused(), WidgetOf(dialog, kRadioOtherId));
    Keys({Qt::Key_Tab}, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), WidgetOf(dialog, kRadioBId));

    // Down from the last wraps to the first and chooses it, as a click would; Left goes back.
    Keys({Qt::Key_Down});
    EXPECT_EQ(Focused(), WidgetOf(dialog, kRadioAId));
    EXPECT_EQ(dialog.Item<CButton>(kRadioAId).GetCheck(), 1);
    EXPECT_EQ(dialog.Item<CButton>(kRadioBId).GetCheck(), 0);
    EXPECT_TRUE(Widget<QRadioButton>(dialog, kRadioAId).isChecked());
    Keys({Qt::Key_Left});
    EXPECT_EQ(Focused(), WidgetOf(dialog, kRadioBId));
    // A disabled button is passed over; the other group is never reached.
    dialog.EnableDlgItem(kRadioAId, false);
    Keys({Qt::Key_Right});
    EXPECT_EQ(Focused(), WidgetOf(dialog, kRadioBId));
    EXPECT_EQ(dialog.Item<CButton>(kRadioOtherId).GetCheck(), 0);
    EXPECT_EQ(Clicked(), (std::vector<WORD>{kRadioAId, kRadioBId}));
}

} // namespace
