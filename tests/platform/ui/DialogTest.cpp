#include "platform/ui/Dialog.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/Shell.h"
#include "platform/ui/SliderCtrl.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

namespace {

const std::array kControls{
    ControlTemplate{10, ControlKind::PushButton, "Go", 0, 0, 50, 14, WS_CHILD | WS_TABSTOP},
    ControlTemplate{11, ControlKind::Trackbar, "", 0, 20, 100, 12, WS_CHILD | TBS_AUTOTICKS},
    ControlTemplate{12, ControlKind::Static, "text", 0, 40, 50, 8, WS_CHILD | WS_DISABLED},
};
const DialogTemplate kTemplate{5, "Test",   "MS Sans Serif", 8, 120, 60, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               0, kControls};

class TestDialog : public CDialog {
public:
    using ThisClass = TestDialog;
    TestDialog() : CDialog(kTemplate) {}

    void OnGo() { ++clicks; }
    void OnTimer(UINT id) { ticks.push_back(id); }
    void OnHScroll(UINT code, UINT pos, int id) { scrolls.push_back({code, pos, static_cast<UINT>(id)}); }
    LRESULT OnCustom(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w) + l; }

    int clicks = 0;
    std::vector<UINT> ticks;
    std::vector<std::array<UINT, 3>> scrolls;

protected:
    MessageMap GetMessageMap() const override;
};

using ThisClass = TestDialog;

const MessageMapEntry kMap[] = {
    ON_BN_CLICKED(10, OnGo),
    ON_WM_TIMER(),
    ON_WM_HSCROLL(),
    ON_MESSAGE(WM_APP + 1, OnCustom),
};

MessageMap TestDialog::GetMessageMap() const {
    return kMap;
}

class DialogTest : public ::testing::Test {
protected:
    HeadlessBackend m_backend;
};

TEST_F(DialogTest, ControlsComeFromTheTemplate) {
    TestDialog dialog;
    EXPECT_EQ(dialog.GetDlgItemText(10), "Go");
    EXPECT_TRUE(dialog.GetDlgItem(10)->IsWindowEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(12)->IsWindowEnabled());
    EXPECT_EQ(dialog.GetDlgItem(99), nullptr);
    dialog.SetDlgItemText(99, "nothing happens");
}

TEST_F(DialogTest, QueuedMessagesReachTheirHandlers) {
    TestDialog dialog;
    dialog.Create();
    PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);
    PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), 0); // no entry: ignored
    PostMessage(dialog.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 75), 11);
    m_backend.RunPending();
    EXPECT_EQ(dialog.clicks, 1);
    ASSERT_EQ(dialog.scrolls.size(), 1u);
    EXPECT_EQ(dialog.scrolls[0], (std::array<UINT, 3>{TB_THUMBPOSITION, 75, 11}));
    EXPECT_EQ(dialog.SendMessage(WM_APP + 1, 2, 3), 5);
}

TEST_F(DialogTest, MessagesForDestroyedWindowsAreDropped) {
    HWND gone;
    {
        TestDialog dialog;
        dialog.Create();
        gone = dialog.GetSafeHwnd();
    }
    TestDialog other;
    other.Create();
    EXPECT_NE(other.GetSafeHwnd(), gone); // handles are never reused
    PostMessage(gone, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);
    m_backend.RunPending();
    EXPECT_EQ(other.clicks, 0);
}

TEST_F(DialogTest, TimersTickOnTheVirtualClockAndAreCoalesced) {
    TestDialog dialog;
    dialog.Create();
    dialog.SetTimer(1234, 500);
    dialog.SetTimer(555, 1);
    m_backend.Advance(1);
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{555}));
    dialog.KillTimer(555);
    m_backend.Advance(1500);
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{555, 1234, 1234, 1234}));

    // Ticks that pile up while nothing dispatches arrive once.
    for (int i = 0; i < 5; ++i)
        MarkTimerDue(dialog.GetSafeHwnd(), 1234);
    EXPECT_EQ(QueuedMessageCount(), 1u);
}

