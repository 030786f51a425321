#pragma once

#include "platform/qt/ControlView.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

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

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

private:
    CButton& m_control;
};

using CheckBoxView = CheckButtonView<QCheckBox>;
using RadioButtonView = CheckButtonView<QRadioButton>;
