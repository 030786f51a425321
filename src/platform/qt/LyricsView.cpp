#include "platform/qt/LyricsView.h"

#include "platform/qt/Text.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace {

// Letter sizes by the desktop's own: the most the lines grow to in a tall window, and the size
// below which a line too long for the window wraps rather than getting smaller still.
constexpr int kMostLetters = 6;
constexpr qreal kLeastUnwrapped = 1.5;
// The window's height holds about this many letters' heights: two lines, the room between them
// and a margin.
constexpr qreal kLettersPerHeight = 4.2;
// The song's widest line is looked for among its first this many bytes: a file of endless words
// must not make every change of the window's size slow.
constexpr std::size_t kMostMeasuredBytes = 16 * 1024;

int DesktopLetterPixels() {
    return std::max(QFontInfo(QApplication::font()).pixelSize(), 6);
}

// Lays the text out centred in lines no wider than `width`; returns its height.
qreal LayOut(QTextLayout& layout, qreal width, bool& wrapped) {
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    wrapped = wrapped || layout.lineCount() > 1;
    return height;
}

QColor Between(const QColor& a, const QColor& b, qreal share) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * share,
                            a.greenF() + (b.greenF() - a.greenF()) * share,
                            a.blueF() + (b.blueF() - a.blueF()) * share);
}

QString QStringOf(std::string_view text) {
    return ToQString(std::string(text));
}

} // namespace

struct LyricsView::Layout {
    int pixels = 0;
    std::unique_ptr<QTextLayout> current, next;
    QPointF currentAt, nextAt;
};

LyricsView::LyricsView(CLyricsCtrl& control, QWidget& parent) : QWidget(&parent), m_control(control) {
    setFocusPolicy(FocusPolicyFor(control));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(QString::fromUtf8(control.Template().text ? control.Template().text : ""));
    Describe();
}

void LyricsView::Sync(ControlChange change, int) {
    if (change == ControlChange::Text)
        m_songPixels = 0;
    if (change == ControlChange::Text || change == ControlChange::Value) {
        Describe();
        update();
    }
    SyncCommonState(*this, m_control);
}

void LyricsView::Describe() {
    const CLyricsCtrl::Place place = m_control.GetPlace();
    const QString line = place.current.empty() ? ToQString(m_control.GetNote()) : QStringOf(place.current);
    if (accessibleDescription() != line)
        setAccessibleDescription(line);
}

int LyricsView::LetterPixels() const {
    return Arrange().pixels;
}

int LyricsView::SongWidthPixels() const {
    if (m_songPixels > 0 && m_songPixelsWidth == width() && m_songPixelsFont == font())
        return m_songPixels;
    constexpr int kMeasuredPixels = 100;
    QFont font = this->font();
    font.setPixelSize(kMeasuredPixels);
    const QFontMetricsF metrics(font);
    const std::string_view text = m_control.GetWindowText();
    qreal widest = 0;
    for (std::size_t begin = 0; begin < std::min(text.size(), kMostMeasuredBytes);) {
        const std::size_t end = std::min(text.find('\n', begin), text.size());
        widest = std::max(widest, metrics.horizontalAdvance(QStringOf(text.substr(begin, end - begin))));
        begin = end + 1;
    }
    // The line and a margin of half a letter on either side fill the width.
    m_songPixels = std::max(1, static_cast<int>(width() / (widest / kMeasuredPixels + 1)));
    m_songPixelsWidth = width();
    m_songPixelsFont = this->font();
    return m_songPixels;
}

LyricsView::Layout LyricsView::Arrange() const {
    const CLyricsCtrl::Place place = m_control.GetPlace();
    const QString current = QStringOf(place.current);
    const QString next = QStringOf(place.next);
    QTextLayout::FormatRange sung;
    sung.start = 0;
    sung.length = static_cast<int>(QStringOf(place.current.substr(0, place.sungInCurrent)).size());
    sung.format.setForeground(palette().color(QPalette::Highlight));

    const int least = DesktopLetterPixels();
    Layout layout;
    const int byHeight = static_cast<int>(height() / kLettersPerHeight);
    const int byWidth = std::max(SongWidthPixels(), static_cast<int>(kLeastUnwrapped * least));
    layout.pixels = std::clamp(std::min(byHeight, byWidth), least, kMostLetters * least);
    for (;;) {
        QFont font = this->font();
        font.setPixelSize(layout.pixels);
        const qreal margin = layout.pixels / 2.0;
        const qreal lineWidth = std::max<qreal>(width() - 2 * margin, 1);
        bool wrapped = false;
        layout.current = std::make_unique<QTextLayout>(current, font);
        layout.current->setFormats({sung});
        const qreal currentHeight = LayOut(*layout.current, lineWidth, wrapped);
        layout.next = std::make_unique<QTextLayout>(next, font);
        const qreal nextHeight = next.isEmpty() ? 0 : LayOut(*layout.next, lineWidth, wrapped);
        // A new verse stands apart from the line before it.
        const qreal gap = next.isEmpty() ? 0 : layout.pixels * (place.nextStartsVerse ? 1.2 : 0.4);
        const qreal total = currentHeight + gap + nextHeight;
        const bool fits = total + 2 * margin <= height();
        if ((fits && (!wrapped || layout.pixels <= kLeastUnwrapped * least)) || layout.pixels <= least) {
            const qreal top = std::max<qreal>((height() - total) / 2, 0);
            layout.currentAt = QPointF(margin, top);
            layout.nextAt = QPointF(margin, top + currentHeight + gap);
            return layout;
        }
        layout.pixels = std::max(least, layout.pixels * 9 / 10);
    }
}

void LyricsView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor background = palette().color(QPalette::Window);
    if (m_control.GetWindowText().empty()) {
        QFont font = this->font();
        font.setPixelSize(DesktopLetterPixels() * 6 / 5);
        painter.setFont(font);
        painter.setPen(Between(text, background, 0.45));
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         ToQString(m_control.GetNote()));
        return;
    }
    const Layout layout = Arrange();
    painter.setPen(text);
    layout.current->draw(&painter, layout.currentAt);
    painter.setPen(Between(text, background, 0.45));
    layout.next->draw(&painter, layout.nextAt);
}
