// The sound channels' mixer, on buffers of its own (no device).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/FSAudioMixer.h"

namespace {

using platform::FSMixerVoice;
using platform::MixVoices;

TEST(AudioMixer, ChannelsMixAtTheirVolumesLoopsWrapAndOnceStops) {
    FSMixerVoice voices[3];
    voices[0].samples = {1000, 2000, 3000};
    voices[0].playing = voices[0].looped = true;
    voices[1].samples = {100, -100};
    voices[1].volume = 0x8080;  // about half
    voices[1].playing = true;
    voices[2].samples = {5000};  // stopped: not heard
    std::vector<int16_t> out(7, 123);
    MixVoices(voices, 3, out.data(), out.size());
    // 100 × 0x8080 / 0xFFFF = 50; the second voice ends after two samples, the first wraps.
    EXPECT_EQ(out, (std::vector<int16_t>{1050, 1950, 3000, 1000, 2000, 3000, 1000}));
    EXPECT_TRUE(voices[0].playing);
    EXPECT_EQ(voices[0].position, 1u);
    EXPECT_FALSE(voices[1].playing);
    EXPECT_EQ(voices[1].position, 0u);  // rewound for its next play
    // Loud voices clip at the 16-bit limits; volume 0 is silent.
    voices[0].samples = {30000, -30000};
    voices[1].samples = {30000, -30000};
    voices[1].playing = true;
    voices[1].volume = 0xFFFF;
    voices[0].position = 0;
    voices[2].playing = true;
    voices[2].volume = 0;
    MixVoices(voices, 3, out.data(), 2);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
}

// A mono voice is heard on both sides: each of its samples fills a left and a right one,
// beside a stereo voice; played once, it stops at its end with the frame it was in.
TEST(AudioMixer, AMonoVoiceFillsBothSides) {
    FSMixerVoice voices[2];
    voices[0].samples = {100, 200, 300};
    voices[0].mono = true;
    voices[0].playing = true;
    voices[1].samples = {1, 2};
    voices[1].playing = voices[1].looped = true;
    std::vector<int16_t> out(8, 123);
    MixVoices(voices, 2, out.data(), out.size());
    EXPECT_EQ(out, (std::vector<int16_t>{101, 102, 201, 202, 301, 302, 1, 2}));
    EXPECT_FALSE(voices[0].playing);
    // Looped, across the mixer's inner blocks.
    voices[0].samples.assign(1500, 7);
    voices[0].playing = voices[0].looped = true;
    voices[1].playing = false;
    out.assign(5000, 0);
    MixVoices(voices, 2, out.data(), out.size());
    EXPECT_EQ(std::count(out.begin(), out.end(), 7), 5000);
    EXPECT_EQ(voices[0].position, 1000u);  // 2500 frames of a 1500-frame loop
}

TEST(AudioMixer, ALongBlockRunsPastTheInternalBlockAndAPlayingVoiceWithoutSamplesStops) {
    FSMixerVoice voice;
    for (int i = 0; i < 1500; ++i)
        voice.samples.push_back(static_cast<int16_t>(i));
    voice.playing = voice.looped = true;
    FSMixerVoice empty;
    empty.playing = true;
    FSMixerVoice both[2] = {voice, empty};
    std::vector<int16_t> out(4000);
    MixVoices(both, 2, out.data(), out.size());
    for (size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(out[i], static_cast<int16_t>(i % 1500)) << i;
    EXPECT_FALSE(both[1].playing);
}

TEST(AudioMixer, AVolumeChangeGlidesInsteadOfJumping) {
    FSMixerVoice voice;
    voice.samples.assign(4096, 20000);
    voice.playing = voice.looped = true;
    std::vector<int16_t> out(2048);
    MixVoices(&voice, 1, out.data(), out.size());
    EXPECT_EQ(out.front(), 20000);  // a sound starts at its volume
    voice.volume = 0;               // set by a frame between two blocks
    MixVoices(&voice, 1, out.data(), out.size());
    EXPECT_GE(out.front(), 19900);
    for (size_t i = 1; i < out.size(); ++i)
        ASSERT_LE(out[i - 1] - out[i], 20000 / static_cast<int>(platform::kGlideSamples) + 1) << i;
    EXPECT_EQ(out[platform::kGlideSamples], 0);
    EXPECT_EQ(out.back(), 0);
}

}  // namespace
