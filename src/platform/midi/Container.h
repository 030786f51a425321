#pragma once

// Internal to the reader: finds the Standard MIDI File inside what was read, which may be a bare
// SMF, an SMF after some junk, or an SMF inside a RIFF "RMID" container.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/midi/Result.h"
#include "platform/midi/TrackParser.h"

namespace midi::detail {

// How far into a file we look for "MThd" when it does not start with one. Headers of other
// systems that were put in front of MIDI files (MacBinary's is 128 bytes) are much shorter; a
// longer search would start finding MIDI files embedded in archives and documents.
inline constexpr std::size_t kHeaderSearchLimit = 4096;

struct SmfLocation {
    std::size_t begin; // offset of "MThd"
    std::size_t end;   // end of the SMF data (the end of the file, or of the RMID data chunk)
    bool rmid;
};

Result<SmfLocation> LocateSmf(std::span<const std::uint8_t> file, RepairLog& repairs);

// Where the four bytes at pos equal the tag; false when fewer than four bytes remain.
bool HasTag(std::span<const std::uint8_t> file, std::size_t pos, const char (&tag)[5]);
// Whether the four bytes at pos could be a chunk id (printable ASCII, as every real one is).
bool IsChunkId(std::span<const std::uint8_t> file, std::size_t pos);
// Offset of the first tag in file[from, to), or `to` when there is none.
std::size_t FindTag(std::span<const std::uint8_t> file, std::size_t from, std::size_t to,
                    const char (&tag)[5]);

} // namespace midi::detail
