#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "hud/FSCockpit.h"
#include "platform/FSDisplay.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

using namespace image_test_files;
using namespace testing_support;

constexpr uint16_t kRed = 0xF800;
constexpr int kW = MFSDisplay::kWidth;

// Pixel (x, y) of the 16 x 16 picture "quad.bmp": every pixel different and none 0.
uint16_t Quad(int x, int y) {
    return static_cast<uint16_t>(((y + 1) << 8) | (x + 1));
}

// Images 0 "panel.bmp" (240 x 320 red, by ImageMagick), 1 "quad.bmp", 2 "mask.bmp" (16 x 16,
// opaque left half, clear right half), 3 "broken.bmp" (truncated) and 4 (missing).
const char* const kImages =
    "image panel.bmp\nimage quad.bmp\nimage mask.bmp\nimage broken.bmp\nimage absent.bmp\n";

class Cockpit : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = MakeTempFolder("cockpit");
        const std::string dir = folder_ + "cocpits/C172R/";
        std::vector<uint16_t> quad;
        std::vector<uint8_t> mask;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                quad.push_back(Quad(x, y));
                mask.push_back(x < 8 ? 255 : 0);
            }
        const std::vector<uint8_t> quadBmp = Encode565Bmp(quad, 16, 16, false);
        ready_ = RunShell("mkdir -p " + ShellQuote(dir)) &&
                 Convert(dir, "-size 240x320 xc:red -define bmp:subtype=RGB565 panel.bmp") &&
                 WriteFile(dir + "quad.bmp", quadBmp) &&
                 WriteFile(dir + "mask.bmp", EncodeMaskBmp(mask, 16, 16)) &&
                 WriteFile(dir + "broken.bmp", std::vector<uint8_t>(quadBmp.begin(), quadBmp.begin() + 100));
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "ImageMagick failed in " << folder_; }

    // Loads text as the layout alignment reads, the other layout holding a decoy screen.
    static CFSCockpit Load(const std::string& text, int alignment) {
        const bool landscape = alignment == 1 || alignment == 2;
        const std::string dir = folder_ + "cocpits/C172R/";
        WriteText(dir + CFSCockpit::kPortraitLayout, landscape ? "screen 9 9 9 9\n" : text);
        WriteText(dir + CFSCockpit::kLandscapeLayout, landscape ? text : "screen 9 9 9 9\n");
        EXPECT_TRUE(Zip(folder_, "-r -P " + ShellQuote(DataPassword()), Archive(), "cocpits"));
        CFSCockpit cockpit;
        EXPECT_TRUE(cockpit.LoadCockpit("C172R", Archive(), alignment));
        return cockpit;
    }
    static std::string Archive() { return folder_ + "huds.zip"; }

    static std::string folder_;
    static bool ready_;
};
std::string Cockpit::folder_;
bool Cockpit::ready_ = false;

// Everything a layout set, in one line, leaving out rectangles and horizon masks without a size
// (an unset one is turned like any other).
std::string Describe(const CFSCockpit& c) {
    std::ostringstream out;
    const auto put = [&](bool shown, const std::string& name, std::initializer_list<int32_t> values) {
        if (!shown) return;
        out << name;
        for (int32_t v : values)
            out << ' ' << v;
        out << "; ";
    };
    const auto mask = [&](const std::string& name, const FSCockpitMask& m, bool shown = true) {
        put(shown, name, {m.image, m.mask, m.x, m.y, m.sx, m.sy, m.mx, m.my, m.w, m.h});
    };
    const FSCockpitRect &s = c.ScreenRect(), &h = c.HorizonWindow();
    const int32_t* p = c.PropellerValues();
    put(c.ImageCount(), "images", {static_cast<int32_t>(c.ImageCount())});
    put(s.w || s.h, "screen", {s.x, s.y, s.w, s.h});
    put(h.w || h.h, "horizon", {h.x, h.y, h.w, h.h});
    put(c.PropellerVisible(), "propeller", {p[0], p[1], p[2]});
    for (const auto& [name, layer] : {std::pair{"P", &c.Permanent()}, std::pair{"T", &c.Temporary()}}) {
        for (const FSCockpitCopy& k : layer->copies)
            put(true, name + std::string("copy"), {k.image, k.x, k.y, k.sx, k.sy, k.w, k.h});
        for (const FSCockpitMask& m : layer->masks)
            mask(name + std::string("mask"), m);
    }
    mask("lr", c.LowQualityHorizonMask(), c.LowQualityHorizonMask().w);
    mask("hr", c.HighQualityHorizonMask(), c.HighQualityHorizonMask().w);
    return out.str();
}

