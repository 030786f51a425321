#include "platform/midi/Container.h"

#include <algorithm>
#include <cstring>

namespace midi::detail {

namespace {

std::uint32_t ReadLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

// RIFF chunks are padded to an even size, but some RMID writers forgot the pad byte. Take the
// padded position when a chunk id is there, else the unpadded one when that looks like an id.
std::size_t NextRiffChunk(std::span<const std::uint8_t> file, std::size_t dataBegin, std::uint32_t size) {
    const std::size_t unpadded = dataBegin + std::min<std::size_t>(size, file.size() - dataBegin);
    const std::size_t padded = unpadded + (size & 1);
    if ((size & 1) != 0 && !IsChunkId(file, padded) && IsChunkId(file, unpadded))
        return unpadded;
    return padded;
}

Result<SmfLocation> LocateInRmid(std::span<const std::uint8_t> file, RepairLog& repairs) {
    // The RIFF size field is not trusted: the walk is bounded by the bytes actually there.
    std::size_t pos = 12;
    while (pos + 8 <= file.size() && IsChunkId(file, pos)) {
        const std::uint32_t size = ReadLe32(file.data() + pos + 4);
        const std::size_t dataBegin = pos + 8;
        if (HasTag(file, pos, "data")) {
            const std::size_t dataEnd = dataBegin + std::min<std::size_t>(size, file.size() - dataBegin);
            if (dataBegin + std::size_t{size} > file.size())
                repairs.Note(pos + 4, "the RMID data chunk runs past the end of the file");
            const std::size_t searchEnd = std::min(dataEnd, dataBegin + kHeaderSearchLimit + 4);
            const std::size_t header = FindTag(file, dataBegin, searchEnd, "MThd");
            if (header == searchEnd)
                return ReadError{ReadErrorKind::Damaged, dataBegin,
                                 "the RMID data chunk holds no MIDI header"};
            if (header != dataBegin)
                repairs.Note(dataBegin, "junk before the MIDI header was skipped");
            return SmfLocation{header, dataEnd, true};
        }
        pos = NextRiffChunk(file, dataBegin, size);
    }
    // No usable chunk structure: the MIDI data may still be there.
    const std::size_t header = FindTag(file, 12, file.size(), "MThd");
    if (header == file.size())
        return ReadError{ReadErrorKind::Damaged, 12, "the RMID file holds no MIDI data"};
    repairs.Note(12, "the RMID chunks are broken; the MIDI header was found by searching");
    return SmfLocation{header, file.size(), true};
}

} // namespace

bool HasTag(std::span<const std::uint8_t> file, std::size_t pos, const char (&tag)[5]) {
    return pos <= file.size() && file.size() - pos >= 4 && std::memcmp(file.data() + pos, tag, 4) == 0;
}

bool IsChunkId(std::span<const std::uint8_t> file, std::size_t pos) {
    if (pos > file.size() || file.size() - pos < 4)
        return false;
    return std::all_of(file.begin() + pos, file.begin() + pos + 4,
                       [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
}

std::size_t FindTag(std::span<const std::uint8_t> file, std::size_t from, std::size_t to,
                    const char (&tag)[5]) {
    to = std::min(to, file.size());
    if (from >= to)
        return to;
    auto first = file.begin() + from;
    auto last = file.begin() + to;
    auto it = std::search(first, last, tag, tag + 4);
    return it == last ? to : static_cast<std::size_t>(it - file.begin());
}

Result<SmfLocation> LocateSmf(std::span<const std::uint8_t> file, RepairLog& repairs) {
    if (file.empty())
        return ReadError{ReadErrorKind::NotMidi, 0, "the file is empty"};
    if (HasTag(file, 0, "RIFF")) {
        if (HasTag(file, 8, "RMID"))
            return LocateInRmid(file, repairs);
        return ReadError{ReadErrorKind::NotMidi, std::min<std::size_t>(8, file.size()),
                         "a RIFF file of another kind"};
    }
    const std::size_t limit = std::min(file.size(), kHeaderSearchLimit + 4);
    const std::size_t header = FindTag(file, 0, limit, "MThd");
    if (header == limit)
        return ReadError{ReadErrorKind::NotMidi, 0, "no MIDI header"};
    if (header != 0)
        repairs.Note(0, "junk before the MIDI header was skipped");
    return SmfLocation{header, file.size(), false};
}

} // namespace midi::detail
