#include "songlist/TagFile.h"

#include "platform/ui/ListCtrl.h"

#include <cstring>
#include <functional>

namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::string TagFilePath(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + "MIDITags.SHF";
}

bool AppendTagRecord(std::string& file, std::uint32_t played, std::string_view folder,
                     std::string_view name) {
    if (folder.size() + name.size() >= kTagPathSize)
        return false;
    std::size_t at = file.size();
    file.resize(at + kTagRecordSize, '\0');
    char* record = file.data() + at;
    for (int i = 0; i < 4; ++i)
        record[i] = static_cast<char>((played >> (8 * i)) & 0xFF);
    std::memcpy(record + 4, folder.data(), folder.size());
    std::memcpy(record + 4 + folder.size(), name.data(), name.size());
    return true;
}

bool ReadTagRecord(const char* bytes, TagRecord& record) {
    const auto* flag = reinterpret_cast<const unsigned char*>(bytes);
    record.played = static_cast<std::uint32_t>(flag[0]) | static_cast<std::uint32_t>(flag[1]) << 8 |
                    static_cast<std::uint32_t>(flag[2]) << 16 | static_cast<std::uint32_t>(flag[3]) << 24;
    const char* path = bytes + 4;
    const void* end = std::memchr(path, '\0', kTagPathSize);
    if (!end)
        return false;
    record.path = std::string_view(path, static_cast<std::size_t>(static_cast<const char*>(end) - path));
    return true;
}

SongRowIndex::SongRowIndex(const CListCtrl& list) : m_list(list) {
    std::size_t rows = static_cast<std::size_t>(list.GetItemCount());
    std::size_t size = 16;
    while (size < 2 * rows)
        size *= 2;
    m_slots.assign(size, 0);
    m_mask = size - 1;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const std::string& name = list.ItemTextRef(row, 0);
        const std::string& folder = list.ItemTextRef(row, 1);
        std::size_t slot = Hash(name, folder) & m_mask;
        // An equal key already in the table belongs to an earlier row, which wins.
        while (m_slots[slot] != 0 && !Matches(m_slots[slot] - 1, name, folder))
            slot = (slot + 1) & m_mask;
        if (m_slots[slot] == 0)
            m_slots[slot] = row + 1;
    }
}

int SongRowIndex::Find(std::string_view name, std::string_view folder) const {
    for (std::size_t slot = Hash(name, folder) & m_mask; m_slots[slot] != 0; slot = (slot + 1) & m_mask) {
        if (Matches(m_slots[slot] - 1, name, folder))
            return m_slots[slot] - 1;
    }
    return -1;
}

std::size_t SongRowIndex::Hash(std::string_view name, std::string_view folder) {
    // FNV-1a over the folded name; the folder, long and compared as it is, goes to the library's
    // faster hash of bytes.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
    hash ^= std::hash<std::string_view>{}(folder) + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

bool SongRowIndex::Matches(int row, std::string_view name, std::string_view folder) const {
    return m_list.ItemTextRef(row, 1) == folder && EqualNoCase(m_list.ItemTextRef(row, 0), name);
}
