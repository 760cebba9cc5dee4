#include <gtest/gtest.h>

#include <string>
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

using testing_support::ChangedArea;
using testing_support::Changes;
using testing_support::HeadlessTestGame;
using testing_support::kTouchpadPlacements;
using testing_support::TouchpadPlacement;

namespace {

// How the flight is set up before it starts: "touchscreen_scheme", and whether the pad is
// prepared while that scheme is set.
struct PadSetting {
    int scheme;
    bool prepare;
    int schemeInFlight;  // the scheme once the flight runs
};

// The device frame after a few frames of the test flight, shown in orientation 2. The
// world's random source (smoke, the propeller's phase) starts alike for every flight, so
// flights with the same setting give the same frame.
std::vector<uint16_t> FlightFrame(const PadSetting& setting) {
    WorldRandom().Seed(1);
    HeadlessTestGame game;
    EXPECT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    context.game.screenAlign = 2;
    context.game.touchscreenScheme = setting.scheme;
    if (setting.prepare) PrepareTouchpad(context);
    game.StartFlight();
    context.game.touchscreenScheme = setting.schemeInFlight;
    game.Pass(4);
    EXPECT_EQ(context.engine->State(), Flying);
    return game.display.LastFrame();
}

TEST(TouchpadOverlay, ThePadIsDrawnOverTheFlightOnlyWhileTheSchemeIsOn) {
    const std::vector<uint16_t> plain = FlightFrame({0, false, 0});
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
    EXPECT_GE(area.left, 0);
    EXPECT_LE(area.right, 120);
    EXPECT_GE(area.top, 160);
    EXPECT_LE(area.bottom, 320);
    const std::vector<uint16_t> withPad = FlightFrame({1, true, 1});
    EXPECT_EQ(Changes(expected, withPad, MFSDisplay::kWidth).count, 0);

    // Without the scheme the engine draws no pad, whether or not one was made.
    const struct {
        PadSetting setting;
        const char* why;
    } kNoPad[] = {
        {{1, true, 0}, "scheme switched off with a pad made"},
        {{0, true, 1}, "pad released while the scheme was off"},
    };
    for (const auto& c : kNoPad)
        EXPECT_EQ(Changes(plain, FlightFrame(c.setting), MFSDisplay::kWidth), ChangedArea{}) << c.why;
}

TEST(TouchpadOverlay, PrepareSetsTheThreePlacementsAndReleasesWithTheSchemeOff) {
    CFSApplicationContext context;
    for (int scheme : {1, 2, 3}) {
        context.game.touchscreenScheme = scheme;
        ASSERT_TRUE(PrepareTouchpad(context)) << scheme;
        ASSERT_NE(context.touchpad, nullptr);
        EXPECT_TRUE(context.touchpad->HasImages());
        for (const TouchpadPlacement& p : kTouchpadPlacements) {
            FSTouchpadRect r;
            ASSERT_TRUE(context.touchpad->GetTouchpadRect(p.alignment, r));
            EXPECT_EQ((std::vector<int32_t>{r.x, r.y, r.width, r.height, r.deadWidth, r.deadHeight}),
                      (std::vector<int32_t>{p.origin.x, p.origin.y, p.size.w, p.size.h, p.dead.w, p.dead.h}))
                << p.alignment;
        }
    }
    context.game.touchscreenScheme = 0;
    EXPECT_FALSE(PrepareTouchpad(context));
    EXPECT_EQ(context.touchpad, nullptr);
}

}  // namespace
