#pragma once

// MCI values the device needs beyond the shared vocabulary of platform/MMSystem.h, with their
// Windows values.

#include "platform/MMSystem.h"

// The device id that addresses every open device at once (close all).
inline constexpr MCIDEVICEID MCI_ALL_DEVICE_ID = 0xFFFFFFFF;

// The device type number of the sequencer, for MCI_OPEN_TYPE_ID.
inline constexpr DWORD MCI_DEVTYPE_SEQUENCER = 523;

// The element has no extension that maps to a device type (MCI_OPEN without a type).
inline constexpr MCIERROR MCIERR_EXTENSION_NOT_FOUND = MCIERR_BASE + 25;
// The MIDI output is held by another sequencer device that is playing.
inline constexpr MCIERROR MCIERR_SEQ_PORT_INUSE = MCIERR_BASE + 81;
