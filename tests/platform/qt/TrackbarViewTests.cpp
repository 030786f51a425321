// The trackbar reports the user's moves with the Windows codes, and shows the slider control's
// position whatever the user did to the thumb.

#include "QtTestSupport.h"

#include "platform/qt/TrackbarView.h"
#include "platform/ui/SliderCtrl.h"

#include <QTest>

namespace {

class TrackbarViewTest : public QtBackendTest {
protected:
    TrackbarViewTest() {
        dialog.Create();
        dialog.ShowWindow(SW_SHOW);
        slider().SetRange(0, 100);
        slider().SetPageSize(10);
        slider().SetTicFreq(10);
        slider().SetPos(50);
        DispatchPending();
        dialog.scrolls.clear();
    }

    CSliderCtrl& slider() { return dialog.Item<CSliderCtrl>(kSliderId); }
    TrackbarView& view() { return Widget<TrackbarView>(dialog, kSliderId); }

    QRect Handle() { return view().HandleRect(); }

    void Move(const QPoint& to) {
        QMouseEvent move(QEvent::MouseMove, QPointF(to), view().mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view(), &move);
    }

    std::vector<std::pair<UINT, UINT>> Scrolls() {
        DispatchPending();
        auto result = dialog.scrolls;
        dialog.scrolls.clear();
        return result;
    }

    TestDialog dialog;
};

using Scroll = std::pair<UINT, UINT>;

TEST_F(TrackbarViewTest, ShowsTheControlsRangePositionAndTicks) {
    EXPECT_EQ(view().minimum(), 0);
    EXPECT_EQ(view().maximum(), 100);
    EXPECT_EQ(view().value(), 50);
    EXPECT_EQ(view().pageStep(), 10);
    EXPECT_EQ(view().tickInterval(), 10);
    EXPECT_EQ(view().tickPosition(), QSlider::TicksBelow);
    slider().SetRange(0, 240);
    slider().SetPos(75);
    EXPECT_EQ(view().maximum(), 240);
    EXPECT_EQ(view().value(), 75);
}

TEST_F(TrackbarViewTest, DraggingTheThumbTracksThenReleasingGivesThePositionAndTheEnd) {
    QRect handle = Handle();
    QPoint grab = handle.center();
    QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, grab);
    Move(grab + QPoint(30, 0));
    Move(grab + QPoint(60, 0));
    Move(grab + QPoint(60, 3)); // no change of position, no notice
    QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(60, 3));

    std::vector<Scroll> scrolls = Scrolls();
    ASSERT_EQ(scrolls.size(), 4u);
    EXPECT_EQ(scrolls[0].first, TB_THUMBTRACK);
    EXPECT_EQ(scrolls[1].first, TB_THUMBTRACK);
    EXPECT_GT(scrolls[0].second, 50u);
    EXPECT_GT(scrolls[1].second, scrolls[0].second);
    EXPECT_EQ(scrolls[2], Scroll(TB_THUMBPOSITION, scrolls[1].second));
    EXPECT_EQ(scrolls[3], Scroll(TB_ENDTRACK, 0u));
    EXPECT_EQ(slider().GetPos(), static_cast<int>(scrolls[1].second));

    // The messages name the slider in lParam.
    for (const MSG& msg : dialog.Received(WM_HSCROLL))
        EXPECT_EQ(msg.lParam, kSliderId);

    // The program moves the thumb back, as the next tick does.
    slider().SetPos(12);
    EXPECT_EQ(view().value(), 12);
}

TEST_F(TrackbarViewTest, ClickInTheChannelPagesTowardThePointer) {
    QRect handle = Handle();
    QPoint right(view().width() - 3, handle.center().y());
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, right);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_PAGEDOWN, 0}, {TB_ENDTRACK, 0}}));
    EXPECT_EQ(slider().GetPos(), 60);
    EXPECT_EQ(view().value(), 60);

    QPoint left(2, handle.center().y());
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, left);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_PAGEUP, 0}, {TB_ENDTRACK, 0}}));
    EXPECT_EQ(slider().GetPos(), 50);
}

TEST_F(TrackbarViewTest, HeldInTheChannelPagingRepeatsUntilTheThumbReachesThePointer) {
    slider().SetPos(0);
    QRect handle = Handle();
    // A point about 35 of 100 along the channel.
    QPoint target(handle.width() / 2 + (view().width() - handle.width()) * 35 / 100, handle.center().y());
    QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, target);
    ASSERT_TRUE(RunUntil([&] { return slider().GetPos() >= 40; }, 10000));
    // Held on, nothing more happens once the thumb is over the pointer.
    RunUntil([] { return false; }, 4 * TrackbarView::kRepeatIntervalMs);
    QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, target);
    std::vector<Scroll> scrolls = Scrolls();
    // 10, 20, 30 and 40: the last step puts the thumb over the pointer, and paging stops there.
    std::vector<Scroll> expected(4, Scroll(TB_PAGEDOWN, 0));
    expected.emplace_back(TB_ENDTRACK, 0);
    EXPECT_EQ(scrolls, expected);
    EXPECT_EQ(slider().GetPos(), 40);
}

TEST_F(TrackbarViewTest, KeysStepAsTheWindowsTrackbarDoes) {
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Right);
    QTest::keyClick(&view(), Qt::Key_Left);
    QTest::keyClick(&view(), Qt::Key_Left);
    QTest::keyClick(&view(), Qt::Key_PageDown);
    QTest::keyClick(&view(), Qt::Key_PageUp);
    QTest::keyClick(&view(), Qt::Key_End);
    QTest::keyClick(&view(), Qt::Key_Home);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_LINEDOWN, 0},
                                              {TB_ENDTRACK, 0},
                                              {TB_LINEUP, 0},
                                              {TB_ENDTRACK, 0},
                                              {TB_LINEUP, 0},
                                              {TB_ENDTRACK, 0},
                                              {TB_PAGEDOWN, 0},
                                              {TB_ENDTRACK, 0},
                                              {TB_PAGEUP, 0},
                                              {TB_ENDTRACK, 0},
                                              {TB_BOTTOM, 0},
                                              {TB_ENDTRACK, 0},
                                              {TB_TOP, 0},
                                              {TB_ENDTRACK, 0}}));
    EXPECT_EQ(slider().GetPos(), 0);

    // At the end a step moves nothing and is not reported; the key's release still ends the move.
    QTest::keyClick(&view(), Qt::Key_PageUp);
    EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{TB_ENDTRACK, 0}}));
}

TEST_F(TrackbarViewTest, PageStepsStopAtTheEndsOfTheRange) {
    slider().SetPos(95);
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_PageDown);
    EXPECT_EQ(slider().GetPos(), 100);
    slider().SetPos(4);
    QTest::keyClick(&view(), Qt::Key_PageUp);
    EXPECT_EQ(slider().GetPos(), 0);
    EXPECT_EQ(view().value(), 0);
}

} // namespace
