#pragma once

#include <cstddef>
#include <string>

// Texts are UTF-8 bytes, but file names are whatever bytes the file system gave. Every place that
// counts or measures characters counts them the way they are shown: a valid UTF-8 sequence is one
// character, and so is each byte that is not part of one.

// The length of the valid UTF-8 sequence at `at`, or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

// The length in bytes of the character at `at`: its UTF-8 sequence, or 1 for a stray byte.
inline std::size_t Utf8CharacterLength(const std::string& text, std::size_t at) {
    std::size_t length = Utf8SequenceLength(text, at);
    return length == 0 ? 1 : length;
}
