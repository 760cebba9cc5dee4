// The settings, help and about screens driven through the menu as the player would: where
// their items lead, what they store in the context and in "settings.bin", and the key
// capture of the controls screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSSettingsFile.h"
#include "app/FSSettingsPresets.h"
#include "base/FSActions.h"
#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateControlsSettings.h"
#include "menu/CSPMenuStateGameSettings.h"
#include "menu/CSPMenuStateHelp.h"
#include "menu/CSPMenuStateVideoAdvancedSettings.h"
#include "menu/CSPMenuStateVideoSettings.h"
#include "menu/CSPSettingsStateBase.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"
#include "support/HeadlessTestGame.h"
#include "support/ImageTestFiles.h"

namespace {

// Screen 0 stands in for the main menu.
class MainStandIn : public MSPStylusMenuState {
public:
    MainStandIn() : MSPStylusMenuState(0, false, false, true) {}
    int HandleAction(int) override { return 0; }
    int Draw(int redraw) override { return DrawBackground(redraw, nullptr); }
    void Forward() override {}
    void Back() override {}
};

struct Screens {
    Screens() : menu("/nonexistent/menu.zip") {
        EXPECT_EQ(game.Start(), 0);
        context = GetApplicationContext();
        menu.SetScreen(0, std::make_unique<MainStandIn>());
    }
    int Current() const { return menu.CurrentScreen()->ScreenNumber(); }
    void Act(int action) { menu.DispatchAction(action); }
    void Press(int x, int y) {
        context->frame.stylusX = x;
        context->frame.stylusY = y;
        Act(kActionStylusPressed);
    }
    void Repeat(int action, int count) {
        for (int i = 0; i < count; ++i)
            Act(action);
    }
    template <class T>
    T& Screen() {
        return *dynamic_cast<T*>(menu.CurrentScreen());
    }
    FSSettings Written() const {
        FSSettings read;
        EXPECT_TRUE(ReadSettingsFile(SettingsFilePath(), read));
        return read;
    }

