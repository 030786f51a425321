#include "platform/qt/TrackbarView.h"

#include "platform/ui/Dialog.h"
#include "platform/ui/SliderCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace {

// The Windows trackbar's line size.
constexpr int kLineSize = 1;

} // namespace

TrackbarView::TrackbarView(CSliderCtrl& control, QWidget& parent)
    : QSlider(Qt::Horizontal, &parent), m_control(control) {
    setFocusPolicy(FocusPolicyFor(control));
    setTracking(false);
    setTickPosition((control.Style() & TBS_AUTOTICKS) ? QSlider::TicksBelow : QSlider::NoTicks);
    setSingleStep(kLineSize);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(kRepeatIntervalMs);
        // Paging goes one way only: once the thumb is under or past the pointer it stops.
        if (PageDirectionAt(m_pagePointerX) != m_pageDirection || !PageStep(m_pageDirection))
            m_repeat.stop();
    });
    ShowControlState();
}

void TrackbarView::ShowControlState() {
    setRange(m_control.GetRangeMin(), std::max(m_control.GetRangeMin(), m_control.GetRangeMax()));
    setPageStep(m_control.GetPageSize());
    setTickInterval(std::max(m_control.GetTicFreq(), 1));
    setValue(m_control.GetPos());
}

void TrackbarView::sliderChange(SliderChange change) {
    QSlider::sliderChange(change);
    // Screen readers say the value alone; where it stands in the range is said here.
    setAccessibleDescription(QStringLiteral("%1 of %2").arg(value()).arg(maximum()));
}

void TrackbarView::Sync(ControlChange change, int) {
    if (change == ControlChange::Value)
        ShowControlState();
    SyncCommonState(*this, m_control);
}

QRect TrackbarView::HandleRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

int TrackbarView::ValueAtPixel(int x) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    int span = groove.width() - handle.width();
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x - groove.x(), std::max(span, 1), false);
}

int TrackbarView::PageDirectionAt(int x) const {
    QRect handle = HandleRect();
    if (x < handle.left())
        return -1;
    if (x > handle.right())
        return 1;
    return 0;
}

void TrackbarView::Report(UINT code, int position) {
    WORD high = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? static_cast<WORD>(position) : 0;
    m_control.Owner().SendMessage(WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(code), high),
                                  static_cast<LPARAM>(m_control.GetDlgCtrlID()));
}

bool TrackbarView::StepTo(int position, UINT code) {
    int before = m_control.GetPos();
    m_control.PositionSetByUser(position);
    if (m_control.GetPos() == before)
        return false;
    setValue(m_control.GetPos());
    Report(code, m_control.GetPos());
    return true;
}

bool TrackbarView::PageStep(int direction) {
    int page = m_control.GetPageSize();
    if (direction < 0)
        return StepTo(m_control.GetPos() - page, TB_PAGEUP);
    return StepTo(m_control.GetPos() + page, TB_PAGEDOWN);
}

void TrackbarView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_mode != Mode::Idle) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    int x = event->position().toPoint().x();
    if (PageDirectionAt(x) == 0) {
        m_mode = Mode::Dragging;
        m_grabOffset = x - HandleRect().left();
        setSliderDown(true);
    } else {
        // The step's handler may hold a box that ends the paging; the repeat is set up before it.
        m_mode = Mode::Paging;
        m_pagePointerX = x;
        m_pageDirection = PageDirectionAt(x);
        m_repeat.start(kRepeatDelayMs);
        PageStep(m_pageDirection);
    }
    event->accept();
}

bool TrackbarView::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked && m_mode != Mode::Idle) {
        m_repeat.stop();
        setSliderDown(false);
        m_mode = Mode::Idle;
    }
    return QSlider::event(event);
}

void TrackbarView::mouseMoveEvent(QMouseEvent* event) {
    int x = event->position().toPoint().x();
    if (m_mode == Mode::Dragging) {
        // The thumb follows the pointer, keeping the place where it was grabbed.
        StepTo(ValueAtPixel(x - m_grabOffset), TB_THUMBTRACK);
    } else if (m_mode == Mode::Paging) {
        m_pagePointerX = x;
    }
    event->accept();
}

void TrackbarView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_mode == Mode::Idle) {
        event->ignore();
        return;
    }
    m_repeat.stop();
    if (m_mode == Mode::Dragging) {
        setSliderDown(false);
        Report(TB_THUMBPOSITION, m_control.GetPos());
    }
    m_mode = Mode::Idle;
    Report(TB_ENDTRACK);
    event->accept();
}

void TrackbarView::keyPressEvent(QKeyEvent* event) {
    int position = m_control.GetPos();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        StepTo(position - kLineSize, TB_LINEUP);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        StepTo(position + kLineSize, TB_LINEDOWN);
        break;
    case Qt::Key_PageUp:
        PageStep(-1);
        break;
    case Qt::Key_PageDown:
        PageStep(1);
        break;
    case Qt::Key_Home:
        StepTo(m_control.GetRangeMin(), TB_TOP);
        break;
    case Qt::Key_End:
        StepTo(m_control.GetRangeMax(), TB_BOTTOM);
        break;
    default:
        // Tab, Enter, Escape and the rest belong to the dialog.
        event->ignore();
        return;
    }
    event->accept();
}

void TrackbarView::keyReleaseEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!event->isAutoRepeat())
            Report(TB_ENDTRACK);
        event->accept();
        break;
    default:
        event->ignore();
        break;
    }
}

void TrackbarView::wheelEvent(QWheelEvent* event) {
    // The wheel steps a line per notch, as the arrow keys do, and ends the move at once.
    int notches = event->angleDelta().y() / 120;
    if (notches == 0) {
        event->ignore();
        return;
    }
    bool moved = false;
    for (int i = 0; i < std::abs(notches); ++i)
        moved |= notches > 0 ? StepTo(m_control.GetPos() - kLineSize, TB_LINEUP)
                             : StepTo(m_control.GetPos() + kLineSize, TB_LINEDOWN);
    if (moved)
        Report(TB_ENDTRACK);
    event->accept();
}
