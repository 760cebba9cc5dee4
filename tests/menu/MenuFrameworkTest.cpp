// The menu's own rules: switching screens, passing actions, the title buttons.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/FSActions.h"
#include "menu/CSPMenu.h"
#include "menu/MSPStylusMenuState.h"

namespace {

// A screen that counts what the menu asks of it.
class CountingScreen : public MSPStylusMenuState {
public:
    using MSPStylusMenuState::MSPStylusMenuState;
    int HandleAction(int action) override {
        actions.push_back(action);
        return HandleSharedAction(action, stylus);
    }
    void TypeCharacter(char c) override { typed += c; }
    int Draw(int redraw) override {
        ++draws;
        return DrawBackground(redraw, nullptr);
    }
    void Forward() override { ++forwards; }
    void Back() override { ++backs; }
    void Load(MenuResources&, int) override { ++loads; }
    void Unload() override { ++unloads; }

    FSPoint stylus;
    std::vector<int> actions;
    std::string typed;
    int draws = 0, forwards = 0, backs = 0, loads = 0, unloads = 0;
};

struct Menu {
    Menu() : menu("/nonexistent/menu.zip") {
        MenuResources& r = menu.Resources();
        r.close = CreateBitmap565(20, 16);
        r.forward = CreateBitmap565(24, 16);
        r.backward = CreateBitmap565(24, 16);
        r.minimise = [this] { ++minimised; };
        for (int n : {0, 2, 9}) {
            auto screen = std::make_unique<CountingScreen>(n, n != 0, n == 2, true);
            screens[n] = screen.get();
            menu.SetScreen(n, std::move(screen));
        }
    }
    CSPMenu menu;
    CountingScreen* screens[10] = {};
    int minimised = 0;
};

TEST(MenuFramework, SwitchingLoadsTheNewScreenOnceAndIgnoresEmptySlotsAndTheCurrentOne) {
    Menu m;
    ASSERT_EQ(m.menu.CurrentScreen(), m.screens[0]);
    m.menu.SwitchScreen(2, 0);
    m.menu.SwitchScreen(2, 0);  // already current: not loaded again
    m.menu.SwitchScreen(1, 0);  // an empty slot
    m.menu.SwitchScreen(99, 0);
    m.menu.SwitchScreen(-3, 0);
    EXPECT_EQ(m.menu.CurrentScreen(), m.screens[2]);
    EXPECT_EQ(m.screens[2]->loads, 1);
    EXPECT_EQ(m.screens[0]->loads, 1);
    EXPECT_EQ(m.screens[0]->unloads, 1);
    m.menu.SwitchScreen(9, 0);
    EXPECT_EQ(m.screens[2]->unloads, 1);
    EXPECT_EQ(m.menu.CurrentScreen()->ScreenNumber(), 9);

    // Typed letters go to the screen shown, the wheel steps its scroller as the keys do, and
    // leaving it switches the keyboard back to the game's keys.
    bool typing = true;
    m.menu.Resources().textInput = [&](bool on) { typing = on; };
    m.menu.TypeCharacter('a');
    m.menu.Wheel(2);
    m.menu.Wheel(-1);
    EXPECT_EQ(m.screens[9]->typed, "a");
    EXPECT_EQ(m.screens[9]->actions, (std::vector<int>{kActionUpHeld, kActionUpHeld, kActionDownHeld}));
    m.menu.SwitchScreen(0, 0);
    EXPECT_FALSE(typing);

    // Without a current screen an action does nothing and asks for no redraw.
    m.menu.UpdateAndDraw(1);
    EXPECT_FALSE(m.menu.RedrawPending());
    m.menu.ClearCurrentScreen();
    m.menu.UpdateAndDraw(0);
    const bool pending = m.menu.RedrawPending();
    EXPECT_EQ(m.menu.DispatchAction(kActionSelect), 0);
    EXPECT_EQ(m.menu.RedrawPending(), pending);
}

TEST(MenuFramework, TitleButtonsAreHitFromTheRightEdgeWithBothEdgesIncluded) {
    Menu m;
    m.menu.SwitchScreen(2, 0);  // close, forward and back
    CountingScreen& s = *m.screens[2];
    // Close 20 wide at x 297..317, forward 24 wide at 271..295, back at 245..269; rows 3..19.
    const struct {
        FSPoint tap;
        int minimised, forwards, backs, result;
    } cases[] = {{{297, 3}, 1, 0, 0, 1},  {{317, 19}, 1, 0, 0, 1}, {{296, 3}, 0, 0, 0, 0},
                 {{295, 10}, 0, 1, 0, 1}, {{271, 19}, 0, 1, 0, 1}, {{269, 3}, 0, 0, 1, 1},
                 {{300, 20}, 0, 0, 0, 0}, {{318, 3}, 0, 0, 0, 0},  {{244, 10}, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        const int before[3] = {m.minimised, s.forwards, s.backs};
        s.stylus = c.tap;
        EXPECT_EQ(m.menu.DispatchAction(kActionStylusReleased), c.result) << c.tap.x << "," << c.tap.y;
        EXPECT_EQ(m.minimised - before[0], c.minimised) << c.tap.x << "," << c.tap.y;
        EXPECT_EQ(s.forwards - before[1], c.forwards) << c.tap.x << "," << c.tap.y;
        EXPECT_EQ(s.backs - before[2], c.backs) << c.tap.x << "," << c.tap.y;
    }
    // Enter and back are the screen's forward and back.
    m.menu.DispatchAction(kActionSelect);
    m.menu.DispatchAction(kActionBack);
    EXPECT_EQ(s.forwards, 3);
    EXPECT_EQ(s.backs, 2);
    // The main screen has no forward or back: its close button alone stands at the edge.
    m.menu.SwitchScreen(0, 0);
    m.screens[0]->stylus = {280, 10};
    EXPECT_EQ(m.menu.DispatchAction(kActionStylusReleased), 0);
}

}  // namespace
