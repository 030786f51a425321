#pragma once

#include "platform/qt/ControlView.h"
#include "platform/qt/ListModel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>

class CListCtrl;

// A list view in report mode over the list control's model: columns with their pixel widths, the
// small image list's icons in the first column, single selection of whole rows.
//
// The user's choice of a row goes to the control; a double click also sends NM_DBLCLK to the
// dialog, wherever in the list it happens, as the program plays the focused row then. Return or
// Enter on the focused row does what a double click on it does, so that a keyboard can play a
// song. The program's selection is shown and, when it asks, scrolled fully into view.
class ListView : public QTreeView, public ControlView {
public:
    // Row notices are gathered for at least this long before the view hears of them, so a search
    // that inserts a row per directory does not make the view lay out 100,000 rows per row.
    static constexpr int kFlushIntervalMs = 100;

    ListView(CListCtrl& control, QWidget& parent);

    ListModel& Model() { return m_model; }
    QWidget& Widget() override { return *this; }
    void Sync(ControlChange change, int row) override;

    // Brings the view up to date with the control now.
    void FlushRows();
    // How much wider than its template the list is: the width goes to every column but the last,
    // in proportion to their widths, so that long names and folders show whole.
    void SetExtraWidth(int pixels);

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ScheduleFlush();
    void ApplyColumns();
    void ApplySelection();
    void ChosenByUser(int row);
    // row: the row double-clicked, or -1 for a double click below the rows.
    void DoubleClickedByUser(int row);

    CListCtrl& m_control;
    ListModel m_model;
    QTimer m_flushTimer;
    QElapsedTimer m_sinceFlush;
    bool m_applying = false;
    int m_extraWidth = 0;
};
