#pragma once

#include "platform/qt/ControlView.h"

#include <QSlider>
#include <QTimer>

class CSliderCtrl;

// A trackbar: a horizontal slider with tick marks below, whose thumb shows the slider control's
// position. It reports the user's moves as the Windows trackbar does, sending WM_HSCROLL to the
// dialog (wParam = MAKEWPARAM(code, position), lParam = the control's id):
// - dragging the thumb: TB_THUMBTRACK with the position at each move that changes it; releasing
//   it: TB_THUMBPOSITION with the position, then TB_ENDTRACK;
// - pressing in the channel: TB_PAGEUP (left of the thumb) or TB_PAGEDOWN (right of it), repeated
//   while the button is held until the thumb reaches the pointer; releasing: TB_ENDTRACK;
// - keys: arrows TB_LINEUP / TB_LINEDOWN, Page Up / Page Down TB_PAGEUP / TB_PAGEDOWN, Home TB_TOP,
//   End TB_BOTTOM, each moving the thumb first; releasing the key: TB_ENDTRACK.
// A step that cannot move the thumb (already at that end) is not reported. Only the thumb codes
// carry a position; the others have 0 there, as on Windows. A modal box that blocks the window
// ends a drag or paging without a word, as the capture's loss does on Windows. Screen readers get
// the position as the slider's value and "position of maximum" as its description.
class TrackbarView : public QSlider, public ControlView {
public:
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

    TrackbarView(CSliderCtrl& control, QWidget& parent);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

    // Where the thumb is drawn now.
    QRect HandleRect() const;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    enum class Mode { Idle, Dragging, Paging };

    // The value whose thumb has its left edge at x.
    int ValueAtPixel(int x) const;
    // Direction of a page step toward the pointer: -1 left of the thumb, 1 right, 0 on it.
    int PageDirectionAt(int x) const;
    bool PageStep(int direction);
    bool StepTo(int position, UINT code);
    void Report(UINT code, int position = 0);
    void ShowControlState();

    CSliderCtrl& m_control;
    Mode m_mode = Mode::Idle;
    int m_grabOffset = 0; // pointer to the thumb's left edge while dragging
    int m_pagePointerX = 0;
    int m_pageDirection = 0; // of the press that started the paging
    QTimer m_repeat;
};
