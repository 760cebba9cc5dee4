#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FSActions.h"
#include "common/ImageFiles.h"
#include "menu/CSPCheckCtrl.h"
#include "menu/CSPDiscreteSliderCtrl.h"
#include "menu/CSPEditCtrl.h"
#include "menu/CSPMessageBox.h"
#include "menu/CSPScrollerCtrl.h"
#include "menu/CSPSmoothSliderCtrl.h"
#include "menu/CSPTextCtrl.h"
#include "menu/CSPTextListCtrl.h"
#include "menu/EditKeyboardLayout.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "platform/FSClock.h"
#include "resources/FSPixels.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

using namespace image_test_files;

constexpr int kW = 320, kH = 240, kPixels = kW * kH, kMargin = 4096;
constexpr uint16_t kBack = 0x4208, kGuard = 0xBEEF, kOn = 0x07E0, kOff = 0x001F, kCap = 0xF800,
                   kLine = 0xFFE0, kTick = 0xF81F, kKnob = 0x07FF, kArrow = 0x8410, kThumb = 0xC618,
                   kKeys = 0x2104, kKeysLit = 0xFD20, kWindow = 0x39E7, kButtonOff = 0x0010,
                   kButtonOn = 0x8000;

// One-colour opaque pictures of the sizes the controls' drawings are checked against: the
// check box 12 x 12, slider caps 8 x 10, ticks 3 x 10, line 1 x 10, knob 9 x 16, arrow
// 10 x 10, thumbs 20 x 10 and 10 x 20, keyboard 240 x 75, message window 200 x 100 and
// buttons 88 x 22. The real menu archive is not needed.
class MenuControls : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("menuctl");
        const struct {
            const char* name;
            const char* mask;  // null: no mask
            int w, h;
            uint16_t colour;
        } pictures[] = {
            {"controls/checkboxctrl/checkbox_on", "controls/checkboxctrl/checkbox_mask_on", 12, 12, kOn},
            {"controls/checkboxctrl/checkbox_off", "controls/checkboxctrl/checkbox_mask_off", 12, 12, kOff},
            {"controls/sliderctrl/slider_point_border", "controls/sliderctrl/slider_point_border_mask", 8, 10,
             kCap},
            {"controls/sliderctrl/slider_point_center", "controls/sliderctrl/slider_point_center_mask", 3, 10,
             kTick},
            {"controls/sliderctrl/slider_line", "controls/sliderctrl/slider_line_mask", 1, 10, kLine},
            {"controls/scrollerctrl/scroller_arrow", "controls/scrollerctrl/scroller_arrow_mask", 10, 10,
             kArrow},
            {"controls/scrollerctrl/hscroller", "controls/scrollerctrl/hscroller_mask", 20, 10, kThumb},
            {"controls/scrollerctrl/vscroller", "controls/scrollerctrl/vscroller_mask", 10, 20, kThumb},
            {"states/pointer", "states/pointer_mask", 9, 16, kKnob},
            {"states/backward", "states/empty_pointer_mask", 9, 16, kKnob},
            {"states/forward", nullptr, 9, 16, kKnob},
            {"states/close", nullptr, 9, 16, kKnob},
            {"controls/editctrl/keyboard_off", nullptr, 240, 75, kKeys},
            {"controls/editctrl/keyboard_caps_off", nullptr, 240, 75, kKeys},
            {"controls/editctrl/keyboard_on", nullptr, 240, 75, kKeysLit},
            {"controls/editctrl/keyboard_caps_on", nullptr, 240, 75, kKeysLit},
            {"controls/messagebox/window", nullptr, 200, 100, kWindow},
            {"controls/messagebox/button_off", nullptr, 88, 22, kButtonOff},
            {"controls/messagebox/button_on", nullptr, 88, 22, kButtonOn}};
        ready_ = RunShell("cd " + ShellQuote(folder_) +
                          " && mkdir -p controls/checkboxctrl controls/sliderctrl controls/scrollerctrl "
                          "controls/editctrl controls/messagebox states");
        for (const auto& p : pictures) {
            const int n = p.w * p.h;
            ready_ = ready_ && WriteFile(folder_ + p.name + ".bmp",
                                         Encode565Bmp(std::vector<uint16_t>(n, p.colour), p.w, p.h, false));
            if (p.mask)
                ready_ = ready_ && WriteFile(folder_ + p.mask + ".bmp",
                                             EncodeMaskBmp(std::vector<uint8_t>(n, 255), p.w, p.h));
        }
        archive_ = folder_ + "menu.zip";
        ready_ = ready_ && ZipWithPassword(folder_, archive_, "-r controls states");
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override {
        ASSERT_TRUE(ready_) << "test files failed in " << folder_;
        ASSERT_TRUE(resources_.Load(archive_));
        platform::UseVirtualClock(1000);
        padded_.assign(kPixels + 2 * kMargin, kGuard);
        std::fill(padded_.begin() + kMargin, padded_.end() - kMargin, kBack);
    }
    void TearDown() override {
        EXPECT_EQ(std::count(padded_.begin(), padded_.end(), kGuard), 2 * kMargin)
            << "drawn outside the screen";
        if (const char* preview = std::getenv("AEROVANT_MENU_PREVIEW")) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            WriteFile(std::string(preview) + "/" + name + ".png",
                      EncodePng(CanvasFrom565(Screen(), kW, kH), false));
        }
        platform::UseRealClock();
    }

    uint16_t* Screen() { return padded_.data() + kMargin; }
    uint16_t At(int x, int y) { return Screen()[y * kW + x]; }
    void Clear() { std::fill(Screen(), Screen() + kPixels, kBack); }
    int Count(uint16_t colour) { return static_cast<int>(std::count(Screen(), Screen() + kPixels, colour)); }
    // Sets the stylus and sends one action.
    template <class Control>
    int Tap(Control& control, int x, int y, int action = kActionStylusPressed) {
        frame_.stylusX = x;
        frame_.stylusY = y;
        return control.HandleAction(action);
    }

    static inline std::string folder_, archive_;
    static inline bool ready_ = false;
    MenuResources resources_;
    FSFrameValues frame_;
    std::vector<uint16_t> padded_;
};

