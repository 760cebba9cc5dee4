#include <gtest/gtest.h>

#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSTouchpadSetup.h"
#include "hud/FSTouchpad.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "support/HeadlessTestGame.h"
#include "support/TouchpadPlacements.h"
#include "world/FSRandom.h"

using namespace testing_support;

namespace {

// The device frame a few frames into the test flight shown in orientation 2, with
// "touchscreen_scheme" at scheme while the pad is prepared (or not) and at inFlight once
// it runs. The world's random source starts alike, so like settings give like frames.
std::vector<uint16_t> FlightFrame(int scheme, bool prepare, int inFlight) {
    WorldRandom().Seed(1);
    HeadlessTestGame game;
    EXPECT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    context.game.screenAlign = 2;
    context.game.touchscreenScheme = scheme;
    if (prepare) PrepareTouchpad(context);
    game.StartFlight();
    context.game.touchscreenScheme = inFlight;
    game.Pass(4);
    EXPECT_EQ(context.engine->State(), Flying);
    return game.display.LastFrame();
}

TEST(TouchpadOverlay, ThePadIsDrawnOverTheFlightOnlyWhileTheSchemeIsOn) {
    const std::vector<uint16_t> plain = FlightFrame(0, false, 0);
    // The same flight with the pad: exactly the plain frame with the pad's picture copied
    // over it at the orientation-2 placement, the lower right of the landscape screen.
    CFSTouchpad pad;
    const TouchpadPlacement& landscape = kTouchpadPlacements[2];
    pad.SetTouchpadRect(2, landscape.origin, landscape.size, landscape.dead);
    ASSERT_TRUE(pad.LoadImages(MakeDataPath("data\\huds.zip")));
    std::vector<uint16_t> expected = plain;
    pad.Draw(expected.data(), 2);
    const ChangedArea area = Changes(plain, expected, MFSDisplay::kWidth);
    EXPECT_GT(area.count, 120 * 160 / 2);
    EXPECT_TRUE(area.left >= 0 && area.right <= 120 && area.top >= 160 && area.bottom <= 320) << area;
    EXPECT_EQ(Changes(expected, FlightFrame(1, true, 1), MFSDisplay::kWidth).count, 0);
    // Without the scheme the engine draws no pad, whether the scheme was switched off
    // after the pad was made or the pad was released while it was off.
    EXPECT_EQ(Changes(plain, FlightFrame(1, true, 0), MFSDisplay::kWidth), ChangedArea{});
    EXPECT_EQ(Changes(plain, FlightFrame(0, true, 1), MFSDisplay::kWidth), ChangedArea{});
}

TEST(TouchpadOverlay, PrepareSetsTheThreePlacementsAndReleasesWithTheSchemeOff) {
    CFSApplicationContext context;
    for (int scheme : {1, 2, 3}) {
        context.game.touchscreenScheme = scheme;
        ASSERT_TRUE(PrepareTouchpad(context)) << scheme;
        ASSERT_TRUE(context.touchpad && context.touchpad->HasImages());
        FSTouchpadRect r;
        for (const TouchpadPlacement& p : kTouchpadPlacements)
            EXPECT_TRUE(context.touchpad->GetTouchpadRect(p.alignment, r) && IsPlacedAt(r, p)) << p.alignment;
    }
    context.game.touchscreenScheme = 0;
    EXPECT_FALSE(PrepareTouchpad(context));
    EXPECT_EQ(context.touchpad, nullptr);
}

}  // namespace
