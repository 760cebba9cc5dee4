#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "hud/FSTouchpad.h"
#include "platform/FSDisplay.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "support/TouchpadPlacements.h"

namespace {

using namespace image_test_files;
using namespace testing_support;

constexpr uint16_t kRed = 0xF800, kLime = 0x07E0, kBlue = 0x001F, kWhite = 0xFFFF;

// Pad archives made with ImageMagick and Info-ZIP: a 120 x 160 picture in four coloured
// quarters (red top left, lime top right, blue bottom left, white bottom right) with an
// opaque mask, and archives each spoilt in one way.
class TouchpadPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = MakeTempFolder("touchpad");
        const auto mask = [](int w, int h) {
            const std::vector<uint8_t> bytes = EncodeMaskBmp(std::vector<uint8_t>(w * h, 255), w, h);
            return std::string(bytes.begin(), bytes.end());
        };
        const std::string picture = "cp ../quarters.bmp touchpad/touchpad.bmp";
        const std::string opaque = " && cp ../opaque.bmp touchpad/touchpad_mask.bmp";
        ready_ = Convert(folder_,
                         "-size 60x80 xc:red xc:lime +append \\( xc:blue xc:white +append \\) -append "
                         "-define bmp:subtype=RGB565 quarters.bmp") &&
                 Convert(folder_, "-size 120x160 xc:white -define bmp:subtype=RGB565 colour.bmp") &&
                 WriteText(folder_ + "opaque.bmp", mask(120, 160)) &&
                 WriteText(folder_ + "small.bmp", mask(60, 80)) && MakeArchive("good", picture + opaque) &&
                 MakeArchive("nomask", picture) && MakeArchive("nopicture", "true" + opaque) &&
                 MakeArchive("smallmask", picture + " && cp ../small.bmp touchpad/touchpad_mask.bmp") &&
                 MakeArchive("colourmask", picture + " && cp ../colour.bmp touchpad/touchpad_mask.bmp") &&
                 MakeArchive("truncated", "head -c 300 ../quarters.bmp > touchpad/touchpad.bmp" + opaque);
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "ImageMagick or zip failed in " << folder_; }

    // name.zip under the game's password, of a "touchpad" folder filled by shell commands
    // run in folder_/name.
    static bool MakeArchive(const std::string& name, const std::string& commands) {
        const std::string folder = folder_ + name + "/";
        return RunShell("mkdir -p " + ShellQuote(folder + "touchpad") + " && cd " + ShellQuote(folder) +
                        " && " + commands) &&
               Zip(folder, "-r -P " + ShellQuote(DataPassword()), Archive(name), "touchpad");
    }
    static std::string Archive(const std::string& name) { return folder_ + name + ".zip"; }

    static std::string folder_;
    static bool ready_;
};
std::string TouchpadPictures::folder_;
bool TouchpadPictures::ready_ = false;

void SetGamePlacements(CFSTouchpad& pad) {
    for (const TouchpadPlacement& p : kTouchpadPlacements)
        pad.SetTouchpadRect(p.alignment, p.origin, p.size, p.dead);
}

// The pixels pad changes on a blank device screen drawing in alignment.
ChangedArea Drawn(const CFSTouchpad& pad, int alignment, std::vector<uint16_t>* screen = nullptr) {
    std::vector<uint16_t> local, blank(MFSDisplay::kPixels, 0);
    if (!screen) screen = &local;
    *screen = blank;
    pad.Draw(screen->data(), alignment);
    return Changes(blank, *screen, MFSDisplay::kWidth);
}

TEST(Touchpad, KeepsOneRectanglePerFlightOrientationAndIgnoresOthers) {
    FSTouchpadLookup lookup;
    FSTouchpadRect rect;
    {
        CFSTouchpad pad;
        EXPECT_FALSE(pad.GetTouchpadRect(0, rect));
        SetGamePlacements(pad);
        // Alignments beyond the three are neither stored nor do they disturb the others.
        pad.SetTouchpadRect(3, {1, 2}, {3, 4}, {5, 6});
        pad.SetTouchpadRect(-1, {1, 2}, {3, 4}, {5, 6});
        lookup = pad.Lookup();
        // A later setting replaces the earlier one; the lookup made before keeps its copy.
        pad.SetTouchpadRect(1, {10, 20}, {30, 40}, {5, 6});
        ASSERT_TRUE(pad.GetTouchpadRect(1, rect));
        EXPECT_EQ(rect.x, 10);
        for (int alignment : {-1, 3, 4, INT_MAX})
            EXPECT_FALSE(pad.GetTouchpadRect(alignment, rect) || lookup(alignment, rect)) << alignment;
    }
    // The lookup outlives the pad.
    for (const TouchpadPlacement& p : kTouchpadPlacements)
        EXPECT_TRUE(lookup(p.alignment, rect) && IsPlacedAt(rect, p)) << p.alignment;
}