TEST_F(MenuControls, CheckBoxTogglesOnItsActionsAndHiddenIgnoresAll) {
    CSPCheckCtrl box(frame_);
    box.Init(Screen(), {20, 30});
    EXPECT_EQ(Tap(box, 33, 42), 0) << "a press beside the box";
    frame_.stylusX = 32;
    frame_.stylusY = 42;
    const struct {
        int action, result, state;
    } steps[] = {{kActionLeft, 1, 1},  {kActionRight, 1, 0},          {kActionStylusPressed, 1, 1},
                 {kActionUp, 0, 1},    {kActionStylusReleased, 0, 1}, {kActionSelect, 0, 1},
                 {kActionRight, 1, 0}, {kActionLeftHeld, 0, 0}};
    for (const auto& s : steps) {
        EXPECT_EQ(box.HandleAction(s.action), s.result) << s.action;
        EXPECT_EQ(box.State(), s.state) << s.action;
    }
    EXPECT_TRUE(box.HitTest({32, 42}));  // inclusive edges
    EXPECT_FALSE(box.HitTest({33, 30}));
    box.Draw();
    EXPECT_EQ(At(20, 30), kOff);
    box.SetState(CSPCheckCtrl::kOn);
    box.Draw();
    EXPECT_EQ(At(31, 41), kOn);
    EXPECT_EQ(At(32, 41), kBack);
    box.SetState(CSPCheckCtrl::kHidden);
    EXPECT_EQ(box.HandleAction(kActionLeft), 0);
    EXPECT_EQ(box.State(), CSPCheckCtrl::kHidden);
    Clear();
    box.Draw();
    EXPECT_EQ(Count(kBack), kPixels);
    // Half off the screen: the visible corner is drawn.
    box.Init(Screen(), {314, -6});
    box.SetState(CSPCheckCtrl::kOn);
    box.Draw();
    EXPECT_EQ(Count(kOn), 6 * 6);
}