    testing_support::HeadlessTestGame game;
    CFSApplicationContext* context = nullptr;
    CSPMenu menu;
};

TEST(SettingsScreens, ItemsAndBackLeadWhereTheyShould) {
    Screens s;
    // From the first item, each step then enter: the item's screen, and back to 9.
    const struct {
        int action, screen;
    } steps[] = {{kActionNone, 10},
                 {kActionDown, 11},
                 {kActionDown, 13},
                 {kActionDown, 14},
                 {kActionDown, 10} /* wraps */,
                 {kActionUp, 14}};
    s.menu.SwitchScreen(9, 0);
    for (const auto& step : steps) {
        if (step.action != kActionNone) s.Act(step.action);
        s.Act(kActionSelect);
        EXPECT_EQ(s.Current(), step.screen) << step.action;
        s.Act(kActionBack);
        EXPECT_EQ(s.Current(), 9);
    }
    // A tap on a label opens its screen only once 100 ms have passed, checked by drawing.
    s.Press(60, 100);
    s.menu.UpdateAndDraw(0);
    EXPECT_EQ(s.Current(), 9);
    platform::AdvanceVirtualClock(100);
    s.menu.UpdateAndDraw(0);
    EXPECT_EQ(s.Current(), 11);
    s.Press(30, 104);  // "advanced"
    platform::AdvanceVirtualClock(100);
    s.menu.UpdateAndDraw(0);
    EXPECT_EQ(s.Current(), 12);
    s.Act(kActionBack);
    EXPECT_EQ(s.Current(), 11);
    for (int screen : {15, 16, 9}) {
        s.menu.SwitchScreen(screen, 0);
        s.Act(kActionBack);
        EXPECT_EQ(s.Current(), 0) << screen;
    }
}

TEST(SettingsScreens, VideoPresetsCustomAndDefaults) {
    Screens s;
    s.context->video.visibilityRange = 40;  // no preset has it
    s.menu.SwitchScreen(11, 0);
    auto& video = s.Screen<CSPMenuStateVideoSettings>();
    EXPECT_EQ(video.Preset(), CSPMenuStateVideoSettings::kCustom);
    s.Act(kActionLeft);  // custom -> high, applied
    EXPECT_EQ(video.Preset(), CSPMenuStateVideoSettings::kHigh);
    EXPECT_EQ(MatchVideoPreset(s.context->video), 2);
    s.Act(kActionRight);  // stepping onto custom stays on high
    EXPECT_EQ(video.Preset(), CSPMenuStateVideoSettings::kHigh);
    s.Repeat(kActionLeft, 2);
    EXPECT_EQ(MatchVideoPreset(s.context->video), 0);
    // Restoring the defaults: medium with the sky and the shortest range.
    s.Repeat(kActionDown, 2);
    s.Act(kActionSelect);
    EXPECT_EQ(s.context->video.visibilityRange, 33);
    EXPECT_EQ(s.context->video.sky, 1);
    EXPECT_EQ(s.context->video.terrainQuality, 1);
    EXPECT_EQ(video.Preset(), CSPMenuStateVideoSettings::kCustom);
    s.Act(kActionBack);
    EXPECT_EQ(s.Written().video.visibilityRange, 33);
}

TEST(SettingsScreens, SlidersAtTheMiddleMapAsThePlayerExpects) {
    Screens s;
    s.context->video.screenAspect = 0.25f;
    s.context->video.visibilityRange = 33;
    s.menu.SwitchScreen(12, 0);
    // A hundred steps of 0.005 from the left end of each slider.
    for (int row :
         {CSPMenuStateVideoAdvancedSettings::kScreenSize, CSPMenuStateVideoAdvancedSettings::kVisibility}) {
        while (s.Screen<CSPMenuStateVideoAdvancedSettings>().Focus() != row)
            s.Act(kActionDown);
        s.Repeat(kActionRightHeld, 100);
    }
    s.Act(kActionBack);
    EXPECT_EQ(s.context->video.visibilityRange, 49);
    EXPECT_NEAR(s.context->video.screenAspect, 0.625f, 1e-4f);
    EXPECT_EQ(s.Written().video.visibilityRange, 49);

    FSGameBlock& game = s.context->game;
    game.joystickSensitivity = 0.05f;
    game.xySensitivity = -3.0f;
    game.touchscreenSensitivity = 0.0f;
    game.touchscreenScheme = 0;
    s.menu.SwitchScreen(14, 0);
    auto& screen = s.Screen<CSPMenuStateGameSettings>();
    // The touch sensitivity row is out of reach while touch control is off.
    s.Act(kActionUp);
    EXPECT_EQ(screen.Focus(), CSPMenuStateGameSettings::kTouchControl);
    s.Act(kActionRight);  // on
    s.Act(kActionDown);
    EXPECT_EQ(screen.Focus(), CSPMenuStateGameSettings::kTouchSensitivity);
    s.Repeat(kActionRightHeld, 100);
    for (int row : {CSPMenuStateGameSettings::kJoystick, CSPMenuStateGameSettings::kRatio}) {
        while (screen.Focus() != row)
            s.Act(kActionDown);
        s.Repeat(kActionRightHeld, 100);
    }
    s.Act(kActionBack);
    EXPECT_NEAR(game.joystickSensitivity, 0.1f, 1e-4f);
    EXPECT_NEAR(game.xySensitivity, 0.0f, 1e-3f);
    EXPECT_NEAR(game.touchscreenSensitivity, 0.05f, 1e-4f);
    EXPECT_EQ(s.Written().game.touchscreenScheme, 1);
}

TEST(SettingsScreens, AudioHandsVolumesOnAndSavesThem) {
    Screens s;
    s.context->engine->musicVolume = 255;
    s.context->engine->soundVolume = 255;
    s.menu.SwitchScreen(10, 0);
    s.Repeat(kActionLeftHeld, 100);  // music to 0.5
    s.Act(kActionDown);
    s.Repeat(kActionLeftHeld, 300);  // sound to 0
    EXPECT_EQ(s.context->engine->musicVolume, 127);
    EXPECT_EQ(s.context->engine->soundVolume, 0);
    s.Act(kActionBack);
    EXPECT_EQ(s.Written().musicVolume, 127);
}

TEST(SettingsScreens, AFailedWriteIsShownAndTheScreenGoesOnlyAfterOk) {
    Screens s;
    // A folder under a plain file can be neither made nor written.
    const std::string blocked = testing_support::MakeTempFolder("blocked") + "/file";
    std::fclose(std::fopen(blocked.c_str(), "w"));
    platform::SetPlayerFolder(blocked + "/player");
    s.menu.SwitchScreen(14, 0);
    s.Act(kActionBack);
    ASSERT_EQ(s.Current(), 14);
    auto& screen = s.Screen<CSPMenuStateGameSettings>();
    EXPECT_TRUE(screen.LastSaveFailed());
    EXPECT_TRUE(screen.MessageOpen());
    s.Act(kActionDown);  // the box takes every action
    EXPECT_EQ(screen.Focus(), 0);
    s.Act(kActionSelect);  // OK
    EXPECT_EQ(s.Current(), 9);
}

// Plays a capture on the input: the release that armed it, then chord held and let go.
void Capture(CFSInput& input, const std::vector<int>& buttons, const std::vector<int>& stylusStates) {
    auto pass = [&input] {
        input.Poll();
        if (input.IsCapturing()) input.CaptureStep();
    };
    input.SetButtonToggle(0, 1);
    pass();
    input.SetButtonToggle(0, 0);
    pass();
    for (int b : buttons)
        input.SetButtonToggle(b, 1);
    for (int st : stylusStates)
        input.LatchStylus(st, 1);
    pass();
    for (int b : buttons)
        input.SetButtonToggle(b, 0);
    pass();
}

TEST(SettingsScreens, RebindingKeepsEveryActionReachable) {
    Screens s;
    CFSInput& input = *s.context->input;
    input.ResetToDefaults();
    const std::vector<int32_t> backKeys = input.KeysOf(kActionBackToMenu);
    s.menu.SwitchScreen(13, 0);
    auto& screen = s.Screen<CSPMenuStateControlsSettings>();
    s.Act(kActionUp);  // first row up to the defaults row, up again to the last row
    EXPECT_TRUE(screen.DefaultsFocused());
    s.Act(kActionUp);
    ASSERT_EQ(screen.SelectedRow(), 15);
    EXPECT_EQ(screen.ScrollOffset(), 90);  // 62 + 225 - 90 = 197

    // Two stylus events never hold together: refused, the old keys stay, and the OK closes it.
    s.Act(kActionSelect);
    EXPECT_EQ(input.IsCapturing(), 1);
    Capture(input, {}, {kStateStylusPressed, kStateStylusReleased});
    s.menu.UpdateAndDraw(0);
    EXPECT_TRUE(screen.MessageOpen());
    EXPECT_EQ(input.KeysOf(kActionBackToMenu), backKeys);
    s.Act(kActionSelect);
    EXPECT_FALSE(screen.MessageOpen());

    // A real chord replaces it and is saved on leaving.
    s.Act(kActionSelect);
    Capture(input, {3}, {});
    s.menu.UpdateAndDraw(0);
    const std::vector<int32_t> newKeys = input.KeysOf(kActionBackToMenu);
    EXPECT_NE(newKeys, backKeys);
    ASSERT_EQ(newKeys.size(), 1u);
    s.Act(kActionBack);
    bool saved = false;
    for (const FSBindingRecord& r : s.Written().bindings)
        saved = saved || (r.action == kActionBackToMenu && r.keys == newKeys);
    EXPECT_TRUE(saved);

    // A tapped row captures on the release; a pressed control rebinds its release as well.
    s.menu.SwitchScreen(13, 0);
    s.Press(60, 62);
    EXPECT_EQ(s.Screen<CSPMenuStateControlsSettings>().SelectedRow(), 0);
    EXPECT_EQ(input.IsCapturing(), 0);
    s.Act(kActionStylusReleased);
    EXPECT_EQ(input.IsCapturing(), 1);
    Capture(input, {3, 4}, {});
    s.menu.UpdateAndDraw(0);
    EXPECT_EQ(input.KeysOf(kActionAileronsLeft).size(), 2u);
    EXPECT_EQ(input.KeysOf(kActionAileronsLeftReleased), input.KeysOf(kActionAileronsLeft));

    // The defaults row brings the factory keys back.
    s.Press(100, 228);
    EXPECT_EQ(input.KeysOf(kActionBackToMenu), backKeys);
    EXPECT_EQ(input.KeysOf(kActionAileronsLeft).size(), 1u);
}

TEST(SettingsScreens, ChordsThePlayerCannotHoldAreRefused) {
    using C = CSPMenuStateControlsSettings;
    const struct {
        std::vector<int32_t> keys;
        bool usable;
    } cases[] = {{{}, false},       {{8}, true},     {{1, 9}, true}, {{10}, true}, {{9, 11}, true},
                 {{10, 11}, false}, {{3, 3}, false}, {{13}, false},  {{-1}, false}};
    for (const auto& c : cases)
        EXPECT_EQ(C::ChordUsable(c.keys), c.usable) << C::ChordName(c.keys);
    EXPECT_EQ(C::ChordName({1, 9}), "5 + left");
    // The buttons are the number keys that feed them in the menu's orientation.
    EXPECT_EQ(C::ChordName({0, 5}, 2), "4 + enter");
    EXPECT_EQ(C::ChordName({0, 5}, 1), "1 + enter");
}

TEST(SettingsScreens, HelpShowsItsTextAndAMissingFileLeavesTheBoxEmpty) {
    Screens s;
    const std::string folder = testing_support::MakeTempFolder("help");
    ASSERT_TRUE(
        image_test_files::Printf(folder + "/help.txt", "Fly through the gates.\r\nLand on the runway."));
    ASSERT_TRUE(image_test_files::ZipWithPassword(folder, folder + "/help.zip", "help.txt"));
    auto whitePixels = [&s](const std::string& archive) {
        s.menu.SwitchScreen(0, 0);
        s.menu.SetScreen(16, std::make_unique<CSPMenuStateHelp>(s.menu, archive));
        s.menu.SwitchScreen(16, 0);
        s.menu.UpdateAndDraw(1);
        const std::vector<uint16_t>& screen = s.menu.Resources().screen;
        return std::count(screen.begin(), screen.end(), uint16_t{0xFFFF});
    };
    const auto missing = whitePixels(folder + "/none.zip");
    EXPECT_EQ(s.Screen<CSPMenuStateHelp>().Text(), "");
    const auto shown = whitePixels(folder + "/help.zip");
    EXPECT_EQ(s.Screen<CSPMenuStateHelp>().Text(), "Fly through the gates.\r\nLand on the runway.");
    EXPECT_GT(shown, missing + 50);
    image_test_files::RemoveTempFolder(folder);
}

}  // namespace
