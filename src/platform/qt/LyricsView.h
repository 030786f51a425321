#pragma once

#include "platform/qt/ControlView.h"
#include "platform/ui/LyricsCtrl.h"

#include <QString>
#include <QWidget>

class QPainter;

// A karaoke text: the line being sung, centred, its sung part in the desktop's highlight colour,
// and the next line under it in a quieter colour. The letters are large, twice the desktop's own
// size (so they follow its scale) and more when the window is tall enough; lines wider than the
// window wrap, and the size comes down, to the desktop's own size at the least, until both lines
// fit. Without words it shows the control's note.
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
    void Describe();

    CLyricsCtrl& m_control;
};
