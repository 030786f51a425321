#include "songlist/TagFile.h"

#include "platform/ui/ListCtrl.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
} // namespace

std::string TagFilePath(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + "MIDITags.SHF";
}

bool WriteTagRecord(char* record, std::uint32_t played, std::string_view folder, std::string_view name) {
    std::size_t length = folder.size() + name.size();
    if (length >= kTagPathSize)
        return false;
    for (int i = 0; i < 4; ++i)
        record[i] = static_cast<char>((played >> (8 * i)) & 0xFF);
    std::memcpy(record + 4, folder.data(), folder.size());
    std::memcpy(record + 4 + folder.size(), name.data(), name.size());
    std::memset(record + 4 + length, 0, kTagPathSize - length);
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

namespace {

// How many rows or records ahead a pass asks for the memory it will need: the table and the keys
// are too large for the cache, and a lookup that waited for each of its misses in turn spent most
// of its time waiting.
constexpr std::size_t kAhead = 8;

void Prefetch(const void* address) {
    __builtin_prefetch(address);
}

} // namespace

// A key as it is stored and compared: the folder as it is, then the file name folded to lower
// case, side by side as in the path, so that one comparison of bytes tells two keys apart.
struct TagRecordSet::Key {
    char path[kTagPathSize];
    std::uint64_t hash = 0;
    std::uint8_t nameStart = 0; // paths are shorter than a record's 256 bytes
    std::uint8_t length = 0;
    bool valid = false;
    bool played = false;

    // False when the path is too long for a record: no record names it.
    bool Make(std::string_view folder, std::string_view name) {
        valid = folder.size() + name.size() < kTagPathSize;
        if (!valid)
            return false;
        std::memcpy(path, folder.data(), folder.size());
        for (std::size_t i = 0; i < name.size(); ++i)
            path[folder.size() + i] = FoldCase(name[i]);
        nameStart = static_cast<std::uint8_t>(folder.size());
        length = static_cast<std::uint8_t>(folder.size() + name.size());
        hash = std::hash<std::string_view>{}(std::string_view(path, length));
        return true;
    }

    // A record's key: its path split after the last '/' into folder and file name, as the C
    // runtime's path splitting gives them.
    bool MakeFromRecord(const char* bytes) {
        TagRecord record;
        valid = ReadTagRecord(bytes, record);
        if (!valid)
            return false;
        played = record.played != 0;
        std::size_t slash = record.path.rfind('/');
        std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
        return Make(record.path.substr(0, nameStart), record.path.substr(nameStart));
    }
};

TagRecordSet::TagRecordSet(std::size_t capacity) : m_capacity(capacity) {
    std::size_t size = 16;
    while (size < 2 * capacity)
        size *= 2;
    m_mask = size - 1;
    m_slots.resize(size);
    // Room for every path at its longest: memory that is reserved and not used costs nothing.
    m_keys.reserve(capacity * kTagPathSize);
    m_ring = std::make_unique<Key[]>(kRing);
}

TagRecordSet::~TagRecordSet() = default;

void TagRecordSet::Clear() {
    std::fill(m_slots.begin(), m_slots.end(), Slot{});
    m_keys.clear();
    m_count = 0;
}

const char* TagRecordSet::KeyPath(const Slot& slot) const {
    return m_keys.data() + slot.key;
}

std::size_t TagRecordSet::Find(const Key& key) const {
    auto upper = static_cast<std::uint32_t>(key.hash >> 32);
    std::size_t at = key.hash & m_mask;
    for (;; at = (at + 1) & m_mask) {
        const Slot& slot = m_slots[at];
        if (slot.key == Slot::kEmpty ||
            (slot.hash == upper && slot.nameStart == key.nameStart && slot.length == key.length &&
             std::memcmp(KeyPath(slot), key.path, key.length) == 0))
            return at;
    }
}

void TagRecordSet::Add(const char* records, std::size_t count) {
    count = std::min(count, Room());
    m_count += count;
    // Each record's key is made a few records ahead, and its slot asked for then.
    auto prepare = [&](std::size_t i) {
        Key& key = m_ring[i % kRing];
        if (key.MakeFromRecord(records + i * kTagRecordSize))
            Prefetch(&m_slots[key.hash & m_mask]);
    };
    for (std::size_t i = 0; i < std::min(kAhead, count); ++i)
        prepare(i);
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kAhead < count)
            prepare(i + kAhead);
        const Key& key = m_ring[i % kRing];
        if (!key.valid)
            continue;
        Slot& slot = m_slots[Find(key)];
        if (slot.key == Slot::kEmpty) {
            slot.hash = static_cast<std::uint32_t>(key.hash >> 32);
            slot.key = static_cast<std::uint32_t>(m_keys.size());
            slot.nameStart = key.nameStart;
            slot.length = key.length;
            m_keys.insert(m_keys.end(), key.path, key.path + key.length);
        }
        slot.played = key.played;
    }
}

std::vector<std::int8_t> TagRecordSet::MarksFor(const CListCtrl& list) {
    struct Row {
        const std::string* name;
        const std::string* folder;
        int row;
        std::uint32_t slot;
    };
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(list.GetItemCount()));
    list.ForEachRowInMemoryOrder([&](int row, const std::string& name, const std::string& folder, LPARAM) {
        rows.push_back({&name, &folder, row, Slot::kEmpty});
    });

    // Every row looks up its own key, in memory order. A row's key is made and its slot asked for
    // two steps ahead; one step ahead the key in that slot is asked for.
    auto prepare = [&](std::size_t j) {
        Key& key = m_ring[j % kRing];
        if (key.Make(*rows[j].folder, *rows[j].name))
            Prefetch(&m_slots[key.hash & m_mask]);
    };
    static_assert(2 * kAhead < kRing);
    for (std::size_t j = 0; j < std::min(2 * kAhead, rows.size()); ++j)
        prepare(j);
    for (std::size_t j = 0; j < rows.size(); ++j) {
        if (j + 2 * kAhead < rows.size())
            prepare(j + 2 * kAhead);
        if (j + kAhead < rows.size() && m_ring[(j + kAhead) % kRing].valid) {
            const Key& ahead = m_ring[(j + kAhead) % kRing];
            const Slot& home = m_slots[ahead.hash & m_mask];
            if (home.key != Slot::kEmpty) {
                Prefetch(KeyPath(home));
                Prefetch(KeyPath(home) + home.length);
            }
        }
        const Key& key = m_ring[j % kRing];
        if (!key.valid)
            continue;
        std::size_t at = Find(key);
        Slot& slot = m_slots[at];
        if (slot.key == Slot::kEmpty)
            continue;
        rows[j].slot = static_cast<std::uint32_t>(at);
        if (slot.firstRow < 0 || rows[j].row < slot.firstRow)
            slot.firstRow = rows[j].row;
    }

    std::vector<std::int8_t> marks(rows.size(), kNoMark);
    for (std::size_t j = 0; j < rows.size(); ++j) {
        if (j + kAhead < rows.size() && rows[j + kAhead].slot != Slot::kEmpty)
            Prefetch(&m_slots[rows[j + kAhead].slot]);
        if (rows[j].slot == Slot::kEmpty)
            continue;
        const Slot& slot = m_slots[rows[j].slot];
        if (slot.firstRow == rows[j].row)
            marks[j] = slot.played ? 1 : 0;
    }
    return marks;
}