TEST_F(MenuControls, DiscreteSliderTapsPickTheNearerStepFloorOnATie) {
    const struct {
        int count, offset, index;
    } taps[] = {{5, 50, 2}, {5, 12, 0}, {5, 13, 1}, {5, 100, 4}, {5, 0, 0}, {3, 25, 0},  // f = 0.5 exactly
                {3, 26, 1}, {3, 75, 1}, {3, 76, 2}};
    for (const auto& t : taps) {
        CSPDiscreteSliderCtrl slider(frame_);
        slider.Init(Screen(), {100, 100}, 100, 0, t.count);
        slider.SetIndex(3);
        EXPECT_EQ(Tap(slider, 100 + t.offset, 105), 1);
        EXPECT_EQ(slider.Index(), t.index) << t.count << " steps at " << t.offset;
    }
    // The pad keys stop at the ends; a standing slider takes up and down instead.
    CSPDiscreteSliderCtrl slider(frame_);
    slider.Init(Screen(), {100, 100}, 100, 0, 3);
    EXPECT_EQ(slider.HandleAction(kActionLeft), 1);
    EXPECT_EQ(slider.Index(), 0);
    for (int i = 0; i < 4; ++i)
        slider.HandleAction(kActionRight);
    EXPECT_EQ(slider.Index(), 2);
    EXPECT_EQ(slider.HandleAction(kActionDown), 0);
    // One position or none: nothing to pick, nothing divided by zero.
    for (int count : {0, 1}) {
        CSPDiscreteSliderCtrl single(frame_);
        single.Init(Screen(), {100, 100}, 100, 0, count);
        EXPECT_EQ(Tap(single, 150, 105), 0);
        single.HandleAction(kActionRight);
        EXPECT_EQ(single.Index(), 0);
        single.Draw();
    }
}

TEST_F(MenuControls, DiscreteSliderDrawsTrackTicksAndKnob) {
    CSPDiscreteSliderCtrl slider(frame_);
    slider.Init(Screen(), {100, 100}, 100, 0, 5);
    slider.SetIndex(2);
    slider.Draw();
    EXPECT_EQ(At(99, 101), kCap);    // left cap from left - 1
    EXPECT_EQ(At(200, 101), kCap);   // right cap ends at left + length
    EXPECT_EQ(At(120, 109), kLine);  // the line between
    // Ticks at 23 x i + 102 for i = 1..3, the knob at 93 x 2 / 4 + 97, three rows up.
    EXPECT_EQ(At(125, 109), kTick);
    EXPECT_EQ(At(171, 109), kTick);
    EXPECT_EQ(At(143, 97), kKnob);
    EXPECT_EQ(At(142, 97), kBack);
    EXPECT_EQ(At(151, 97), kKnob);
}

TEST_F(MenuControls, SmoothSliderFollowsTheStylusAndSteps) {
    CSPSmoothSliderCtrl slider(frame_);
    slider.Init(Screen(), {50, 60}, 200, 0, 0.25f);
    EXPECT_EQ(Tap(slider, 100, 65), 1);
    EXPECT_FLOAT_EQ(slider.Value(), 0.25f);
    EXPECT_EQ(Tap(slider, 250, 65, kActionStylusMoved), 1);
    EXPECT_FLOAT_EQ(slider.Value(), 1.0f);
    EXPECT_EQ(Tap(slider, 260, 65), 0);  // outside
    EXPECT_EQ(slider.HandleAction(kActionRightHeld), 1);
    EXPECT_FLOAT_EQ(slider.Value(), 1.0f);
    EXPECT_EQ(slider.HandleAction(kActionUpHeld), 0);
    for (int i = 0; i < 3; ++i)
        slider.HandleAction(kActionLeftHeld);
    EXPECT_FLOAT_EQ(slider.Value(), 0.25f);
    slider.SetValue(-3.0f);
    EXPECT_FLOAT_EQ(slider.Value(), 0.0f);
    slider.SetValue(0.5f);
    slider.Draw();
    // Knob at 193 x 0.5 + 47 = 143, three rows above the top.
    EXPECT_EQ(At(143, 57), kKnob);
    EXPECT_EQ(At(142, 57), kBack);
    // A standing slider moves with up and down but draws nothing.
    CSPSmoothSliderCtrl standing(frame_);
    standing.Init(Screen(), {10, 20}, 100, 1, 0.5f);
    EXPECT_EQ(standing.HandleAction(kActionDownHeld), 1);
    EXPECT_EQ(Tap(standing, 12, 95), 1);
    EXPECT_FLOAT_EQ(standing.Value(), 0.75f);
    Clear();
    standing.Draw();
    EXPECT_EQ(Count(kBack), kPixels);
}