TEST_F(TouchpadPictures, MissingOrSpoiltPicturesLoadNothingAndDrawNothing) {
    CFSTouchpad pad;
    SetGamePlacements(pad);
    for (const char* bad : {"absent", "nomask", "nopicture", "smallmask", "colourmask", "truncated"}) {
        // A good picture loaded before is dropped by a failed load.
        ASSERT_TRUE(pad.LoadImages(Archive("good")));
        EXPECT_FALSE(pad.LoadImages(Archive(bad))) << bad;
        EXPECT_FALSE(pad.HasImages()) << bad;
        for (int alignment : {0, 1, 2})
            EXPECT_EQ(Drawn(pad, alignment).count, 0) << bad;
    }
    // Released pictures draw nothing either; the rectangles stay for the steering.
    ASSERT_TRUE(pad.LoadImages(Archive("good")));
    pad.ReleaseImages();
    EXPECT_EQ(Drawn(pad, 2).count, 0);
    FSTouchpadRect rect;
    EXPECT_TRUE(pad.GetTouchpadRect(2, rect));
}

TEST_F(TouchpadPictures, ThePlayerSeesThePadAtItsRectangleInEveryOrientation) {
    CFSTouchpad pad;
    SetGamePlacements(pad);
    ASSERT_TRUE(pad.LoadImages(Archive("good")));
    for (const TouchpadPlacement& p : kTouchpadPlacements) {
        SCOPED_TRACE(p.alignment);
        std::vector<uint16_t> device;
        const ChangedArea area = Drawn(pad, p.alignment, &device);
        // Upright, as the player holds the device, the pad covers exactly its rectangle.
        std::vector<uint16_t> upright(MFSDisplay::kPixels, 0);
        platform::DeviceToPicture(p.alignment, device.data(), upright.data());
        const int width = p.alignment == 0 ? MFSDisplay::kWidth : MFSDisplay::kHeight;
        EXPECT_EQ(Changes(std::vector<uint16_t>(MFSDisplay::kPixels, 0), upright, width),
                  (ChangedArea{p.size.w * p.size.h, p.origin.x, p.origin.y, p.origin.x + p.size.w,
                               p.origin.y + p.size.h}));
        // On the device the picture lies unturned: its four quarters in their places.
        ASSERT_EQ(area.right - area.left, 120);
        ASSERT_EQ(area.bottom - area.top, 160);
        auto at = [&](int c, int r) { return device[(area.top + r) * MFSDisplay::kWidth + area.left + c]; };
        EXPECT_EQ((std::vector<uint16_t>{at(0, 0), at(119, 0), at(0, 159), at(119, 159)}),
                  (std::vector<uint16_t>{kRed, kLime, kBlue, kWhite}));
    }
    // An alignment without a rectangle, an unknown one and no screen draw nothing.
    EXPECT_EQ(Drawn(pad, 3).count, 0);
    pad.Draw(nullptr, 2);
    CFSTouchpad unplaced;
    ASSERT_TRUE(unplaced.LoadImages(Archive("good")));
    EXPECT_EQ(Drawn(unplaced, 0).count, 0);
}

TEST_F(TouchpadPictures, DrawingIsCutToThePadAndToTheScreen) {
    const struct {
        int alignment;
        FSPoint origin;
        FSSize size;
        ChangedArea device;   // what changes on the device screen
        uint16_t firstPixel;  // device pixel at the area's top-left corner
    } kCases[] = {
        // A pad smaller than the picture shows the picture's top-left part.
        {0, {10, 10}, {61, 81}, {61 * 81, 10, 10, 71, 91}, kRed},
        // Hanging over the screen's edges.
        {0, {200, 300}, {120, 160}, {40 * 20, 200, 300, 240, 320}, kRed},
        {0, {-70, -90}, {120, 160}, {50 * 70, 0, 0, 50, 70}, kWhite},
        // Landscape over the device's left edge: the right-hand part of the top rows.
        {2, {250, 200}, {160, 120}, {40 * 70, 0, 250, 40, 320}, kLime},
        // Wholly off the screen, and sizes that would overflow.
        {0, {INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, {}, 0},
        {2, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {}, 0},
        {0, {0, 0}, {-5, 160}, {}, 0},
    };
    for (const auto& c : kCases) {
        CFSTouchpad pad;
        ASSERT_TRUE(pad.LoadImages(Archive("good")));
        pad.SetTouchpadRect(c.alignment, c.origin, c.size, {0, 0});
        std::vector<uint16_t> screen;
        const ChangedArea area = Drawn(pad, c.alignment, &screen);
        EXPECT_EQ(area, c.device) << c.origin.x << ", " << c.origin.y;
        EXPECT_EQ(area.count > 0 ? screen[area.top * MFSDisplay::kWidth + area.left] : 0, c.firstPixel);
    }
}

}  // namespace
