// The sky model's colours, the day cycle's clear colour and sunlight, and the choice of
// the time of day.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>

#include "platform/FSGLSurface.h"
#include "world/FSAtmosphere.h"
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

TEST(DayCycle, EachQuarterStartsOnItsKeyAndTheFastQuartersHoldTheNextKey) {
    EXPECT_EQ(DayKeyColour(0).r, FloatToFixed(0.3059f));
    EXPECT_EQ(DayKeyColour(1).b, kFixedOne);
    EXPECT_EQ(DayKeyColour(3).r, 0);
    for (int k = 0; k < kDayKeys; ++k) {
        const std::string where = "quarter " + std::to_string(k);
        ExpectColour(DayCycleColour(0.25f * k), DayKeyColour(k), 0, where);
        // A whole number of days later it is the same time of day.
        ExpectColour(DayCycleColour(3.0f + 0.25f * k), DayKeyColour(k), 2, where);
    }
    for (int k : {0, 2}) {
        const float start = 0.25f * k;
        // Two thirds of the way through, the next key is reached and then held.
        for (float part : {0.667f, 0.8f, 0.999f})
            ExpectColour(DayCycleColour(start + 0.25f * part), DayKeyColour(k + 1), 8,
                         "held " + std::to_string(k));
        // One third of the way: half-way between the keys.
        const FSFixedColour mid = DayCycleColour(start + 0.25f / 3.0f);
        EXPECT_NEAR(mid.b, (DayKeyColour(k).b + DayKeyColour(k + 1).b) / 2, 8);
    }
    for (int k : {1, 3}) {
        // Even change: half-way through the quarter is half-way between the keys.
        const FSFixedColour mid = DayCycleColour(0.25f * k + 0.125f);
        const FSFixedColour from = DayKeyColour(k), to = DayKeyColour(k + 1);
        ExpectColour(mid, {(from.r + to.r) / 2, (from.g + to.g) / 2, (from.b + to.b) / 2}, 8,
                     "quarter " + std::to_string(k));
    }
    // The night quarter leads back to the morning key at the end of the day.
    ExpectColour(DayCycleColour(0.99999f), DayKeyColour(0), 32, "end of day");
    ExpectColour(DayCycleColour(NAN), DayKeyColour(0), 0, "not a number");
}

TEST(DayCycle, SunlightFallsFromTheModelsSunTenDegreesUp) {
    for (float azimuth : {-kPi / 2, 0.0f, 1.3f, kPi}) {
        const FSFixedVector s = SunLightDirection(azimuth);
        EXPECT_NEAR(Length(s), kFixedOne, 8);
        EXPECT_NEAR(FixedToFloat(s.y), std::sin(10.0f * kPi / 180.0f), 1e-3f);
        // Horizontally toward the sky model's sun: (cos φ, sin φ) in x and z.
        const float h = std::cos(10.0f * kPi / 180.0f);
        EXPECT_NEAR(FixedToFloat(s.x), h * std::cos(azimuth), 1e-3f) << azimuth;
        EXPECT_NEAR(FixedToFloat(s.z), h * std::sin(azimuth), 1e-3f) << azimuth;
    }
    // The morning sun is in the east (−z), the evening sun in the west (+z).
    EXPECT_LT(SunLightDirection(SunPosition(kDayTimeMorning).azimuth).z, 0);
    EXPECT_GT(SunLightDirection(SunPosition(kDayTimeEvening).azimuth).z, 0);
    // Whitening: 0.6 for a camera without a turn; less when its axis points at the sun.
    const FSFixedVector sun = SunLightDirection(0.0f);
    EXPECT_NEAR(SunWhitening(sun, FSQuaternion::Identity()), FloatToFixed(0.6f), 2);
    const FSQuaternion towardSun =
        FSQuaternion{0.0f, FixedToFloat(sun.x), FixedToFloat(sun.y), FixedToFloat(sun.z)};
    EXPECT_NEAR(SunWhitening(sun, towardSun), FloatToFixed(0.6f * (1.0f - 1.0f / kPi)), 40);
    const FSFixedColour white = Whiten({0, FixedFromInt(1) / 2, kFixedOne}, FloatToFixed(0.5f));
    EXPECT_NEAR(white.r, kFixedOne / 2, 1);
    EXPECT_NEAR(white.g, FloatToFixed(0.75f), 1);
    EXPECT_EQ(white.b, kFixedOne);
}

