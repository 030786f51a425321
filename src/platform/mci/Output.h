#pragma once

// Where the sequencer's sound goes: the live sound output of the program, or offline rendering
// driven by the caller (tests, midirender). Each owns the real-time engine and the synthesiser
// it renders with.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/MMSystem.h"
#include "platform/mci/Engine.h"
#include "platform/mci/MidiSink.h"
#include "platform/mci/PlayableSong.h"

namespace mci {

class Output {
public:
    virtual ~Output() = default;

    Engine& GetEngine() { return m_engine; }
    virtual bool IsOffline() const = 0;
    // Makes the synthesiser and the sound output ready for a song: 0, or the MCI error to report.
    virtual MCIERROR PrepareForSong() = 0;
    // Makes the sound output ready for a WAVE sound, which needs no synthesiser.
    virtual bool PrepareForWave() = 0;
    // The song the output plays from now on, as the desktop's mixer shows it.
    virtual void NameSong(const std::string&) {}
    // Makes the sink the one the engine renders with from the next block on; the one it replaces
    // is freed once the engine has let go of it. False when the engine cannot take the command.
    virtual bool ReplaceSink(std::unique_ptr<MidiSink> sink) = 0;
    // Has the sink made ready what the song needs (the presets it selects) before the play queued
    // next starts. False when the engine cannot take it; the sink then makes do with what it has.
    virtual bool PrepareSong(std::shared_ptr<const PlayableSong> song) = 0;
    // Changes with every new sink, so that a device knows whether its song was prepared for this one.
    std::uint64_t SinkGeneration() const { return m_sinkGeneration; }
    // Queues a command for the engine; false when it cannot take one.
    virtual bool Submit(const EngineCommand& command) = 0;
    // Returns once the play with the serial has ended (offline: renders it to its end).
    virtual MCIERROR WaitForEnd(std::uint32_t serial) = 0;
    // Offline only: renders frames now, posting the notices of plays that end. Null buffers
    // render into scratch space and drop the sound.
    virtual void RenderOffline(float* left, float* right, std::size_t frames) = 0;

protected:
    static bool Ended(const PlayStatus& status, std::uint32_t serial) {
        return status.ended && status.serial == (serial & 0xFFFF);
    }

    Engine m_engine;
    std::uint64_t m_sinkGeneration = 0;
};

} // namespace mci
