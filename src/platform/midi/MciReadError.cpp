#include "platform/midi/MciReadError.h"

namespace midi {

MCIERROR MciErrorForReadError(ReadErrorKind kind) {
    switch (kind) {
    case ReadErrorKind::NotFound:
        return MCIERR_FILE_NOT_FOUND;
    case ReadErrorKind::NotMidi:
    case ReadErrorKind::Damaged:
        return MCIERR_INVALID_FILE;
    case ReadErrorKind::NoPermission:
    case ReadErrorKind::IoError:
        return MCIERR_FILE_READ;
    case ReadErrorKind::TooLarge:
        return MCIERR_OUT_OF_MEMORY;
    }
    return MCIERR_FILE_READ;
}

} // namespace midi
