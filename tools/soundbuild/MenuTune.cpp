// The menu's tune: eight bars in A minor at 120 beats a minute (16 s), an FM lead with its
// echo, a plucked bass, soft chords and drums. Every note and hit is written round the loop,
// so tails that run past the last bar ring on at the first and the loop has no seam.
#include <cmath>

#include "soundbuild/SoundEffects.h"
#include "soundbuild/SoundSynth.h"

namespace soundbuild {

namespace {

constexpr long kStep = 2756;  // samples of a sixteenth note (120 beats a minute)
constexpr int kBars = 8;

struct Note {
    int bar, step, length, note;  // steps of a sixteenth; MIDI note number
};

// The melody: a phrase and its answer.
const Note kMelody[] = {
    {0, 0, 4, 69},  {0, 4, 2, 72},  {0, 6, 2, 76}, {0, 8, 4, 74},  {0, 12, 2, 72}, {0, 14, 2, 71},
    {1, 0, 6, 69},  {1, 6, 2, 65},  {1, 8, 2, 69}, {1, 10, 2, 72}, {1, 12, 4, 77}, {2, 0, 4, 76},
    {2, 4, 2, 79},  {2, 6, 2, 76},  {2, 8, 2, 74}, {2, 10, 2, 72}, {2, 12, 4, 74}, {3, 0, 6, 71},
    {3, 6, 2, 67},  {3, 8, 8, 74},  {4, 0, 4, 69}, {4, 4, 2, 72},  {4, 6, 2, 76},  {4, 8, 4, 81},
    {4, 12, 2, 79}, {4, 14, 2, 76}, {5, 0, 4, 77}, {5, 4, 2, 76},  {5, 6, 2, 72},  {5, 8, 4, 69},
    {5, 12, 4, 72}, {6, 0, 4, 74},  {6, 4, 2, 77}, {6, 6, 2, 81},  {6, 8, 2, 79},  {6, 10, 2, 77},
    {6, 12, 4, 76}, {7, 0, 6, 76},  {7, 6, 2, 74}, {7, 8, 2, 72},  {7, 10, 2, 71}, {7, 12, 4, 68},
};

// Each bar's chord: the bass root and the three notes of the chord.
struct Chord {
    int root;
    int notes[3];
};
const Chord kChords[kBars] = {
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}},
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {38, {57, 62, 65}}, {40, {56, 59, 64}},
};

long At(int bar, int step) {
    return (bar * 16L + step) * kStep;
}

double Seconds(long samples) {
    return static_cast<double>(samples) / kRate;
}

// The lead: two-operator FM, bright at the attack and mellow as it holds.
void Lead(Samples& out, long start, int steps, int note, float gain) {
    const double f = NoteFrequency(note);
    const long hold = steps * kStep, release = kRate / 10;
    for (long i = 0; i < hold + release; ++i) {
        const double t = Seconds(i);
        double envelope = std::min(1.0, t / 0.008) * (0.55 + 0.45 * std::exp(-t / 0.25));
        if (i >= hold) envelope *= 1.0 - Seconds(i - hold) / Seconds(release);
        const double index = 0.5 + 1.6 * std::exp(-t / 0.12);
        const double value = std::sin(2.0 * kPi * f * t + index * std::sin(2.0 * kPi * 2.0 * f * t));
        AddWrapped(out, start + i, static_cast<float>(gain * envelope * value));
    }
}

// The bass: a few falling harmonics, plucked.
void Bass(Samples& out, long start, int note, float gain) {
    const double f = NoteFrequency(note);
    const long length = 2 * kStep + kRate / 25;
    for (long i = 0; i < length; ++i) {
        const double t = Seconds(i);
        double value = 0.0;
        for (int k = 1; k <= 6; ++k)
            value += std::sin(2.0 * kPi * k * f * t) * std::exp(-t * 3.0 * k) / k;
        double envelope = std::min(1.0, t / 0.004) * std::exp(-t / 0.35);
        if (i > 2 * kStep) envelope *= 1.0 - Seconds(i - 2 * kStep) / 0.04;
        AddWrapped(out, start + i, static_cast<float>(gain * envelope * value));
    }
}

