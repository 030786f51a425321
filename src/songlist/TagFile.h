#pragma once

#include "platform/WinTypes.h"

#include <cstdint>
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

// Appends one record for the path folder + name. A path of more than 255 bytes does not fit:
// nothing is appended and the answer is false.
bool AppendTagRecord(std::string& file, std::uint32_t played, std::string_view folder, std::string_view name);

// One record read back: the flag and the path up to its zero byte. A record without a zero byte
// in its path field was not written by this program and is not read past its end: the answer is
// false.
struct TagRecord {
    std::uint32_t played = 0;
    std::string_view path;
};
bool ReadTagRecord(const char* bytes, TagRecord& record);

// Finds the row a record names the way the list's own search by name does: the first row, in list
// order, whose file name equals the record's without regard to ASCII letter case and whose folder
// equals the record's byte for byte. Built once per load, it answers each record in constant time
// where walking the rows of each name in turn would grow with the square of a list full of equal
// names ("01.mid" in every album's folder).
class SongRowIndex {
public:
    explicit SongRowIndex(const CListCtrl& list);

    // The row, or -1.
    int Find(std::string_view name, std::string_view folder) const;

private:
    static std::size_t Hash(std::string_view name, std::string_view folder);
    bool Matches(int row, std::string_view name, std::string_view folder) const;

    const CListCtrl& m_list;
    std::vector<int> m_slots; // row + 1, 0 for an empty slot; open addressing, linear probing
    std::size_t m_mask = 0;
};
