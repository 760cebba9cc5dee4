// The stick on its way into the frame: the sensitivity curve, the copy the shell makes each
// pass, and the device line of the controls screen.
#include <gtest/gtest.h>

#include "app/FSAnalogInput.h"

namespace {

TEST(AnalogInput, TheSensitivityCurveKeepsCentreEndsAndSignAndShapesTheMiddle) {
    struct Case {
        float axis, sensitivity, want;
    };
    const Case cases[] = {
        {0.0f, 0.15f, 0.0f},      {1.0f, 0.05f, 1.0f},    {1.0f, 0.15f, 1.0f},
        {-1.0f, 0.1f, -1.0f},     {0.5f, 0.1f, 0.5f},      // the middle setting is linear
        {0.5f, 0.15f, 0.6875f},   {0.5f, 0.05f, 0.3125f},  // stronger, gentler near the centre
        {-0.5f, 0.15f, -0.6875f}, {2.0f, 0.1f, 1.0f},      // beyond the end is the end
        {0.5f, 0.5f, 0.6875f},    {0.5f, 0.0f, 0.3125f},   // a setting off its range is held to it
    };
    for (const Case& c : cases)
        EXPECT_NEAR(StickResponse(c.axis, c.sensitivity), c.want, 1e-6f) << c.axis << " at " << c.sensitivity;
    // Never turns back: a further stick is never a smaller deflection.
    for (const float s : {0.05f, 0.1f, 0.15f})
        for (float v = 0.0f; v < 1.0f; v += 0.01f)
            EXPECT_LE(StickResponse(v, s), StickResponse(v + 0.01f, s) + 1e-6f) << v << " at " << s;
}

TEST(AnalogInput, TheCopyFillsTheFrameWhileAStickIsThereAndClearsItWhenItGoes) {
    FSStick stick;
    stick.present = true;
    stick.x = -1.0f;
    stick.y = 0.5f;
    stick.twist = 1.0f;
    stick.throttle = 0.25f;
    FSFrameValues frame;
    CopyStickToFrame(stick, 0.1f, frame);
    EXPECT_EQ(frame.analogActive, 1);
    EXPECT_EQ(frame.analogRoll, -1.0f);
    EXPECT_EQ(frame.analogPitch, 0.5f) << "pulled back is nose up";
    EXPECT_EQ(frame.analogRudder, 1.0f);
    EXPECT_EQ(frame.analogThrottle, 0.25f);
    CopyStickToFrame(FSStick(), 0.1f, frame);
    EXPECT_EQ(frame.analogActive, 0);
    EXPECT_EQ(frame.analogRoll, 0.0f);
    EXPECT_EQ(frame.analogPitch, 0.0f);
    EXPECT_EQ(frame.analogRudder, 0.0f);
    EXPECT_LT(frame.analogThrottle, 0.0f);
}

TEST(AnalogInput, TheControlsScreenNamesTheDeviceInUse) {
    struct Case {
        bool present, controller;
        const char* name;
        const char* want;
    };
    const Case cases[] = {
        {false, false, "", "Keyboard and mouse"},
        {true, true, "Xbox 360 Controller", "Controller: Xbox 360 Controller"},
        {true, false, "Logitech Extreme 3D", "Joystick: Logitech Extreme 3D"},
        {true, false, "", "Joystick: unnamed"},
    };
    for (const Case& c : cases) {
        FSStick stick;
        stick.present = c.present;
        stick.gameController = c.controller;
        stick.name = c.name;
        EXPECT_EQ(ControlDeviceText(stick), c.want);
    }
}

}  // namespace