TEST(DayCycle, TheEngineObjectRunsTheDayFromItsFirstCall) {
    std::string why;
    ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
    CFSGLSurface surface;
    ASSERT_TRUE(surface.Create(16, 16));
    SineTable sine;
    CFSCamera camera(&sine);
    camera.Sky().SetSun(1.0f, 2.0f);

    CFSSkyColour sky(600.0f);
    const uint32_t start = 0xFFFFF000u;  // the tick count wraps during the day
    const FSFixedVector sun = SunLightDirection(2.0f);
    const FSFixed weight = SunWhitening(sun, FSQuaternion::Identity());
    ExpectColour(sky.UpdateClearColour(camera, start), Whiten(DayKeyColour(0), weight), 0, "first call");
    EXPECT_EQ(camera.LightDirection(), sun);
    // A quarter of the day later (150 s), across the wrap of the tick count.
    const uint32_t quarter = start + 150000u;
    EXPECT_NEAR(sky.DayFraction(quarter), 0.25f, 1e-6f);
    const FSFixedColour noon = sky.UpdateClearColour(camera, quarter);
    ExpectColour(noon, Whiten(DayKeyColour(1), weight), 2, "quarter");
    GLfixed clear[4];
    glGetFixedv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_NEAR(clear[0], noon.r, 300);
    EXPECT_NEAR(clear[2], noon.b, 300);
    EXPECT_EQ(clear[3], kFixedOne);
    // A day of no length holds the first key instead of dividing by zero.
    CFSSkyColour still(0.0f);
    still.UpdateClearColour(camera, 5);
    ExpectColour(still.UpdateClearColour(camera, 900000), Whiten(DayKeyColour(0), weight), 0, "no length");
    // Restart begins the day again.
    sky.Restart();
    ExpectColour(sky.UpdateClearColour(camera, 42), Whiten(DayKeyColour(0), weight), 0, "restart");
}

TEST(DayTime, TheSettingPicksTheFolderAndZeroPicksEachWithEqualChance) {
    EXPECT_STREQ(SkyBoxFolder(kDayTimeMorning), "skyboxes/skybox1/morning");
    EXPECT_STREQ(SkyBoxFolder(kDayTimeNoon), "skyboxes/skybox1/noon");
    EXPECT_STREQ(SkyBoxFolder(kDayTimeEvening), "skyboxes/skybox1/evening");
    EXPECT_STREQ(SkyBoxFolder(kDayTimeNight), "skyboxes/skybox1/night");
    EXPECT_EQ(SkyBoxFolder(0), nullptr);
    EXPECT_EQ(SkyBoxFolder(5), nullptr);

    std::mt19937 random(1234);
    auto draw = [&random] { return static_cast<int>(random() & 0x7FFFFFFF); };
    for (int setting = 1; setting <= 4; ++setting)
        EXPECT_EQ(ChooseDayTime(setting, draw), setting);
    std::map<std::string, int> counts;
    constexpr int kDraws = 8000;
    for (int i = 0; i < kDraws; ++i)
        ++counts[SkyBoxFolder(ChooseDayTime(0, draw))];
    ASSERT_EQ(counts.size(), 4u);
    for (const auto& [folder, count] : counts)
        EXPECT_NEAR(count, kDraws / 4, 150) << folder;
    // Out-of-range settings are taken as random too, never a missing folder.
    for (int setting : {-1, 5, 99})
        EXPECT_NE(SkyBoxFolder(ChooseDayTime(setting, draw)), nullptr);
    // A source with negative values still gives 1..4.
    EXPECT_GE(ChooseDayTime(0, [] { return -7; }), 1);
    EXPECT_LE(ChooseDayTime(0, [] { return -7; }), 4);
}

void ExpectInRange(const FSSkyColour& c) {
    for (float v : {c.r, c.g, c.b}) {
        EXPECT_GE(v, 0.0f);
        EXPECT_LE(v, 1.0f);
        EXPECT_FALSE(std::isnan(v));
    }
}

