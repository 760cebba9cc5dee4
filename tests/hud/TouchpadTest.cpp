#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "common/ImageFiles.h"
#include "hud/FSTouchpad.h"
#include "platform/FSDisplay.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "support/TouchpadPlacements.h"

namespace {

using namespace image_test_files;
using testing_support::ChangedArea;
using testing_support::Changes;
using testing_support::kTouchpadPlacements;
using testing_support::TouchpadPlacement;

constexpr uint16_t kRed = 0xF800, kLime = 0x07E0, kBlue = 0x001F, kWhite = 0xFFFF;
constexpr uint16_t kBackground = 0x1234;

// Pad archives made with ImageMagick and Info-ZIP: a 120 x 160 picture in four coloured
// quarters (red top left, lime top right, blue bottom left, white bottom right) with an
// opaque mask, and archives each spoilt in one way.
class TouchpadPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("touchpad");
        const std::string quarters =
            "-size 60x80 xc:red xc:lime +append \\( xc:blue xc:white +append \\) -append "
            "-define bmp:subtype=RGB565 ";
        const std::vector<uint8_t> opaque = EncodeMaskBmp(std::vector<uint8_t>(120 * 160, 255), 120, 160);
        const std::vector<uint8_t> small = EncodeMaskBmp(std::vector<uint8_t>(60 * 80, 255), 60, 80);
        ready_ =
            MakeArchive("good", quarters + "touchpad/touchpad.bmp", opaque) &&
            MakeArchive("nomask", quarters + "touchpad/touchpad.bmp", {}) &&
            MakeArchive("nopicture", "", opaque) &&
            MakeArchive("smallmask", quarters + "touchpad/touchpad.bmp", small) &&
            MakeArchive("colourmask", quarters + "touchpad/touchpad.bmp", {}, true) &&
            MakeArchive("truncated", quarters + "touchpad/full.bmp", opaque) &&
            RunShell("cd " + ShellQuote(folder_ + "truncated") +
                     " && head -c 300 touchpad/full.bmp > touchpad/touchpad.bmp && rm touchpad/full.bmp") &&
            ZipFolder(folder_ + "truncated/", "truncated");
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "ImageMagick or zip failed in " << folder_; }

    // Folder name/touchpad/ with the picture made by convert arguments (none: no picture),
    // the mask bytes (none: no mask, or with colourMask a 16-bit picture in its place),
    // zipped under the game's password as name.zip.
    static bool MakeArchive(const std::string& name, const std::string& picture,
                            const std::vector<uint8_t>& mask, bool colourMask = false) {
        const std::string folder = folder_ + name + "/";
        if (!RunShell("mkdir -p " + ShellQuote(folder + "touchpad"))) return false;
        if (!picture.empty() && !Convert(folder, picture)) return false;
        if (!mask.empty() &&
            !WriteText(folder + "touchpad/touchpad_mask.bmp", std::string(mask.begin(), mask.end())))
            return false;
        if (colourMask && !Convert(folder,
                                   "-size 120x160 xc:white -define bmp:subtype=RGB565 "
                                   "touchpad/touchpad_mask.bmp"))
            return false;
        return ZipFolder(folder, name);
    }
    // folder's "touchpad" folder zipped under the game's password as name.zip.
    static bool ZipFolder(const std::string& folder, const std::string& name) {
        return Zip(folder, "-r -P " + ShellQuote(DataPassword()), folder_ + name + ".zip", "touchpad");
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

std::vector<uint16_t> Screen() {
    return std::vector<uint16_t>(MFSDisplay::kPixels, kBackground);
}

TEST(Touchpad, KeepsOneRectanglePerFlightOrientationAndIgnoresOthers) {
    CFSTouchpad pad;
    FSTouchpadRect rect;
    for (int alignment : {-1, 0, 1, 2, 3})
        EXPECT_FALSE(pad.GetTouchpadRect(alignment, rect)) << "never set: " << alignment;
    SetGamePlacements(pad);
    // Alignments beyond the three are neither stored nor do they disturb the others.
    pad.SetTouchpadRect(3, {1, 2}, {3, 4}, {5, 6});
    pad.SetTouchpadRect(-1, {1, 2}, {3, 4}, {5, 6});
    const FSTouchpadLookup lookup = pad.Lookup();
    for (const TouchpadPlacement& p : kTouchpadPlacements) {
        ASSERT_TRUE(pad.GetTouchpadRect(p.alignment, rect)) << p.alignment;
        const std::vector<int32_t> expected = {p.origin.x, p.origin.y, p.size.w,
                                               p.size.h,   p.dead.w,   p.dead.h};
        EXPECT_EQ(
            (std::vector<int32_t>{rect.x, rect.y, rect.width, rect.height, rect.deadWidth, rect.deadHeight}),
            expected)
            << p.alignment;
        FSTouchpadRect looked;
        ASSERT_TRUE(lookup(p.alignment, looked));
        EXPECT_EQ(looked.x, rect.x);
        EXPECT_EQ(looked.deadHeight, rect.deadHeight);
    }
    for (int alignment : {-1, 3, 4, INT_MAX}) {
        EXPECT_FALSE(pad.GetTouchpadRect(alignment, rect)) << alignment;
        EXPECT_FALSE(lookup(alignment, rect)) << alignment;
    }
    // A later setting replaces the earlier one; a lookup made before keeps what it copied.
    pad.SetTouchpadRect(1, {10, 20}, {30, 40}, {5, 6});
    ASSERT_TRUE(pad.GetTouchpadRect(1, rect));
    EXPECT_EQ(std::make_pair(rect.x, rect.deadHeight), std::make_pair(10, 6));
    ASSERT_TRUE(lookup(1, rect));
    EXPECT_EQ(std::make_pair(rect.x, rect.deadHeight), std::make_pair(0, 30));
}

TEST(Touchpad, TheLookupKeepsTheRectanglesAfterThePadIsGone) {
    FSTouchpadLookup lookup;
    {
        CFSTouchpad pad;
        pad.SetTouchpadRect(2, {160, 120}, {160, 120}, {40, 30});
        lookup = pad.Lookup();
    }
    FSTouchpadRect rect;
    ASSERT_TRUE(lookup(2, rect));
    EXPECT_EQ(rect.x + rect.deadWidth, 200);
    EXPECT_FALSE(lookup(0, rect));
}

TEST_F(TouchpadPictures, MissingOrSpoiltPicturesLoadNothingAndDrawNothing) {
    const struct {
        const char* archive;
        const char* why;
    } kBad[] = {
        {"absent", "no archive"},        {"nomask", "no mask"},
        {"nopicture", "no picture"},     {"smallmask", "a mask smaller than the picture"},
        {"colourmask", "a 16-bit mask"}, {"truncated", "a picture cut short"},
    };
    for (const auto& bad : kBad) {
        CFSTouchpad pad;
        SetGamePlacements(pad);
        // A good picture loaded before is dropped by a failed load.
        ASSERT_TRUE(pad.LoadImages(Archive("good")));
        EXPECT_FALSE(pad.LoadImages(Archive(bad.archive))) << bad.why;
        EXPECT_FALSE(pad.HasImages()) << bad.why;
        std::vector<uint16_t> screen = Screen();
        for (int alignment : {0, 1, 2})
            pad.Draw(screen.data(), alignment);
        EXPECT_EQ(Changes(Screen(), screen, MFSDisplay::kWidth).count, 0) << bad.why;
    }
    // Released pictures draw nothing either; the rectangles stay for the steering.
    CFSTouchpad pad;
    SetGamePlacements(pad);
    ASSERT_TRUE(pad.LoadImages(Archive("good")));
    pad.ReleaseImages();
    std::vector<uint16_t> screen = Screen();
    pad.Draw(screen.data(), 2);
    EXPECT_EQ(Changes(Screen(), screen, MFSDisplay::kWidth).count, 0);
    FSTouchpadRect rect;
    EXPECT_TRUE(pad.GetTouchpadRect(2, rect));
}

TEST_F(TouchpadPictures, ThePlayerSeesThePadAtItsRectangleInEveryOrientation) {
    CFSTouchpad pad;
    SetGamePlacements(pad);
    ASSERT_TRUE(pad.LoadImages(Archive("good")));
    for (const TouchpadPlacement& p : kTouchpadPlacements) {
        std::vector<uint16_t> device(MFSDisplay::kPixels, 0);
        pad.Draw(device.data(), p.alignment);
        // Upright, as the player holds the device, the pad covers exactly its rectangle.
        std::vector<uint16_t> upright(MFSDisplay::kPixels, 0);
        platform::DeviceToPicture(p.alignment, device.data(), upright.data());
        const int width = p.alignment == 0 ? MFSDisplay::kWidth : MFSDisplay::kHeight;
        const ChangedArea expected{p.size.w * p.size.h, p.origin.x, p.origin.y, p.origin.x + p.size.w,
                                   p.origin.y + p.size.h};
        EXPECT_EQ(Changes(std::vector<uint16_t>(MFSDisplay::kPixels, 0), upright, width), expected)
            << "alignment " << p.alignment;
        // On the device the picture lies unturned: its four quarters in their places.
        const ChangedArea area =
            Changes(std::vector<uint16_t>(MFSDisplay::kPixels, 0), device, MFSDisplay::kWidth);
        ASSERT_EQ(area.right - area.left, 120);
        ASSERT_EQ(area.bottom - area.top, 160);
        auto at = [&](int c, int r) { return device[(area.top + r) * MFSDisplay::kWidth + area.left + c]; };
        EXPECT_EQ((std::vector<uint16_t>{at(0, 0), at(119, 0), at(0, 159), at(119, 159)}),
                  (std::vector<uint16_t>{kRed, kLime, kBlue, kWhite}))
            << "alignment " << p.alignment;
    }
    // An alignment without a rectangle, an unknown one and no screen draw nothing.
    std::vector<uint16_t> screen = Screen();
    pad.Draw(screen.data(), 3);
    pad.Draw(nullptr, 2);
    CFSTouchpad unplaced;
    ASSERT_TRUE(unplaced.LoadImages(Archive("good")));
    unplaced.Draw(screen.data(), 0);
    EXPECT_EQ(Changes(Screen(), screen, MFSDisplay::kWidth).count, 0);
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
        {0, {10, 10}, {60, 80}, {60 * 80, 10, 10, 70, 90}, kRed},
        {0, {10, 10}, {61, 81}, {61 * 81, 10, 10, 71, 91}, kRed},
        // Hanging over the screen's edges.
        {0, {200, 300}, {120, 160}, {40 * 20, 200, 300, 240, 320}, kRed},
        {0, {-70, -90}, {120, 160}, {50 * 70, 0, 0, 50, 70}, kWhite},
        // Landscape (orientation 2) over the device's left edge: the right-hand part of
        // the picture's top rows.
        {2, {250, 200}, {160, 120}, {40 * 70, 0, 250, 40, 320}, kLime},
        // Wholly off the screen, and sizes that would overflow.
        {0, {240, 0}, {120, 160}, {}, 0},
        {1, {400, 0}, {160, 120}, {}, 0},
        {0, {INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, {}, 0},
        {2, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {}, 0},
        {0, {0, 0}, {-5, 160}, {}, 0},
    };
    for (const auto& c : kCases) {
        CFSTouchpad pad;
        ASSERT_TRUE(pad.LoadImages(Archive("good")));
        pad.SetTouchpadRect(c.alignment, c.origin, c.size, {0, 0});
        std::vector<uint16_t> screen(MFSDisplay::kPixels, 0);
        pad.Draw(screen.data(), c.alignment);
        const ChangedArea area =
            Changes(std::vector<uint16_t>(MFSDisplay::kPixels, 0), screen, MFSDisplay::kWidth);
        EXPECT_EQ(area, c.device) << c.origin.x << ", " << c.origin.y;
        if (area.count > 0) {
            EXPECT_EQ(screen[area.top * MFSDisplay::kWidth + area.left], c.firstPixel);
        }
    }
}

}  // namespace
