#pragma once

#include "platform/qt/ControlView.h"
#include "platform/ui/LyricsCtrl.h"

#include <QFont>
#include <QString>
#include <QWidget>

class QPainter;

// A karaoke text: the line being sung, centred, its sung part in the desktop's highlight colour,
// and the next line under it in a quieter colour. The letters are as large as the window's height
// allows for the two lines, up to six times the desktop's own size, so they follow its scale. The
// song's widest line makes them smaller, down to one and a half times the desktop's size, so that
// they keep one size from line to line; a line wider still wraps. In a window too low for the
// lines they come down to the desktop's own size. Without words it shows the control's note.
//
// A screen reader finds it under the template's text for the control and reads the line being
// sung as its description. Clicks go through it to the window, whose right-click menu they open.
class LyricsView : public QWidget, public ControlView {
public:
    LyricsView(CLyricsCtrl& control, QWidget& parent);

    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

    // The letter size the two lines are drawn in now, in pixels; for tests.
    int LetterPixels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout;
    Layout Arrange() const;
    // The largest letter size at which the song's widest line fits the window's width.
    int SongWidthPixels() const;
    void Describe();

    CLyricsCtrl& m_control;
    // SongWidthPixels for the words, and the width and font it was worked out for; 0 when not yet
    // known.
    mutable int m_songPixels = 0;
    mutable int m_songPixelsWidth = 0;
    mutable QFont m_songPixelsFont;
};
