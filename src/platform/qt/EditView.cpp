#include "platform/qt/EditView.h"

#include "platform/qt/Text.h"

#include <QRegularExpressionValidator>

EditView::EditView(CControl& control, QWidget& parent) : QLineEdit(&parent), m_control(control) {
    setFocusPolicy(FocusPolicyFor(control));
    if (control.Style() & ES_READONLY) {
        setReadOnly(true);
        // A read-only edit has the dialog's face colour behind its text, as on Windows, so that
        // it does not look like a field the user could type in.
        QPalette colours = palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Window));
        setPalette(colours);
    }
    if (control.Style() & ES_NUMBER)
        setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setText(Shown());
    setCursorPosition(0);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
        QString text = typed;
        if (m_control.Style() & ES_LOWERCASE) {
            text = typed.toLower();
            if (text != typed) {
                int cursor = cursorPosition();
                setText(text);
                setCursorPosition(cursor);
            }
        }
        m_control.TextEditedByUser(ToStdString(text));
    });
}

QString EditView::Shown() const {
    QString text = ToQString(m_control.GetWindowText());
    return (m_control.Style() & ES_LOWERCASE) ? text.toLower() : text;
}

void EditView::Sync(ControlChange change, int) {
    if (change == ControlChange::Text) {
        // A text set by the program shows from its start, as a Windows edit does, not scrolled
        // to its end.
        setText(Shown());
        setCursorPosition(0);
    }
    SyncCommonState(*this, m_control);
}
