#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "flight/FSAircraftCurves.h"
#include "world/FSAtmosphere.h"

namespace {

float Degrees(float d) {
    return d * 0.017453292f;
}

TEST(AircraftCurves, LiftPeaksAtFifteenDegreesAndStallsBySeventeen) {
    EXPECT_FLOAT_EQ(LiftCoefficient(Degrees(15.0f)), 1.0314f);
    EXPECT_FLOAT_EQ(LiftCoefficient(Degrees(17.0f)), 0.5802f);
    EXPECT_FLOAT_EQ(LiftCoefficient(0.0f), 0.0f);
    // Between breakpoints the table is interpolated linearly.
    EXPECT_NEAR(LiftCoefficient(Degrees(5.0f)), 0.4314f, 1e-5f);
    EXPECT_NEAR(LiftCoefficient(Degrees(16.0f)), (1.0314f + 0.5802f) / 2.0f, 1e-5f);
    // Lift keeps rising past the stall warning angle (10 degrees) up to 15 degrees.
    EXPECT_GT(LiftCoefficient(Degrees(12.0f)), LiftCoefficient(Degrees(10.0f)));
    EXPECT_GT(LiftCoefficient(Degrees(14.9f)), LiftCoefficient(Degrees(12.0f)));
}

TEST(AircraftCurves, LiftIsOddAndDragEvenWithItsBaseDragAdded) {
    EXPECT_FLOAT_EQ(LiftCoefficient(Degrees(-15.0f)), -1.0314f);
    EXPECT_FLOAT_EQ(DragCoefficient(Degrees(-15.0f)), 0.0577f + 0.025f);
    EXPECT_FLOAT_EQ(DragCoefficient(Degrees(15.0f)), 0.0577f + 0.025f);
    EXPECT_FLOAT_EQ(DragCoefficient(0.0f), 0.025f);
    for (float d : {3.0f, 33.0f, 95.0f, 171.0f}) {
        EXPECT_EQ(LiftCoefficient(Degrees(-d)), -LiftCoefficient(Degrees(d))) << d;
        EXPECT_EQ(DragCoefficient(Degrees(-d)), DragCoefficient(Degrees(d))) << d;
    }
    // Broadside the plate has most drag and almost no lift.
    EXPECT_FLOAT_EQ(DragCoefficient(Degrees(90.0f)), 1.8377f + 0.025f);
}

TEST(AircraftCurves, FlowFromBehindAndAnglesOffTheTableGiveNoLiftAndBaseDrag) {
    const float pi = 3.14159265f;
    EXPECT_EQ(LiftCoefficient(pi), 0.0f);
    EXPECT_EQ(DragCoefficient(pi), 0.025f);
    EXPECT_EQ(LiftCoefficient(-pi), 0.0f);
    EXPECT_EQ(LiftCoefficient(4.0f), 0.0f);
    EXPECT_EQ(DragCoefficient(-7.0f), 0.025f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(LiftCoefficient(nan), 0.0f);
    EXPECT_EQ(DragCoefficient(nan), 0.025f);
    // Just short of 180 degrees the table runs down to 0.
    EXPECT_NEAR(LiftCoefficient(Degrees(179.9f)), -0.8132f * 0.01f, 1e-3f);
}

TEST(AircraftCurves, DensityFollowsTheStandardAtmosphereTable) {
    // In the model's unit, kg/km³.
    const float seaLevel = 1.224999f * 999999808.0f;
    EXPECT_FLOAT_EQ(ModelAirDensity(0.0f), seaLevel);
    EXPECT_FLOAT_EQ(ModelAirDensity(1.0f), (1.224999f + 1.00649f) / 2.0f * 999999808.0f);
    EXPECT_FLOAT_EQ(ModelAirDensity(-0.005f), seaLevel);
    // 40 km × 999.99994 falls a hair short of 40 000 m, still in the last interval.
    EXPECT_NEAR(ModelAirDensity(40.0f), 0.000062f * 999999808.0f, 10.0f);
    EXPECT_EQ(ModelAirDensity(40.01f), 0.0f);
    EXPECT_EQ(ModelAirDensity(45.0f), 0.0f);
    // The shared table, in metres and kg/m³: exactly the values the flight model needs.
    const float table[21] = {1.224999f, 1.00649f,  0.819129f, 0.659697f, 0.525167f, 0.412706f, 0.319669f,
                             0.243598f, 0.182219f, 0.133438f, 0.095339f, 0.06618f,  0.044392f, 0.02857f,
                             0.017473f, 0.010021f, 0.005285f, 0.002489f, 0.000996f, 0.00031f,  0.000062f};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(AirDensity(2000.0f * static_cast<float>(i)), table[i]) << i;
        EXPECT_NEAR(AirDensity(2000.0f * static_cast<float>(i) + 1000.0f), (table[i] + table[i + 1]) / 2.0f,
                    1e-6f)
            << i;
    }
    EXPECT_EQ(AirDensity(-5.0f), 1.224999f);
    EXPECT_EQ(AirDensity(40000.0f), 0.0f);
}

}  // namespace
