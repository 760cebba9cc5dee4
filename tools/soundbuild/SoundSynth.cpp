#include "soundbuild/SoundSynth.h"

#include <algorithm>
#include <cmath>

#include "common/ImageFiles.h"

namespace soundbuild {

float Random::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
}

void StateVariableFilter::Set(double cutoff, double q) {
    g_ = std::tan(kPi * std::min(cutoff, 0.45 * kRate) / kRate);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

StateVariableFilter::Out StateVariableFilter::Step(float x) {
    const double v3 = x - s2_;
    const double v1 = a1_ * s1_ + a2_ * v3;
    const double v2 = s2_ + a2_ * s1_ + a3_ * v3;
    s1_ = 2.0 * v1 - s1_;
    s2_ = 2.0 * v2 - s2_;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(x - k_ * v1 - v2)};
}

void FilterLoop(Samples& samples, const std::function<float(size_t, float)>& step) {
    for (size_t i = 0; i < samples.size(); ++i)
        step(i, samples[i]);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = step(i, samples[i]);
}

void Normalise(Samples& samples, float peak) {
    if (samples.empty()) return;
    double mean = 0.0;
    for (float s : samples)
        mean += s;
    mean /= static_cast<double>(samples.size());
    float top = 0.0f;
    for (float& s : samples) {
        s -= static_cast<float>(mean);
        top = std::max(top, std::fabs(s));
    }
    if (top <= 0.0f) return;
    for (float& s : samples)
        s *= peak / top;
}

void FadeIn(Samples& samples, size_t count) {
    count = std::min(count, samples.size());
    for (size_t i = 0; i < count; ++i)
        samples[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / count));
}

void FadeOut(Samples& samples, size_t count) {
    count = std::min(count, samples.size());
    const size_t start = samples.size() - count;
    for (size_t i = 0; i < count; ++i)
        samples[start + i] *=
            static_cast<float>(0.5 + 0.5 * std::cos(kPi * static_cast<double>(i + 1) / count));
}

namespace {

void PutId(std::vector<uint8_t>& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

}  // namespace

std::vector<uint8_t> WaveBytes(const Samples& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutId(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // integer PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutId(out, "data");
    Put32(out, dataBytes);
    for (float s : samples) {
        const long value = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(value)));
    }
    return out;
}

bool WriteWave(const std::string& path, const Samples& samples) {
    return WriteFile(path, WaveBytes(samples));
}

double NoteFrequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

}  // namespace soundbuild
