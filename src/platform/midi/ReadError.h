#pragma once

// What went wrong when a MIDI file could not be read, and where. Every reader failure is one of
// these; nothing is thrown.

#include <cstddef>
#include <string>

namespace midi {

enum class ReadErrorKind {
    NotFound,     // no file at that path
    NoPermission, // the file exists but may not be read
    NotMidi,      // no MIDI header anywhere we look: some other kind of file
    Damaged,      // a MIDI file, but too broken to play anything
    TooLarge,     // larger than we are willing to hold in memory
    IoError,      // the operating system failed while reading
};

struct ReadError {
    ReadErrorKind kind;
    std::size_t offset = 0; // byte offset in the file where the problem was found
    std::string detail;     // a short English phrase naming the problem, for developers and messages
};

// A short, clear sentence of our own for the kind, followed by the detail and offset when there
// are any, e.g. "The file is not a MIDI file (no MIDI header found at byte 0)."
std::string DescribeReadError(const ReadError& error);

// The stable lower-case name of a kind ("not-found", "damaged" ...), for tools and test output.
const char* ReadErrorKindName(ReadErrorKind kind);

} // namespace midi
