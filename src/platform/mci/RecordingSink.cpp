#include "platform/mci/RecordingSink.h"

#include <algorithm>

namespace mci {

RecordingSink::RecordingSink(MidiSink* forwardTo) : m_forward(forwardTo) {}

void RecordingSink::ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    m_messages.push_back(RecordedMessage{m_frames, status, data1, data2, {}});
    if (m_forward)
        m_forward->ShortMessage(status, data1, data2);
}

void RecordingSink::SystemExclusive(std::span<const std::uint8_t> body) {
    m_messages.push_back(RecordedMessage{m_frames, 0xF0, 0, 0, {body.begin(), body.end()}});
    if (m_forward)
        m_forward->SystemExclusive(body);
}

void RecordingSink::Render(float* left, float* right, std::size_t frames) {
    if (m_forward) {
        m_forward->Render(left, right, frames);
    } else if (left && right) {
        std::fill_n(left, frames, 0.0f);
        std::fill_n(right, frames, 0.0f);
    }
    m_frames += frames;
}

void RecordingSink::PrepareFor(const PlayableSong& song) {
    if (m_forward)
        m_forward->PrepareFor(song);
}

} // namespace mci
