#include "platform/midi/ReadError.h"

namespace midi {

namespace {

const char* Sentence(ReadErrorKind kind) {
    switch (kind) {
    case ReadErrorKind::NotFound:
        return "The file was not found";
    case ReadErrorKind::NoPermission:
        return "You have no permission to read the file";
    case ReadErrorKind::NotMidi:
        return "The file is not a MIDI file";
    case ReadErrorKind::Damaged:
        return "The MIDI file is damaged";
    case ReadErrorKind::TooLarge:
        return "The file is too large for a MIDI song";
    case ReadErrorKind::IoError:
        return "The file could not be read";
    }
    return "The file could not be read";
}

} // namespace

const char* ReadErrorKindName(ReadErrorKind kind) {
    switch (kind) {
    case ReadErrorKind::NotFound:
        return "not-found";
    case ReadErrorKind::NoPermission:
        return "no-permission";
    case ReadErrorKind::NotMidi:
        return "not-midi";
    case ReadErrorKind::Damaged:
        return "damaged";
    case ReadErrorKind::TooLarge:
        return "too-large";
    case ReadErrorKind::IoError:
        return "io-error";
    }
    return "io-error";
}

std::string DescribeReadError(const ReadError& error) {
    std::string text = Sentence(error.kind);
    // The place in the file helps only where the file was read and found wanting; "at byte 0" of a
    // file that is simply something else would say nothing.
    const bool showOffset =
        error.kind == ReadErrorKind::Damaged || (error.kind == ReadErrorKind::NotMidi && error.offset > 0);
    if (!error.detail.empty() || showOffset) {
        text += " (";
        text += error.detail;
        if (showOffset) {
            text += error.detail.empty() ? "at byte " : ", at byte ";
            text += std::to_string(error.offset);
        }
        text += ')';
    }
    text += '.';
    return text;
}

} // namespace midi
