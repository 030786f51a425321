#include "platform/mci/Mci.h"

#include "platform/mci/Notices.h"
#include "platform/mci/Sequencer.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

namespace mci {

namespace {
Sequencer& TheSequencer() {
    static Sequencer sequencer;
    return sequencer;
}
} // namespace

void SetNotifySink(NotifySink sink) {
    SetNotifySinkFunction(sink);
}

void UseLiveOutput(LiveOptions options) {
    TheSequencer().UseLive(LiveOutputOptions{std::move(options.soundFonts), std::move(options.audioDrivers),
                                             std::move(options.openDriver)});
}

void UseOfflineOutput(std::unique_ptr<MidiSink> sink) {
    TheSequencer().UseOffline(std::move(sink));
}

void AdvanceOffline(std::uint32_t milliseconds) {
    TheSequencer().AdvanceOffline(milliseconds);
}

void RenderOffline(float* left, float* right, std::size_t frames) {
    TheSequencer().RenderOffline(left, right, frames);
}

void SetPortForTesting(std::optional<DWORD> port) {
    TheSequencer().SetPort(port);
}

bool PlaySoundMemory(const void* wave, std::size_t bytes) {
    return TheSequencer().PlayWave(wave, bytes);
}

void PreferSoundFont(const std::string& path) {
    TheSequencer().PreferSoundFont(path);
}

std::string SystemSoundFontPath() {
    return FindSoundFont(SystemSoundFonts());
}

void ChangeSoundFont(const std::string& path, HWND window, UINT message) {
    TheSequencer().ChangeSoundFont(path, window, message);
}

void WaitForSoundFont() {
    TheSequencer().WaitForSoundFont();
}

const char* SoundFontProblemText(LPARAM problem) {
    return DescribeSoundFontProblem(static_cast<SoundFontProblem>(problem));
}

void SetVolume(double level) {
    TheSequencer().SetVolume(level);
}

void Shutdown() {
    TheSequencer().Shutdown();
}

} // namespace mci

MCIERROR mciSendCommand(MCIDEVICEID id, UINT command, DWORD flags, void* params) {
    return mci::TheSequencer().Send(id, command, flags, params);
}
