#include "platform/mci/FluidLog.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

namespace mci {

namespace {

std::atomic<int> g_muted{0};

void PrintError(int, const char* message, void*) {
    if (g_muted.load(std::memory_order_relaxed) == 0)
        std::fprintf(stderr, "fluidsynth: %s\n", message);
}

void Drop(int, const char*, void*) {}

// ALSA's library reports a missing sound card on its own, several lines of it, when FluidSynth's
// ALSA driver is tried on a machine without one.
void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}

} // namespace

void QuietFluidSynthLogging() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, PrintError, nullptr);
        fluid_set_log_function(FLUID_ERR, PrintError, nullptr);
        fluid_set_log_function(FLUID_WARN, Drop, nullptr);
        fluid_set_log_function(FLUID_INFO, Drop, nullptr);
        fluid_set_log_function(FLUID_DBG, Drop, nullptr);
    });
}

FluidErrorsMuted::FluidErrorsMuted() {
    QuietFluidSynthLogging();
    if (g_muted.fetch_add(1, std::memory_order_relaxed) == 0)
        snd_lib_error_set_handler(DropAlsaError);
}

FluidErrorsMuted::~FluidErrorsMuted() {
    if (g_muted.fetch_sub(1, std::memory_order_relaxed) == 1)
        snd_lib_error_set_handler(nullptr);
}

} // namespace mci
