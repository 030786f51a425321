#include "platform/mci/PulseStream.h"

#include <algorithm>

#include <pulse/pulseaudio.h>

namespace mci {

namespace {

// What the mixer shows of the program: its name and the icon its desktop entry names.
constexpr const char* kApplicationName = "Shufflon";
constexpr const char* kIconName = "shufflon";
constexpr std::size_t kFrameBytes = 2 * sizeof(float);

pa_proplist* StreamProperties(const std::string& mediaName) {
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_NAME, mediaName.c_str());
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
    pa_proplist_sets(properties, PA_PROP_MEDIA_ICON_NAME, kIconName);
    return properties;
}

} // namespace

std::unique_ptr<PulseStream> PulseStream::Open(RenderFunction render, void* data, unsigned sampleRate,
                                               std::size_t periodFrames, unsigned periods,
                                               const std::string& mediaName) {
    std::unique_ptr<PulseStream> stream(new PulseStream(render, data, periodFrames));
    if (!stream->Start(sampleRate, periods, mediaName))
        return nullptr;
    return stream;
}

PulseStream::PulseStream(RenderFunction render, void* data, std::size_t periodFrames)
    : m_render(render), m_data(data), m_left(periodFrames), m_right(periodFrames) {}

bool PulseStream::Start(unsigned sampleRate, unsigned periods, const std::string& mediaName) {
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    pa_proplist* application = pa_proplist_new();
    pa_proplist_sets(application, PA_PROP_APPLICATION_NAME, kApplicationName);
    pa_proplist_sets(application, PA_PROP_APPLICATION_ICON_NAME, kIconName);
    m_context =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), kApplicationName, application);
    pa_proplist_free(application);
    if (!m_context)
        return false;
    pa_context_set_state_callback(
        m_context, [](pa_context*, void* loop) { Signal(loop); }, m_loop);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
        return false;

    pa_threaded_mainloop_lock(m_loop);
    if (pa_threaded_mainloop_start(m_loop) < 0 || !WaitForContext()) {
        pa_threaded_mainloop_unlock(m_loop);
        return false;
    }
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, sampleRate, 2};
    pa_proplist* properties = StreamProperties(mediaName);
    m_stream = pa_stream_new_with_proplist(m_context, mediaName.c_str(), &format, nullptr, properties);
    pa_proplist_free(properties);
    bool started = false;
    if (m_stream) {
        pa_stream_set_state_callback(
            m_stream, [](pa_stream*, void* loop) { Signal(loop); }, m_loop);
        pa_stream_set_write_callback(m_stream, &PulseStream::Write, this);
        // The server asks for a block whenever the buffer has room for one; about `periods` blocks
        // lie between a command and its sound.
        const auto periodBytes = static_cast<std::uint32_t>(m_left.size() * kFrameBytes);
        pa_buffer_attr buffer{};
        buffer.maxlength = static_cast<std::uint32_t>(-1);
        buffer.tlength = periodBytes * periods;
        buffer.prebuf = static_cast<std::uint32_t>(-1);
        buffer.minreq = periodBytes;
        buffer.fragsize = static_cast<std::uint32_t>(-1);
        started = pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr,
                                             nullptr) == 0 &&
                  WaitForStream();
    }
    pa_threaded_mainloop_unlock(m_loop);
    return started;
}

bool PulseStream::WaitForContext() {
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(state))
            return false;
        pa_threaded_mainloop_wait(m_loop);
    }
}

bool PulseStream::WaitForStream() {
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(m_stream);
        if (state == PA_STREAM_READY)
            return true;
        if (!PA_STREAM_IS_GOOD(state))
            return false;
        pa_threaded_mainloop_wait(m_loop);
    }
}

void PulseStream::Signal(void* loop) {
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}

PulseStream::~PulseStream() {
    if (m_loop) {
        pa_threaded_mainloop_lock(m_loop);
        if (m_stream) {
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        pa_threaded_mainloop_unlock(m_loop);
        // Joins the loop's thread: after this, nothing renders any more.
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }
}

void PulseStream::SetMediaName(const std::string& name) {
    pa_threaded_mainloop_lock(m_loop);
    if (m_stream && pa_stream_get_state(m_stream) == PA_STREAM_READY) {
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_MEDIA_NAME, name.c_str());
        if (pa_operation* operation =
                pa_stream_proplist_update(m_stream, PA_UPDATE_REPLACE, properties, nullptr, nullptr))
            pa_operation_unref(operation);
        pa_proplist_free(properties);
    }
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseStream::Write(pa_stream* stream, std::size_t bytes, void* self) {
    // On the loop's thread, with its lock held: the blocks go straight into the server's memory.
    auto& pulse = *static_cast<PulseStream*>(self);
    while (bytes >= kFrameBytes) {
        void* buffer = nullptr;
        std::size_t room = bytes;
        if (pa_stream_begin_write(stream, &buffer, &room) < 0 || !buffer)
            return;
        const std::size_t frames = std::min(room, bytes) / kFrameBytes;
        if (frames == 0) {
            pa_stream_cancel_write(stream);
            return;
        }
        auto* out = static_cast<float*>(buffer);
        for (std::size_t done = 0; done < frames;) {
            const std::size_t block = std::min(frames - done, pulse.m_left.size());
            std::fill_n(pulse.m_left.data(), block, 0.0f);
            std::fill_n(pulse.m_right.data(), block, 0.0f);
            pulse.m_render(pulse.m_data, pulse.m_left.data(), pulse.m_right.data(), block);
            for (std::size_t i = 0; i < block; ++i) {
                out[2 * (done + i)] = pulse.m_left[i];
                out[2 * (done + i) + 1] = pulse.m_right[i];
            }
            done += block;
        }
        pa_stream_write(stream, buffer, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= frames * kFrameBytes;
    }
}

} // namespace mci