TEST_F(Cockpit, AcceptsEachKeywordOnlyWithItsExactTokenCount) {
    // Each line as read, and lines with a token too many or too few or another verb.
    const char* const cases[][3] = {
        {"image quad.bmp", "images 1; ", "image quad.bmp x"},
        {"screen 1 2 3 4", "screen 1 2 3 4; ", "screen 1 2 3 4 5\nscreen 1 2 3\n// screen 1 2 3 4"},
        {"aviahorizont 5 6 7 8", "horizon 5 6 7 8; ", "aviahorizont 5 6 7 8 9"},
        {"propeller 1 7 8 9", "propeller 7 8 9; ", "propeller 1 7 8"},
        {"permanent copy 1 2 3 4 5 6 0", "Pcopy 0 1 2 3 4 5 6; ", "permanent copy 1 2 3 4 5 6 0 9"},
        {"temporary copy 1 2 3 4 5 6 7", "Tcopy 7 1 2 3 4 5 6; ", "temporary blit 1 2 3 4 5 6 7"},
        {"permanent mask 1 2 3 4 5 6 7 8 0 1", "Pmask 0 1 1 2 3 4 5 6 7 8; ",
         "permanent mask 1 2 3 4 5 6 7 8 0"},
        {"temporary mask 1 2 3 4 5 6 7 8 0 1", "Tmask 0 1 1 2 3 4 5 6 7 8; ",
         "temporary copy 1 2 3 4 5 6 7 8 0 1"},
        {"ah_lr_mask 1 2 3 4 5 6 7 8 0 1", "lr 0 1 1 2 3 4 5 6 7 8; ", "ah_lr_mask 1 2 3 4 5 6 7 8 0 1 2"},
        {"ah_hr_mask 1 2 3 4 5 6 7 8 0 1", "hr 0 1 1 2 3 4 5 6 7 8; ", "ah_hr_mask 1 2 3 4 5 6 7 8 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(Load(c[0], 0)), c[1]) << c[0];
        EXPECT_EQ(Describe(Load(c[2], 0)), "") << c[2];
    }
}

TEST_F(Cockpit, LandscapeLayoutsTurnDestinationPointsIntoTheFrameBuffer) {
    const struct {
        int alignment, rotation;
        const char *line, *expected;
    } cases[] = {
        {1, 3, "permanent copy 10 20 0 0 30 40 0", "Pcopy 0 20 280 0 0 30 40; "},
        {2, 1, "permanent copy 10 20 0 0 30 40 0", "Pcopy 0 180 10 0 0 30 40; "},
        {1, 3, "temporary mask 10 20 1 2 3 4 30 40 0 1", "Tmask 0 1 20 280 1 2 3 4 30 40; "},
        {2, 1, "aviahorizont 10 20 30 40", "horizon 180 10 30 40; "},
        {1, 3, "ah_lr_mask 10 20 1 2 3 4 30 40 0 1", "lr 0 1 20 280 1 2 3 4 30 40; "},
        {2, 1, "ah_hr_mask 10 20 1 2 3 4 30 40 0 1", "hr 0 1 180 10 1 2 3 4 30 40; "},
        {1, 3, "screen 10 20 30 40", "screen 10 20 30 40; "},
        {0, 0, "permanent copy 10 20 0 0 30 40 0", "Pcopy 0 10 20 0 0 30 40; "},
        {7, 0, "permanent copy 10 20 0 0 30 40 0", "Pcopy 0 10 20 0 0 30 40; "},
        // Numbers at the ends of the int range saturate instead of overflowing.
        {1, 3, "permanent copy 2147483647 7 0 0 2147483647 1 0", "Pcopy 0 7 -2147483648 0 0 2147483647 1; "},
        {2, 1, "permanent copy 0 2147483647 0 0 1 2147483647 0", "Pcopy 0 -2147483648 0 0 0 1 2147483647; "},
    };
    for (const auto& c : cases) {
        const CFSCockpit cockpit = Load(c.line, c.alignment);
        EXPECT_EQ(Describe(cockpit), c.expected) << c.alignment << ": " << c.line;
        EXPECT_EQ(cockpit.Rotation(), c.rotation) << c.alignment;
    }
}

// The frame cockpit draws over a black frame buffer.
std::vector<uint16_t> Drawn(CFSCockpit& cockpit, int which, bool highQuality = false,
                            const CFSCockpit::HorizonPainter& horizon = nullptr) {
    std::vector<uint16_t> frame(MFSDisplay::kPixels, 0);
    cockpit.DrawCockpit(frame.data(), which, highQuality, horizon);
    return frame;
}

TEST_F(Cockpit, WholeScreenCopyFillsTheFrameBuffer) {
    CFSCockpit cockpit = Load(std::string(kImages) + "permanent copy 0 0 0 0 240 320 0", 0);
    const std::vector<uint16_t> frame = Drawn(cockpit, 1);
    for (int i : {0, kW - 1, 160 * kW + 120, MFSDisplay::kPixels - 1})
        EXPECT_EQ(frame[i], kRed) << i;
}

TEST_F(Cockpit, WhichChoosesTheListsAndMasksDrawAfterCopies) {
    // The permanent mask comes first in the file but is drawn over the copy at (0, 0).
    CFSCockpit cockpit = Load(std::string(kImages) +
                                  "permanent mask 0 0 0 0 0 0 16 16 1 2\npermanent copy 0 0 0 0 16 16 0\n"
                                  "temporary copy 100 100 0 0 16 16 1",
                              0);
    const struct {
        int which;
        uint16_t permanent, permanentUnderClearMask, temporary;
    } cases[] = {{0, Quad(0, 0), kRed, Quad(0, 0)},
                 {1, Quad(0, 0), kRed, 0},
                 {2, 0, 0, Quad(0, 0)},
                 {3, 0, 0, 0},
                 {-1, 0, 0, 0}};
    for (const auto& c : cases) {
        const std::vector<uint16_t> frame = Drawn(cockpit, c.which);
        EXPECT_EQ(frame[0], c.permanent) << c.which;
        EXPECT_EQ(frame[12], c.permanentUnderClearMask) << c.which;
        EXPECT_EQ(frame[100 * kW + 100], c.temporary) << c.which;
    }
}

TEST_F(Cockpit, HorizonIsCopiedToItsWindowAndTheQualityPicksItsMask) {
    const std::string horizon = std::string(kImages) + "aviahorizont 50 60 16 16\n";
    const auto sky = [](FSBitmap& block) {
        std::fill(block.storage.begin(), block.storage.end(), uint16_t{0x001F});
    };
    // Only the high-quality mask is given: low quality draws no mask over the horizon.
    CFSCockpit cockpit = Load(horizon + "ah_hr_mask 50 60 0 0 0 0 16 16 1 2", 0);
    EXPECT_EQ(Drawn(cockpit, 0, false, sky)[60 * kW + 50], 0x001F);
    EXPECT_EQ(Drawn(cockpit, 0, true, sky)[60 * kW + 50], Quad(0, 0));
    EXPECT_EQ(Drawn(cockpit, 0, true, sky)[60 * kW + 50 + 15], 0x001F);  // under the clear half
    EXPECT_EQ(Drawn(cockpit, 0, true)[60 * kW + 50 + 15], 0);            // no horizon painter
    // A window larger than any 3-D surface has nothing to copy.
    bool painted = false;
    CFSCockpit huge = Load("aviahorizont 0 0 100000 100000", 0);
    Drawn(huge, 0, false, [&](FSBitmap&) { painted = true; });
    EXPECT_FALSE(painted);
}

TEST_F(Cockpit, RecordsNamingNoLoadedImageDrawNothing) {
    const char* const lines[] = {
        "permanent copy 0 0 0 0 16 16 5",
        "permanent copy 0 0 0 0 16 16 -1",
        "permanent copy 0 0 0 0 16 16 2147483647",
        "permanent copy 0 0 0 0 16 16 3",
        "permanent copy 0 0 0 0 16 16 4",
        "permanent mask 0 0 0 0 0 0 16 16 1 9",
        "permanent mask 0 0 0 0 0 0 16 16 9 2",
        "permanent mask 0 0 0 0 0 0 16 16 1 4",
        "ah_lr_mask 0 0 0 0 0 0 16 16 -7 2\naviahorizont 0 0 16 16",
    };
    for (const char* line : lines) {
        CFSCockpit cockpit = Load(std::string(kImages) + line, 0);
        EXPECT_EQ(Changes(std::vector<uint16_t>(MFSDisplay::kPixels, 0), Drawn(cockpit, 0), kW),
                  ChangedArea{})
            << line;
    }
    CFSCockpit missing;
    EXPECT_FALSE(missing.LoadCockpit("Nobody", Archive(), 0));
    EXPECT_EQ(Describe(missing), "");
}

TEST_F(Cockpit, RectanglesPartlyOutsideTheImageOrTheScreenAreCut) {
    const struct {
        int alignment;
        const char* line;
        int x, y;         // a frame-buffer pixel
        uint16_t colour;  // what it shows
        int count;        // how many pixels change
    } cases[] = {
        {0, "permanent copy -4 -4 0 0 16 16 1", 0, 0, Quad(4, 4), 144},
        {0, "permanent copy 232 312 0 0 16 16 1", 239, 319, Quad(7, 7), 64},
        {0, "permanent copy 0 0 8 12 16 16 1", 7, 3, Quad(15, 15), 32},
        {0, "permanent copy 0 0 -2 0 4 1 1", 2, 0, Quad(0, 0), 2},
        {0, "permanent mask -4 0 0 0 0 0 16 16 1 2", 0, 0, Quad(4, 0), 64},
        {0, "permanent mask 0 0 0 0 8 0 16 16 1 2", 0, 0, 0, 0},
        // Landscape (-4, -4) lies at (-4, 308): source (c, r) goes to (-4 + r, 323 - c).
        {1, "permanent copy -4 -4 0 0 16 16 1", 0, 319, Quad(4, 4), 144},
        // Landscape (-4, 0) lies at (224, -4): source (c, r) goes to (239 - r, c - 4).
        {2, "permanent copy -4 0 0 0 16 16 1", 239, 0, Quad(4, 0), 192},
        {1, "permanent copy 2147483647 2147483647 -2147483648 0 2147483647 2147483647 1", 0, 0, 0, 0},
        {2, "permanent mask -2147483648 9 0 0 0 0 2147483647 -5 1 2", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        CFSCockpit cockpit = Load(std::string(kImages) + c.line, c.alignment);
        const std::vector<uint16_t> frame = Drawn(cockpit, 1);
        EXPECT_EQ(frame[c.y * kW + c.x], c.colour) << c.line;
        EXPECT_EQ(Changes(std::vector<uint16_t>(MFSDisplay::kPixels, 0), frame, kW).count, c.count) << c.line;
    }
}

}  // namespace
