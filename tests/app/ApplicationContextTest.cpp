#include <gtest/gtest.h>

#include "app/FSApplicationContext.h"

namespace {

TEST(ApplicationContext, IsMadeOnceWithTheDefaults) {
    ResetApplicationContext();
    CFSApplicationContext* context = GetApplicationContext();
    EXPECT_EQ(context, GetApplicationContext());
    EXPECT_NE(context->input, nullptr);
    // The factory settings with their derived values.
    EXPECT_EQ(context->video.renderWidth, 240);
    EXPECT_FLOAT_EQ(context->game.keyPitchRate, FactoryGameBlock().keyPitchRate);
    // Nothing applied yet: the first comparison after loading rebuilds everything.
    EXPECT_NE(context->video, context->appliedVideo);
    EXPECT_EQ(context->appliedGame.touchscreenScheme, -1);
    ResetApplicationContext();
}

}  // namespace
