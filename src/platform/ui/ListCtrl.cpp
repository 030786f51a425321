#include "platform/ui/ListCtrl.h"

namespace {

const std::string kEmpty;

unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

} // namespace

int CompareNoCase(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (ca == cb)
            continue;
        ca = Fold(ca);
        cb = Fold(cb);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
    if (column < 0 || column >= kMaxColumns)
        return -1;
    std::size_t at = std::min(static_cast<std::size_t>(column), m_columns.size());
    m_columns.insert(m_columns.begin() + static_cast<std::ptrdiff_t>(at), Column{heading, format, width});
    Notify(ControlChange::Columns);
    return static_cast<int>(at);
}

void CListCtrl::SetImageList(const std::vector<int>& iconIds, int which) {
    m_imageLists[which == LVSIL_SMALL ? 1 : 0] = iconIds;
    Notify(ControlChange::Columns);
}

std::vector<int> CListCtrl::RowsById() const {
    // A deleted row keeps its place in memory, and no row.
    std::vector<int> rowOf(m_rows.size(), -1);
    m_order.for_each([&](std::size_t row, std::uint32_t id) { rowOf[id] = static_cast<int>(row); });
    return rowOf;
}

std::size_t CListCtrl::SortedPosition(const std::string& name, unsigned __int128 key) const {
    // After every row that sorts before or equal to the new one: equal names keep their arrival order.
    return m_order.lower_bound(key, [&](std::uint32_t id) { return CompareNoCase(m_names[id], name) <= 0; });
}

int CListCtrl::InsertItem(int index, const std::string& text) {
    unsigned __int128 key = SortKey(text.data(), text.size());
    std::size_t position;
    if (Style() & LVS_SORTASCENDING)
        position = SortedPosition(text, key);
    else
        position = std::min(static_cast<std::size_t>(std::max(index, 0)), m_order.size());
    auto id = static_cast<std::uint32_t>(m_rows.size());
    m_rows.emplace_back();
    m_names.push_back(text);
    m_order.insert(position, id, key);
    int at = static_cast<int>(position);
    if (m_focused >= at)
        ++m_focused;
    if (m_selected >= at)
        ++m_selected;
    Notify(ControlChange::RowInserted, at);
    return at;
}

bool CListCtrl::DeleteAllItems() {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_names.clear();
    m_names.shrink_to_fit();
    m_order.clear();
    m_texts.clear();
    m_lastPooled = nullptr;
    m_focused = m_selected = -1;
    Notify(ControlChange::RowsCleared);
    return true;
}

bool CListCtrl::DeleteItem(int row) {
    if (!Valid(row))
        return false;
    // The row's storage stays (ids are positions in it); only its place in the order goes.
    std::uint32_t id = m_order.at(static_cast<std::size_t>(row));
    m_names[id].clear();
    m_names[id].shrink_to_fit();
    m_rows[id] = Row{};
    m_order.erase(static_cast<std::size_t>(row));
    for (int* mark : {&m_focused, &m_selected}) {
        if (*mark == row)
            *mark = -1;
        else if (*mark > row)
            --*mark;
    }
    Notify(ControlChange::RowsCleared);
    return true;
}

const std::string* CListCtrl::Intern(const std::string& text) {
    if (m_lastPooled && *m_lastPooled == text)
        return m_lastPooled;
    m_lastPooled = &*m_texts.insert(text).first;
    return m_lastPooled;
}

bool CListCtrl::SetItemText(int row, int column, const std::string& text) {
    if (!Valid(row) || column < 0 || column >= kMaxColumns)
        return false;
    Row& r = RowAt(row);
    if (column == 0) {
        // Like the Windows control, a changed name does not move its row.
        m_names[m_order.at(static_cast<std::size_t>(row))] = text;
        m_order.set_key(static_cast<std::size_t>(row), SortKey(text.data(), text.size()));
    } else {
        SubItem& item = r.subItems[static_cast<std::size_t>(column - 1)];
        bool fitsInline = text.size() < sizeof(std::string);
        item.text = fitsInline ? text : std::string();
        item.pooled = fitsInline ? nullptr : Intern(text);
    }
    Notify(ControlChange::RowChanged, row);
    return true;
}

