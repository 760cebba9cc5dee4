#include <gtest/gtest.h>

#include <vector>

#include "platform/FSDisplay.h"
#include "platform/FSNullDisplay.h"

namespace {

TEST(Display, PictureAndDevicePointsRoundTripThroughTheShellsMapping) {
    for (int orientation = 0; orientation < 3; ++orientation) {
        for (auto [px, py] : {std::pair{0, 0}, {10, 20}, {319, 239}, {200, 5}}) {
            if (orientation == 0 && px >= 240) continue;
            int dx = 0, dy = 0;
            platform::PictureToDevice(orientation, px, py, dx, dy);
            // The shell's conversion of a device point for this orientation.
            int sx = dx, sy = dy;
            if (orientation == 1) {
                sx = 320 - dy;
                sy = dx;
            } else if (orientation == 2) {
                sx = dy;
                sy = 240 - dx;
            }
            EXPECT_EQ(sx, px) << orientation;
            EXPECT_EQ(sy, py) << orientation;
        }
    }
}

TEST(Display, TurnsTheDeviceFrameUprightForEachOrientation) {
    std::vector<uint16_t> device(MFSDisplay::kPixels);
    for (int i = 0; i < MFSDisplay::kPixels; ++i)
        device[i] = static_cast<uint16_t>(i * 7);
    std::vector<uint16_t> picture(MFSDisplay::kPixels);
    platform::DeviceToPicture(0, device.data(), picture.data());
    EXPECT_EQ(picture, device);
    // Orientation 2 (the menu): picture (X, Y) is device (239 - Y, X); orientation 1:
    // device (Y, 319 - X).
    for (int orientation : {1, 2}) {
        platform::DeviceToPicture(orientation, device.data(), picture.data());
        for (auto [x, y] : {std::pair{0, 0}, {319, 0}, {0, 239}, {123, 45}}) {
            const int at = orientation == 2 ? x * 240 + (239 - y) : (319 - x) * 240 + y;
            EXPECT_EQ(picture[y * 320 + x], device[at]) << orientation;
        }
    }
}

TEST(Display, KeepsTheLastFrameAndCountsFrames) {
    CFSNullDisplay display;
    EXPECT_EQ(display.FrameCount(), 0u);
    uint16_t* frame = display.BeginDraw();
    frame[0] = 0x1234;
    frame[MFSDisplay::kPixels - 1] = 0xABCD;
    display.EndDraw();
    EXPECT_EQ(display.FrameCount(), 1u);
    const std::vector<uint16_t> last = display.LastFrame();
    EXPECT_EQ(last[0], 0x1234);
    EXPECT_EQ(last.back(), 0xABCD);
}

TEST(Display, QueuesEventsInOrderAndMergesStylusMoves) {
    CFSNullDisplay display;
    EXPECT_FALSE(display.PeekEvent());
    display.PostEvent({FSEventType::StylusDown, 1, 1, 0});
    display.PostEvent({FSEventType::StylusMove, 2, 2, 0});
    display.PostEvent({FSEventType::StylusMove, 3, 3, 0});
    display.PostEvent({FSEventType::StylusMove, 4, 4, 0});
    display.PostEvent({FSEventType::StylusUp, 4, 4, 0});
    FSEvent e;
    ASSERT_TRUE(display.GetEvent(e));
    EXPECT_EQ(e.type, FSEventType::StylusDown);
    ASSERT_TRUE(display.GetEvent(e));
    EXPECT_EQ(e.type, FSEventType::StylusMove);
    EXPECT_EQ(e.x, 4);  // only the latest move remains
    ASSERT_TRUE(display.GetEvent(e));
    EXPECT_EQ(e.type, FSEventType::StylusUp);
    EXPECT_FALSE(display.GetEvent(e));
}

TEST(Display, PadKeysAnswerForTheVirtualKeyOfTheCurrentTable) {
    CFSNullDisplay display;
    // Orientation 2 starts: "left" on screen is device key 38.
    display.SetPadKey(1, true);
    EXPECT_TRUE(display.IsVirtualKeyDown(38));
    EXPECT_FALSE(display.IsVirtualKeyDown(37));
    const int portrait[10] = {134, 37, 39, 38, 40, 196, 195, 194, 193, 197};
    display.SetKeyTable(portrait);
    EXPECT_TRUE(display.IsVirtualKeyDown(37));
    EXPECT_EQ(display.BackHotKey(), 193);
    EXPECT_EQ(display.HotKeyOfState(9), 197);
    EXPECT_EQ(display.HotKeyOfState(3), 0);
    display.SetPadKey(7, true);  // out of range: ignored
}

TEST(Display, ATapBetweenTwoPollsCountsOnce) {
    CFSNullDisplay display;
    display.SetPadKey(0, true);
    display.SetPadKey(0, false);  // released before anyone looked
    EXPECT_TRUE(display.IsVirtualKeyDown(134));
    EXPECT_FALSE(display.IsVirtualKeyDown(134));
    // A held key stays down.
    display.SetPadKey(0, true);
    EXPECT_TRUE(display.IsVirtualKeyDown(134));
    EXPECT_TRUE(display.IsVirtualKeyDown(134));
}

}  // namespace

namespace {

// Keeps every frame it is asked to show.
class ShownFrames : public MFSDisplay {
public:
    std::vector<std::vector<uint16_t>> shown;

protected:
    void Show(const uint16_t* frame, int) override { shown.emplace_back(frame, frame + kPixels); }
};

}  // namespace

TEST(Display, AnOverlayLiesOverEveryFrameShownButNotOverTheLastFrame) {
    ShownFrames display;
    // Nothing shown yet: an overlay waits for the first frame.
    std::vector<uint16_t> overlay(MFSDisplay::kPixels, MFSDisplay::kOverlayClear);
    overlay[5] = 0x07E0;
    display.SetOverlay(overlay);
    EXPECT_TRUE(display.shown.empty());
    std::fill_n(display.BeginDraw(), MFSDisplay::kPixels, uint16_t{0x001F});
    display.EndDraw();
    ASSERT_EQ(display.shown.size(), 1u);
    EXPECT_EQ(display.shown[0][5], 0x07E0);
    EXPECT_EQ(display.shown[0][6], 0x001F);
    EXPECT_EQ(display.LastFrame()[5], 0x001F);
    // Taking it away shows the frame again without it, at once.
    display.SetOverlay({});
    ASSERT_EQ(display.shown.size(), 2u);
    EXPECT_EQ(display.shown[1][5], 0x001F);
    EXPECT_FALSE(display.HasOverlay());
    // An overlay of the wrong size is no overlay.
    display.SetOverlay(std::vector<uint16_t>(10, 0));
    EXPECT_FALSE(display.HasOverlay());
}
