#pragma once
// The building blocks of the game's synthesised sounds: a loop buffer that notes and
// hits wrap around (so a loop has no seam), fixed-seed noise, a state-variable filter that
// can run round a loop until its state meets itself, and the 16-bit WAV writer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace soundbuild {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<float>;

// xorshift32: the same numbers on every build.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 1u) {}
    // Uniform in [-1, 1).
    float Next();
    // Uniform in [0, 1).
    float Unit() { return 0.5f * (Next() + 1.0f); }

private:
    uint32_t state_;
};

// Adds value at index, wrapped into the buffer (notes that run past the end of a loop
// sound again at its start).
inline void AddWrapped(Samples& samples, long index, float value) {
    const long size = static_cast<long>(samples.size());
    long i = index % size;
    if (i < 0) i += size;
    samples[static_cast<size_t>(i)] += value;
}

// A state-variable filter (trapezoidal): low, band and high pass at once.
class StateVariableFilter {
public:
    void Set(double cutoff, double q);
    struct Out {
        float low, band, high;
    };
    Out Step(float x);

private:
    double g_ = 0.0, k_ = 1.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
    double s1_ = 0.0, s2_ = 0.0;
};

// Runs step(i, x) over the buffer twice and keeps the second pass: the filters inside
// step then start the loop in the state they end it in, so the loop has no seam.
void FilterLoop(Samples& samples, const std::function<float(size_t, float)>& step);

// Takes away the mean (no DC) and scales the peak to peak (0..1 of full scale).
void Normalise(Samples& samples, float peak);

// A raised-cosine fade over count samples from the start (in) or to the end (out).
void FadeIn(Samples& samples, size_t count);
void FadeOut(Samples& samples, size_t count);

// The sound as a 16-bit mono PCM WAV file at kRate, written to path. False on failure.
std::vector<uint8_t> WaveBytes(const Samples& samples);
bool WriteWave(const std::string& path, const Samples& samples);

// Frequency of a MIDI note number (69 = A 440 Hz).
double NoteFrequency(int note);

}  // namespace soundbuild
