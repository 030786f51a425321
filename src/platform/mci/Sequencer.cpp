#include "platform/mci/Sequencer.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <string>

#include "platform/mci/MciExtras.h"
#include "platform/mci/OfflineOutput.h"
#include "platform/mci/SoundFont.h"
#include "platform/midi/MciReadError.h"
#include "platform/midi/MidiFile.h"

namespace mci {

namespace {

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// Without a device type, MCI picks the device by the element's extension.
bool HasMidiExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    const char* extension = path.c_str() + dot + 1;
    return EqualsIgnoringCase(extension, "mid") || EqualsIgnoringCase(extension, "midi") ||
           EqualsIgnoringCase(extension, "rmi") || EqualsIgnoringCase(extension, "kar");
}

} // namespace

Sequencer::~Sequencer() {
    // At the end of the process the application's message queue may already be gone, so the
    // notices of devices still open are dropped here; Shutdown() is where they are posted.
    NoticeList dropped;
    std::lock_guard<std::mutex> lock(m_mutex);
    CloseAll(dropped);
    m_output.reset();
}

MCIERROR Sequencer::Send(MCIDEVICEID id, UINT command, DWORD flags, void* params) {
    NoticeList notices;
    MCIERROR result = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        try {
            CollectGarbage();
            result = Dispatch(id, command, flags, params, notices);
        } catch (const std::bad_alloc&) {
            result = MCIERR_OUT_OF_MEMORY;
        } catch (...) {
            // Nothing of ours throws; whatever the library does must not cross the MCI boundary.
            result = MCIERR_INTERNAL;
        }
    }
    notices.PostAll();
    return result;
}