TEST_F(DialogTest, TicksComeAfterPostedMessagesAndOnlyFromLiveTimers) {
    TestDialog dialog;
    dialog.Create();
    HWND hwnd = dialog.GetSafeHwnd();
    dialog.SetTimer(1234, 1);
    m_backend.ProcessEvents(); // the tick falls due; nothing is dispatched
    PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);
    MSG msg;
    ASSERT_TRUE(TakeQueuedMessage(msg));
    EXPECT_EQ(msg.message, WM_COMMAND);
    ASSERT_TRUE(TakeQueuedMessage(msg));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, 1234u);

    // A tick that fell due before its timer was killed, or killed and set again, never comes.
    for (bool setAgain : {false, true}) {
        SCOPED_TRACE(setAgain ? "killed and set again" : "killed");
        dialog.ticks.clear();
        m_backend.ProcessEvents();
        dialog.KillTimer(1234);
        if (setAgain)
            dialog.SetTimer(1234, 10);
        m_backend.RunPending();
        EXPECT_TRUE(dialog.ticks.empty());
    }
    m_backend.Advance(10);
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{1234}));
}

class ClosingDialog : public TestDialog {
public:
    BOOL OnInitDialog() override {
        PostMessage(WM_CLOSE);
        return TRUE;
    }
};

TEST_F(DialogTest, CloseBecomesCancelAndEndsAModalRun) {
    ClosingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), static_cast<int>(IDCANCEL));
    EXPECT_FALSE(dialog.HasView());
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);
}

TEST_F(DialogTest, MessageBoxesKeepTheQueueRunning) {
    TestDialog dialog;
    dialog.Create();
    dialog.SetTimer(7, 100);
    m_backend.AnswerNextBox([&](const HeadlessBackend::Box& box) {
        EXPECT_EQ(box.caption, "Cap");
        m_backend.Advance(250);
        return IDNO;
    });
    EXPECT_EQ(dialog.MessageBox("Question?", "Cap", MB_YESNO), IDNO);
    EXPECT_EQ(dialog.ticks, (std::vector<UINT>{7, 7}));
    EXPECT_EQ(dialog.MessageBox("Info", "Cap", MB_OK), IDOK);
    ASSERT_EQ(m_backend.Boxes().size(), 2u);
    EXPECT_EQ(m_backend.Boxes()[1].text, "Info");
}

TEST_F(DialogTest, PostingFromAnotherThreadIsSafe) {
    TestDialog dialog;
    dialog.Create();
    std::thread poster([&] {
        for (int i = 0; i < 1000; ++i)
            PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);
    });
    while (dialog.clicks < 1000)
        m_backend.RunPending();
    poster.join();
    EXPECT_EQ(dialog.clicks, 1000);
}

TEST_F(DialogTest, SystemMenuStartsWithTheWindowCommands) {
    TestDialog dialog;
    dialog.DeleteSystemMenu(SC_SIZE);
    dialog.GraySystemMenu(SC_MAXIMIZE, true);
    dialog.AppendSystemMenu(0, "");
    dialog.AppendSystemMenu(0x10, "&About");
    std::vector<UINT> ids;
    for (const SystemMenuItem& item : dialog.SystemMenu())
        ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE, 0, 0x10}));
    EXPECT_TRUE(dialog.SystemMenu()[3].grayed);
}

TEST_F(DialogTest, SliderClampsItsPosition) {
    TestDialog dialog;
    auto& slider = dialog.Item<CSliderCtrl>(11);
    slider.SetRange(0, 30);
    slider.SetPos(45);
    EXPECT_EQ(slider.GetPos(), 30);
    slider.SetRangeMax(10);
    EXPECT_EQ(slider.GetPos(), 10);
    slider.SetPos(-4);
    EXPECT_EQ(slider.GetPos(), 0);
    slider.SetRangeMax(0);
    slider.SetPos(3);
    EXPECT_EQ(slider.GetPos(), 0);
}

TEST(Shell, TipsAreCutToWholeCharacters) {
    EXPECT_EQ(TruncateUtf8(std::string(70, 'x'), 63), std::string(63, 'x'));
    std::string accented;
    for (int i = 0; i < 70; ++i)
        accented += "\xc3\xa9"; // é
    std::string cut = TruncateUtf8(accented, 63);
    EXPECT_EQ(cut.size(), 126u);
    EXPECT_EQ(TruncateUtf8("short", 63), "short");
}

} // namespace
