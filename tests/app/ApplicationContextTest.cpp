#include <gtest/gtest.h>

#include "app/FSApplicationContext.h"

namespace {

TEST(ApplicationContext, IsMadeOnceWithTheDefaults) {
    ResetApplicationContext();
    CFSApplicationContext* context = GetApplicationContext();
    EXPECT_EQ(context, GetApplicationContext());
    EXPECT_NE(context->input, nullptr);
    EXPECT_EQ(context->video.resolution, 1);
    EXPECT_EQ(context->video.visibilityRange, 33);
    EXPECT_EQ(context->video.objectsQuality, 1);
    EXPECT_FLOAT_EQ(context->game.joystickSensitivity, 0.125f);
    EXPECT_EQ(context->game.screenAlign, 2);
    EXPECT_EQ(context->route.dayTime, 2);
    EXPECT_EQ(context->route.weatherType, 1);
    EXPECT_EQ(context->menuOrientation, 2);
    EXPECT_FLOAT_EQ(context->frame.timeScale, 1.0f);
    // Nothing applied yet: the first comparison after loading rebuilds everything.
    EXPECT_NE(context->video, context->appliedVideo);
    EXPECT_EQ(context->appliedGame.touchscreenScheme, -1);
    ResetApplicationContext();
}

}  // namespace
