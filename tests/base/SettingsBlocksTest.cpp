// What the settings blocks derive: the render size and the control gains.
#include <gtest/gtest.h>

#include "base/FSSettingsBlocks.h"

namespace {

TEST(RenderSize, FollowsResolutionAndAspectAndKeepsTheSizeForAnUnknownResolution) {
    struct Case {
        int resolution;
        float aspect;
        int width, height;
    };
    const Case cases[] = {
        {0, 1.0f, 120, 160}, {1, 0.3f, 240, 320},  {2, 0.7f, 168, 224}, {2, 0.75f, 180, 240},
        {2, 0.5f, 120, 160}, {2, 0.81f, 193, 258},  // 259.2 high: odd, so 258 and 3:4 of it
        {7, 1.0f, 240, 320},                        // unknown: the size stays as it was
    };
    for (const Case& c : cases) {
        FSVideoBlock video;
        video.resolution = c.resolution;
        video.screenAspect = c.aspect;
        DeriveRenderSize(video);
        EXPECT_EQ(video.renderWidth, c.width) << c.resolution << " " << c.aspect;
        EXPECT_EQ(video.renderHeight, c.height) << c.resolution << " " << c.aspect;
    }
}

TEST(ControlGains, SensitivitiesMapThroughTheirCentresAndTheBalanceTradesBetweenAxes) {
    // The factory settings already have their gains, never zero.
    const FSGameBlock& factory = FactoryGameBlock();
    EXPECT_FLOAT_EQ(factory.keyPitchRate, 0.125f);
    EXPECT_FLOAT_EQ(factory.keyRollRate, 0.125f);
    EXPECT_FLOAT_EQ(factory.stylusPitchRate, 0.05f);
    EXPECT_FLOAT_EQ(factory.stylusRollRate, 0.05f);

    struct Case {
        float joystick, balance, touch, joystickCentre;
        float keyPitch, keyRoll, stylusPitch;
    };
    const Case cases[] = {
        // Ends stay ends, the middle becomes the centre.
        {0.05f, 0.0f, 0.0f, 0.1f, 0.05f, 0.05f, 0.0f},
        {0.15f, 0.0f, 0.1f, 0.1f, 0.15f, 0.15f, 0.1f},
        {0.1f, 0.0f, 0.05f, 0.08f, 0.08f, 0.08f, 0.05f},
        // Halfway down: halfway from the centre to the low end.
        {0.075f, 0.0f, 0.05f, 0.08f, 0.065f, 0.065f, 0.05f},
        // +3 gives the pitch keys four times the gain and the roll keys a quarter; -3 the
        // other way round.
        {0.1f, 3.0f, 0.05f, 0.1f, 0.4f, 0.025f, 0.2f},
        {0.1f, -3.0f, 0.05f, 0.1f, 0.025f, 0.4f, 0.0125f},
    };
    for (const Case& c : cases) {
        FSGameBlock game;
        game.joystickSensitivity = c.joystick;
        game.xySensitivity = c.balance;
        game.touchscreenSensitivity = c.touch;
        game.joystickCentre = c.joystickCentre;
        DeriveControlGains(game);
        EXPECT_FLOAT_EQ(game.keyPitchRate, c.keyPitch) << c.joystick << " " << c.balance;
        EXPECT_FLOAT_EQ(game.keyRollRate, c.keyRoll) << c.joystick << " " << c.balance;
        EXPECT_FLOAT_EQ(game.stylusPitchRate, c.stylusPitch) << c.touch << " " << c.balance;
    }
}

}  // namespace