TEST(SkyModel, ZenithValuesFollowThePublishedFormulas) {
    CFSSkyModel sky;
    EXPECT_FLOAT_EQ(sky.Turbidity(), 1.0f);
    EXPECT_EQ(sky.SunZenith(), 0.0f);
    sky.SetTurbidity(2.0f);
    // Sun overhead: x = 2 × 0.00394 + 0.25886, y = 2 × 0.00516 + 0.26688.
    EXPECT_NEAR(sky.ZenithX(), 0.26674f, 1e-5f);
    EXPECT_NEAR(sky.ZenithY(), 0.27720f, 1e-5f);
    const float chi = (4.0f / 9.0f - 2.0f / 120.0f) * kPi;
    EXPECT_NEAR(sky.ZenithLuminance(), (4.0453f * 2 - 4.9710f) * std::tan(chi) - 0.2155f * 2 + 2.4192f,
                1e-3f);
    // A low sun darkens the zenith.
    const float noon = sky.ZenithLuminance();
    sky.SetSun(1.4f, 0.0f);
    EXPECT_LT(sky.ZenithLuminance(), noon / 3);
}

TEST(SkyModel, NoonSkyIsDeepestBlueHighUpAndPalerAtTheHorizon) {
    SineTable sine;
    CFSSkyModel sky(&sine);
    sky.SetTurbidity(3.0f);
    sky.SetSun(0.3f, 0.0f);
    // High in the sky and at the horizon, both on the side away from the sun.
    const FSSkyColour high = sky.SkyColour(0.6f, kPi);
    const FSSkyColour horizon = sky.SkyColour(1.3089969f, kPi);
    ExpectInRange(high);
    ExpectInRange(horizon);
    EXPECT_GT(high.b, high.g);
    EXPECT_GT(high.g, high.r);
    EXPECT_GT(high.b / high.r, horizon.b / horizon.r);
    EXPECT_GT(high.b - high.r, horizon.b - horizon.r);
    // Looking at the sun itself is brighter still.
    const FSSkyColour sun = sky.SkyColour(0.3f, 0.0f);
    EXPECT_GT(sun.r + sun.g + sun.b, high.r + high.g + high.b);
    for (float theta = 0.0f; theta <= kPi / 2; theta += 0.1f) {
        for (float phi = -kPi; phi <= kPi; phi += 0.4f)
            ExpectInRange(sky.SkyColour(theta, phi));
    }
}

TEST(SkyModel, LowSunMakesTheHorizonTowardTheSunRedder) {
    CFSSkyModel sky;
    sky.SetTurbidity(4.0f);
    sky.SetSun(1.48f, 0.7f);  // 85° from the zenith
    const FSSkyColour towardSun = sky.SkyColour(1.3f, 0.7f);
    const FSSkyColour zenith = sky.SkyColour(0.0f, 0.0f);
    const FSSkyColour away = sky.SkyColour(1.3f, 0.7f + kPi);
    ExpectInRange(towardSun);
    EXPECT_GT(towardSun.r / towardSun.b, zenith.r / zenith.b);
    // Brighter near the sun than opposite it.
    EXPECT_GT(towardSun.r + towardSun.g + towardSun.b, away.r + away.g + away.b);
}

TEST(SkyModel, FastSineGivesTheLibraryColours) {
    SineTable sine;
    CFSSkyModel fast(&sine), slow;
    for (CFSSkyModel* sky : {&fast, &slow}) {
        sky->SetTurbidity(2.5f);
        sky->SetSun(0.9f, -1.0f);
    }
    for (float theta : {0.1f, 0.8f, 1.3f}) {
        const FSSkyColour a = fast.SkyColour(theta, 0.4f), b = slow.SkyColour(theta, 0.4f);
        EXPECT_NEAR(a.r, b.r, 1e-3f);
        EXPECT_NEAR(a.b, b.b, 1e-3f);
    }
    // Below the horizon the colour is the horizon's, not an overflow.
    ExpectInRange(slow.SkyColour(2.5f, 0.0f));
}

TEST(AirDensity, InterpolatesTheStandardAtmosphereTable) {
    EXPECT_FLOAT_EQ(AirDensity(0.0f), 1.224999f);
    EXPECT_FLOAT_EQ(AirDensity(-5.0f), 1.224999f);
    EXPECT_NEAR(AirDensity(1000.0f), (1.224999f + 1.00649f) / 2, 1e-6f);
    EXPECT_FLOAT_EQ(AirDensity(2000.0f), 1.00649f);
    EXPECT_NEAR(AirDensity(39000.0f), (0.00031f + 0.000062f) / 2, 1e-7f);
    EXPECT_EQ(AirDensity(40000.0f), 0.0f);  // no interval holds 40 000 exactly
    EXPECT_EQ(AirDensity(50000.0f), 0.0f);
    EXPECT_EQ(AirDensity(std::nanf("")), 0.0f);
    EXPECT_FLOAT_EQ(kSeaLevelAirDensity, AirDensity(0.0f));
}

}  // namespace
