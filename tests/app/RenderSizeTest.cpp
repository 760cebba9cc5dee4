#include <gtest/gtest.h>

#include "app/FSApplicationContext.h"

namespace {

FSVideoBlock Sized(int resolution, float aspect) {
    FSVideoBlock video;
    video.resolution = resolution;
    video.screenAspect = aspect;
    DeriveRenderSize(video);
    return video;
}

TEST(RenderSize, FollowsResolutionAndAspect) {
    EXPECT_EQ(Sized(0, 1.0f).renderWidth, 120);
    EXPECT_EQ(Sized(0, 1.0f).renderHeight, 160);
    EXPECT_EQ(Sized(1, 0.3f).renderWidth, 240);
    EXPECT_EQ(Sized(1, 0.3f).renderHeight, 320);

    const FSVideoBlock a = Sized(2, 0.7f);  // 224 high, 168 wide
    EXPECT_EQ(a.renderWidth, 168);
    EXPECT_EQ(a.renderHeight, 224);
    const FSVideoBlock b = Sized(2, 0.75f);
    EXPECT_EQ(b.renderWidth, 180);
    EXPECT_EQ(b.renderHeight, 240);
    const FSVideoBlock c = Sized(2, 0.5f);
    EXPECT_EQ(c.renderWidth, 120);
    EXPECT_EQ(c.renderHeight, 160);
    const FSVideoBlock odd = Sized(2, 0.81f);  // 259.2 high: odd, so 258 and 3:4 of it
    EXPECT_EQ(odd.renderHeight, 258);
    EXPECT_EQ(odd.renderWidth, 193);
}

TEST(RenderSize, AnUnknownResolutionKeepsTheSize) {
    FSVideoBlock video = Sized(0, 1.0f);
    video.resolution = 7;
    DeriveRenderSize(video);
    EXPECT_EQ(video.renderWidth, 120);
    EXPECT_EQ(video.renderHeight, 160);
}

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
