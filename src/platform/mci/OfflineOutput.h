#pragma once

// Offline rendering: nothing plays until the caller renders, so tests and tools drive the
// sequencer frame by frame, deterministically.

#include <memory>
#include <vector>

#include "platform/mci/MidiSink.h"
#include "platform/mci/Output.h"

namespace mci {

class OfflineOutput final : public Output {
public:
    explicit OfflineOutput(std::unique_ptr<MidiSink> sink);

    bool IsOffline() const override { return true; }
    MCIERROR PrepareForSong() override { return 0; }
    bool PrepareForWave() override { return true; }
    bool Submit(const EngineCommand& command) override;
    bool ReplaceSink(std::unique_ptr<MidiSink> sink) override;
    bool PrepareSong(std::shared_ptr<const PlayableSong> song) override;
    MCIERROR WaitForEnd(std::uint32_t serial) override;
    void RenderOffline(float* left, float* right, std::size_t frames) override;

private:
    std::unique_ptr<MidiSink> m_sink;
    std::vector<float> m_scratchLeft, m_scratchRight;
};

} // namespace mci
