#pragma once

// The control half of the MCI "sequencer" device: the table of open devices and one handler per
// MCI command behind one dispatch switch. It runs on the application's thread (a lock keeps
// several callers apart), decides every command's result and notices, and drives the real-time
// engine only through queued commands and the status the engine publishes.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/MMSystem.h"
#include "platform/mci/LiveOutput.h"
#include "platform/mci/MidiSink.h"
#include "platform/mci/Notices.h"
#include "platform/mci/Output.h"
#include "platform/mci/PlayableSong.h"
#include "platform/mci/SoundFontLoader.h"
#include "platform/mci/WaveSound.h"

namespace mci {

class Sequencer {
public:
    Sequencer() = default;
    ~Sequencer();
    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;

    MCIERROR Send(MCIDEVICEID id, UINT command, DWORD flags, void* params);

    void UseLive(LiveOutputOptions options);
    void UseOffline(std::unique_ptr<MidiSink> sink);
    void AdvanceOffline(std::uint32_t milliseconds);
    void RenderOffline(float* left, float* right, std::size_t frames);
    void SetPort(std::optional<DWORD> port);
    bool PlayWave(const void* wave, std::size_t bytes);
    void PreferSoundFont(const std::string& path);
    void ChangeSoundFont(const std::string& path, HWND window, UINT message);
    void WaitForSoundFont();
    void SetVolume(double level);
    void Shutdown();

private:
    struct Device {
        MCIDEVICEID id = 0;
        std::shared_ptr<const PlayableSong> song;
        std::uint64_t position = 0; // frame, while stopped
        bool playing = false;
        std::uint32_t serial = 0; // the play running, while playing
        std::uint64_t playStart = 0, playEnd = 0;
        std::uint32_t notice = 0; // token of the completion notice the running play owes
        HWND noticeWindow = 0;
        std::uint64_t preparedFor = 0; // the output's sink generation the song was prepared for
    };

    // Handlers, one per command; the device is open and the lock is held.
    MCIERROR Open(DWORD flags, MCI_OPEN_PARMS* params, NoticeList& notices);
    MCIERROR Close(Device& device, DWORD flags, MCI_GENERIC_PARMS* params, NoticeList& notices);
    MCIERROR Play(Device& device, DWORD flags, MCI_PLAY_PARMS* params, NoticeList& notices);
    MCIERROR Seek(Device& device, DWORD flags, MCI_SEEK_PARMS* params, NoticeList& notices);
    MCIERROR Stop(Device& device, DWORD flags, MCI_GENERIC_PARMS* params, NoticeList& notices);
    MCIERROR Status(Device& device, DWORD flags, MCI_STATUS_PARMS* params, NoticeList& notices);
    MCIERROR Set(Device& device, DWORD flags, MCI_SET_PARMS* params, NoticeList& notices);

    MCIERROR Dispatch(MCIDEVICEID id, UINT command, DWORD flags, void* params, NoticeList& notices);
    Output& GetOutput();
    // Takes the engine's word on whether the device's play has ended.
    void Refresh(Device& device);
    std::uint64_t CurrentFrame(const Device& device) const;
    std::uint32_t PositionMs(const Device& device) const;
    bool AnotherIsPlaying(const Device& device) const;
    // Swaps in a SoundFont loaded since the last song, unless a song is playing.
    void SwapInLoadedSoundFont();
    // Ends the device's running play; its owed notice, if still owed, goes out with the code.
    void Halt(Device& device, UINT code, NoticeList& notices);
    void CloseAll(NoticeList& notices);
    bool Submit(const EngineCommand& command);
    std::uint32_t NextSerial();
    // Keeps what the engine may still read alive until it has taken every command queued so far.
    void Bury(std::shared_ptr<const void> object);
    void CollectGarbage();

    std::mutex m_mutex;
    std::unique_ptr<Output> m_output; // made on first use when live
    LiveOutputOptions m_liveOptions;
    std::string m_preferredSoundFont; // tried before the system's when the live synthesiser is made
    float m_gain = 1.0f;              // of the synthesiser, given to every output made
    std::map<MCIDEVICEID, Device> m_devices;
    MCIDEVICEID m_nextId = 1;
    std::uint32_t m_nextSerial = 1;
    std::optional<DWORD> m_port;
    std::vector<std::pair<std::uint64_t, std::shared_ptr<const void>>> m_graveyard;
    std::shared_ptr<const WaveBuffer> m_wave;
    std::uint64_t m_offlineRemainder = 0; // thousandths of a frame not yet rendered by AdvanceOffline
    // SoundFonts chosen during the run, loaded on the loader's thread and taken at the next open.
    SoundFontLoader m_soundFonts;
};

} // namespace mci
