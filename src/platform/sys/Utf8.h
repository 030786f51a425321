#pragma once

#include <cstddef>
#include <string>

// Texts are UTF-8 bytes, but file names are whatever bytes the file system gave. Every place that
// counts or measures characters counts them the way they are shown: a valid UTF-8 sequence is one
// character, and so is each byte that is not part of one.

// The length of the valid UTF-8 sequence at `at`, or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

// The character a byte stands for in Windows-1252, the code page most old files of the West were
// written in. The five bytes it leaves undefined stand for the C1 controls of the same value.
char32_t Windows1252Character(unsigned char byte);

// Appends a character below U+10000 as UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// The length in bytes of the character at `at`: its UTF-8 sequence, or 1 for a stray byte.
inline std::size_t Utf8CharacterLength(const std::string& text, std::size_t at) {
    std::size_t length = Utf8SequenceLength(text, at);
    return length == 0 ? 1 : length;
}