MCIERROR Sequencer::Dispatch(MCIDEVICEID id, UINT command, DWORD flags, void* params, NoticeList& notices) {
    if (command == MCI_OPEN)
        return Open(flags, static_cast<MCI_OPEN_PARMS*>(params), notices);
    if (command == MCI_CLOSE && id == MCI_ALL_DEVICE_ID) {
        CloseAll(notices);
        if ((flags & MCI_NOTIFY) && params)
            notices.Add(static_cast<MCI_GENERIC_PARMS*>(params)->dwCallback, MCI_NOTIFY_SUCCESSFUL, id);
        return 0;
    }
    const auto found = m_devices.find(id);
    if (found == m_devices.end())
        return MCIERR_INVALID_DEVICE_ID;
    Device& device = found->second;
    switch (command) {
    case MCI_CLOSE:
        return Close(device, flags, static_cast<MCI_GENERIC_PARMS*>(params), notices);
    case MCI_PLAY:
        return Play(device, flags, static_cast<MCI_PLAY_PARMS*>(params), notices);
    case MCI_SEEK:
        return Seek(device, flags, static_cast<MCI_SEEK_PARMS*>(params), notices);
    case MCI_STOP:
        return Stop(device, flags, static_cast<MCI_GENERIC_PARMS*>(params), notices);
    case MCI_STATUS:
        return Status(device, flags, static_cast<MCI_STATUS_PARMS*>(params), notices);
    case MCI_SET:
        return Set(device, flags, static_cast<MCI_SET_PARMS*>(params), notices);
    case MCI_PAUSE:
        // Known to MCI, not offered here: the player pauses by closing and reopening at a position.
        return MCIERR_UNSUPPORTED_FUNCTION;
    default:
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
}

MCIERROR Sequencer::Open(DWORD flags, MCI_OPEN_PARMS* params, NoticeList& notices) {
    if (!params)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if ((flags & MCI_OPEN_TYPE) && (flags & MCI_OPEN_TYPE_ID))
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    // A MIDI sequencer plays one song at a time from its own file; it cannot be shared.
    if (flags & MCI_OPEN_SHAREABLE)
        return MCIERR_UNSUPPORTED_FUNCTION;
    const bool hasElement =
        (flags & MCI_OPEN_ELEMENT) && params->lpstrElementName && *params->lpstrElementName;
    if (flags & MCI_OPEN_TYPE) {
        if (!params->lpstrDeviceType || !*params->lpstrDeviceType)
            return MCIERR_DEVICE_TYPE_REQUIRED;
        if (!EqualsIgnoringCase(params->lpstrDeviceType, "sequencer"))
            return MCIERR_INVALID_DEVICE_NAME;
    } else if (flags & MCI_OPEN_TYPE_ID) {
        // The type number travels in the low word of the type pointer, as in Windows.
        if (LOWORD(reinterpret_cast<std::uintptr_t>(params->lpstrDeviceType)) != MCI_DEVTYPE_SEQUENCER)
            return MCIERR_INVALID_DEVICE_NAME;
    } else if (!hasElement) {
        return MCIERR_DEVICE_TYPE_REQUIRED;
    } else if (!HasMidiExtension(params->lpstrElementName)) {
        return MCIERR_EXTENSION_NOT_FOUND;
    }
    if (!hasElement)
        return MCIERR_FILENAME_REQUIRED;

    // The file first: a file that cannot be read is reported as such even where there is no sound.
    auto read = midi::ReadMidiFile(params->lpstrElementName);
    if (!read)
        return midi::MciErrorForReadError(read.error().kind);
    auto song = std::make_shared<const PlayableSong>(BuildPlayableSong(read.value()));
    SwapInLoadedSoundFont();
    const std::string element = params->lpstrElementName;
    GetOutput().NameSong(element.substr(element.rfind('/') + 1));
    if (const MCIERROR error = GetOutput().PrepareForSong())
        return error;

    const MCIDEVICEID id = m_nextId;
    // Ids are never handed out twice in a run, so a stale id can only fail.
    do {
        ++m_nextId;
    } while (m_nextId == 0 || m_nextId == MCI_ALL_DEVICE_ID);
    Device device;
    device.id = id;
    device.song = std::move(song);
    m_devices.emplace(id, std::move(device));
    params->wDeviceID = id;
    if (flags & MCI_NOTIFY)
        notices.Add(params->dwCallback, MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Sequencer::Close(Device& device, DWORD flags, MCI_GENERIC_PARMS* params, NoticeList& notices) {
    const MCIDEVICEID id = device.id;
    Refresh(device);
    if (device.playing)
        Halt(device, MCI_NOTIFY_ABORTED, notices);
    // Closing silences the synthesiser, unless another device has it playing.
    if (!AnotherIsPlaying(device)) {
        EngineCommand silence;
        silence.kind = EngineCommand::Kind::Silence;
        Submit(silence);
    }
    Bury(std::move(device.song));
    m_devices.erase(id);
    if ((flags & MCI_NOTIFY) && params)
        notices.Add(params->dwCallback, MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

void Sequencer::CloseAll(NoticeList& notices) {
    while (!m_devices.empty())
        Close(m_devices.begin()->second, 0, nullptr, notices);
}

Output& Sequencer::GetOutput() {
    if (!m_output) {
        LiveOutputOptions options = m_liveOptions;
        if (options.soundFonts.empty() && !m_preferredSoundFont.empty()) {
            options.soundFonts = SystemSoundFonts();
            options.soundFonts.insert(options.soundFonts.begin(), m_preferredSoundFont);
        }
        m_output = std::make_unique<LiveOutput>(std::move(options));
        m_output->GetEngine().SetSynthGain(m_gain);
    }
    return *m_output;
}

void Sequencer::SwapInLoadedSoundFont() {
    for (auto& [id, device] : m_devices) {
        Refresh(device);
        // The song playing finishes with the SoundFont it began with.
        if (device.playing)
            return;
    }
    if (auto synth = m_soundFonts.TakeLoaded())
        GetOutput().ReplaceSink(std::move(synth));
}

void Sequencer::SetVolume(double level) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const double clamped = std::clamp(level, 0.0, 1.0);
    m_gain = static_cast<float>(clamped * clamped * clamped);
    if (m_output)
        m_output->GetEngine().SetSynthGain(m_gain);
}

void Sequencer::PreferSoundFont(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_preferredSoundFont = path;
}

void Sequencer::ChangeSoundFont(const std::string& path, HWND window, UINT message) {
    // Not under the device's lock: the loader posts its message from its own thread.
    m_soundFonts.Request(path, window, message);
}

void Sequencer::WaitForSoundFont() {
    m_soundFonts.WaitUntilIdle();
}

void Sequencer::Refresh(Device& device) {
    if (!device.playing)
        return;
    const PlayStatus status = GetOutput().GetEngine().Status();
    if (status.serial == (device.serial & 0xFFFF) && status.ended) {
        device.playing = false;
        device.position = std::min(status.frame, device.song->endFrame);
        // The engine settled the notice when the play reached its end.
        device.notice = 0;
    }
}

std::uint64_t Sequencer::CurrentFrame(const Device& device) const {
    if (!device.playing)
        return device.position;
    const PlayStatus status = m_output->GetEngine().Status();
    // Until the engine has taken the play, the play stands at its start.
    const std::uint64_t frame = status.serial == (device.serial & 0xFFFF) ? status.frame : device.playStart;
    return std::min(frame, device.song->endFrame);
}

std::uint32_t Sequencer::PositionMs(const Device& device) const {
    const std::uint64_t frame = CurrentFrame(device);
    if (frame >= device.song->endFrame)
        return device.song->lengthMs;
    return std::min(MsOfFrame(frame), device.song->lengthMs);
}

bool Sequencer::AnotherIsPlaying(const Device& device) const {
    for (const auto& [id, other] : m_devices) {
        if (id != device.id && other.playing) {
            const PlayStatus status = m_output->GetEngine().Status();
            if (!(status.serial == (other.serial & 0xFFFF) && status.ended))
                return true;
        }
    }
    return false;
}

void Sequencer::Halt(Device& device, UINT code, NoticeList& notices) {
    const std::uint64_t frame = CurrentFrame(device);
    if (GetOutput().GetEngine().TakeNotice(device.notice))
        notices.Add(device.noticeWindow, code, device.id);
    device.notice = 0;
    EngineCommand stop;
    stop.kind = EngineCommand::Kind::Stop;
    stop.serial = device.serial;
    Submit(stop);
    device.playing = false;
    device.position = frame;
}

bool Sequencer::Submit(const EngineCommand& command) {
    return GetOutput().Submit(command);
}

std::uint32_t Sequencer::NextSerial() {
    const std::uint32_t serial = m_nextSerial++;
    if (m_nextSerial == 0)
        m_nextSerial = 1;
    return serial;
}

void Sequencer::Bury(std::shared_ptr<const void> object) {
    if (object && m_output)
        m_graveyard.emplace_back(m_output->GetEngine().SubmittedCommands(), std::move(object));
}

void Sequencer::CollectGarbage() {
    if (!m_output)
        return;
    const std::uint64_t processed = m_output->GetEngine().ProcessedCommands();
    std::erase_if(m_graveyard, [processed](const auto& entry) { return entry.first <= processed; });
}

void Sequencer::UseLive(LiveOutputOptions options) {
    NoticeList notices;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        CloseAll(notices);
        m_output.reset();
        m_graveyard.clear();
        m_wave.reset();
        m_gain = 1.0f;
        m_liveOptions = std::move(options);
    }
    notices.PostAll();
}

void Sequencer::UseOffline(std::unique_ptr<MidiSink> sink) {
    NoticeList notices;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        CloseAll(notices);
        m_output.reset();
        m_graveyard.clear();
        m_wave.reset();
        m_offlineRemainder = 0;
        m_gain = 1.0f;
        m_output = std::make_unique<OfflineOutput>(std::move(sink));
    }
    notices.PostAll();
}

void Sequencer::AdvanceOffline(std::uint32_t milliseconds) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_output || !m_output->IsOffline())
        return;
    // Carried in thousandths of a frame, so that many small steps add up to the same frames as one
    // big one.
    const std::uint64_t total = std::uint64_t{milliseconds} * kSampleRate + m_offlineRemainder;
    m_offlineRemainder = total % 1000;
    m_output->RenderOffline(nullptr, nullptr, static_cast<std::size_t>(total / 1000));
    CollectGarbage();
}

void Sequencer::RenderOffline(float* left, float* right, std::size_t frames) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_output && m_output->IsOffline()) {
        m_output->RenderOffline(left, right, frames);
        CollectGarbage();
    }
}

void Sequencer::SetPort(std::optional<DWORD> port) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_port = port;
}

bool Sequencer::PlayWave(const void* wave, std::size_t bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::shared_ptr<const WaveBuffer> decoded;
    if (wave) {
        decoded = DecodeWave(wave, bytes);
        if (!decoded)
            return false;
    }
    Output& output = GetOutput();
    if (decoded && !output.PrepareForWave())
        return false;
    EngineCommand command;
    command.kind = EngineCommand::Kind::PlayWave;
    command.wave = decoded.get();
    if (!output.Submit(command))
        return false;
    // The sound it replaces stays alive until the engine has let go of it.
    Bury(std::move(m_wave));
    m_wave = std::move(decoded);
    return true;
}

void Sequencer::Shutdown() {
    NoticeList notices;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        CloseAll(notices);
        m_output.reset();
        m_graveyard.clear();
        m_wave.reset();
    }
    notices.PostAll();
}

} // namespace mci
