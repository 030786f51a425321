#include "platform/qt/ListModel.h"

#include "platform/qt/Icons.h"
#include "platform/qt/Text.h"
#include "platform/ui/ListCtrl.h"
#include "res/icons/Icons.h"

#include <algorithm>

namespace {

// Column formats of a list view, with the Windows values.
constexpr int kFormatRight = 1;
constexpr int kFormatCenter = 2;

} // namespace

ListModel::ListModel(const CListCtrl& list, QObject* parent) : QAbstractTableModel(parent), m_list(list) {
    m_shownRows = list.GetItemCount();
    NoteColumns();
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownColumns;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    int row = index.row();
    int column = index.column();
    // The guard is for safety only: rows below the count the view knows always exist.
    if (!index.isValid() || row >= m_list.GetItemCount() || column >= m_shownColumns)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return ToQString(m_list.ItemTextRef(row, column));
    case Qt::DecorationRole:
    case Qt::CheckStateRole: {
        int image = m_list.GetItemImage(row);
        if (column != 0 || image < 0 || image >= static_cast<int>(m_smallImages.size()))
            return {};
        const auto index = static_cast<std::size_t>(image);
        if (role == Qt::DecorationRole)
            return m_smallImages[index];
        switch (res::BoxMarkOf(m_smallImageIds[index])) {
        case res::BoxMark::Ticked:
            return Qt::Checked;
        case res::BoxMark::Empty:
            return Qt::Unchecked;
        default:
            return {};
        }
    }
    case Qt::ToolTipRole: {
        std::string tip = m_list.InfoTip(row);
        return tip.empty() ? QVariant() : QVariant(ToQString(tip));
    }
    case Qt::TextAlignmentRole: {
        int format = m_list.Columns()[static_cast<std::size_t>(column)].format & 0x3;
        Qt::Alignment horizontal = format == kFormatRight    ? Qt::AlignRight
                                   : format == kFormatCenter ? Qt::AlignHCenter
                                                             : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_shownColumns)
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(m_list.Columns()[static_cast<std::size_t>(section)].heading);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ListModel::Dirty(int first, int last) {
    if (first > last)
        return;
    m_dirtyFirst = m_dirtyFirst < 0 ? first : std::min(m_dirtyFirst, first);
    m_dirtyLast = std::max(m_dirtyLast, last);
}

bool ListModel::NoteInserted(int row) {
    // Every row the view knows from this one on now shows the row that was above it.
    Dirty(std::max(row, 0), m_shownRows - 1);
    return true;
}

bool ListModel::NoteChanged(int row) {
    if (row >= 0 && row < m_shownRows)
        Dirty(row, row);
    return Pending();
}

void ListModel::NoteCleared() {
    beginResetModel();
    m_shownRows = m_list.GetItemCount();
    m_dirtyFirst = m_dirtyLast = -1;
    endResetModel();
}

void ListModel::NoteColumns() {
    beginResetModel();
    m_shownRows = m_list.GetItemCount();
    m_shownColumns = static_cast<int>(m_list.Columns().size());
    m_dirtyFirst = m_dirtyLast = -1;
    m_smallImageIds = m_list.ImageList(LVSIL_SMALL);
    m_smallImages.clear();
    for (int iconId : m_smallImageIds)
        m_smallImages.push_back(IconOf(iconId));
    endResetModel();
}

bool ListModel::Pending() const {
    return m_shownRows != m_list.GetItemCount() || m_dirtyFirst >= 0;
}

void ListModel::Flush() {
    int count = m_list.GetItemCount();
    if (count < m_shownRows) {
        // Rows only go away all at once, which NoteCleared reports; start over if that was missed.
        NoteCleared();
        return;
    }
    if (count > m_shownRows) {
        beginInsertRows(QModelIndex(), m_shownRows, count - 1);
        m_shownRows = count;
        endInsertRows();
    }
    if (m_dirtyFirst >= 0 && m_shownColumns > 0) {
        int first = m_dirtyFirst;
        int last = std::min(m_dirtyLast, m_shownRows - 1);
        m_dirtyFirst = m_dirtyLast = -1;
        if (first <= last)
            Q_EMIT dataChanged(index(first, 0), index(last, m_shownColumns - 1));
    }
    m_dirtyFirst = m_dirtyLast = -1;
}