TEST_F(MenuControls, ScrollerThumbFollowsTheRange) {
    // Extent 100 with arrows 10 wide.
    const struct {
        float minimum, maximum, value;
        int length, offset;
    } cases[] = {{0, 20, 0, 66, 0},   {0, 20, 20, 66, 14},     {0, 20, 10, 66, 7},
                 {0, 1000, 0, 15, 0}, {0, 1000, 1000, 15, 65}, {5, 5, 5, 0, 0}};
    for (const auto& c : cases) {
        for (int orientation : {0, 1}) {
            CSPScrollerCtrl bar(frame_);
            bar.Init(Screen(), {100, 100}, 100, orientation);
            bar.SetRange(c.minimum, c.maximum);
            bar.SetValue(c.value);
            EXPECT_EQ(bar.ThumbLength(), c.length) << c.maximum << " " << orientation;
            EXPECT_EQ(bar.ThumbOffset(), c.offset) << c.maximum << " " << orientation;
            bar.Draw();
        }
    }
    CSPScrollerCtrl bar(frame_);
    bar.Init(Screen(), {100, 100}, 100, 0);
    bar.SetRange(0, 20);
    bar.SetRange(30, 10);  // refused
    bar.SetStep(3);
    EXPECT_EQ(Tap(bar, 195, 105), 0);  // the right arrow
    EXPECT_FLOAT_EQ(bar.Value(), 3);
    EXPECT_EQ(Tap(bar, 104, 105), 0);  // the left arrow
    EXPECT_FLOAT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.HandleAction(kActionRightHeld), 1);
    EXPECT_FLOAT_EQ(bar.Value(), 3);
    // Dragging the thumb (at 110 + 2 .. 110 + 2 + 66) by 7 of its 14 pixels of travel.
    bar.SetValue(2);
    Tap(bar, 130, 105);
    EXPECT_EQ(Tap(bar, 137, 105, kActionStylusMoved), 1);
    EXPECT_FLOAT_EQ(bar.Value(), 12);
    EXPECT_EQ(Tap(bar, 300, 105, kActionStylusMoved), 1);
    EXPECT_FLOAT_EQ(bar.Value(), 20);
    Tap(bar, 300, 105, kActionStylusReleased);
    EXPECT_EQ(Tap(bar, 130, 105, kActionStylusMoved), 0);
    Clear();
    bar.Draw();
    EXPECT_EQ(At(100, 100), kArrow);
    EXPECT_EQ(At(199, 109), kArrow);
    // Thumb offset 14: its pieces cover 117 .. 117 + 7 + 68 + 7.
    EXPECT_EQ(At(117, 105), kThumb);
    EXPECT_EQ(At(198 - 10, 105), kThumb);
    EXPECT_EQ(At(115, 105), kBack);
}

