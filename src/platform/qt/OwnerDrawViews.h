#pragma once

#include "platform/qt/ControlView.h"

#include <QWidget>

// An owner-drawn button: the program paints it (CButton::DrawItem) into a bitmap of its size that
// starts as the dialog's background, since the button erases nothing of its own. A click posts
// BN_CLICKED and the second click of a double click BN_DOUBLECLICKED, as Windows does for such
// buttons. It takes no focus: the program's owner-drawn button has no tab stop and draws no focus.
class OwnerDrawButtonView : public QWidget, public ControlView {
public:
    OwnerDrawButtonView(CButton& control, QWidget& parent);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CButton& m_control;
    bool m_pressed = false;
};

// A black rectangle static: the About box's separator lines.
class BlackRectView : public QWidget, public ControlView {
public:
    BlackRectView(CControl& control, QWidget& parent);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CControl& m_control;
};
