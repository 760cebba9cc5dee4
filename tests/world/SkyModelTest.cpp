#include <gtest/gtest.h>

#include <cmath>

#include "world/FSAtmosphere.h"
#include "world/FSSineTable.h"
#include "world/FSSkyModel.h"

namespace {

constexpr float kPi = 3.14159265f;

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