// The chords: soft organ-like notes that swell in and fade into the next bar.
void Pad(Samples& out, long start, int note, float gain) {
    const double f = NoteFrequency(note);
    const long hold = 16 * kStep, release = kRate * 2 / 5;
    for (long i = 0; i < hold + release; ++i) {
        const double t = Seconds(i);
        double envelope = std::min(1.0, t / 0.3);
        if (i >= hold) envelope *= 1.0 - Seconds(i - hold) / Seconds(release);
        const double value = std::sin(2.0 * kPi * f * t) + 0.3 * std::sin(2.0 * kPi * 2.0 * f * t) +
                             0.1 * std::sin(2.0 * kPi * 3.0 * f * t);
        AddWrapped(out, start + i, static_cast<float>(gain * envelope * value));
    }
}

void Kick(Samples& out, long start, float gain) {
    double phase = 0.0;
    for (long i = 0; i < kRate * 2 / 5; ++i) {
        const double t = Seconds(i);
        phase += 2.0 * kPi * (45.0 + 95.0 * std::exp(-t / 0.035)) / kRate;
        AddWrapped(out, start + i, static_cast<float>(gain * std::sin(phase) * std::exp(-t / 0.16)));
    }
}

void Snare(Samples& out, long start, float gain, Random& random) {
    StateVariableFilter filter;
    filter.Set(2200.0, 0.8);
    for (long i = 0; i < kRate * 3 / 10; ++i) {
        const double t = Seconds(i);
        const double noise = filter.Step(random.Next()).band * std::exp(-t / 0.075);
        const double body = std::sin(2.0 * kPi * 190.0 * t) * std::exp(-t / 0.04);
        AddWrapped(out, start + i, static_cast<float>(gain * (1.6 * noise + 0.5 * body)));
    }
}

void HiHat(Samples& out, long start, float gain, double decay, Random& random) {
    StateVariableFilter filter;
    filter.Set(7000.0, 0.9);
    for (long i = 0; i < static_cast<long>(6.0 * decay * kRate); ++i) {
        const double t = Seconds(i);
        AddWrapped(out, start + i,
                   static_cast<float>(gain * filter.Step(random.Next()).high * std::exp(-t / decay)));
    }
}

void Drums(Samples& out) {
    Random random(0xD2D2);
    for (int bar = 0; bar < kBars; ++bar) {
        for (int step : {0, 8, bar % 2 ? 10 : 7})
            Kick(out, At(bar, step), 0.75f);
        Snare(out, At(bar, 4), 0.32f, random);
        Snare(out, At(bar, 12), 0.32f, random);
        // The last bar turns round into the first with a short roll.
        if (bar == kBars - 1) {
            for (int step : {13, 14, 15})
                Snare(out, At(bar, step), 0.16f + 0.05f * (step - 13), random);
        }
        for (int step = 0; step < 16; step += 2) {
            const bool offBeat = step % 4 == 2;
            HiHat(out, At(bar, step), offBeat ? 0.16f : 0.09f, offBeat ? 0.06 : 0.025, random);
        }
    }
}

}  // namespace

Samples MakeMenuTune() {
    Samples out(static_cast<size_t>(At(kBars, 0)), 0.0f);
    for (const Note& n : kMelody) {
        Lead(out, At(n.bar, n.step), n.length, n.note, 0.30f);
        // A dotted-eighth echo, quieter, an octave-free repeat of the lead.
        Lead(out, At(n.bar, n.step) + 3 * kStep, n.length, n.note, 0.08f);
    }
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& chord = kChords[bar];
        // Eighths on the root, jumping to the octave on the "and" of two and four.
        for (int step = 0; step < 16; step += 2) {
            const int note = chord.root + (step == 6 || step == 14 ? 12 : 0);
            Bass(out, At(bar, step), note, 0.30f);
        }
        for (int note : chord.notes)
            Pad(out, At(bar, 0), note, 0.045f);
    }
    Drums(out);
    Normalise(out, 0.85f);
    return out;
}

}  // namespace soundbuild
