#pragma once

// The MCI vocabulary of the sequencer device: commands, flags, status items, modes, notification
// codes and error codes, with the values of the Windows multimedia interface.

#include "platform/WinTypes.h"

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

inline constexpr UINT MM_MCINOTIFY = 0x3B9;

// Notification codes, in MM_MCINOTIFY's wParam; lParam holds the device id.
inline constexpr UINT MCI_NOTIFY_SUCCESSFUL = 0x0001;
inline constexpr UINT MCI_NOTIFY_SUPERSEDED = 0x0002;
inline constexpr UINT MCI_NOTIFY_ABORTED = 0x0004;
inline constexpr UINT MCI_NOTIFY_FAILURE = 0x0008;

// Commands.
inline constexpr UINT MCI_OPEN = 0x0803;
inline constexpr UINT MCI_CLOSE = 0x0804;
inline constexpr UINT MCI_PLAY = 0x0806;
inline constexpr UINT MCI_SEEK = 0x0807;
inline constexpr UINT MCI_STOP = 0x0808;
inline constexpr UINT MCI_PAUSE = 0x0809;
inline constexpr UINT MCI_SET = 0x080D;
inline constexpr UINT MCI_STATUS = 0x0814;

// Flags common to the commands.
inline constexpr DWORD MCI_NOTIFY = 0x00000001;
inline constexpr DWORD MCI_WAIT = 0x00000002;
inline constexpr DWORD MCI_FROM = 0x00000004;
inline constexpr DWORD MCI_TO = 0x00000008;
inline constexpr DWORD MCI_SEEK_TO_START = 0x00000100;
inline constexpr DWORD MCI_SEEK_TO_END = 0x00000200;
inline constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
inline constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
inline constexpr DWORD MCI_OPEN_TYPE_ID = 0x00001000;
inline constexpr DWORD MCI_OPEN_TYPE = 0x00002000;
inline constexpr DWORD MCI_STATUS_ITEM = 0x00000100;
inline constexpr DWORD MCI_SET_TIME_FORMAT = 0x00000400;

// Status items.
inline constexpr DWORD MCI_STATUS_LENGTH = 0x00000001;
inline constexpr DWORD MCI_STATUS_POSITION = 0x00000002;
inline constexpr DWORD MCI_STATUS_NUMBER_OF_TRACKS = 0x00000003;
inline constexpr DWORD MCI_STATUS_MODE = 0x00000004;
inline constexpr DWORD MCI_STATUS_READY = 0x00000007;
inline constexpr DWORD MCI_STATUS_TIME_FORMAT = 0x00000006;
inline constexpr DWORD MCI_SEQ_STATUS_PORT = 0x00004003;

// Time formats.
inline constexpr DWORD MCI_FORMAT_MILLISECONDS = 0;
inline constexpr DWORD MCI_SEQ_FORMAT_SONGPTR = 0x4001;

// The port number of the General MIDI route.
inline constexpr DWORD MCI_SEQ_MAPPER = 0xFFFF;

// Modes.
inline constexpr DWORD MCI_MODE_NOT_READY = 524;
inline constexpr DWORD MCI_MODE_STOP = 525;
inline constexpr DWORD MCI_MODE_PLAY = 526;
inline constexpr DWORD MCI_MODE_RECORD = 527;
inline constexpr DWORD MCI_MODE_SEEK = 528;
inline constexpr DWORD MCI_MODE_PAUSE = 529;
inline constexpr DWORD MCI_MODE_OPEN = 530;

// Parameter blocks. Pointers to text are UTF-8 strings; ids and results are 32-bit like Windows'.
struct MCI_GENERIC_PARMS {
    HWND dwCallback = 0;
};

struct MCI_OPEN_PARMS {
    HWND dwCallback = 0;
    MCIDEVICEID wDeviceID = 0;
    const char* lpstrDeviceType = nullptr;
    const char* lpstrElementName = nullptr;
    const char* lpstrAlias = nullptr;
};

struct MCI_PLAY_PARMS {
    HWND dwCallback = 0;
    DWORD dwFrom = 0;
    DWORD dwTo = 0;
};

struct MCI_SEEK_PARMS {
    HWND dwCallback = 0;
    DWORD dwTo = 0;
};

struct MCI_STATUS_PARMS {
    HWND dwCallback = 0;
    DWORD_PTR dwReturn = 0;
    DWORD dwItem = 0;
    DWORD dwTrack = 0;
};

struct MCI_SET_PARMS {
    HWND dwCallback = 0;
    DWORD dwTimeFormat = 0;
    DWORD dwAudio = 0;
};

// Error codes (MCIERR_BASE + n).
inline constexpr MCIERROR MCIERR_BASE = 256;
inline constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
inline constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
inline constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr MCIERROR MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
inline constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
inline constexpr MCIERROR MCIERR_DRIVER_INTERNAL = MCIERR_BASE + 16;
inline constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
inline constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
inline constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr MCIERROR MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
inline constexpr MCIERROR MCIERR_INTERNAL = MCIERR_BASE + 21;
inline constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
inline constexpr MCIERROR MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
inline constexpr MCIERROR MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
inline constexpr MCIERROR MCIERR_BAD_TIME_FORMAT = MCIERR_BASE + 37;
inline constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
inline constexpr MCIERROR MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
inline constexpr MCIERROR MCIERR_DEVICE_NOT_INSTALLED = MCIERR_BASE + 50;
inline constexpr MCIERROR MCIERR_SEQ_PORT_NONEXISTENT = MCIERR_BASE + 82;
inline constexpr MCIERROR MCIERR_SEQ_PORT_MISCERROR = MCIERR_BASE + 84;
inline constexpr MCIERROR MCIERR_SEQ_NOMIDIPRESENT = MCIERR_BASE + 87;
inline constexpr MCIERROR MCIERR_FILE_READ = MCIERR_BASE + 92;
