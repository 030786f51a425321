#pragma once

// The MCI "sequencer" device: MIDI files played through one FluidSynth synthesiser, driven with
// the MCI commands, flags, modes and error codes of Windows (platform/MMSystem.h).
//
// Commands: MCI_OPEN (type "sequencer" and a file as element; every open gets a new id, never
// reused in a run), MCI_STATUS (length, position, mode, ready, time format, number of tracks,
// MCI_SEQ_STATUS_PORT), MCI_SET (time format milliseconds only), MCI_PLAY (from the position to
// the end, MCI_FROM and MCI_TO honoured, MCI_NOTIFY or MCI_WAIT), MCI_SEEK (MCI_TO, to start, to
// end; a position past the end fails with MCIERR_OUTOFRANGE), MCI_STOP, MCI_CLOSE. A closed or
// unknown id fails with MCIERR_INVALID_DEVICE_ID.
//
// A play with MCI_NOTIFY posts MM_MCINOTIFY to its callback window exactly once: SUCCESSFUL when
// it reaches its end, ABORTED when a seek, stop, close or play from another position cuts it short,
// SUPERSEDED when a new play with MCI_NOTIFY takes over. Other commands given MCI_NOTIFY post
// SUCCESSFUL when they succeed. Modes: stopped after open, after a seek, after a stop and at the
// end; playing while playing. Only one device plays at a time: a play while another device plays
// fails with MCIERR_SEQ_PORT_INUSE.
//
// Calls are meant for one control thread (a lock keeps several apart); notices come from the
// calling thread or from the device's notifier thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/MMSystem.h"
#include "platform/mci/AudioDriver.h"
#include "platform/mci/MidiSink.h"

MCIERROR mciSendCommand(MCIDEVICEID id, UINT command, DWORD flags, void* params);

// Our own text for every code the device returns, cut to length - 1 characters (never more than
// 127). False, with an empty text, for a code we have no text for.
bool mciGetErrorString(MCIERROR code, char* buffer, UINT length);

namespace mci {

using NotifySink = void (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where MM_MCINOTIFY notices go (wParam = MCI_NOTIFY_* code, lParam = device id). The sink must be
// safe to call from any thread. Without one, notices are dropped.
void SetNotifySink(NotifySink sink);

// The live output (the default): the synthesiser is made at the first open with the first
// SoundFont found, and the audio driver started then (PulseAudio, PipeWire, ALSA in that order).
// Empty lists mean the system's choices. Closes every open device.
struct LiveOptions {
    std::vector<std::string> soundFonts;
    std::vector<std::string> audioDrivers;
    AudioDriver::Opener openDriver; // for benchmarks: a driver of their own instead of FluidSynth's
};
void UseLiveOutput(LiveOptions options = {});

// Offline rendering for tests and tools: nothing plays until AdvanceOffline or RenderOffline
// renders. Closes every open device.
void UseOfflineOutput(std::unique_ptr<MidiSink> sink);
// Renders that much time (events at their exact frames, notices of plays that end posted).
// Successive calls add up exactly: no frame is lost to rounding.
void AdvanceOffline(std::uint32_t milliseconds);
// Renders the next frames into the buffers (stereo, kSampleRate).
void RenderOffline(float* left, float* right, std::size_t frames);

// Lets application tests simulate a device whose output is not the MIDI mapper: the port the
// device reports; nullopt restores MCI_SEQ_MAPPER.
void SetPortForTesting(std::optional<DWORD> port);

// Plays an in-memory RIFF WAVE (PCM, 8 or 16 bits, mono or stereo, any rate) asynchronously on
// the same output, over any song. A new sound replaces the one playing; nullptr stops it. False
// when the bytes are not such a sound or there is no sound output.
bool PlaySoundMemory(const void* wave, std::size_t bytes);

// The SoundFont the live synthesiser is made with at the first song, tried before the system's
// (which stays the fallback when it is gone or damaged). Empty: the system's.
void PreferSoundFont(const std::string& path);

// The system's General MIDI SoundFont, the one used when none is chosen; empty when there is none.
std::string SystemSoundFontPath();

// Makes the SoundFont at the path (empty: the system's) the synthesiser's from the next song on:
// it is loaded on a thread of its own and swapped in when a song opens while none is playing, so
// the song playing finishes with the old one. When the load is done, `message` is posted to
// `window` through the notify sink: wParam 1 when it is ready, 0 when the file is not a usable
// SoundFont (the current one stays; lParam then names the problem for SoundFontProblemText).
void ChangeSoundFont(const std::string& path, HWND window, UINT message);
// Waits until the SoundFont asked for has loaded or been refused; for tests and tools.
void WaitForSoundFont();
// One sentence for the user about why a SoundFont was refused.
const char* SoundFontProblemText(LPARAM problem);

// The synthesiser's volume from the next block on: 1 is full, 0 silent. It is a level as a
// mixer's slider sets one, so the sound's amplitude follows its cube. Every output starts at 1.
void SetVolume(double level);

// The end of the run: closes every device (posting its notices), silences the synthesiser, stops
// the audio driver and frees the synthesiser.
void Shutdown();

// The name of an MCI error code ("MCIERR_OUTOFRANGE"), or nullptr; for tools and test output.
const char* ErrorName(MCIERROR code);

} // namespace mci
