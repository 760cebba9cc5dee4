#include "platform/FSAudioUpsampler.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {

namespace {

constexpr int kTaps = 8;  // on each side of the point between two samples

// The filter's weights at 0.5, 1.5, ... 7.5 samples from the point: sinc under a Blackman
// window, scaled so that a steady level stays the same.
std::array<float, kTaps> HalfBandWeights() {
    constexpr double kPi = 3.14159265358979323846;
    std::array<float, kTaps> weights{};
    double sum = 0.0;
    std::array<double, kTaps> raw{};
    for (int k = 0; k < kTaps; ++k) {
        const double t = k + 0.5;
        const double sinc = std::sin(kPi * t) / (kPi * t);
        const double phase = kPi * (t + kTaps) / kTaps;  // the window spans -kTaps .. kTaps
        const double window = 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
        raw[k] = sinc * window;
        sum += 2.0 * raw[k];
    }
    for (int k = 0; k < kTaps; ++k)
        weights[k] = static_cast<float>(raw[k] / sum);
    return weights;
}

int16_t Sample(const uint8_t* data, size_t index) {
    return static_cast<int16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

}  // namespace

std::vector<int16_t> UpsampleTwice(const uint8_t* data, size_t frames, int channels) {
    static const std::array<float, kTaps> weights = HalfBandWeights();
    std::vector<int16_t> out;
    if (!data || frames == 0 || channels < 1 || channels > 2) return out;
    const size_t width = static_cast<size_t>(channels);
    out.resize(frames * 2 * width);
    std::vector<float> line(frames + 2 * kTaps, 0.0f);  // one channel, silence around it
    for (int c = 0; c < channels; ++c) {
        for (size_t i = 0; i < frames; ++i)
            line[kTaps + i] = Sample(data, i * channels + c);
        for (size_t i = 0; i < frames; ++i) {
            const float* at = line.data() + kTaps + i;
            float between = 0.0f;
            for (int k = 0; k < kTaps; ++k)
                between += weights[k] * (at[-k] + at[1 + k]);
            const auto held = static_cast<int16_t>(std::lround(std::clamp(between, -32768.0f, 32767.0f)));
            out[2 * width * i + c] = static_cast<int16_t>(at[0]);
            out[2 * width * i + width + c] = held;
        }
    }
    return out;
}

}  // namespace platform
