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

// For each of `count` records back to back, the row it names, or -1: the first row, in list order,
// whose file name equals the record's without regard to ASCII letter case and whose folder equals
// the record's byte for byte, as a search by name from the top that checks each folder would find.
// The records are gathered in a table by file name and folder, and one pass over the rows looks each
// row up in it, so the time grows with rows plus records, also for a list full of equal names
// ("01.mid" in every album's folder), where searching row by row would grow with their product.
std::vector<int> MatchTagRecords(const CListCtrl& list, const char* records, std::size_t count);