const std::string& CListCtrl::ItemTextRef(int row, int column) const {
    if (!Valid(row) || column < 0 || column >= kMaxColumns)
        return kEmpty;
    if (column == 0)
        return NameAt(row);
    const Row& r = RowAt(row);
    const SubItem& item = r.subItems[static_cast<std::size_t>(column - 1)];
    return item.pooled ? *item.pooled : item.text;
}

std::string CListCtrl::GetItemText(int row, int column) const {
    return ItemTextRef(row, column);
}

bool CListCtrl::SetItemData(int row, LPARAM data) {
    if (!Valid(row))
        return false;
    RowAt(row).data = data;
    return true;
}

LPARAM CListCtrl::GetItemData(int row) const {
    return Valid(row) ? RowAt(row).data : 0;
}

bool CListCtrl::SetItemImage(int row, int image) {
    if (!Valid(row))
        return false;
    RowAt(row).image = image;
    Notify(ControlChange::RowChanged, row);
    return true;
}

int CListCtrl::GetItemImage(int row) const {
    return Valid(row) ? RowAt(row).image : -1;
}

bool CListCtrl::SetItemState(int row, UINT state, UINT mask) {
    if (!Valid(row))
        return false;
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED)
            m_focused = row;
        else if (m_focused == row)
            m_focused = -1;
    }
    if (mask & LVIS_SELECTED) {
        if (state & LVIS_SELECTED)
            m_selected = row;
        else if (m_selected == row)
            m_selected = -1;
    }
    Notify(ControlChange::Selection, -1);
    return true;
}

UINT CListCtrl::GetItemState(int row, UINT mask) const {
    UINT state = 0;
    if (row == m_focused)
        state |= LVIS_FOCUSED;
    if (row == m_selected)
        state |= LVIS_SELECTED;
    return Valid(row) ? state & mask : 0;
}

int CListCtrl::GetNextItem(int start, UINT flags) const {
    int from = std::max(start + 1, 0);
    if ((flags & (LVNI_FOCUSED | LVNI_SELECTED)) == 0)
        return from < GetItemCount() ? from : -1;
    // At most one row is focused and one selected, so the answer is that row or none: the views
    // ask for them after every batch of rows, and walking 100,000 rows for it cost a search more
    // than the rows themselves.
    int row = (flags & LVNI_FOCUSED) ? m_focused : m_selected;
    bool matches = row >= from && row < GetItemCount() && ((flags & LVNI_SELECTED) == 0 || row == m_selected);
    return matches ? row : -1;
}

bool CListCtrl::EnsureVisible(int row, bool) {
    if (!Valid(row))
        return false;
    Notify(ControlChange::Selection, row);
    return true;
}

int CListCtrl::FindItem(const std::string& name, int start) const {
    int from = std::max(start + 1, 0);
    if (Style() & LVS_SORTASCENDING) {
        // Equal names sit together in a sorted list, so the first one at or after `from` is the answer.
        auto first =
            static_cast<int>(m_order.lower_bound(SortKey(name.data(), name.size()), [&](std::uint32_t id) {
                return CompareNoCase(m_names[id], name) < 0;
            }));
        int row = std::max(first, from);
        return row < GetItemCount() && CompareNoCase(NameAt(row), name) == 0 ? row : -1;
    }
    for (int row = from; row < GetItemCount(); ++row) {
        if (CompareNoCase(NameAt(row), name) == 0)
            return row;
    }
    return -1;
}

void CListCtrl::RowChosenByUser(int row) {
    if (!Valid(row))
        return;
    m_focused = m_selected = row;
}

std::size_t CListCtrl::MemoryUsed() const {
    std::size_t bytes = m_rows.capacity() * sizeof(Row) + m_names.capacity() * sizeof(std::string) +
                        m_order.size() * sizeof(std::uint32_t);
    for (const std::string& name : m_names) {
        if (name.capacity() > 15)
            bytes += name.capacity() + 1;
    }
    for (const std::string& text : m_texts)
        bytes += sizeof(std::string) + 2 * sizeof(void*) + (text.capacity() > 15 ? text.capacity() + 1 : 0);
    return bytes;
}
