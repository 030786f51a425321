#include "platform/qt/StaticViews.h"

#include "platform/qt/Icons.h"
#include "platform/qt/Text.h"

#include <QPainter>

namespace {

// The type field of a static's style.
constexpr DWORD kStaticTypeMask = 0x1F;

Qt::Alignment AlignmentFor(DWORD style) {
    switch (style & kStaticTypeMask) {
    case SS_CENTER:
        return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}

} // namespace

StaticTextView::StaticTextView(CControl& control, QWidget& parent, bool wordWrap)
    : QLabel(&parent), m_control(control) {
    setTextFormat(Qt::PlainText);
    setAlignment(AlignmentFor(control.Style()));
    setIndent(0);
    setMargin(0);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(wordWrap);
    ShowText();
}

void StaticTextView::ShowText() {
    QString text = ToQString(m_control.GetWindowText());
    if (!(m_control.Style() & SS_NOPREFIX))
        text = WithoutPrefix(text);
    if (const char* name = m_control.Template().accessibleName) {
        const QString named = QString::fromUtf8(name);
        setAccessibleName(text.isEmpty() ? named : named + QStringLiteral(": ") + text);
    }
    // A centred text wider than its label would lose both ends; the start of a name is what
    // tells it apart, so it is kept.
    if (m_control.Style() & SS_ENDELLIPSIS)
        text = fontMetrics().elidedText(text, Qt::ElideRight, contentsRect().width());
    setText(text);
}

void StaticTextView::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (m_control.Style() & SS_ENDELLIPSIS)
        ShowText();
}

void StaticTextView::Sync(ControlChange change, int) {
    if (change == ControlChange::Text)
        ShowText();
    SyncCommonState(*this, m_control);
}

StaticIconView::StaticIconView(CControl& control, QWidget& parent) : QLabel(&parent), m_control(control) {
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void StaticIconView::Sync(ControlChange, int) {
    SyncCommonState(*this, m_control);
}

void StaticIconView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    IconOf(m_control.Template().iconId).paint(&painter, QRect(0, 0, 32, 32));
}

GroupBoxView::GroupBoxView(CControl& control, QWidget& parent, int titleInset)
    : QWidget(&parent), m_control(control), m_titleInset(titleInset) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(Title());
}

QString GroupBoxView::Title() const {
    return WithoutPrefix(ToQString(m_control.GetWindowText()));
}

void GroupBoxView::Sync(ControlChange, int) {
    SyncCommonState(*this, m_control);
    setAccessibleName(Title());
    update();
}

void GroupBoxView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFontMetrics metrics(font());
    QString title = Title();

    // The frame's top line runs through the middle of the title, as on Windows; it is etched: a
    // dark line with a light one below and to the right.
    int top = metrics.height() / 2;
    QRect frame = rect().adjusted(0, top, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));

    if (title.isEmpty())
        return;
    QRect textRect(m_titleInset, 0, metrics.horizontalAdvance(title) + 4, metrics.height());
    painter.fillRect(textRect, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, title);
}