TEST_F(MenuControls, ListSelectorStepsWrapsAndIgnoresQuickRepeatTaps) {
    const std::vector<std::string> entries{"Cessna", "Sukhoi", "Delfin"};
    const struct {
        bool wrap;
        int start, action, result, selected;
    } steps[] = {{false, 2, kActionRight, 0, 2}, {true, 2, kActionRight, 1, 0},
                 {false, 0, kActionLeft, 0, 0},  {true, 0, kActionLeft, 1, 2},
                 {false, 1, kActionLeft, 1, 0},  {true, 1, kActionRight, 1, 2}};
    for (const auto& s : steps) {
        CSPTextListCtrl list(frame_);
        list.Init(Screen(), {60, 20}, 200, &resources_.listFont, entries, s.wrap);
        list.SetSelected(s.start);
        EXPECT_EQ(list.HandleAction(s.action), s.result);
        EXPECT_EQ(list.Selected(), s.selected) << s.wrap << " " << s.start;
    }
    CSPTextListCtrl list(frame_);
    list.Init(Screen(), {60, 20}, 200, &resources_.listFont, entries, false);
    list.SetSelected(7);
    EXPECT_EQ(list.Selected(), 0);
    // Arrows at 60 .. 70 and 250 .. 260; a second tap 300 ms after the first is the same
    // tap, unless the stylus was lifted in between.
    const struct {
        uint32_t wait;
        bool release;
        int x, result, selected;
    } taps[] = {{0, false, 255, 1, 1},
                {300, false, 255, 0, 1},
                {1, false, 255, 1, 2},
                {5, true, 65, 1, 1},
                {5, false, 150, 0, 1}};
    for (const auto& t : taps) {
        platform::AdvanceVirtualClock(t.wait);
        if (t.release) Tap(list, 0, 0, kActionStylusReleased);
        EXPECT_EQ(Tap(list, t.x, 25), t.result) << t.wait;
        EXPECT_EQ(list.Selected(), t.selected) << t.wait;
    }
    list.Draw();
    EXPECT_EQ(At(60, 20), kArrow);
    EXPECT_EQ(At(259, 29), kArrow);
    int text = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 70; x < 250; ++x)
            text += At(x, y) != kBack;
    EXPECT_GT(text, 20) << "the entry";
    // A name wider than the space between the arrows is shortened, never drawn over them.
    CSPTextListCtrl narrow(frame_);
    narrow.Init(Screen(), {60, 90}, 60, &resources_.listFont, {"A very long route name indeed"}, false);
    narrow.Draw();
    int arrows = 0, between = 0;
    for (int y = 90; y < 100; ++y) {
        for (int x = 60; x < 120; ++x) {
            const bool onArrow = x < 70 || x >= 110;
            arrows += onArrow && At(x, y) == kArrow;
            between += !onArrow && At(x, y) != kBack;
        }
    }
    EXPECT_EQ(arrows, 2 * 10 * 10);
    EXPECT_GT(between, 10);
    // An empty list neither moves nor draws text.
    CSPTextListCtrl empty(frame_);
    empty.Init(Screen(), {60, 50}, 200, &resources_.listFont, {}, true);
    EXPECT_EQ(empty.HandleAction(kActionRight), 0);
    EXPECT_EQ(Tap(empty, 255, 55), 0);
    EXPECT_EQ(empty.Selected(), -1);
    empty.Draw();
}

TEST_F(MenuControls, TextBoxScrollsOnlyWhatDoesNotFit) {
    CSPTextCtrl box(frame_);
    box.Init(Screen(), &resources_.mainFont, {20, 20, 120, 80}, {4, 4, 4, 4}, true, true);
    box.SetText("");
    EXPECT_EQ(box.VerticalBar().ThumbLength(), 0);
    EXPECT_EQ(box.HorizontalBar().ThumbLength(), 0);
    box.HandleAction(kActionDownHeld);
    EXPECT_FLOAT_EQ(box.VerticalBar().Value(), 0);
    box.Draw();
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "A long line of menu text that runs on\n";
    box.SetText(text);
    EXPECT_GT(box.VerticalBar().ThumbLength(), 0);
    EXPECT_GT(box.HorizontalBar().ThumbLength(), 0);
    EXPECT_EQ(box.HandleAction(kActionDownHeld), 0);
    EXPECT_FLOAT_EQ(box.VerticalBar().Value(), 1);
    Clear();
    box.Draw();
    // No text pixel outside the inner rectangle (24, 24) .. (103, 63).
    int inked = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint16_t p = At(x, y);
            if (p == kBack || p == kArrow || p == kThumb) continue;
            ASSERT_TRUE(x >= 24 && x < 103 && y >= 24 && y < 63) << x << "," << y;
            ++inked;
        }
    EXPECT_GT(inked, 50);
    // A box with no room at all.
    CSPTextCtrl none(frame_);
    none.Init(Screen(), &resources_.mainFont, {300, 230, 300, 230}, {4, 4, 4, 4}, true, true);
    none.SetText(text);
    none.HandleAction(kActionDownHeld);
    none.Draw();
}

