#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/FSInput.h"
#include "platform/FSNullDisplay.h"

namespace {

// The input with the factory bindings, reading pad keys from a null display.
class InputTest : public ::testing::Test {
protected:
    InputTest() : input(kActionCount) {
        input.ResetToDefaults();
        input.SetKeySource(&display);
        Orient(2);
    }

    void Orient(int orientation) {
        input.SetOrientation(orientation);
        display.SetKeyTable(input.CurrentKeyTable());
    }

    // One main-loop pass at tick now: poll, evaluate, dispatch; the actions sent.
    std::vector<int> PassAt(uint32_t now) {
        std::vector<int> sent;
        input.Poll();
        input.EvaluateAll(now);
        input.Dispatch([&sent](int action) {
            sent.push_back(action);
            return 1;
        });
        return sent;
    }

    static bool Has(const std::vector<int>& actions, int action) {
        return std::find(actions.begin(), actions.end(), action) != actions.end();
    }

    CFSNullDisplay display;
    CFSInput input;
};

TEST_F(InputTest, HoldingUpInTheMenuRepeatsEvery300MsAndTheContinuousActionEveryPass) {
    input.EnableActionSet(kActionSetMenu);
    display.SetPadKey(3, true);  // up, as seen on screen
    std::vector<int> first = PassAt(10000);
    EXPECT_TRUE(Has(first, 4));
    EXPECT_TRUE(Has(first, 8));
    std::vector<int> soon = PassAt(10100);
    EXPECT_FALSE(Has(soon, 4));
    EXPECT_TRUE(Has(soon, 8));
    EXPECT_FALSE(Has(PassAt(10299), 4));
    EXPECT_TRUE(Has(PassAt(10300), 4));
    // Flight actions are not in the menu set.
    EXPECT_FALSE(Has(PassAt(10400), 12));
}

TEST_F(InputTest, TheLongerChordWinsOverItsSingleKeyActions) {
    input.EnableActionSet(kActionSetFlight);
    display.SetPadKey(1, true);   // left
    input.SetButtonToggle(3, 1);  // hot key 196 feeds state 5 in orientation 2 ...
    input.SetButtonToggle(4, 1);  // ... and 197 (button 5) feeds state 9
    const std::vector<int> actions = PassAt(5000);
    EXPECT_TRUE(Has(actions, 16));   // rudder left: left + button 5
    EXPECT_FALSE(Has(actions, 14));  // not the ailerons
    EXPECT_FALSE(Has(actions, 29));  // nor the single-key map action of state 5
    // Chords of equal length fire together: button 4 + button 5 is "flaps".
    EXPECT_TRUE(Has(actions, 26));
}

TEST_F(InputTest, ReleaseModeFiresOnceWhenTheChordIsLetGo) {
    input.EnableActionSet(kActionSetFlight);
    display.SetPadKey(1, true);
    EXPECT_TRUE(Has(PassAt(1000), 14));
    EXPECT_FALSE(Has(PassAt(1016), 19));
    display.SetPadKey(1, false);
    EXPECT_TRUE(Has(PassAt(1032), 19));
    EXPECT_FALSE(Has(PassAt(1048), 19));
}

TEST_F(InputTest, AChordThatFiredKeepsItsKeysFromFiringTheirOwnReleaseActions) {
    // Button 5 + button 1 looks around; button 1 alone goes back to the menu when let go.
    // Whichever key of the chord is let go first, the chord's press is not a "back".
    input.EnableActionSet(kActionSetFlight);
    for (const uint32_t now : {1000u, 2000u}) {
        const bool buttonOneFirst = now == 1000u;
        input.SetButtonToggle(0, 1);  // hot key 193 feeds state 8 in orientation 2 ...
        input.SetButtonToggle(4, 1);  // ... and 197 (button 5) state 9
        const std::vector<int> pressed = PassAt(now);
        EXPECT_TRUE(Has(pressed, kActionLookAround) && !Has(pressed, kActionBackToMenu)) << now;
        input.SetButtonToggle(buttonOneFirst ? 0 : 4, 0);
        EXPECT_FALSE(Has(PassAt(now + 16), kActionBackToMenu)) << now;
        input.SetButtonToggle(buttonOneFirst ? 4 : 0, 0);
        EXPECT_FALSE(Has(PassAt(now + 32), kActionBackToMenu)) << now;
    }
    input.SetButtonToggle(0, 1);
    PassAt(3000);
    input.SetButtonToggle(0, 0);
    EXPECT_TRUE(Has(PassAt(3016), kActionBackToMenu));
}

TEST_F(InputTest, AKeyHeldAcrossAChangeOfActionSetFiresNothingUntilPressedAgain) {
    // The action key that starts the flight from the menu is still down in flight: no
    // autopilot (action key held) until it is let go and pressed again.
    display.SetPadKey(0, true);
    EXPECT_TRUE(Has(PassAt(1000), kActionSelect));
    input.EnableActionSet(kActionSetFlight);
    for (const uint32_t now : {1016u, 1600u, 2200u})
        EXPECT_FALSE(Has(PassAt(now), kActionAutopilot)) << now;
    display.SetPadKey(0, false);
    PassAt(2216);
    display.SetPadKey(0, true);
    EXPECT_TRUE(Has(PassAt(2232), kActionAutopilot));
}

TEST_F(InputTest, KeyStatesFollowTheOrientation) {
    // Orientation 1: the physical "down" key (40) feeds state 1.
    Orient(1);
    EXPECT_EQ(CFSInput::KeyTable(1)[1], 40);
    display.SetPadKey(1, true);  // the player pushes left on the picture
    input.Poll();
    EXPECT_EQ(input.KeyState(1), 1);
    EXPECT_TRUE(display.IsVirtualKeyDown(40));
    // Any orientation change clears the states.
    Orient(0);
    EXPECT_EQ(input.KeyState(1), 0);
    display.SetPadKey(1, false);
    // An unknown orientation keeps the table.
    input.SetOrientation(9);
    EXPECT_EQ(input.CurrentKeyTable(), CFSInput::KeyTable(0));
}

TEST_F(InputTest, StylusLatchesLastOnePoll) {
    input.EnableActionSet(kActionSetMenu);
    input.LatchStylus(kStateStylusPressed, 1);
    EXPECT_TRUE(Has(PassAt(100), 36));
    EXPECT_FALSE(Has(PassAt(116), 36));
}

TEST_F(InputTest, CaptureSwallowsTheStartingTapThenRecordsTheChord) {
    std::vector<int32_t> target;
    input.StartCapture(&target);
    EXPECT_EQ(input.IsCapturing(), 1);
    // The tap on the screen that started the capture ends.
    input.LatchStylus(kStateStylusPressed, 1);
    input.Poll();
    EXPECT_FALSE(input.CaptureStep());
    input.Poll();
    EXPECT_FALSE(input.CaptureStep());  // armed by this release
    // "button 2" and "button 5" (key states 6 and 9) are fed by hot keys 195 and 197 in
    // orientation 2.
    input.SetButtonToggle(2, 1);
    input.SetButtonToggle(4, 1);
    input.Poll();
    EXPECT_FALSE(input.CaptureStep());
    input.SetButtonToggle(2, 0);
    input.SetButtonToggle(4, 0);
    input.Poll();
    EXPECT_TRUE(input.CaptureStep());
    EXPECT_EQ(input.IsCapturing(), 0);
    EXPECT_EQ(target, (std::vector<int32_t>{6, 9}));
}

TEST_F(InputTest, BindingsFromRecordsReplaceAllAndAnEmptyChordNeverDispatches) {
    input.ReplaceBindings({{5, 0, 0, {}}, {12, 0, 0, {3}}, {16, 0, 0, {1, 9}}, {2, 1, 100, {1}}});
    EXPECT_EQ(input.BindingCount(), 4);
    input.Poll();
    input.EvaluateAll(0);
    EXPECT_EQ(input.ActionState(0), 1);  // an empty chord counts as held ...
    std::vector<int> sent;
    input.Dispatch([&sent](int a) {
        sent.push_back(a);
        return 0;
    });
    EXPECT_TRUE(sent.empty());  // ... but is never dispatched
    const std::vector<FSBindingRecord> records = input.ExportBindings();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2], (FSBindingRecord{16, 0, 0, {1, 9}}));
    EXPECT_EQ(records[3], (FSBindingRecord{2, 1, 100, {1}}));
    EXPECT_EQ(input.KeysOf(2), (std::vector<int32_t>{1, 9}));
    EXPECT_TRUE(input.KeysOf(40).empty());
    input.EnableAction(40, 0);  // beyond the count: ignored

    // Settings without any bindings keep the factory ones instead of leaving none.
    input.ReplaceBindings({});
    EXPECT_EQ(input.BindingCount(), kActionCount);
    EXPECT_EQ(input.KeysOf(12), (std::vector<int32_t>{3}));
}

