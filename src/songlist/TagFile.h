#pragma once

#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CListCtrl;

// The tag file "MIDITags.SHF": 260-byte records back to back, no header. A record holds the
// played flag as a little-endian 32-bit number, then the song's full path in 256 bytes, ended by
// a zero byte; the bytes after it are zero as we write them.
inline constexpr std::size_t kTagRecordSize = 260;
inline constexpr std::size_t kTagPathSize = 256;

// The tag file of a folder: the folder, a '/' unless it already ends in one, "MIDITags.SHF".
std::string TagFilePath(const std::string& folder);

// Writes one record for the path folder + name at `record`, kTagRecordSize bytes. A path of more
// than 255 bytes does not fit: nothing is written and the answer is false.
bool WriteTagRecord(char* record, std::uint32_t played, std::string_view folder, std::string_view name);

// One record read back: the flag and the path up to its zero byte. A record without a zero byte
// in its path field was not written by this program and is not read past its end: the answer is
// false.
struct TagRecord {
    std::uint32_t played = 0;
    std::string_view path;
};
bool ReadTagRecord(const char* bytes, TagRecord& record);

// The records of a tag file gathered for matching against the list: each key (folder and file
// name) once, with the flag of the last record that has it. A row takes the mark of a key when it
// is the first row, in list order, whose file name equals the key's without regard to ASCII letter
// case and whose folder equals the key's byte for byte, as a search by name from the top that
// checks each folder would find it; records applied one after the other in file order leave that
// row with the last one's flag.
//
// The keys are kept in a table by hash, so that matching takes one pass over the rows whatever
// their names: a list full of equal names ("01.mid" in every album's folder) costs no more than
// one without. The table holds a fixed number of records, chosen when it is made.
class TagRecordSet {
public:
    // What MarksFor gives a row no record names.
    static constexpr std::int8_t kNoMark = -1;

    explicit TagRecordSet(std::size_t capacity);
    ~TagRecordSet();
    TagRecordSet(const TagRecordSet&) = delete;
    TagRecordSet& operator=(const TagRecordSet&) = delete;

    // How many more records Add takes.
    std::size_t Room() const { return m_capacity - m_count; }
    bool Empty() const { return m_count == 0; }
    // Adds `count` records back to back, at most Room(). A record without a zero byte in its path
    // names no song.
    void Add(const char* records, std::size_t count);
    // Forgets every record.
    void Clear();

    // For each row of the list in memory order (as ForEachRowInMemoryOrder visits them), the mark
    // the records give it: kNoMark, 0 for unplayed, 1 for played.
    std::vector<std::int8_t> MarksFor(const CListCtrl& list);

private:
    // One key: where its path lies among the keys, and the first row in list order that has it.
    struct Slot {
        static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
        std::uint32_t hash = 0; // the upper half of the key's hash: the lower one chose the slot
        std::uint32_t key = kEmpty;
        std::int32_t firstRow = -1;
        std::uint8_t nameStart = 0; // paths are shorter than a record's 256 bytes
        std::uint8_t length = 0;
        bool played = false;
    };
    struct Key;
    static constexpr std::size_t kRing = 32;
    // The slot of the key, or the empty one where it belongs.
    std::size_t Find(const Key& key) const;
    const char* KeyPath(const Slot& slot) const;

    std::size_t m_capacity;
    std::size_t m_count = 0;
    std::size_t m_mask;
    std::vector<Slot> m_slots;
    std::string m_keys;            // the paths of the keys, back to back
    std::unique_ptr<Key[]> m_ring; // the keys a pass has made ahead of its lookups
};
