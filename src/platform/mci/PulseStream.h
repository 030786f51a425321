#pragma once

// The live output's stream on a PulseAudio server (or PipeWire's, which speaks its protocol), made
// by us rather than by FluidSynth's driver, whose stream the desktop's mixer lists as
// "FluidSynth". Ours carries the program's name and icon, and the song playing as its media name.
// Its callback renders on the server connection's own thread, as the driver's did.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

namespace mci {

class PulseStream {
public:
    using RenderFunction = void (*)(void* data, float* left, float* right, std::size_t frames);

    // Connects to the default server and starts a stereo float stream that `render` fills in
    // blocks of at most `periodFrames`, with about `periods` blocks buffered. Null when there is
    // no server or it refuses the stream.
    static std::unique_ptr<PulseStream> Open(RenderFunction render, void* data, unsigned sampleRate,
                                             std::size_t periodFrames, unsigned periods,
                                             const std::string& mediaName);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // What the mixer shows as playing; any thread but the audio one.
    void SetMediaName(const std::string& name);

private:
    PulseStream(RenderFunction render, void* data, std::size_t periodFrames);
    bool Start(unsigned sampleRate, unsigned periods, const std::string& mediaName);
    // Waits, with the loop's lock held, until the state is good or bad for good.
    bool WaitForContext();
    bool WaitForStream();
    static void Signal(void* loop);
    static void Write(pa_stream* stream, std::size_t bytes, void* self);

    RenderFunction m_render;
    void* m_data;
    std::vector<float> m_left;
    std::vector<float> m_right;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
};

} // namespace mci
