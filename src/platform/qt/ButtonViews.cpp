#include "platform/qt/ButtonViews.h"

#include "platform/qt/Text.h"

PushButtonView::PushButtonView(CButton& control, QWidget& parent) : QPushButton(&parent), m_control(control) {
    // Enter and Escape are the dialog's to map; a button must not take them as a default button
    // of a Qt dialog would.
    setAutoDefault(false);
    setDefault((control.Style() & 0xF) == BS_DEFPUSHBUTTON);
    setFocusPolicy(FocusPolicyFor(control));
    setText(ToQString(control.GetWindowText()));
    connect(this, &QPushButton::clicked, this, [this] { m_control.ClickedByUser(); });
}

void PushButtonView::Sync(ControlChange change, int) {
    if (change == ControlChange::Text)
        setText(ToQString(m_control.GetWindowText()));
    SyncCommonState(*this, m_control);
}

template <class Button>
CheckButtonView<Button>::CheckButtonView(CButton& control, QWidget& parent)
    : Button(&parent), m_control(control) {
    // Radio groups are the control's rule, not Qt's sibling exclusivity.
    this->setAutoExclusive(false);
    this->setFocusPolicy(FocusPolicyFor(control));
    this->setText(ToQString(control.GetWindowText()));
    this->setChecked(control.GetCheck() != 0);
    QObject::connect(this, &QAbstractButton::clicked, this, [this] {
        m_control.ClickedByUser();
        this->setChecked(m_control.GetCheck() != 0);
    });
}

template <class Button> void CheckButtonView<Button>::Sync(ControlChange change, int) {
    if (change == ControlChange::Text)
        this->setText(ToQString(m_control.GetWindowText()));
    this->setChecked(m_control.GetCheck() != 0);
    SyncCommonState(*this, m_control);
}

template class CheckButtonView<QCheckBox>;
template class CheckButtonView<QRadioButton>;
