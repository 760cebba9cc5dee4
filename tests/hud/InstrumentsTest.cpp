#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "hud/FSAltimeter.h"
#include "hud/FSCompass.h"
#include "platform/FSDisplay.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

using namespace image_test_files;
using namespace testing_support;

constexpr uint16_t kSky = 0x5555, kBody = 0x07E0, kPlayer = 0xF800, kTarget = 0x001F, kGuard = 0xBEEF;
constexpr int kW = MFSDisplay::kWidth, kPixels = MFSDisplay::kPixels, kMargin = 4096;
const double kNaN = std::nan(""), kInf = INFINITY;

// Opaque one-colour pictures: the compass body 150 x 20, its player marker 4 x 2 and
// target marker 6 x 2; the altimeter body 16 x 150, arrow 20 x 10 and marker 8 x 6.
// "huds.zip" holds them all, "bodies.zip" only the two bodies.
class Instruments : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = MakeTempFolder("instruments");
        const struct {
            const char* name;
            int w, h;
            uint16_t colour;
        } pictures[] = {
            {"compass/compass_body", 150, 20, kBody},       {"compass/compass_player_marker", 4, 2, kPlayer},
            {"compass/compass_marker", 6, 2, kTarget},      {"altimeter/altimeter_body", 16, 150, kBody},
            {"altimeter/altimeter_arrow", 20, 10, kPlayer}, {"altimeter/marker", 8, 6, kTarget}};
        ready_ =
            RunShell("mkdir -p " + ShellQuote(folder_ + "compass") + " " + ShellQuote(folder_ + "altimeter"));
        for (const auto& p : pictures) {
            const int n = p.w * p.h;
            ready_ = ready_ &&
                     WriteFile(folder_ + p.name + ".bmp",
                               Encode565Bmp(std::vector<uint16_t>(n, p.colour), p.w, p.h, false)) &&
                     WriteFile(folder_ + p.name + "_mask.bmp",
                               EncodeMaskBmp(std::vector<uint8_t>(n, 255), p.w, p.h));
        }
        ready_ = ready_ && ZipWithPassword(folder_, folder_ + "huds.zip", "-r compass altimeter") &&
                 ZipWithPassword(folder_, folder_ + "bodies.zip",
                                 "compass/compass_body*.bmp altimeter/altimeter_body*.bmp") &&
                 font_.LoadFont("game_font", 5, 1, 0);
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "test files failed in " << folder_; }

    // An instrument of span at heading or height at, aiming at target (shown when show is 1).
    template <class Instrument>
    static Instrument Make(double span, double at = 0, double target = 0, int show = 0, bool letters = false,
                           const std::string& archive = "huds.zip") {
        Instrument instrument;
        instrument.Create(folder_ + archive, span, letters ? &font_ : nullptr);
        Aim(instrument, at, target);
        instrument.SetShowTarget(show);
        return instrument;
    }
    static void Aim(CFSCompass& c, double at, double target) { c.SetHeading(at), c.SetTargetBearing(target); }
    static void Aim(CFSAltimeter& a, double at, double target) { a.SetValue(at), a.SetTargetValue(target); }

    static inline std::string folder_;
    static inline bool ready_ = false;
    static inline CFSFont font_;
};

// The frame an instrument draws over the sky, checking that nothing lands in the guard
// bands either side of the buffer.
template <class Instrument>
std::vector<uint16_t> Drawn(const Instrument& instrument, int alignment = 0) {
    std::vector<uint16_t> padded(kPixels + 2 * kMargin, kGuard);
    std::fill(padded.begin() + kMargin, padded.end() - kMargin, kSky);
    instrument.Draw(padded.data() + kMargin, alignment);
    EXPECT_EQ(std::count(padded.begin(), padded.end(), kGuard), 2 * kMargin) << "outside the buffer";
    return {padded.begin() + kMargin, padded.end() - kMargin};
}

// Pixels of colour in columns x0..x1 - 1 and rows y0..y1 - 1.
int Count(const std::vector<uint16_t>& f, uint16_t colour, int x0, int x1, int y0 = 0, int y1 = 320) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += f[y * kW + x] == colour;
    return n;
}

