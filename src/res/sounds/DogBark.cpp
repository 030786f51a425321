#include "res/sounds/DogBark.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace res::detail {
namespace {

constexpr double kRate = kDogSampleRate;

// A repeatable noise source: the same sound on every run and every machine.
class Noise {
public:
    double Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<double>(m_state >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    }

private:
    std::uint32_t m_state = 0x5EED1234u;
};

// One bark: a short, falling voiced sound with a rough edge. The pitch jumps up at the onset and
// then sinks, and the harmonics near 900 Hz are stressed, which is what makes it read as "woof".
void AddBark(std::vector<double>& out, double start, double length, double pitch, Noise& noise) {
    double phase = 0.0;
    const auto first = static_cast<std::size_t>(start * kRate);
    const auto count = static_cast<std::size_t>(length * kRate);
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double rise = std::min(t / 0.02, 1.0);
        double f0 = pitch * (1.0 + 0.25 * rise) * (1.0 - 0.45 * t / length);
        phase += 2.0 * std::numbers::pi * f0 / kRate;
        double voiced = 0.0;
        // Harmonics stay below half the sample rate, so nothing folds back as a whistle.
        for (int k = 1; k * f0 < kRate / 2.0 - 200.0 && k <= 12; ++k) {
            double formant = 1.0 + 2.0 * std::exp(-std::pow((k * f0 - 900.0) / 350.0, 2.0));
            voiced += std::sin(k * phase) * formant / k;
        }
        double envelope = std::min(t / 0.008, 1.0) * std::exp(-std::max(t - 0.03, 0.0) / 0.07);
        out[first + i] += envelope * (0.8 * voiced / 3.0 + 0.25 * noise.Next());
    }
}

// A paw on the floor: a few milliseconds of dull noise.
void AddStep(std::vector<double>& out, double start, Noise& noise) {
    const auto first = static_cast<std::size_t>(start * kRate);
    double low = 0.0;
    for (std::size_t i = 0; i < 60 && first + i < out.size(); ++i) {
        low += 0.3 * (noise.Next() - low);
        out[first + i] += 0.35 * low * std::exp(-static_cast<double>(i) / 12.0);
    }
}

} // namespace

std::vector<std::uint8_t> SynthesiseDogBark() {
    std::vector<double> mix(kDogSampleCount, 0.0);
    Noise noise;
    for (double step = 0.02; step < 2.2; step += 0.11)
        AddStep(mix, step, noise);
    AddBark(mix, 0.05, 0.24, 430.0, noise);
    AddBark(mix, 0.36, 0.28, 400.0, noise);
    AddBark(mix, 1.15, 0.24, 450.0, noise);
    AddBark(mix, 1.46, 0.34, 380.0, noise);

    double peak = 0.0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double gain = peak > 0.0 ? 0.9 / peak : 0.0;
    std::vector<std::uint8_t> samples(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        // The last 20 ms fade out, so the sound ends without a click.
        double fade = std::min(1.0, static_cast<double>(mix.size() - i) / (0.02 * kRate));
        double v = std::clamp(mix[i] * gain * fade, -1.0, 1.0);
        samples[i] = static_cast<std::uint8_t>(std::lround(128.0 + 127.0 * v));
    }
    return samples;
}

} // namespace res::detail
