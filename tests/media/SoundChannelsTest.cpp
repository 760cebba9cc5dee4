// The six channels' operations, and the five sounds the data build made for the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/FSSoundChannels.h"
#include "media/FSWaveFile.h"
#include "resources/FSArchive.h"

namespace {

TEST(SoundChannels, VolumesScaleToTheDeviceWordAndChannelsOutOfRangeAreIgnored) {
    struct Case {
        int value;
        uint16_t device;
    };
    for (const Case& c : {Case{255, 0xFFFF}, Case{128, 0x8080}, Case{0, 0}, Case{1, 0x0101},
                          Case{300, 0xFFFF}, Case{-4, 0}}) {
        EXPECT_EQ(CFSSoundChannels::DeviceVolume(c.value), c.device) << c.value;
    }
    CFSSoundChannels channels;
    ASSERT_TRUE(channels.Load("sounds\\wind.wav", 4));
    channels.SetVolume(4, 128);
    channels.PlayLooped(4);
    for (int none : {-1, 6, 1000}) {
        channels.Stop(none);
        channels.SetVolume(none, 0);
        channels.PlayOnce(none);
        channels.Unload(none);
        EXPECT_FALSE(channels.IsPlaying(none));
    }
    EXPECT_TRUE(channels.IsPlaying(4));
    EXPECT_EQ(channels.Volume(4), 0x8080);
    EXPECT_TRUE(channels.Output().IsLooped(4));
    channels.StopAll();
    EXPECT_FALSE(channels.IsPlaying(4));
    EXPECT_TRUE(channels.IsLoaded(4));
    channels.Unload(4);
    EXPECT_FALSE(channels.IsLoaded(4));
}

// The step from one sample to the next, largest over the body and across the seam.
struct Steps {
    int body = 0;
    int seam = 0;
};

Steps MeasureSteps(const std::vector<int16_t>& s) {
    Steps steps;
    for (size_t i = 1; i < s.size(); ++i)
        steps.body = std::max(steps.body, std::abs(s[i] - s[i - 1]));
    steps.seam = std::abs(s.front() - s.back());
    return steps;
}

TEST(GameSounds, TheFiveSoundsLoadAndLoopWithoutAClick) {
    struct Case {
        const char* file;
        bool loop;
        double seconds;
    };
    CFSSoundChannels channels;
    for (const Case& c :
         {Case{"menu_m.wav", true, 16.0}, Case{"wind.wav", true, 8.0}, Case{"wasp.wav", true, 4.0},
          Case{"whine.wav", true, 4.0}, Case{"explos.wav", false, 3.5}}) {
        FSWaveSound sound;
        ASSERT_EQ(ReadWaveFile(MakeDataPath(std::string("sounds\\") + c.file), sound), FSWaveError::None)
            << c.file;
        EXPECT_EQ(sound.format.samplesPerSecond, 22050u);
        EXPECT_EQ(sound.format.bitsPerSample, 16);
        EXPECT_EQ(sound.format.channels, 1);
        std::vector<int16_t> s(sound.data.size() / 2);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<int16_t>(sound.data[2 * i] | sound.data[2 * i + 1] << 8);
        EXPECT_NEAR(s.size() / 22050.0, c.seconds, 0.01) << c.file;
        double mean = 0.0;
        int peak = 0;
        for (int16_t v : s) {
            mean += v;
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        }
        mean /= static_cast<double>(s.size());
        EXPECT_LT(std::fabs(mean), 100.0) << c.file;  // no DC
        EXPECT_GT(peak, 16000) << c.file;             // loud enough, and not clipped
        EXPECT_LT(peak, 32000) << c.file;
        const Steps steps = MeasureSteps(s);
        if (c.loop) {
            EXPECT_LE(steps.seam, steps.body) << c.file;
        } else {
            // Played once: it starts and ends in silence.
            EXPECT_LT(std::abs(s.front()), 300) << c.file;
            EXPECT_LT(std::abs(s.back()), 300) << c.file;
        }
        EXPECT_TRUE(channels.Load(std::string("sounds\\") + c.file, 0)) << c.file;
    }
}

}  // namespace
