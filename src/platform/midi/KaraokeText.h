#pragma once

// The bytes of a song's text events as readable text. Files say nothing of their encoding: newer
// ones are written in UTF-8, and most older karaoke files of the West in Windows-1252, which
// cannot be told apart from UTF-8 by anything but whether the bytes form valid UTF-8.

#include <string>

namespace midi {

enum class TextEncoding { Utf8, Windows1252 };

bool IsValidUtf8(const std::string& bytes);

// The text as UTF-8, with the characters a line of words must not show taken out: control
// characters become nothing and a tab a space; carriage returns and line feeds are kept, since
// karaoke files use them to end lines. Bytes that Windows-1252 leaves undefined are dropped.
std::string DecodeKaraokeText(const std::string& bytes, TextEncoding encoding);

} // namespace midi
