#include "platform/qt/ButtonViews.h"

#include "platform/qt/Text.h"

#include <QButtonGroup>
#include <QKeyEvent>

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

RadioButtonView::RadioButtonView(CButton& control, QWidget& parent) : CheckButtonView(control, parent) {
    setAutoExclusive(true);
}

void RadioButtonView::Group(const std::vector<RadioButtonView*>& views, QObject& owner) {
    if (views.empty())
        return;
    auto* group = new QButtonGroup(&owner);
    group->setExclusive(false);
    for (RadioButtonView* view : views)
        group->addButton(view);
    views.front()->SetGroupTabStop();
}

void RadioButtonView::SetGroupTabStop() {
    if (!group())
        return;
    const QList<QAbstractButton*> buttons = group()->buttons();
    QAbstractButton* stop = buttons.front();
    for (QAbstractButton* button : buttons) {
        if (static_cast<RadioButtonView*>(button)->Control().GetCheck()) {
            stop = button;
            break;
        }
    }
    for (QAbstractButton* button : buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void RadioButtonView::Sync(ControlChange change, int row) {
    CheckButtonView::Sync(change, row);
    SetGroupTabStop();
}

void RadioButtonView::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = 1;
        break;
    default:
        CheckButtonView::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!group())
        return;
    const QList<QAbstractButton*> buttons = group()->buttons();
    const auto count = buttons.size();
    const auto self = buttons.indexOf(this);
    for (qsizetype i = 1; i < count; ++i) {
        auto* next = static_cast<RadioButtonView*>(buttons[((self + step * i) % count + count) % count]);
        if (next->isEnabled() && !next->isHidden()) {
            next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            next->Control().ClickedByUser();
            return;
        }
    }
}