// Keys of the on-screen keyboard by number.
constexpr int kA = 27, kB = 43, k1 = 0, kBackspaceKey = 12, kTabKey = 13, kCaps = 26, kShiftKey = 38,
              kLeft = 52, kRight = 53;

TEST_F(MenuControls, TextFieldTypesWithShiftForOneCharacterAndCapsLockUntilOff) {
    CSPEditCtrl edit(frame_);
    ASSERT_TRUE(edit.Init(Screen(), {40, 40}, {240, 24}, &resources_.mainFont, archive_));
    const auto press = [&](int key) {
        const edit_keyboard::Key& k = edit_keyboard::Keys()[key];
        // The middle of the key: the space bar reaches under the left cursor key.
        EXPECT_EQ(Tap(edit, 40 + k.x + k.w / 2, 150 + k.y + 7), 1);
        EXPECT_EQ(edit.HandleAction(kActionStylusReleased), 1);
        EXPECT_EQ(frame_.stylusX + frame_.stylusY, 0) << "the tap is used up";
    };
    const struct {
        std::vector<int> keys;
        const char* text;
        int cursor;
    } cases[] = {{{kShiftKey, kA, kA}, "Aa", 2},
                 {{kCaps, kA, kB, kCaps, kA}, "ABa", 3},
                 {{kShiftKey, k1, k1}, "!1", 2},
                 {{kCaps, k1, kShiftKey, kB}, "!B", 2},
                 {{kA, kB, kLeft, k1, kRight, kRight, kBackspaceKey}, "a1", 2},
                 {{kBackspaceKey, kLeft, kLeft, kA, kLeft, kBackspaceKey}, "a", 0},
                 {{kTabKey, kA}, "a", 1}};
    for (const auto& c : cases) {
        edit.Reset();
        for (int key : c.keys)
            press(key);
        EXPECT_EQ(edit.Text(), c.text);
        EXPECT_EQ(edit.Cursor(), c.cursor) << c.text;
    }
    EXPECT_FALSE(edit.Done());
    Tap(edit, 40 + 229, 150 + 31);
    edit.HandleAction(kActionStylusReleased);
    EXPECT_TRUE(edit.Done());
    // Outside the keys nothing is pressed and the release does nothing.
    EXPECT_EQ(Tap(edit, 10, 10), 0);
    EXPECT_EQ(edit.HandleAction(kActionStylusReleased), 0);
}