TEST_F(InputTest, AnActionThatReplacesTheBindingsEndsThePassSafely) {
    // Up and left held in the menu fire four single-key actions in one pass. The first one
    // sent rebinds everything, as the controls screen does: the rest of the pass belonged
    // to the old bindings and is not sent.
    input.EnableActionSet(kActionSetMenu);
    display.SetPadKey(1, true);
    display.SetPadKey(3, true);
    input.Poll();
    input.EvaluateAll(10000);
    std::vector<int> sent;
    input.Dispatch([&](int action) {
        sent.push_back(action);
        input.ReplaceBindings({{kActionSelect, 0, 0, {0}}});
        return 1;
    });
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(input.BindingCount(), 1);
    // Switching the enabled set from an action (the map view does) only skips what it disabled.
    input.ResetToDefaults();
    input.EnableActionSet(kActionSetMenu);  // the keys held across it count once pressed again
    display.SetPadKey(1, false);
    input.Poll();
    display.SetPadKey(1, true);
    input.Poll();
    input.EvaluateAll(20000);
    sent.clear();
    input.Dispatch([&](int action) {
        sent.push_back(action);
        input.EnableAll(0);
        return 1;
    });
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(InputTest, DefaultsCoverEveryActionWithItsPairSharingTheChord) {
    const std::vector<FSBindingRecord> records = input.ExportBindings();
    ASSERT_EQ(records.size(), static_cast<size_t>(kActionCount));
    const int pairs[7][2] = {{12, 21}, {13, 22}, {14, 19}, {15, 20}, {16, 23}, {17, 24}, {18, 25}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(records[pair[0]].keys, records[pair[1]].keys);
        EXPECT_EQ(records[pair[0]].mode, 0);
        EXPECT_EQ(records[pair[1]].mode, 1);
    }
    EXPECT_EQ(records[30].mode, 1);  // back to menu fires on release
    EXPECT_EQ(records[28].interval, 500);
}

}  // namespace
