#pragma once

#include "platform/qt/ControlView.h"

#include <QLabel>
#include <QWidget>

// A static text: left, centred or right, from the top of its rectangle. It wraps words only when
// its rectangle has room for more than one line. With SS_ENDELLIPSIS a text too wide shows its
// start and an ellipsis; otherwise it is clipped, and the program shortens what it shows itself.
// A static that shows a value (its template names it) reads to a screen reader as "name: text",
// the whole text, and every change of it is announced as a change of that name.
class StaticTextView : public QLabel, public ControlView {
public:
    StaticTextView(CControl& control, QWidget& parent, bool wordWrap);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowText();

    CControl& m_control;
};

// A static icon: the 32 x 32 image at the top left of its rectangle, as Windows sizes icon statics,
// drawn at the screen's resolution.
class StaticIconView : public QLabel, public ControlView {
public:
    StaticIconView(CControl& control, QWidget& parent);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CControl& m_control;
};

// A group box: a frame with its title on the top line. It lies behind the controls it frames,
// which are its siblings, and lets every click through to the dialog. Its title is its name.
class GroupBoxView : public QWidget, public ControlView {
public:
    GroupBoxView(CControl& control, QWidget& parent, int titleInset);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString Title() const;

    CControl& m_control;
    int m_titleInset;
};
