// The dialog window: its layout from dialog units, the controls' state mirrored into widgets, and
// the keys, close requests and system menu turned into messages.

#include "QtTestSupport.h"

#include "platform/qt/ButtonViews.h"
#include "platform/qt/DialogMetrics.h"
#include "platform/qt/DialogView.h"
#include "platform/qt/EditView.h"
#include "platform/qt/StaticViews.h"
#include "platform/ui/ListCtrl.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QMenu>
#include <QTest>

namespace {

TEST(DialogMetricsTest, MulDivRoundsHalvesAwayFromZeroAsWindowsDoes) {
    EXPECT_EQ(MulDiv(7, 6, 4), 11);     // 10.5
    EXPECT_EQ(MulDiv(-7, 6, 4), -11);   // -10.5
    EXPECT_EQ(MulDiv(164, 13, 8), 267); // 266.5
    EXPECT_EQ(MulDiv(14, 13, 8), 23);   // 22.75
    EXPECT_EQ(MulDiv(9, 13, 8), 15);    // 14.625
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(DialogMetricsTest, ClassicDialogFontGetsTheClassicBaseUnits) {
    DialogMetrics metrics = DialogMetricsFor("MS Sans Serif", 8);
    if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Condensed"))) {
        EXPECT_EQ(metrics.baseX, 6);
        EXPECT_EQ(metrics.baseY, 13);
    }
    // Whatever face stands in, it must be near enough for the templates' texts to fit.
    EXPECT_GE(metrics.baseX, 5);
    EXPECT_LE(metrics.baseX, 7);
    EXPECT_GE(metrics.baseY, 12);
    EXPECT_LE(metrics.baseY, 14);
    // The measurement follows the Windows rule on the chosen font.
    DialogMetrics measured = MeasureDialogFont(metrics.font);
    EXPECT_EQ(measured.baseX, metrics.baseX);
    EXPECT_EQ(measured.baseY, metrics.baseY);
}

TEST_F(QtBackendTest, DialogAndControlsArePlacedByDialogUnits) {
    TestDialog dialog;
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    const DialogMetrics& m = view.Metrics();
    EXPECT_EQ(view.size(), QSize(m.X(276), m.Y(156)));
    for (const auto& control : dialog.Controls()) {
        const ControlTemplate& t = control->Template();
        QRect expected(m.X(t.x), m.Y(t.y), m.X(t.cx), m.Y(t.cy));
        if (control->Kind() == ControlKind::StaticIcon)
            expected.setSize(QSize(32, 32));
        EXPECT_EQ(WidgetOf(dialog, t.id)->geometry(), expected) << "control " << t.id;
    }
    if (m.baseX == 6 && m.baseY == 13) {
        // The classic numbers: 7,7 50x14 dialog units is 11,11 75x23 pixels.
        EXPECT_EQ(WidgetOf(dialog, kPushId)->geometry(), QRect(11, 11, 75, 23));
        EXPECT_EQ(view.size(), QSize(414, 254));
    }
    // The group box lies behind the statics it frames.
    QWidget* group = WidgetOf(dialog, kGroupId);
    QWidget* inside = WidgetOf(dialog, kLeftId);
    EXPECT_LT(view.children().indexOf(group), view.children().indexOf(inside));
    EXPECT_TRUE(group->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(QtBackendTest, WindowIsFixedSizeWithMinimiseAndCloseOnly) {
    TestDialog dialog;
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    Qt::WindowFlags flags = view.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    TestDialog noMinimise(kTestTemplateNoDefault);
    noMinimise.Create();
    EXPECT_FALSE(ViewOf(noMinimise).windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(QtBackendTest, StaticTextsFollowTheControlWithTheirAlignment) {
    TestDialog dialog;
    dialog.Create();
    auto& left = Widget<QLabel>(dialog, kLeftId);
    auto& center = Widget<QLabel>(dialog, kCenterId);
    auto& right = Widget<QLabel>(dialog, kRightId);
    EXPECT_TRUE(left.alignment() & Qt::AlignLeft);
    EXPECT_TRUE(center.alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(right.alignment() & Qt::AlignRight);
    EXPECT_FALSE(left.wordWrap());
    EXPECT_TRUE(Widget<QLabel>(dialog, kWrapId).wordWrap());

    dialog.SetDlgItemText(kLeftId, "Rock && Roll");
    EXPECT_EQ(left.text(), QStringLiteral("Rock & Roll"));
    dialog.SetDlgItemText(kLeftId, "&Mnemonic");
    EXPECT_EQ(left.text(), QStringLiteral("Mnemonic"));
    dialog.SetDlgItemText(kRightId, "01:15");
    EXPECT_EQ(right.text(), QStringLiteral("01:15"));
    // Bytes that are not UTF-8 still show, leniently.
    dialog.SetDlgItemText(kCenterId, std::string("caf\xE9.mid"));
    EXPECT_TRUE(center.text().startsWith(QStringLiteral("caf")));
    EXPECT_TRUE(center.text().endsWith(QStringLiteral(".mid")));
}

TEST_F(QtBackendTest, StaticTextsChangedFasterThanTheyCanBeReadShowTheNewestAfterAPause) {
    TestDialog dialog;
    dialog.Create();
    auto& label = Widget<QLabel>(dialog, kLeftId);
    // Hidden, every change shows at once.
    dialog.SetDlgItemText(kLeftId, "1");
    dialog.SetDlgItemText(kLeftId, "2");
    EXPECT_EQ(label.text(), QStringLiteral("2"));

    dialog.ShowWindow(SW_SHOW);
    QElapsedTimer clock;
    clock.start();
    for (int directory = 3; directory <= 500; ++directory)
        dialog.SetDlgItemText(kLeftId, std::to_string(directory));
    dialog.SetDlgItemText(kRightId, "other");
    if (clock.elapsed() < DialogView::kTextPaceMs) {
        EXPECT_NE(label.text(), QStringLiteral("500"));
        EXPECT_EQ(Widget<QLabel>(dialog, kRightId).text(), QStringLiteral("other"));
    }
    // The newest text comes with the pace's timer; on a loaded machine that can be late, so the
    // test waits for it rather than for the pace alone.
    EXPECT_TRUE(QTest::qWaitFor([&] { return label.text() == QStringLiteral("500"); }, 5000))
        << label.text().toStdString();
    // Buttons are not held back.
    dialog.SetDlgItemText(kPushId, "A");
    dialog.SetDlgItemText(kPushId, "B");
    EXPECT_EQ(Widget<QPushButton>(dialog, kPushId).text(), QStringLiteral("B"));
}

TEST_F(QtBackendTest, EnabledAndVisibleStatesAreMirrored) {
    TestDialog dialog;
    dialog.Create();
    QWidget* push = WidgetOf(dialog, kPushId);
    EXPECT_TRUE(push->isEnabled());
    dialog.EnableDlgItem(kPushId, false);
    EXPECT_FALSE(push->isEnabled());
    dialog.EnableDlgItem(kPushId, true);
    EXPECT_TRUE(push->isEnabled());

    dialog.GetDlgItem(kSliderId)->ShowWindow(SW_HIDE);
    EXPECT_TRUE(WidgetOf(dialog, kSliderId)->isHidden());
    dialog.GetDlgItem(kSliderId)->ShowWindow(SW_SHOW);
    EXPECT_FALSE(WidgetOf(dialog, kSliderId)->isHidden());

    dialog.SetDlgItemText(kPushId, "Stop");
    EXPECT_EQ(Widget<QPushButton>(dialog, kPushId).text(), QStringLiteral("Stop"));
}

TEST_F(QtBackendTest, CheckBoxAndRadioGroupsFollowTheControlsRules) {
    TestDialog dialog;
    dialog.Create();
    auto& check = Widget<QCheckBox>(dialog, kCheckId);
    auto& radioA = Widget<QRadioButton>(dialog, kRadioAId);
    auto& radioB = Widget<QRadioButton>(dialog, kRadioBId);
    auto& other = Widget<QRadioButton>(dialog, kRadioOtherId);
    auto& checkControl = dialog.Item<CButton>(kCheckId);

    QTest::mouseClick(&check, Qt::LeftButton);
    EXPECT_EQ(checkControl.GetCheck(), 1);
    EXPECT_TRUE(check.isChecked());
    QTest::mouseClick(&check, Qt::LeftButton);
    EXPECT_EQ(checkControl.GetCheck(), 0);
    EXPECT_FALSE(check.isChecked());

    QTest::mouseClick(&other, Qt::LeftButton);
    QTest::mouseClick(&radioA, Qt::LeftButton);
    QTest::mouseClick(&radioB, Qt::LeftButton);
    EXPECT_EQ(dialog.Item<CButton>(kRadioAId).GetCheck(), 0);
    EXPECT_EQ(dialog.Item<CButton>(kRadioBId).GetCheck(), 1);
    EXPECT_FALSE(radioA.isChecked());
    EXPECT_TRUE(radioB.isChecked());
    // Another group keeps its choice; clicking a checked radio button leaves it checked.
    EXPECT_TRUE(other.isChecked());
    QTest::mouseClick(&radioB, Qt::LeftButton);
    EXPECT_TRUE(radioB.isChecked());

    // The program sets checks too.
    dialog.Item<CButton>(kCheckId).SetCheck(1);
    EXPECT_TRUE(check.isChecked());

    DispatchPending();
    std::vector<WORD> clicked;
    for (const MSG& msg : dialog.Received(WM_COMMAND))
        clicked.push_back(LOWORD(msg.wParam));
    EXPECT_EQ(clicked,
              (std::vector<WORD>{kCheckId, kCheckId, kRadioOtherId, kRadioAId, kRadioBId, kRadioBId}));
}

TEST_F(QtBackendTest, EditsShowLowerCaseButKeepTheTextAndTakeTyping) {
    TestDialog dialog;
    dialog.Create();
    auto& folder = Widget<QLineEdit>(dialog, kFolderEditId);
    EXPECT_TRUE(folder.isReadOnly());
    dialog.SetDlgItemText(kFolderEditId, "/home/Ann/MIDI Songs/A Very Long Folder Name That Does Not Fit");
    EXPECT_EQ(folder.text(),
              QStringLiteral("/home/ann/midi songs/a very long folder name that does not fit"));
    EXPECT_EQ(dialog.GetDlgItemText(kFolderEditId),
              "/home/Ann/MIDI Songs/A Very Long Folder Name That Does Not Fit");
    // A text set by the program shows from its start.
    EXPECT_EQ(folder.cursorPosition(), 0);

    auto& typed = Widget<QLineEdit>(dialog, kTypedEditId);
    typed.setFocus();
    QTest::keyClicks(&typed, "Hello");
    EXPECT_EQ(dialog.GetDlgItemText(kTypedEditId), "Hello");

    auto& lower = Widget<QLineEdit>(dialog, kLowerEditId);
    QTest::keyClicks(&lower, "AbC");
    EXPECT_EQ(dialog.GetDlgItemText(kLowerEditId), "abc");
    EXPECT_EQ(lower.text(), QStringLiteral("abc"));
}

TEST_F(QtBackendTest, EscapeEnterAndCloseBecomeTheDialogsMessages) {
    TestDialog dialog;
    dialog.Create();
    dialog.ShowWindow(SW_SHOW);
    DialogView& view = ViewOf(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    DispatchPending();

    // Escape from wherever the focus is: the cancel command, which the dialog decides about.
    auto& typed = Widget<QLineEdit>(dialog, kTypedEditId);
    typed.setFocus();
    QTest::keyClick(&typed, Qt::Key_Escape);
    DispatchPending();
    EXPECT_EQ(dialog.cancelCount, 1);

    // Enter in an edit: the default push button.
    QTest::keyClick(&typed, Qt::Key_Return);
    DispatchPending();
    ASSERT_FALSE(dialog.Received(WM_COMMAND).empty());
    EXPECT_EQ(dialog.Received(WM_COMMAND).back().wParam, MAKEWPARAM(kDefaultPushId, BN_CLICKED));

    // Enter on a focused push button clicks that button.
    QWidget* push = WidgetOf(dialog, kPushId);
    push->setFocus();
    QTest::keyClick(push, Qt::Key_Return);
    DispatchPending();
    EXPECT_EQ(dialog.pushClicks, 1);

    // The close box asks the dialog and leaves the window open.
    EXPECT_FALSE(view.close());
    EXPECT_TRUE(view.isVisible());
    DispatchPending();
    EXPECT_EQ(dialog.closeCount, 1);

    Key(view, Qt::Key_F4, Qt::AltModifier);
    DispatchPending();
    EXPECT_EQ(dialog.closeCount, 2);
    EXPECT_EQ(dialog.okCount, 0);
}

TEST_F(QtBackendTest, EnterWithoutADefaultButtonIsTheOkCommand) {
    TestDialog dialog(kTestTemplateNoDefault);
    dialog.Create();
    dialog.ShowWindow(SW_SHOW);
    auto& typed = Widget<QLineEdit>(dialog, kTypedEditId);
    typed.setFocus();
    QTest::keyClick(&typed, Qt::Key_Enter, Qt::KeypadModifier);
    DispatchPending();
    EXPECT_EQ(dialog.okCount, 1);
}

TEST_F(QtBackendTest, FirstTabStopHasTheFocusWhenShown) {
    TestDialog dialog;
    dialog.Create();
    dialog.EnableDlgItem(kPushId, false);
    dialog.ShowWindow(SW_SHOW);
    EXPECT_EQ(ViewOf(dialog).focusWidget(), WidgetOf(dialog, kDefaultPushId));
}

TEST_F(QtBackendTest, SystemMenuOffersTheDialogsItemsAndPostsTheChoice) {
    TestDialog dialog;
    dialog.Create();
    dialog.DeleteSystemMenu(SC_SIZE);
    dialog.GraySystemMenu(SC_MAXIMIZE, true);
    dialog.AppendSystemMenu(0, "");
    dialog.AppendSystemMenu(0x10, "&About Test...");
    dialog.ShowWindow(SW_SHOW);
    DialogView& view = ViewOf(dialog);
    view.PopUpSystemMenu(view.mapToGlobal(QPoint(5, 5)));
    QMenu* menu = view.SystemMenu();
    ASSERT_TRUE(menu);
    QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 8);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Restore"));
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[3]->isEnabled()); // Maximize, greyed
    EXPECT_TRUE(actions[4]->isSeparator());
    EXPECT_EQ(actions[5]->text(), QStringLiteral("&Close\tAlt+F4"));
    EXPECT_TRUE(actions[6]->isSeparator());

    actions[7]->trigger();
    actions[2]->trigger(); // Minimize
    actions[1]->trigger(); // Move: the window manager's, no message
    menu->close();
    DispatchPending();
    std::vector<WPARAM> commands;
    for (const MSG& msg : dialog.Received(WM_SYSCOMMAND))
        commands.push_back(msg.wParam);
    EXPECT_EQ(commands, (std::vector<WPARAM>{0x10, SC_MINIMIZE}));
    // The dialog's default handling minimised it.
    EXPECT_TRUE(dialog.IsIconic());
    EXPECT_TRUE(view.isMinimized());
}

TEST_F(QtBackendTest, HiddenWhileMinimisedComesBackMinimised) {
    TestDialog dialog;
    dialog.Create();
    dialog.ShowWindow(SW_SHOW);
    DialogView& view = ViewOf(dialog);
    dialog.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(view.isMinimized());
    dialog.ShowWindow(SW_HIDE);
    EXPECT_FALSE(view.isVisible());
    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(view.isMinimized());
    dialog.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(view.isMinimized());

    // What the window manager does is reported to the dialog.
    view.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(dialog.IsIconic());
    view.setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(dialog.IsIconic());
    EXPECT_TRUE(dialog.IsWindowVisible());
}

TEST_F(QtBackendTest, CaptionAndIconFollowTheDialog) {
    TestDialog dialog;
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Test dialog"));
    dialog.SetWindowText("Renamed");
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Renamed"));
    dialog.SetIcon(128);
    QList<QSize> sizes = view.windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

TEST_F(QtBackendTest, DialogsCentreOverTheirVisibleOwnerOrTheScreen) {
    TestDialog owner;
    owner.Create();
    DialogView& ownerView = ViewOf(owner);
    owner.ShowWindow(SW_SHOW);
    ownerView.move(100, 80);

    TestDialog child(kTestTemplateNoDefault);
    child.Create();
    child.CenterWindow();
    DialogView& childView = ViewOf(child);
    EXPECT_LE((childView.geometry().center() - ownerView.frameGeometry().center()).manhattanLength(), 2);

    // With the owner minimised, the screen's work area.
    owner.ShowWindow(SW_MINIMIZE);
    child.CenterWindow();
    QRect available = childView.screen()->availableGeometry();
    EXPECT_LE((childView.geometry().center() - available.center()).manhattanLength(), 2);
}

TEST_F(QtBackendTest, DestroyingTheDialogRemovesItsWindowAndTimers) {
    auto dialog = std::make_unique<TestDialog>();
    dialog->Create();
    HWND hwnd = dialog->GetSafeHwnd();
    dialog->SetTimer(5, 1);
    ASSERT_NE(backend.ViewOf(*dialog), nullptr);
    dialog->DestroyWindow();
    EXPECT_EQ(backend.ViewOf(hwnd), nullptr);
    QTest::qWait(20);
    EXPECT_EQ(QueuedMessageCount(), 0u);
}

} // namespace