TEST_F(MenuControls, TextFieldNeverGrowsPastItsLimitAndTakesOnlyPrintableCharacters) {
    CSPEditCtrl edit(frame_);
    edit.Init(Screen(), {40, 40}, {240, 24}, &resources_.mainFont, archive_);
    for (char c : std::string("\tab\n\x7f\x80\xff~ z"))
        edit.TypeCharacter(c);
    EXPECT_EQ(edit.Text(), "ab~ z");
    edit.SetText("a\tb");
    EXPECT_EQ(edit.Text(), "ab");
    edit.Reset();
    for (int i = 0; i < 300; ++i)
        edit.TypeCharacter(static_cast<char>('a' + i % 26));
    EXPECT_EQ(edit.Text().size(), 128u);
    edit.TypeKey(CSPEditCtrl::Key::Left);
    edit.TypeCharacter('Q');
    const edit_keyboard::Key& k = edit_keyboard::Keys()[kA];
    Tap(edit, 40 + k.x + 1, 150 + k.y + 1);
    edit.HandleAction(kActionStylusReleased);
    EXPECT_EQ(edit.Text().size(), 128u);
    EXPECT_EQ(edit.Text().find('Q'), std::string::npos);
    for (int i = 0; i < 200; ++i)
        edit.TypeKey(CSPEditCtrl::Key::Right);
    EXPECT_EQ(edit.Cursor(), 128);
    for (int i = 0; i < 200; ++i)
        edit.TypeKey(CSPEditCtrl::Key::Backspace);
    EXPECT_EQ(edit.Text(), "");
    edit.TypeKey(CSPEditCtrl::Key::Left);
    EXPECT_EQ(edit.Cursor(), 0);
    edit.SetText(std::string(400, 'w'));
    EXPECT_EQ(edit.Cursor(), 128);
    edit.Draw();  // a long text scrolls inside the field
    edit.TypeKey(CSPEditCtrl::Key::Enter);
    EXPECT_TRUE(edit.Done());
}

TEST_F(MenuControls, TextFieldDrawsFrameKeyboardLitKeysAndABlinkingCursor) {
    CSPEditCtrl edit(frame_);
    edit.Init(Screen(), {40, 40}, {240, 24}, &resources_.mainFont, archive_);
    edit.Draw();
    EXPECT_EQ(At(40, 40), Pack565(0xBB0000));
    EXPECT_EQ(At(279, 63), Pack565(0xBB0000));
    EXPECT_EQ(At(60, 44), kBack) << "the inside of the field shows the screen";
    EXPECT_EQ(At(40, 150), kKeys);
    EXPECT_EQ(At(279, 224), kKeys);
    EXPECT_EQ(At(40, 225), kBack);
    const uint16_t cursor = At(48, 50);
    EXPECT_TRUE(cursor == 0xFFFF || cursor == 0xF800);
    platform::AdvanceVirtualClock(CSPEditCtrl::kBlinkMs);
    edit.Draw();
    EXPECT_NE(At(48, 50), cursor);
    EXPECT_EQ(At(50, 50), kBack);
    // Caps lock stays lit; a pressed key lights while held.
    const edit_keyboard::Key& caps = edit_keyboard::Keys()[kCaps];
    Tap(edit, 40 + caps.x + 1, 150 + caps.y + 1);
    edit.HandleAction(kActionStylusReleased);
    Tap(edit, 40 + 229, 150 + 31);  // enter, held
    edit.Draw();
    EXPECT_EQ(At(40 + caps.x, 150 + caps.y), kKeysLit);
    EXPECT_EQ(At(40 + caps.x + 30, 150 + caps.y), kKeys);
    EXPECT_EQ(At(40 + 216, 150 + 46), kKeysLit) << "both parts of enter";
    EXPECT_EQ(At(40 + 239, 150 + 30), kKeysLit);
}

TEST_F(MenuControls, MessageBoxButtonsWrapAndChooseTheResult) {
    const struct {
        int kind;
        std::vector<int> actions;
        int selected, result;
    } cases[] = {{CSPMessageBox::kYesNo, {}, 0, -1},
                 {CSPMessageBox::kYesNo, {kActionRight}, 1, -1},
                 {CSPMessageBox::kYesNo, {kActionRight, kActionRight, kActionSelect}, 0, 0},
                 {CSPMessageBox::kYesNo, {kActionLeft, kActionSelect}, 1, 1},
                 {CSPMessageBox::kYesNo, {kActionUp, kActionDown, kActionBack}, 0, -1},
                 {CSPMessageBox::kOk, {kActionRight, kActionLeft}, 0, -1},
                 {CSPMessageBox::kOk, {kActionSelect}, 0, 0}};
    CSPMessageBox box(frame_);
    ASSERT_TRUE(
        box.Create(Screen(), {60, 70}, {200, 100}, &resources_.mainFont, &resources_.mainFont, archive_));
    for (const auto& c : cases) {
        box.Show(Screen(), "Leave the flight?", c.kind);
        for (int action : c.actions)
            EXPECT_EQ(box.HandleAction(action), 0);
        EXPECT_EQ(box.Selected(), c.selected) << c.kind << " " << c.actions.size();
        EXPECT_EQ(box.Result(), c.result) << c.kind << " " << c.actions.size();
    }
    // Yes at (75, 140), No at (157, 140), OK at (116, 140), each 88 x 22 with edges included.
    const struct {
        int kind, x, y, result;
    } taps[] = {{CSPMessageBox::kYesNo, 75, 140, 0},
                {CSPMessageBox::kYesNo, 245, 162, 1},
                {CSPMessageBox::kYesNo, 200, 120, -1},
                {CSPMessageBox::kOk, 204, 162, 0},
                {CSPMessageBox::kOk, 80, 150, -1}};
    for (const auto& t : taps) {
        box.Show(Screen(), "Leave the flight?", t.kind);
        Tap(box, t.x, t.y);
        EXPECT_EQ(box.Result(), t.result) << t.x << "," << t.y;
    }
}

