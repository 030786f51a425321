// The texts of the MCI error codes the device returns: our own words, each telling the user what
// went wrong and, where there is something to do, what to do.

#include <algorithm>
#include <cstring>

#include "platform/mci/Mci.h"
#include "platform/mci/MciExtras.h"

namespace mci {

namespace {

struct ErrorText {
    MCIERROR code;
    const char* name;
    const char* text;
};

#define MCI_ERROR(code, text)                                                                                \
    { code, #code, text }

constexpr ErrorText kErrors[] = {
    MCI_ERROR(MCIERR_INVALID_DEVICE_ID, "The MIDI device is not open: it has been closed, or it never was."),
    MCI_ERROR(MCIERR_UNRECOGNIZED_COMMAND, "The MIDI sequencer does not know this command."),
    MCI_ERROR(MCIERR_HARDWARE,
              "No sound output is working. Start PulseAudio or PipeWire, or check that ALSA can "
              "reach a sound card."),
    MCI_ERROR(MCIERR_INVALID_DEVICE_NAME,
              "Unknown device type. MIDI files are played by the \"sequencer\" device."),
    MCI_ERROR(MCIERR_OUT_OF_MEMORY,
              "The MIDI file is too large to be played (more than 64 MB), or memory is short."),
    MCI_ERROR(MCIERR_CANNOT_LOAD_DRIVER, "The synthesiser could not start with the General MIDI SoundFont. "
                                         "Reinstall the package fluid-soundfont-gm."),
    MCI_ERROR(MCIERR_DRIVER_INTERNAL, "The MIDI sequencer met an internal error."),
    MCI_ERROR(MCIERR_MISSING_PARAMETER, "The command lacks a flag or value it needs."),
    MCI_ERROR(MCIERR_UNSUPPORTED_FUNCTION, "The MIDI sequencer does not offer this command or option."),
    MCI_ERROR(MCIERR_FILE_NOT_FOUND,
              "The MIDI file was not found. It may have been moved, renamed or deleted."),
    MCI_ERROR(MCIERR_DEVICE_NOT_READY, "The MIDI sequencer is not ready. Try again in a moment."),
    MCI_ERROR(MCIERR_INTERNAL, "The MIDI sequencer met an internal error."),
    MCI_ERROR(MCIERR_EXTENSION_NOT_FOUND,
              "The file name does not end in .mid, .midi, .rmi or .kar, so no device "
              "type could be chosen for it."),
    MCI_ERROR(MCIERR_OUTOFRANGE, "The position lies beyond the end of the song."),
    MCI_ERROR(MCIERR_FLAGS_NOT_COMPATIBLE, "The command was given flags that cannot be used together."),
    MCI_ERROR(MCIERR_DEVICE_TYPE_REQUIRED,
              "No device type was given. MIDI files are opened on the \"sequencer\" "
              "device."),
    MCI_ERROR(MCIERR_BAD_TIME_FORMAT, "The MIDI sequencer only counts time in milliseconds."),
    MCI_ERROR(MCIERR_INVALID_FILE, "This file is not a MIDI file, or it is too damaged to be played."),
    MCI_ERROR(MCIERR_NULL_PARAMETER_BLOCK, "The command needs a parameter block and was given none."),
    MCI_ERROR(MCIERR_FILENAME_REQUIRED, "No file was named. Give the MIDI file to open."),
    MCI_ERROR(MCIERR_DEVICE_NOT_INSTALLED, "The MIDI sequencer is not installed."),
    MCI_ERROR(MCIERR_SEQ_PORT_INUSE,
              "The synthesiser is playing another song. Stop or close that song first."),
    MCI_ERROR(MCIERR_SEQ_PORT_NONEXISTENT, "The MIDI output port does not exist."),
    MCI_ERROR(MCIERR_SEQ_PORT_MISCERROR, "The MIDI output port reported an error."),
    MCI_ERROR(MCIERR_SEQ_NOMIDIPRESENT,
              "No General MIDI SoundFont found. Install the package fluid-soundfont-gm."),
    MCI_ERROR(MCIERR_FILE_READ,
              "The MIDI file could not be read. Check that you may read it and that the disk "
              "works."),
};

#undef MCI_ERROR

const ErrorText* Find(MCIERROR code) {
    for (const ErrorText& entry : kErrors) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

} // namespace

const char* ErrorName(MCIERROR code) {
    const ErrorText* entry = Find(code);
    return entry ? entry->name : nullptr;
}

} // namespace mci

bool mciGetErrorString(MCIERROR code, char* buffer, UINT length) {
    if (!buffer || length == 0)
        return false;
    const mci::ErrorText* entry = mci::Find(code);
    const char* text = entry ? entry->text : "";
    const std::size_t size = std::min<std::size_t>(std::strlen(text), length - 1);
    std::memcpy(buffer, text, size);
    buffer[size] = '\0';
    return entry != nullptr;
}
