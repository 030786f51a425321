#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

class CListCtrl;

// The rows of a list control as a Qt model. It reads the control directly and copies nothing.
//
// A search inserts rows one by one, up to 100,000 of them, each at its sorted place. Telling the
// view about every one would make the view redo its layout per row, so the model tells it in
// batches: the count the view knows lags behind the control until Flush(), which reports the new
// rows at the end and repaints what moved. While it lags, the view reads only rows below its
// count, and those always exist, since between flushes rows are only added; clearing the control
// is told to the view at once.
//
// A row whose image is a ticked or an empty box has the first cell checked or not, so that a screen
// reader says what the picture shows; the view does not draw that check state a second time.
class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(const CListCtrl& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // What the control did; each returns whether a flush is now due.
    bool NoteInserted(int row);
    bool NoteChanged(int row);
    void NoteCleared();
    // Columns or image lists changed: the view starts over.
    void NoteColumns();

    bool Pending() const;
    // Brings the view up to date with the control.
    void Flush();

private:
    void Dirty(int first, int last);

    const CListCtrl& m_list;
    int m_shownRows = 0;
    int m_shownColumns = 0;
    int m_dirtyFirst = -1; // rows the view knows whose contents changed, or -1
    int m_dirtyLast = -1;
    std::vector<int> m_smallImageIds;
    std::vector<QIcon> m_smallImages;
};