TEST_F(MenuControls, MessageBoxDrawsOverTheDarkenedScreenItWasShownOn) {
    CSPMessageBox box(frame_);
    box.Create(Screen(), {60, 70}, {200, 100}, &resources_.mainFont, &resources_.mainFont, archive_);
    box.Show(Screen(), std::string(600, 'M'), CSPMessageBox::kYesNo);
    box.Show(Screen(), "Leave the flight?\nThe flight is lost.", CSPMessageBox::kYesNo);
    box.HandleAction(kActionRight);
    for (int pass = 0; pass < 2; ++pass) {
        box.Draw();
        // 40 % of the screen around the box, the same on every pass.
        EXPECT_EQ(testing_support::Red5(At(0, 0)), 3);
        EXPECT_EQ(testing_support::Green6(At(319, 239)), 6);
        EXPECT_EQ(At(61, 71), kWindow);
        EXPECT_EQ(At(75, 140), kButtonOff);
        EXPECT_EQ(At(157, 140), kButtonOn);
    }
    int text = 0;
    for (int y = 85; y < 140; ++y)
        for (int x = 65; x < 255; ++x)
            text += At(x, y) != kWindow;
    EXPECT_GT(text, 30);
}

TEST_F(MenuControls, PicturesCutAtEveryScreenEdgeKeepTheirVisiblePartInPlace) {
    // A 7 x 4 picture of distinct pixels, turned every way, drawn whole at (100, 100) and then
    // across each edge of the screen: what shows must be the same pixels, moved.
    FSBitmapHandle picture = CreateBitmap565(7, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            picture->Pixels()[y * picture->Stride() + x] = static_cast<uint16_t>(1 + x + 7 * y);
    const FSPoint cuts[] = {{-3, 50}, {316, 50}, {50, -2}, {50, 237}, {-3, -2}, {317, 238}};
    for (int transform = 0; transform < 6; ++transform) {
        Clear();
        menu_drawing::DrawMasked(Screen(), {100, 100}, picture.get(), nullptr, transform);
        const std::vector<uint16_t> whole(Screen(), Screen() + kPixels);
        for (const FSPoint at : cuts) {
            Clear();
            menu_drawing::DrawMasked(Screen(), at, picture.get(), nullptr, transform);
            int shown = 0;
            for (int y = std::max(at.y, 0); y < std::min(at.y + 7, kH); ++y)
                for (int x = std::max(at.x, 0); x < std::min(at.x + 7, kW); ++x) {
                    const uint16_t expected = whole[(y - at.y + 100) * kW + x - at.x + 100];
                    EXPECT_EQ(At(x, y), expected) << transform << " at " << at.x << "," << at.y;
                    shown += expected != kBack;
                }
            EXPECT_EQ(kPixels - Count(kBack), shown) << transform << " at " << at.x << "," << at.y;
            EXPECT_GT(shown, 0) << transform << " at " << at.x << "," << at.y;
        }
    }
}

}  // namespace
