#pragma once

// What the device tests share: readable names for codes, the notices the device posted, a private
// folder for the files a test writes, and the standard song most tests play.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MMSystem.h"

namespace mcitest {

// "MCIERR_OUTOFRANGE (282)", "0 (no error)", for failures one can read.
std::string Err(MCIERROR code);
// "SUCCESSFUL", "ABORTED" ... for notification codes.
std::string NoticeName(UINT code);

struct Notice {
    HWND window;
    UINT code;
    MCIDEVICEID device;
    bool operator==(const Notice&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Notice& notice);

// The notify sink the tests install: it records every MM_MCINOTIFY it is given.
void RecordNotice(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::vector<Notice> TakeNotices();

// A folder under /tmp that lives as long as the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// The standard song: 480 ticks a quarter, 120 bpm, then 240 bpm from tick 960; program 5 and two
// controllers on channel 0 at tick 0; notes at ticks 0, 480, 960, 1440, 1920, each a quarter long;
// the end at tick 2400. Note-ons fall on frames 0, 22050, 44100, 55125, 66150; length 1750 ms.
void WriteStandardSong(const std::string& path);
inline constexpr std::uint32_t kStandardLengthMs = 1750;
inline const std::vector<std::uint64_t> kStandardNoteFrames = {0, 22050, 44100, 55125, 66150};
inline constexpr std::uint64_t kStandardEndFrame = 77175;

} // namespace mcitest
