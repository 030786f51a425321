#pragma once

// The bytes of a song's text events as readable text. Files say nothing of their encoding: newer
// ones are written in UTF-8, and most older karaoke files of the West in Windows-1252, which
// cannot be told apart from UTF-8 by anything but whether the bytes form valid UTF-8. Each text
// is told apart by itself, since files edited over the years mix the two: a title retyped in
// UTF-8 over words in Windows-1252, or one stray Windows-1252 quote among UTF-8 words.

#include <string>

namespace midi {

bool IsValidUtf8(const std::string& bytes);

// The text as UTF-8 (read as UTF-8 when it is valid UTF-8, else as Windows-1252), with the characters a line
// of words must not show taken out: control characters become nothing and a tab a space; carriage returns and
// line feeds are kept, since karaoke files use them to end lines. Bytes that Windows-1252 leaves undefined
// are dropped.
std::string DecodeKaraokeText(const std::string& bytes);

} // namespace midi
