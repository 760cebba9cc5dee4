// The shared lift and drag curves over the angle of attack, and the air density the force
// model flies in.
#include <gtest/gtest.h>

#include <limits>

#include "flight/FSAircraftCurves.h"
#include "world/FSAtmosphere.h"

namespace {

float Degrees(float d) {
    return d * 0.017453292f;
}

TEST(AircraftCurves, LiftPeaksAtFifteenDegreesAndIsOddWhileDragIsEven) {
    struct Point {
        float degrees, lift, drag;
    };
    // Breakpoints and points between them (interpolated linearly); the drag includes the
    // 0.025 every plate has.
    for (const Point p :
         {Point{0.0f, 0.0f, 0.025f}, Point{5.0f, 0.4314f, 0.03545f}, Point{15.0f, 1.0314f, 0.0827f},
          Point{16.0f, 0.8058f, 0.16205f}, Point{17.0f, 0.5802f, 0.2414f}, Point{90.0f, 0.0744f, 1.8627f}}) {
        EXPECT_NEAR(LiftCoefficient(Degrees(p.degrees)), p.lift, 1e-5f) << p.degrees;
        EXPECT_NEAR(LiftCoefficient(Degrees(-p.degrees)), -p.lift, 1e-5f) << p.degrees;
        EXPECT_NEAR(DragCoefficient(Degrees(p.degrees)), p.drag, 1e-5f) << p.degrees;
        EXPECT_EQ(DragCoefficient(Degrees(-p.degrees)), DragCoefficient(Degrees(p.degrees))) << p.degrees;
    }
    // Lift keeps rising past the stall warning angle (10 degrees) up to 15 degrees.
    EXPECT_GT(LiftCoefficient(Degrees(12.0f)), LiftCoefficient(Degrees(10.0f)));
    EXPECT_GT(LiftCoefficient(Degrees(14.9f)), LiftCoefficient(Degrees(12.0f)));
}

TEST(AircraftCurves, FlowFromBehindAndAnglesOffTheTableGiveNoLiftAndBaseDrag) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float angle : {3.14159265f, -3.14159265f, 4.0f, -7.0f, nan}) {
        EXPECT_EQ(LiftCoefficient(angle), 0.0f) << angle;
        EXPECT_EQ(DragCoefficient(angle), 0.025f) << angle;
    }
    // Just short of 180 degrees the table runs down to 0.
    EXPECT_NEAR(LiftCoefficient(Degrees(179.9f)), -0.8132f * 0.01f, 1e-3f);
}

TEST(AirDensity, FollowsTheStandardAtmosphereAndEndsAtFortyKilometres) {
    // The standard atmosphere's density (kg/m³) at some heights (m), within 1 %.
    struct Sample {
        float metres, density;
    };
    for (const Sample s : {Sample{0.0f, 1.2250f}, Sample{1000.0f, 1.1117f}, Sample{3000.0f, 0.9093f},
                           Sample{5000.0f, 0.7364f}, Sample{8000.0f, 0.5258f}, Sample{11000.0f, 0.3639f}})
        EXPECT_NEAR(AirDensity(s.metres), s.density, 0.01f * s.density) << s.metres;
    // Thinning all the way up, to nothing at 40 km; below 0 m as at sea level.
    for (float metres = 0.0f; metres < 40000.0f; metres += 500.0f)
        EXPECT_LT(AirDensity(metres + 500.0f), AirDensity(metres)) << metres;
    EXPECT_EQ(AirDensity(-5.0f), AirDensity(0.0f));
    EXPECT_EQ(AirDensity(40000.0f), 0.0f);
    EXPECT_EQ(AirDensity(45000.0f), 0.0f);
    // The model reads it by altitude in km, in kg/km³.
    EXPECT_NEAR(ModelAirDensity(3.0f), AirDensity(3000.0f) * 1e9f, 1e-5f * ModelAirDensity(3.0f));
    EXPECT_EQ(ModelAirDensity(45.0f), 0.0f);
}

}  // namespace