TEST_F(Instruments, CompassTicksFollowTheHeadingAndLeaveTheLettersClear) {
    // Major ticks fill rows 8-15 and minor ones rows 11-12 of the body at (45, 2) (the player
    // marker covers rows 10-11); bearing b lies at x = 120 - (heading - b) / 135 x 150.
    const struct {
        std::vector<double> headings;
        int majors, minors, majorX;
    } cases[] = {{{0, 90, 180, 270, 360}, 2, 14, 70}, {{45, 315}, 1, 13, 120}};
    for (const auto& c : cases)
        for (double heading : c.headings) {
            const std::vector<uint16_t> f = Drawn(Make<CFSCompass>(135, heading));
            EXPECT_EQ(Count(f, 0, 45, 195, 8, 9), 2 * c.majors) << heading;
            EXPECT_EQ(Count(f, 0, 45, 195, 12, 13), 2 * c.minors) << heading;
            EXPECT_EQ(f[15 * kW + c.majorX + 1], 0) << heading;
            EXPECT_EQ(f[11 * kW + 119], kPlayer);
        }
}

TEST_F(Instruments, CompassLettersStandAtTheirBearingsCutToTheBody) {
    // "N" at the centre with E and W beyond the ends of the body at heading 0.
    const struct {
        double heading;
        const char* letters;
        int x[2];
    } cases[] = {{0, "N", {120}},       {90, "E", {120}},       {180, "S", {120}},     {270, "W", {120}},
                 {45, "NE", {70, 170}}, {315, "WN", {70, 170}}, {350, "WN", {31, 131}}};
    for (const auto& c : cases) {
        // Without markers; compared by their boxes, as ticks drawn over a letter change pixels in it.
        const std::vector<uint16_t> before =
            Drawn(Make<CFSCompass>(135, c.heading, 0, 0, false, "bodies.zip"));
        std::vector<uint16_t> expected = before;
        for (int i = 0; c.letters[i]; ++i)
            DrawTextClipped(font_, expected.data(), 0, 0, kJustifyCentre,
                            {c.x[i], 12 - font_.LineHeight() / 2}, 0, std::string(1, c.letters[i]),
                            {45, 2, 195, 22});
        ChangedArea drawn = Changes(before, Drawn(Make<CFSCompass>(135, c.heading, 0, 0, true, "bodies.zip")),
                                    kW),
                    wanted = Changes(before, expected, kW);
        EXPECT_GT(drawn.count, 0) << c.heading;
        drawn.count = wanted.count;
        EXPECT_EQ(drawn, wanted) << c.heading;
    }
}

TEST_F(Instruments, TargetMarkersShowOnlyInsideTheWindowWhenAskedTo) {
    // The compass marker stands at y 0, x = 117 + (target - heading) / 135 x 150, taken the
    // short way round; the altimeter's at x 229 centred on y = 235 - (target - value + 0.75) x 100.
    const struct {
        bool compass;
        double at, target;
        int show, x, y;  // x -1: no marker
    } cases[] = {{true, 0, 60, 1, 183, 0},   {true, 0, 60, 0, -1, 0},      {true, 0, 60, 2, -1, 0},
                 {true, 0, 90, 1, -1, 0},    {true, 10, 350, 1, 94, 0},    {true, 0, kNaN, 1, -1, 0},
                 {false, 2, 3.75, 1, -1, 0}, {false, 3, 3.75, 1, 229, 83}, {false, 3, 3.75, 0, -1, 0},
                 {false, 2, 2, 1, 229, 158}, {false, 2, kInf, 1, -1, 0}};
    for (const auto& c : cases) {
        const std::vector<uint16_t> f = c.compass ? Drawn(Make<CFSCompass>(135, c.at, c.target, c.show))
                                                  : Drawn(Make<CFSAltimeter>(1.5, c.at, c.target, c.show));
        EXPECT_EQ(Count(f, kTarget, 0, kW), c.x < 0 ? 0 : c.compass ? 12 : 48) << c.at << " " << c.target;
        EXPECT_TRUE(c.x < 0 || f[c.y * kW + c.x] == kTarget) << c.at << " " << c.target;
    }
}

