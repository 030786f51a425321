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

namespace {

// The file name and the folder of a record's path: the name after the last '/', the folder up to
// and with it, as the C runtime's path splitting gives them.
struct TagKey {
    std::string_view name;
    std::string_view folder;
};

TagKey KeyOf(std::string_view path) {
    std::size_t slash = path.rfind('/');
    std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    return {path.substr(nameStart), path.substr(0, nameStart)};
}

std::uint64_t Hash(std::string_view name, std::string_view folder) {
    // FNV-1a over the folded name; the folder, long and compared as it is, goes to the library's
    // faster hash of bytes.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
    hash ^= std::hash<std::string_view>{}(folder) + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    return hash ^ (hash >> 29);
}

} // namespace

std::vector<int> MatchTagRecords(const CListCtrl& list, const char* records, std::size_t count) {
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    // One slot per key, holding all a lookup needs to find the record's bytes: a row's lookup then
    // touches the slot and the record, nothing else.
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t record = kNone; // the first record with the key
        std::uint16_t nameStart = 0;
        std::uint16_t length = 0;
    };
    std::size_t size = 16;
    while (size < 2 * count)
        size *= 2;
    std::size_t mask = size - 1;
    std::vector<Slot> slots(size);
    auto sameKey = [&](const Slot& slot, std::string_view name, std::string_view folder) {
        const char* path = records + slot.record * kTagRecordSize + 4;
        return std::string_view(path, slot.nameStart) == folder &&
               EqualNoCase(std::string_view(path + slot.nameStart, slot.length - slot.nameStart), name);
    };

    std::vector<std::uint32_t> keyOf(count, kNone); // the slot of each record's key
    for (std::size_t i = 0; i < count; ++i) {
        TagRecord record;
        if (!ReadTagRecord(records + i * kTagRecordSize, record))
            continue;
        TagKey key = KeyOf(record.path);
        std::uint64_t hash = Hash(key.name, key.folder);
        std::size_t slot = hash & mask;
        while (slots[slot].record != kNone &&
               !(slots[slot].hash == hash && sameKey(slots[slot], key.name, key.folder)))
            slot = (slot + 1) & mask;
        if (slots[slot].record == kNone) {
            slots[slot] =
                Slot{hash, static_cast<std::uint32_t>(i), static_cast<std::uint16_t>(key.folder.size()),
                     static_cast<std::uint16_t>(record.path.size())};
        }
        keyOf[i] = static_cast<std::uint32_t>(slot);
    }

    // Every row looks up its own key; the first row in list order of each key is the one its records
    // name.
    std::vector<int> firstRow(size, -1);
    list.ForEachRowInMemoryOrder([&](int row, const std::string& name, const std::string& folder, LPARAM) {
        std::uint64_t hash = Hash(name, folder);
        for (std::size_t slot = hash & mask; slots[slot].record != kNone; slot = (slot + 1) & mask) {
            if (slots[slot].hash == hash && sameKey(slots[slot], name, folder)) {
                int& first = firstRow[slot];
                if (first < 0 || row < first)
                    first = row;
                break;
            }
        }
    });

    std::vector<int> rows(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        if (keyOf[i] != kNone)
            rows[i] = firstRow[keyOf[i]];
    }
    return rows;
}
