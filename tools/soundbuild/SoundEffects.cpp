// The flight's effects: the wind, the explosion, the piston engine with its propeller and
// the jet. Every loop is built from content periodic in its length (whole cycles, hits
// wrapped round, filters run round the loop), so it repeats without a click.
#include <cmath>

#include "soundbuild/SoundEffects.h"
#include "soundbuild/SoundSynth.h"

namespace soundbuild {

namespace {

// Sine of a whole number of cycles over a loop of length samples, at sample i.
double LoopSine(size_t i, size_t length, int cycles, double phase) {
    return std::sin(2.0 * kPi * cycles * static_cast<double>(i) / static_cast<double>(length) + phase);
}

Samples Noise(size_t length, uint32_t seed) {
    Random random(seed);
    Samples samples(length);
    for (float& s : samples)
        s = random.Next();
    return samples;
}

}  // namespace

Samples MakeWind() {
    const size_t length = 8 * kRate;
    Samples samples = Noise(length, 0x5717D);
    // Slow gusts: a few whole cycles over the loop, between about 0.1 and 0.9.
    auto gust = [length](size_t i) {
        return 0.5 + 0.22 * LoopSine(i, length, 2, 0.3) + 0.15 * LoopSine(i, length, 3, 1.7) +
               0.07 * LoopSine(i, length, 7, 4.1);
    };
    StateVariableFilter body, whistle;
    FilterLoop(samples, [&](size_t i, float x) {
        const double g = gust(i);
        // The rush opens up and the whistle rises with each gust.
        body.Set(220.0 + 900.0 * g, 0.8);
        whistle.Set(520.0 + 700.0 * g, 7.0);
        const float rush = body.Step(x).low;
        const float tone = whistle.Step(x).band;
        return static_cast<float>((0.25 + 0.75 * g * g) * (rush + 0.35 * g * tone));
    });
    Normalise(samples, 0.7f);
    return samples;
}

Samples MakeExplosion() {
    const size_t length = static_cast<size_t>(3.5 * kRate);
    Samples samples(length, 0.0f);
    Random random(0xB00B);
    StateVariableFilter blast, rumble;
    double thumpPhase = 0.0;
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // The thump: a falling low tone.
        thumpPhase += 2.0 * kPi * (32.0 + 75.0 * std::exp(-t / 0.07)) / kRate;
        const double thump = std::sin(thumpPhase) * std::exp(-t / 0.45);
        // The blast: noise whose brightness falls away, then the long rumble.
        blast.Set(140.0 + 3200.0 * std::exp(-t / 0.22), 0.75);
        rumble.Set(110.0, 0.7);
        const float noise = random.Next();
        const double burst = blast.Step(noise).low * std::exp(-t / 0.8);
        const double tail = rumble.Step(noise).low * std::exp(-t / 1.6);
        samples[i] = static_cast<float>(0.9 * thump + 1.4 * burst + 1.2 * tail);
    }
    Normalise(samples, 0.9f);
    FadeIn(samples, kRate / 500);  // 2 ms: starts from silence
    FadeOut(samples, kRate / 2);   // and ends there
    return samples;
}

Samples MakePropellerEngine() {
    // A four-cylinder four-stroke at 2400 rpm: a firing every 1/80 s, each cylinder every
    // 1/20 s, the two-bladed propeller passing at 80 Hz; four seconds hold whole cycles.
    const size_t length = 4 * kRate;
    Samples samples(length, 0.0f);
    Random random(0x2400);
    const double cylinderLevel[4] = {1.0, 0.84, 0.93, 0.78};
    const double cylinderLate[4] = {0.0, 0.0004, -0.0003, 0.0002};  // s
    const int firings = 4 * 80;
    for (int n = 0; n < firings; ++n) {
        const int cylinder = n % 4;
        const double start = n / 80.0 + cylinderLate[cylinder];
        const long first = static_cast<long>(std::ceil(start * kRate));
        for (long k = 0; k < static_cast<long>(0.045 * kRate); ++k) {
            const double tau = static_cast<double>(first + k) / kRate - start;
            const double pulse = std::exp(-tau / 0.007) * std::sin(2.0 * kPi * 130.0 * tau) +
                                 0.45 * std::exp(-tau / 0.0025) * std::sin(2.0 * kPi * 460.0 * tau) +
                                 0.5 * std::exp(-tau / 0.002) * random.Next();
            AddWrapped(samples, first + k, static_cast<float>(cylinderLevel[cylinder] * pulse));
        }
    }
    // The propeller's buzz and the crank's hum.
    for (size_t i = 0; i < length; ++i) {
        double buzz = 0.0;
        for (int k = 1; k <= 12; ++k)
            buzz += LoopSine(i, length, 320 * k, 0.7 * k) / k;
        samples[i] += static_cast<float>(0.1 * buzz + 0.1 * LoopSine(i, length, 160, 0.0));
    }
    StateVariableFilter tone;
    tone.Set(2600.0, 0.7);
    FilterLoop(samples, [&](size_t, float x) { return tone.Step(x).low; });
    Normalise(samples, 0.75f);
    return samples;
}

Samples MakeJetEngine() {
    // Turbine tones (with a slow beat between two close blade tones) over a broad roar;
    // every frequency holds a whole number of cycles in the four seconds.
    const size_t length = 4 * kRate;
    Samples samples = Noise(length, 0x7E7);
    StateVariableFilter roar, hiss;
    roar.Set(850.0, 0.6);
    hiss.Set(3100.0, 1.4);
    FilterLoop(samples, [&](size_t, float x) { return 0.9f * roar.Step(x).low + 0.3f * hiss.Step(x).band; });
    for (size_t i = 0; i < length; ++i) {
        const double swell = 1.0 + 0.1 * LoopSine(i, length, 1, 0.0);
        const double whine = LoopSine(i, length, 4 * 2480, 0.0) + 0.8 * LoopSine(i, length, 9926, 1.1) +
                             0.45 * LoopSine(i, length, 4 * 4960, 0.4) +
                             0.15 * LoopSine(i, length, 4 * 7440, 2.0);
        const double shaft = LoopSine(i, length, 549, 0.0);
        samples[i] += static_cast<float>(0.09 * swell * whine + 0.08 * shaft);
    }
    Normalise(samples, 0.7f);
    return samples;
}

}  // namespace soundbuild
