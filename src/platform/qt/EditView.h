#pragma once

#include "platform/qt/ControlView.h"

#include <QLineEdit>

// A one-line edit. With ES_LOWERCASE it shows its text in lower case while the control keeps the
// text as it was given: on Linux the case of a path matters. What the user types goes to the
// control as typed (in lower case for a lower-case edit, as Windows converts typing there).
class EditView : public QLineEdit, public ControlView {
public:
    EditView(CControl& control, QWidget& parent);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

private:
    QString Shown() const;

    CControl& m_control;
};