TEST_F(Instruments, AltimeterTicksMarkTenthsHalvesAndWholeKilometres) {
    // Columns 227, 229 and 231 of the body at (220, 85) cross the tenth, half and whole km
    // ticks; a tick at the window's low end would fall below the body and is cut off.
    const struct {
        double value, span;
        int tenths, halves, wholes, wholeY;
    } cases[] = {{2.0, 1.5, 15, 3, 1, 160},
                 {0.9, 1.5, 15, 3, 1, 150},
                 {2.0, 2.5, 25, 5, 3, 220},
                 {3.0, 1.5, 15, 3, 1, 160},
                 {2.0, 2.0, 19, 3, 1, 160}};
    for (const auto& c : cases) {
        const std::vector<uint16_t> f = Drawn(Make<CFSAltimeter>(c.span, c.value));
        EXPECT_EQ((std::array{Count(f, 0, 227, 228), Count(f, 0, 229, 230), Count(f, 0, 231, 232)}),
                  (std::array{2 * c.tenths, 2 * c.halves, 2 * c.wholes}))
            << c.value << " " << c.span;
        EXPECT_EQ(f[c.wholeY * kW + 231], 0) << c.value << " " << c.span;
    }
    // The figures end short of the point of the tag (x 205 to 224, rows 155 to 164).
    const ChangedArea figures =
        Changes(Drawn(Make<CFSAltimeter>(1.5, 2)), Drawn(Make<CFSAltimeter>(1.5, 2, 0, 0, true)), kW);
    EXPECT_TRUE(figures.count > 0 && figures.right <= 217 && figures.top >= 150 && figures.bottom <= 170)
        << figures;
}

TEST_F(Instruments, LandscapeAlignmentsTurnTheLayoutIntoTheBuffer) {
    // The compass body lies centred along the left edge (rows 85 to 234) in alignment 1 and
    // along the right edge in alignment 2; the altimeter's along the top and the bottom
    // edges. Tick: the major tick at 45 degrees.
    const struct {
        bool compass;
        int alignment, x, y;
        uint16_t colour;
    } cases[] = {{true, 1, 2, 85, kBody},    {true, 1, 21, 234, kBody},  {true, 1, 8, 108, 0},
                 {true, 2, 218, 85, kBody},  {true, 2, 224, 210, 0},     {false, 1, 45, 4, kBody},
                 {false, 1, 194, 19, kBody}, {false, 2, 45, 300, kBody}, {false, 2, 194, 315, kBody},
                 {true, 3, 120, 12, kSky},   {false, -1, 227, 160, kSky}};
    for (const auto& c : cases) {
        const std::vector<uint16_t> f = c.compass
                                            ? Drawn(Make<CFSCompass>(135, 0, 0, 0, true), c.alignment)
                                            : Drawn(Make<CFSAltimeter>(1.5, 0, 0, 0, true), c.alignment);
        EXPECT_EQ(f[c.y * kW + c.x], c.colour)
            << c.compass << " " << c.alignment << " at " << c.x << ", " << c.y;
    }
}

TEST_F(Instruments, BadSpansHeadingsValuesAndMissingPicturesDrawOnlyWhatIsSafe) {
    // Strips that cannot be laid out show their body but no ticks or letters (colour 0).
    for (double span : {0.0, -135.0, kNaN, kInf, 1e7}) {
        EXPECT_EQ(Count(Drawn(Make<CFSCompass>(span, 0, 0, 0, true)), 0, 0, kW), 0) << span;
        EXPECT_EQ(Count(Drawn(Make<CFSAltimeter>(span * 0.01)), 0, 0, kW), 0) << span;
    }
    for (double value : {kNaN, -kInf, 1e300})
        EXPECT_EQ(Count(Drawn(Make<CFSAltimeter>(1.5, value, 0, 0, true)), 0, 220, kW), 0) << value;
    // Headings wrap into one turn (-1: anywhere in it); one that is not a number (-2) shows no strip.
    const double headings[][2] = {{360, 0}, {365, 5}, {-90, 270}, {359.5, 359.5}, {1e300, -1}, {kNaN, -2}};
    for (const auto& h : headings) {
        const CFSCompass compass = Make<CFSCompass>(135, h[0], 0, 0, true);
        const double heading = compass.Heading();
        EXPECT_TRUE(h[1] >= 0 ? heading == h[1] : h[1] == -2 || (heading >= 0 && heading < 360)) << heading;
        EXPECT_EQ(Count(Drawn(compass), 0, 0, kW) == 0, h[1] == -2) << h[0];
    }
    // Without their markers the bodies still draw; without a body nothing does.
    EXPECT_GT(Count(Drawn(Make<CFSCompass>(135, 0, 60, 1, false, "bodies.zip")), kBody, 0, kW), 0);
    EXPECT_GT(Count(Drawn(Make<CFSAltimeter>(1.5, 0, 0, 1, false, "bodies.zip")), kBody, 0, kW), 0);
    EXPECT_EQ(Count(Drawn(Make<CFSCompass>(135, 0, 60, 1, true, "absent.zip")), kSky, 0, kW), kPixels);
    EXPECT_EQ(Count(Drawn(Make<CFSAltimeter>(1.5, 0, 0, 1, true, "absent.zip")), kSky, 0, kW), kPixels);
}

}  // namespace
