// The sensitivity curve the shell puts the stick through, and the device line of the
// controls screen.
#include <gtest/gtest.h>

#include "app/FSAnalogInput.h"

TEST(AnalogInput, TheCurveKeepsCentreEndsAndSignAndTheDeviceIsNamedByItsKind) {
    const float curve[][3] = {
        {0.0f, 0.15f, 0.0f},    {1.0f, 0.05f, 1.0f},    {-1.0f, 0.15f, -1.0f},    {0.5f, 0.1f, 0.5f},
        {0.5f, 0.15f, 0.6875f}, {0.5f, 0.05f, 0.3125f}, {-0.5f, 0.15f, -0.6875f}, {2.0f, 0.1f, 1.0f},
        {0.5f, 0.5f, 0.6875f},  // off the ends: held to them
    };
    for (const auto& c : curve)
        EXPECT_NEAR(StickResponse(c[0], c[1]), c[2], 1e-6f) << c[0] << " at " << c[1];
    struct Device {
        bool present, controller;
        const char *name, *want;
    };
    for (const Device& d : {Device{false, false, "", "Keyboard and mouse"},
                            Device{true, true, "Xbox 360 Controller", "Controller: Xbox 360 Controller"},
                            Device{true, false, "", "Joystick: unnamed"}}) {
        FSStick stick;
        stick.present = d.present, stick.gameController = d.controller, stick.name = d.name;
        EXPECT_EQ(ControlDeviceText(stick), d.want);
    }
}
