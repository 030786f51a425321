#include "platform/mci/OfflineOutput.h"

#include <algorithm>

#include "platform/mci/Notices.h"

namespace mci {

namespace {
// The block size of offline rendering; it changes nothing about when events sound, only how often
// the notices of ended plays are looked for.
constexpr std::size_t kBlock = 1024;
} // namespace

OfflineOutput::OfflineOutput(std::unique_ptr<MidiSink> sink)
    : m_sink(std::move(sink)), m_scratchLeft(kBlock), m_scratchRight(kBlock) {
    m_engine.AttachSinkNow(m_sink.get());
    m_sinkGeneration = 1;
}

bool OfflineOutput::Submit(const EngineCommand& command) {
    if (m_engine.Submit(command))
        return true;
    // We are the audio thread here: let the engine take what is queued, then try again.
    m_engine.Render(nullptr, nullptr, 0);
    DeliverReports(m_engine);
    return m_engine.Submit(command);
}

bool OfflineOutput::ReplaceSink(std::unique_ptr<MidiSink> sink) {
    EngineCommand attach;
    attach.kind = EngineCommand::Kind::AttachSink;
    attach.sink = sink.get();
    if (!Submit(attach))
        return false;
    // We are the audio thread here: once the engine has taken the command, the old sink is free.
    m_engine.Render(nullptr, nullptr, 0);
    DeliverReports(m_engine);
    m_sink = std::move(sink);
    ++m_sinkGeneration;
    return true;
}

bool OfflineOutput::PrepareSong(std::shared_ptr<const PlayableSong> song) {
    // We are the audio thread here: the commands queued before the song's (a close that silences,
    // another sink) are taken first, so that the sink prepares in the state the song meets.
    m_engine.Render(nullptr, nullptr, 0);
    DeliverReports(m_engine);
    if (m_sink)
        m_sink->PrepareFor(*song);
    return true;
}

MCIERROR OfflineOutput::WaitForEnd(std::uint32_t serial) {
    while (!Ended(m_engine.Status(), serial)) {
        const std::uint64_t processed = m_engine.ProcessedCommands();
        RenderOffline(nullptr, nullptr, kBlock);
        // Every command has been taken and the play is not the engine's: it can never end.
        if (processed == m_engine.SubmittedCommands() && (m_engine.Status().serial != (serial & 0xFFFF)))
            return MCIERR_INTERNAL;
    }
    return 0;
}

void OfflineOutput::RenderOffline(float* left, float* right, std::size_t frames) {
    std::size_t done = 0;
    do {
        const std::size_t chunk = std::min(frames - done, kBlock);
        if (left && right)
            m_engine.Render(left + done, right + done, chunk);
        else
            m_engine.Render(m_scratchLeft.data(), m_scratchRight.data(), chunk);
        DeliverReports(m_engine);
        done += chunk;
    } while (done < frames);
}

} // namespace mci
