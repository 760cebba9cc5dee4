// The aircraft choice's clip, headless through the whole game: the video thread plays the
// chosen aircraft's clip into the clip area; without the decoder library the aircraft's
// still picture stands there instead.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "app/FSApplicationContext.h"
#include "base/FSActions.h"
#include "menu/CSPMenu.h"
#include "menu/CSPMenuStatePlane.h"
#include "resources/FSArchive.h"
#include "resources/FSBitmap.h"
#include "support/HeadlessTestGame.h"

namespace {

constexpr int kWidth = 320;

// The clip area of the shown picture (320 x 240, upright).
std::vector<uint16_t> ClipArea(const HeadlessGame& game) {
    const std::vector<uint16_t> picture = game.Picture();
    std::vector<uint16_t> area;
    const FSPoint at = CSPMenuStatePlane::kClipAt;
    for (int y = 0; y < CSPMenuStatePlane::kClipSize.h - 1; ++y)
        for (int x = 0; x < CSPMenuStatePlane::kClipSize.w; ++x)
            area.push_back(picture[static_cast<size_t>(at.y + y) * kWidth + at.x + x]);
    return area;
}

int DifferentPixels(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += a[i] != b[i];
    return count;
}

TEST(AircraftClip, TheVideoThreadPlaysTheClipIntoTheChoiceScreen) {
    testing_support::HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext* context = GetApplicationContext();
    ASSERT_EQ(context->clipDecoderReady, 1) << "the decoder library is built beside the tests";
    ASSERT_EQ(context->videoThread, &game.menu->VideoThread());
    game.menu->SwitchScreen(4, 0);
    game.Pass();
    auto* screen = dynamic_cast<CSPMenuStatePlane*>(game.menu->CurrentScreen());
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->ClipPlaying());
    EXPECT_EQ(context->videoThreadRunning, 1);
    // The clip moves on by itself, at its own pace, while the player does nothing.
    std::vector<std::vector<uint16_t>> seen = {ClipArea(game)};
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        game.Pass();
        seen.push_back(ClipArea(game));
    }
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_GT(DifferentPixels(seen[i - 1], seen[i]), 500) << "pass " << i;
    // Another aircraft: its clip, then leaving stops the thread.
    game.Tap(2);
    EXPECT_TRUE(screen->ClipPlaying());
    EXPECT_EQ(screen->SelectedAircraft(), 1);
    game.menu->SwitchScreen(2, 0);
    EXPECT_EQ(context->videoThreadRunning, 0);
    EXPECT_TRUE(game.menu->VideoThread().Suspended());
}

TEST(AircraftClip, WithoutTheDecoderLibraryTheStillPictureStandsThere) {
    testing_support::HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    GetApplicationContext()->clipDecoderReady = 0;  // as when "xvid_ppc.dll" is missing
    game.menu->SwitchScreen(4, 0);
    game.Pass();
    auto* screen = dynamic_cast<CSPMenuStatePlane*>(game.menu->CurrentScreen());
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->ClipPlaying());
    const FSBitmapHandle still = LoadBitmap(MakeDataPath("data\\menu.zip"),
                                            CSPMenuStatePlane::StillMember(screen->SelectedAircraft()));
    ASSERT_TRUE(still);
    const std::vector<uint16_t> area = ClipArea(game);
    for (const FSPoint p :
         {FSPoint{0, 0}, FSPoint{155, 0}, FSPoint{78, 58}, FSPoint{10, 100}, FSPoint{150, 110}})
        EXPECT_EQ(area[static_cast<size_t>(p.y) * 156 + p.x],
                  still->storage[static_cast<size_t>(p.y) * still->Stride() + p.x])
            << p.x << "," << p.y;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    game.Pass();
    EXPECT_EQ(ClipArea(game), area);  // a still stays still
}

}  // namespace
