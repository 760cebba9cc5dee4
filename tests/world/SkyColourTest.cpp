// The sky model's colours, the day cycle's clear colour and sunlight, and the choice of
// the time of day.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "platform/FSGLSurface.h"
#include "world/FSCamera.h"
#include "world/FSDayTime.h"
#include "world/FSSineTable.h"
#include "world/FSSkyColour.h"
#include "world/FSSkyModel.h"

namespace {

constexpr float kPi = 3.14159265f;

void ExpectColour(const FSFixedColour& actual, const FSFixedColour& expected, FSFixed tolerance,
                  const std::string& where) {
    EXPECT_NEAR(actual.r, expected.r, tolerance) << where;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << where;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << where;
}

float Brightness(const FSSkyColour& c) {
    return c.r + c.g + c.b;
}

TEST(DayCycle, EachQuarterStartsOnItsKeyAndTheFastQuartersHoldTheNextKey) {
    for (int k = 0; k < kDayKeys; ++k) {
        const FSFixedColour from = DayKeyColour(k), to = DayKeyColour(k + 1);
        const std::string where = "quarter " + std::to_string(k);
        ExpectColour(DayCycleColour(0.25f * k), from, 0, where);
        ExpectColour(DayCycleColour(3.0f + 0.25f * k), from, 2, where);  // days later, the same time
        // Quarters 0 and 2 are half-way at a third and reach the next key at two thirds,
        // then hold it; quarters 1 and 3 change evenly.
        const bool fast = k % 2 == 0;
        const FSFixedColour mid = {(from.r + to.r) / 2, (from.g + to.g) / 2, (from.b + to.b) / 2};
        ExpectColour(DayCycleColour(0.25f * k + 0.25f * (fast ? 1.0f / 3 : 0.5f)), mid, 8, where);
        if (fast) {
            for (float part : {0.667f, 0.999f})
                ExpectColour(DayCycleColour(0.25f * k + 0.25f * part), to, 8, where);
        }
    }
    ExpectColour(DayCycleColour(0.99999f), DayKeyColour(0), 32, "end of day");
    ExpectColour(DayCycleColour(NAN), DayKeyColour(0), 0, "not a number");
}

TEST(DayCycle, SunlightFallsTenDegreesUpFromTheSunsSideOfTheSky) {
    CFSSkyModel sky;
    sky.SetTurbidity(3.0f);
    for (float azimuth : {-kPi / 2, 0.0f, 1.3f, kPi}) {
        sky.SetSun(1.2f, azimuth);
        const FSFixedVector s = SunLightDirection(azimuth);
        EXPECT_NEAR(Length(s), kFixedOne, 8);
        EXPECT_NEAR(FixedToFloat(s.y), std::sin(10.0f * kPi / 180.0f), 1e-3f);
        // The light comes from the sun's side of the sky: the horizon is brighter there
        // than opposite, and alike on either side of it.
        const float light = std::atan2(FixedToFloat(s.z), FixedToFloat(s.x));
        auto horizon = [&sky](float phi) { return Brightness(sky.SkyColour(1.3f, phi)); };
        EXPECT_GT(horizon(light), horizon(light + kPi) + 0.1f) << azimuth;
        for (float d : {0.3f, 0.8f, 1.5f})
            EXPECT_NEAR(horizon(light + d), horizon(light - d), 2e-3f) << azimuth << " " << d;
    }
    // The morning sun is in the east (−z), the evening sun in the west (+z).
    EXPECT_LT(SunLightDirection(SunPosition(kDayTimeMorning).azimuth).z, 0);
    EXPECT_GT(SunLightDirection(SunPosition(kDayTimeEvening).azimuth).z, 0);
    // Whitening: 0.6 for a camera without a turn; less when its axis points at the sun.
    const FSFixedVector sun = SunLightDirection(0.0f);
    EXPECT_NEAR(SunWhitening(sun, FSQuaternion::Identity()), FloatToFixed(0.6f), 2);
    const FSQuaternion towardSun{0.0f, FixedToFloat(sun.x), FixedToFloat(sun.y), FixedToFloat(sun.z)};
    EXPECT_NEAR(SunWhitening(sun, towardSun), FloatToFixed(0.6f * (1.0f - 1.0f / kPi)), 40);
    ExpectColour(Whiten({0, kFixedOne / 2, kFixedOne}, kFixedOne / 2),
                 {kFixedOne / 2, FloatToFixed(0.75f), kFixedOne}, 1, "whitened");
}

TEST(DayCycle, TheEngineObjectRunsTheDayFromItsFirstCallAndTurnsTheLight) {
    std::string why;
    ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
    CFSGLSurface surface;
    ASSERT_TRUE(surface.Create(16, 16));
    SineTable sine;
    CFSCamera camera(&sine);
    camera.Sky().SetSun(1.0f, 2.0f);
    CFSSkyColour sky(600.0f);
    const uint32_t start = 0xFFFFF000u;  // the tick count wraps during the day
    const FSFixed weight = SunWhitening(SunLightDirection(2.0f), FSQuaternion::Identity());
    ExpectColour(sky.UpdateClearColour(camera, start), Whiten(DayKeyColour(0), weight), 0, "first call");
    EXPECT_EQ(camera.LightDirection(), SunLightDirection(2.0f));
    // A quarter of the day later (150 s), across the wrap of the tick count.
    const FSFixedColour noon = sky.UpdateClearColour(camera, start + 150000u);
    ExpectColour(noon, Whiten(DayKeyColour(1), weight), 2, "quarter");
    GLfixed clear[4];
    glGetFixedv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_NEAR(clear[2], noon.b, 300);
    // A day of no length holds the first key instead of dividing by zero; Restart begins
    // the day again.
    CFSSkyColour still(0.0f);
    still.UpdateClearColour(camera, 5);
    ExpectColour(still.UpdateClearColour(camera, 900000), Whiten(DayKeyColour(0), weight), 0, "no length");
    sky.Restart();
    ExpectColour(sky.UpdateClearColour(camera, 42), Whiten(DayKeyColour(0), weight), 0, "restart");
}

TEST(DayTime, TheSettingPicksTheFolderAndAnyOtherValueEachWithEqualChance) {
    // (The folders are read by the sky box tests.)
    EXPECT_TRUE(SkyBoxFolder(0) == nullptr && SkyBoxFolder(5) == nullptr);
    std::mt19937 random(1234);
    auto draw = [&random] { return static_cast<int>(random() & 0x7FFFFFFF); };
    EXPECT_EQ(ChooseDayTime(kDayTimeEvening, draw), kDayTimeEvening);
    std::map<int, int> counts;
    for (int i = 0; i < 8000; ++i)
        ++counts[ChooseDayTime(i % 3 == 0 ? 0 : (i % 3 == 1 ? -1 : 99), draw)];
    ++counts[ChooseDayTime(0, [] { return -7; })];  // a source of negative values too
    ASSERT_EQ(counts.size(), 4u);
    for (const auto& [dayTime, count] : counts)
        EXPECT_TRUE(SkyBoxFolder(dayTime) && std::abs(count - 2000) < 150) << dayTime << ": " << count;
}

TEST(SkyModel, TheSkyIsBluestHighUpPalerAtTheHorizonAndBrightestAtTheSun) {
    SineTable sine;
    CFSSkyModel sky(&sine);
    sky.SetTurbidity(3.0f);
    sky.SetSun(0.3f, 0.0f);
    // A clear noon zenith is bluish white, and a low sun darkens it.
    EXPECT_TRUE(sky.ZenithX() > 0.2f && sky.ZenithX() < 0.33f) << sky.ZenithX();
    const float noonZenith = sky.ZenithLuminance();
    const FSSkyColour high = sky.SkyColour(0.6f, kPi), horizon = sky.SkyColour(1.3089969f, kPi);
    EXPECT_TRUE(high.b > high.g && high.g > high.r);
    EXPECT_GT(high.b / high.r, horizon.b / horizon.r);
    EXPECT_GT(Brightness(sky.SkyColour(0.3f, 0.0f)), Brightness(high));
    for (float theta = 0.0f; theta <= 2.5f; theta += 0.1f) {
        for (float phi = -kPi; phi <= kPi; phi += 0.4f) {
            const FSSkyColour c = sky.SkyColour(theta, phi);
            for (float v : {c.r, c.g, c.b})
                ASSERT_TRUE(v >= 0.0f && v <= 1.0f) << theta << " " << phi;  // never NaN or beyond
        }
    }
    sky.SetSun(1.48f, 0.7f);  // 85° from the zenith: redder toward the sun, darker overhead
    EXPECT_LT(sky.ZenithLuminance(), noonZenith / 3);
    const FSSkyColour towardSun = sky.SkyColour(1.3f, 0.7f), zenith = sky.SkyColour(0.0f, 0.0f);
    EXPECT_GT(towardSun.r / towardSun.b, zenith.r / zenith.b);
    EXPECT_GT(Brightness(towardSun), Brightness(sky.SkyColour(1.3f, 0.7f + kPi)));
    // The fast sine gives the library's colours.
    CFSSkyModel slow;
    slow.SetTurbidity(3.0f);
    slow.SetSun(1.48f, 0.7f);
    for (float theta : {0.1f, 0.8f, 1.3f}) {
        const FSSkyColour fast = sky.SkyColour(theta, 0.4f), library = slow.SkyColour(theta, 0.4f);
        EXPECT_TRUE(std::fabs(fast.r - library.r) < 1e-3f && std::fabs(fast.b - library.b) < 1e-3f) << theta;
    }
}

}  // namespace
