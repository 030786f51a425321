#include "platform/qt/OwnerDrawViews.h"

#include "platform/qt/DrawingOverlay.h"

#include <QMouseEvent>
#include <QPainter>

OwnerDrawButtonView::OwnerDrawButtonView(CButton& control, QWidget& parent)
    : QWidget(&parent), m_control(control) {
    setFocusPolicy(Qt::NoFocus);
}

void OwnerDrawButtonView::Sync(ControlChange, int) {
    SyncCommonState(*this, m_control);
    update();
}

void OwnerDrawButtonView::paintEvent(QPaintEvent*) {
    // What lies under the button is the dialog's background, which is one colour.
    const QColor background = parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                             : palette().color(QPalette::Window);
    CMemoryDC dc(width(), height(), background.rgba());
    m_control.DrawItem(dc);
    QPainter painter(this);
    painter.drawImage(0, 0, ToQImage(dc));
}

void OwnerDrawButtonView::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void OwnerDrawButtonView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        m_control.ClickedByUser();
    m_pressed = false;
}

void OwnerDrawButtonView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_control.DoubleClickedByUser();
}

BlackRectView::BlackRectView(CControl& control, QWidget& parent) : QWidget(&parent), m_control(control) {
    setFocusPolicy(Qt::NoFocus);
    // A static takes no clicks: a double click on a line is one on the dialog.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BlackRectView::Sync(ControlChange, int) {
    SyncCommonState(*this, m_control);
}

void BlackRectView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Qt::black);
}
