#include "platform/qt/ListView.h"

#include "platform/qt/DialogMetrics.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// The played mark is the row's picture; its check state is for screen readers only.
class PictureMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
    }
};

} // namespace

ListView::ListView(CListCtrl& control, QWidget& parent)
    : QTreeView(&parent), m_control(control), m_model(control) {
    setModel(&m_model);
    setItemDelegate(new PictureMarkDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setWordWrap(false);
    setFocusPolicy(FocusPolicyFor(control));
    if ((control.Style() & WS_BORDER) == 0)
        setFrameShape(QFrame::NoFrame);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_flushTimer.setSingleShot(true);
    connect(&m_flushTimer, &QTimer::timeout, this, [this] { FlushRows(); });
    m_sinceFlush.start();

    // Keys move the current row as clicks do; either is the user's choice of a row.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (!m_applying && current.isValid())
                    m_control.RowChosenByUser(current.row());
            });
    ApplyColumns();
}

void ListView::Sync(ControlChange change, int row) {
    switch (change) {
    case ControlChange::RowInserted:
        if (m_model.NoteInserted(row))
            ScheduleFlush();
        break;
    case ControlChange::RowChanged:
        if (m_model.NoteChanged(row))
            ScheduleFlush();
        break;
    case ControlChange::RowsCleared:
        m_flushTimer.stop();
        m_model.NoteCleared();
        ApplySelection();
        break;
    case ControlChange::Columns:
        m_flushTimer.stop();
        m_model.NoteColumns();
        ApplyColumns();
        ApplySelection();
        break;
    case ControlChange::Selection:
        FlushRows();
        if (row >= 0 && row < m_model.rowCount())
            scrollTo(m_model.index(row, 0), QAbstractItemView::EnsureVisible);
        break;
    default:
        SyncCommonState(*this, m_control);
        break;
    }
}

void ListView::ScheduleFlush() {
    // A hidden list hears of its rows when it is shown (showEvent): rows told to it while hidden
    // made it lay out the whole list once at the window's first resize and again for the last
    // batch, which doubled the cost of showing a large collection.
    if (m_flushTimer.isActive() || !isVisible())
        return;
    qint64 wait = kFlushIntervalMs - m_sinceFlush.elapsed();
    m_flushTimer.start(static_cast<int>(std::clamp<qint64>(wait, 0, kFlushIntervalMs)));
}

void ListView::FlushRows() {
    m_flushTimer.stop();
    if (m_model.Pending()) {
        m_model.Flush();
        m_sinceFlush.restart();
    }
    // Rows inserted above the selection moved it in the control; the view follows.
    ApplySelection();
}

void ListView::SetExtraWidth(int pixels) {
    if (pixels == m_extraWidth)
        return;
    m_extraWidth = pixels;
    ApplyColumns();
}

void ListView::ApplyColumns() {
    const auto& columns = m_control.Columns();
    int growing = 0;
    for (std::size_t i = 0; i + 1 < columns.size(); ++i)
        growing += columns[i].width;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        int extra =
            i + 1 < columns.size() && growing > 0 ? MulDiv(m_extraWidth, columns[i].width, growing) : 0;
        header()->resizeSection(static_cast<int>(i), columns[i].width + extra);
    }
}

void ListView::ApplySelection() {
    m_applying = true;
    int focused = m_control.GetNextItem(-1, LVNI_FOCUSED);
    int selected = m_control.GetNextItem(-1, LVNI_SELECTED);
    QItemSelectionModel* selection = selectionModel();
    QModelIndex current =
        focused >= 0 && focused < m_model.rowCount() ? m_model.index(focused, 0) : QModelIndex();
    if (selection->currentIndex() != current)
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (selected >= 0 && selected < m_model.rowCount())
        selection->select(m_model.index(selected, 0),
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clearSelection();
    m_applying = false;
}

void ListView::ChosenByUser(int row) {
    m_control.RowChosenByUser(row);
    ApplySelection();
}

void ListView::showEvent(QShowEvent* event) {
    // A list filled while its window was hidden (the search at start-up) shows whole at once.
    FlushRows();
    QTreeView::showEvent(event);
}

void ListView::mousePressEvent(QMouseEvent* event) {
    QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        // A click below the rows takes the focus but keeps the selection, which the control holds.
        setFocus(Qt::MouseFocusReason);
        return;
    }
    QTreeView::mousePressEvent(event);
    ChosenByUser(index.row());
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QModelIndex index = indexAt(event->position().toPoint());
    DoubleClickedByUser(index.isValid() ? index.row() : -1);
}

void ListView::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        DoubleClickedByUser(currentIndex().row());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ListView::DoubleClickedByUser(int row) {
    if (row >= 0)
        ChosenByUser(row);
    m_control.Owner().SendMessage(WM_NOTIFY, static_cast<WPARAM>(m_control.GetDlgCtrlID()),
                                  static_cast<LPARAM>(NM_DBLCLK));
}
