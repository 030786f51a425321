#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/RowOrder.h"

#include <array>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

inline constexpr UINT LVIS_FOCUSED = 0x1;
inline constexpr UINT LVIS_SELECTED = 0x2;
inline constexpr UINT LVNI_ALL = 0x0;
inline constexpr UINT LVNI_FOCUSED = 0x1;
inline constexpr UINT LVNI_SELECTED = 0x2;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;

// A list view in report mode with single selection. With LVS_SORTASCENDING every new row lands
// at its place by the text of column 0, compared without regard to ASCII letter case; rows with
// equal texts keep the order in which they came.
class CListCtrl : public CControl {
public:
    static constexpr int kMaxColumns = 3;

    struct Column {
        std::string heading;
        int format = LVCFMT_LEFT;
        int width = 0;
    };

    using CControl::CControl;

    int InsertColumn(int column, const std::string& heading, int format, int width);
    const std::vector<Column>& Columns() const { return m_columns; }

    // Icon resource ids of an image list, in image order.
    void SetImageList(const std::vector<int>& iconIds, int which);
    const std::vector<int>& ImageList(int which) const { return m_imageLists[which == LVSIL_SMALL ? 1 : 0]; }

    int GetItemCount() const { return static_cast<int>(m_order.size()); }
    int InsertItem(int index, const std::string& text);
    bool DeleteAllItems();
    // Removes one row; the rows after it move up. Its texts stay in the pool until the list is emptied.
    bool DeleteItem(int row);

    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    const std::string& ItemTextRef(int row, int column) const;
    bool SetItemData(int row, LPARAM data);
    LPARAM GetItemData(int row) const;
    bool SetItemImage(int row, int image);
    int GetItemImage(int row) const;

    bool SetItemState(int row, UINT state, UINT mask);
    UINT GetItemState(int row, UINT mask) const;
    UINT GetSelectedCount() const { return m_selected >= 0 ? 1 : 0; }
    int GetNextItem(int start, UINT flags) const;
    bool EnsureVisible(int row, bool partialOK);

    // The next row after start (-1: from the first) whose column 0 equals name without regard
    // to case; -1 when there is none. No wrap-around.
    int FindItem(const std::string& name, int start = -1) const;

    // The tip a row shows while the pointer rests on it, asked of the owner as LVN_GETINFOTIP
    // asks; without one, rows have no tip.
    void SetInfoTip(std::function<std::string(int row)> tip) { m_infoTip = std::move(tip); }
    std::string InfoTip(int row) const { return m_infoTip && Valid(row) ? m_infoTip(row) : std::string(); }

    // The view reports a row the user clicked; focus and selection move to it.
    void RowChosenByUser(int row);

    // Approximate heap bytes held by the rows, for the memory benchmark.
    std::size_t MemoryUsed() const;

    // Calls visit(row, name, folder, data) once for every row, in the order the rows lie in memory
    // rather than the order they show, with the texts of columns 0 and 1. A pass over a large list
    // this way reads memory in sequence instead of jumping around it.
    template <class Visit> void ForEachRowInMemoryOrder(Visit visit) const;
    // As ForEachRowInMemoryOrder, for changing rows: visit(row, data, image) may change the row's
    // data and image through its references; a row whose data or image changed is reported to
    // the view.
    template <class Visit> void UpdateRowsInMemoryOrder(Visit visit);
    // Calls visit(row, name, folder, data) for every row in the order they show, without looking
    // each row up by its index.
    template <class Visit> void ForEachRow(Visit visit) const;

private:
    // A sub-item text short enough for the string's own buffer is kept in the row; a longer one
    // (a folder, shared by every song in it) is kept once in the list's text pool.
    struct SubItem {
        std::string text;
        const std::string* pooled = nullptr;
    };
    struct Row {
        std::array<SubItem, kMaxColumns - 1> subItems{};
        LPARAM data = 0;
        int image = 0;
    };

    bool Valid(int row) const { return row >= 0 && row < GetItemCount(); }
    Row& RowAt(int row) { return m_rows[m_order.at(static_cast<std::size_t>(row))]; }
    const Row& RowAt(int row) const { return m_rows[m_order.at(static_cast<std::size_t>(row))]; }
    const std::string& NameAt(int row) const { return m_names[m_order.at(static_cast<std::size_t>(row))]; }
    const std::string& FolderOf(std::uint32_t id) const {
        const SubItem& folder = m_rows[id].subItems[0];
        return folder.pooled ? *folder.pooled : folder.text;
    }
    std::vector<int> RowsById() const;
    std::size_t SortedPosition(const std::string& name, unsigned __int128 key) const;
    const std::string* Intern(const std::string& text);

    std::vector<Column> m_columns;
    std::array<std::vector<int>, 2> m_imageLists;
    // Rows by id, in order of insertion. The names live apart from the rest, so the comparisons of
    // a sorted insertion touch only them.
    std::vector<std::string> m_names;
    std::vector<Row> m_rows;
    RowOrder m_order; // display order of row ids
    std::unordered_set<std::string> m_texts;
    const std::string* m_lastPooled = nullptr; // rows come folder by folder: most lookups hit this
    int m_focused = -1;
    int m_selected = -1;
    std::function<std::string(int)> m_infoTip;
};

template <class Visit> void CListCtrl::ForEachRowInMemoryOrder(Visit visit) const {
    std::vector<int> rowOf = RowsById();
    for (std::uint32_t id = 0; id < m_rows.size(); ++id) {
        if (rowOf[id] >= 0)
            visit(rowOf[id], m_names[id], FolderOf(id), m_rows[id].data);
    }
}

template <class Visit> void CListCtrl::UpdateRowsInMemoryOrder(Visit visit) {
    std::vector<int> rowOf = RowsById();
    for (std::uint32_t id = 0; id < m_rows.size(); ++id) {
        if (rowOf[id] < 0)
            continue;
        Row& row = m_rows[id];
        LPARAM data = row.data;
        int image = row.image;
        visit(rowOf[id], row.data, row.image);
        if (row.data != data || row.image != image)
            Notify(ControlChange::RowChanged, rowOf[id]);
    }
}

template <class Visit> void CListCtrl::ForEachRow(Visit visit) const {
    // Rows that show one after the other lie anywhere in memory: each row is asked for some rows
    // ahead of its use, and its name a little later, so that the misses of many rows overlap
    // instead of adding up.
    constexpr std::size_t kStep = 8;
    std::vector<std::uint32_t> ids;
    ids.reserve(m_order.size());
    m_order.for_each([&](std::size_t, std::uint32_t id) { ids.push_back(id); });
    for (std::size_t row = 0; row < ids.size(); ++row) {
        if (row + 2 * kStep < ids.size()) {
            std::uint32_t ahead = ids[row + 2 * kStep];
            __builtin_prefetch(&m_names[ahead]);
            __builtin_prefetch(&m_rows[ahead].subItems[0].pooled);
            __builtin_prefetch(&m_rows[ahead].data);
        }
        if (row + kStep < ids.size())
            __builtin_prefetch(m_names[ids[row + kStep]].data());
        std::uint32_t id = ids[row];
        visit(static_cast<int>(row), m_names[id], FolderOf(id), m_rows[id].data);
    }
}

// Compares two texts the way the sorted list does: bytes, with ASCII letters folded to lower case.
int CompareNoCase(const std::string& a, const std::string& b);
