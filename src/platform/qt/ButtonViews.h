#pragma once

#include "platform/qt/ControlView.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

// Push buttons, check boxes and radio buttons. A click goes to the control, which applies the
// button's rule (toggle, radio group) and posts BN_CLICKED; the widget then shows the control's
// check state, whatever Qt's own toggling did.

class PushButtonView : public QPushButton, public ControlView {
public:
    PushButtonView(CButton& control, QWidget& parent);

    CButton& Control() const { return m_control; }
    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

private:
    CButton& m_control;
};

template <class Button> class CheckButtonView : public Button, public ControlView {
public:
    CheckButtonView(CButton& control, QWidget& parent);

    CButton& Control() const { return m_control; }
    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

private:
    CButton& m_control;
};

using CheckBoxView = CheckButtonView<QCheckBox>;

// A radio button reads as one to screen readers only when Qt thinks it exclusive, so each radio
// group of the template is a QButtonGroup, though not an exclusive one: which button is checked
// stays the control's rule, which may leave none checked. As in a Windows dialog, Tab reaches the
// group's checked button (the first when none is), and the arrow keys move through the group,
// wrapping, and click the button they reach.
class RadioButtonView : public CheckButtonView<QRadioButton> {
public:
    RadioButtonView(CButton& control, QWidget& parent);

    void Sync(ControlChange change, int row) override;
    // Makes one group of the radio buttons of a dialog's template that run from one control with
    // WS_GROUP to the next, as CButton groups them. `views` in template order.
    static void Group(const std::vector<RadioButtonView*>& views, QObject& owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetGroupTabStop();
};
