#pragma once

// The one mapping from reader failures to the MCI error codes the sequencer device returns for
// an open, shared by the device and the tools so that both report the same code.

#include "platform/MMSystem.h"
#include "platform/midi/ReadError.h"

namespace midi {

// NotFound -> MCIERR_FILE_NOT_FOUND; NotMidi, Damaged -> MCIERR_INVALID_FILE;
// NoPermission, IoError -> MCIERR_FILE_READ; TooLarge -> MCIERR_OUT_OF_MEMORY.
MCIERROR MciErrorForReadError(ReadErrorKind kind);

} // namespace midi
