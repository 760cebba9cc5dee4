#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/FSAudioUpsampler.h"

namespace {

std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (const int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return bytes;
}

// Doubling the rate keeps every input sample, fills the points between with the signal's
// own shape (a tone well under the new limit comes out as the tone), keeps a steady level
// steady, and keeps stereo's sides apart.
TEST(AudioUpsampler, DoublesTheRateKeepingTheSignal) {
    constexpr double kPi = 3.14159265358979323846;
    const double kTones[] = {440.0, 1000.0, 5000.0};  // Hz at 22 050 samples a second
    for (const double tone : kTones) {
        SCOPED_TRACE(tone);
        std::vector<int16_t> input(2000);
        for (size_t i = 0; i < input.size(); ++i)
            input[i] = static_cast<int16_t>(std::lround(20000.0 * std::sin(2 * kPi * tone * i / 22050.0)));
        const std::vector<uint8_t> bytes = Bytes(input);
        const std::vector<int16_t> out = platform::UpsampleTwice(bytes.data(), input.size(), 1);
        ASSERT_EQ(out.size(), input.size() * 2);
        double worst = 0.0;
        // Away from the ends, where the filter sees silence beyond the sound.
        for (size_t j = 40; j + 40 < input.size() * 2; ++j) {
            const double expected = 20000.0 * std::sin(2 * kPi * tone * (j / 2.0) / 22050.0);
            worst = std::max(worst, std::abs(out[j] - expected));
            if (j % 2 == 0) {
                ASSERT_EQ(out[j], input[j / 2]) << j;
            }
        }
        EXPECT_LT(worst, 20000.0 * 0.01);
    }

    // A steady level, stereo: each side keeps its own.
    std::vector<int16_t> stereo;
    for (int i = 0; i < 100; ++i) {
        stereo.push_back(1000);
        stereo.push_back(-32768);
    }
    const std::vector<uint8_t> bytes = Bytes(stereo);
    const std::vector<int16_t> out = platform::UpsampleTwice(bytes.data(), 100, 2);
    ASSERT_EQ(out.size(), 400u);
    for (size_t j = 16; j < 184; ++j) {
        EXPECT_NEAR(out[2 * j], 1000, 1) << j;
        EXPECT_NEAR(out[2 * j + 1], -32768, 1) << j;
    }
    EXPECT_TRUE(platform::UpsampleTwice(bytes.data(), 100, 3).empty());
    EXPECT_TRUE(platform::UpsampleTwice(nullptr, 100, 1).empty());
}

}  // namespace
