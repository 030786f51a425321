#include "platform/midi/KaraokeText.h"

#include "platform/sys/Utf8.h"

namespace midi {

namespace {

// Deals with a control character: a tab becomes a space, carriage returns and line feeds are left
// to the caller, every other control (C0, DEL and C1) becomes nothing. False for the others.
bool TakeControl(char32_t code, std::string& out) {
    if (code == '\t') {
        out += ' ';
        return true;
    }
    if (code == '\r' || code == '\n')
        return false;
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

} // namespace

bool IsValidUtf8(const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string DecodeKaraokeText(const std::string& bytes) {
    const bool utf8 = IsValidUtf8(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (!utf8) {
            // The bytes Windows-1252 leaves undefined come back as C1 controls and go with them.
            const char32_t code = Windows1252Character(byte);
            if (!TakeControl(code, out))
                AppendUtf8(out, code);
            ++at;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) { // not in text that IsValidUtf8 passed
            ++at;
            continue;
        }
        // Controls are single bytes, or C1 controls, U+0080..U+009F, which UTF-8 writes as C2 80..C2 9F.
        const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(bytes[at + 1]) < 0xA0;
        const bool control = c1 || (length == 1 && TakeControl(byte, out));
        if (!control)
            out.append(bytes, at, length);
        at += length;
    }
    return out;
}

} // namespace midi
