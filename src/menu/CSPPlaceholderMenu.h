#pragma once
// A stand-in for the menu until the real screens exist: the title picture with the choice
// of route, aircraft and pilot and a "fly" button. Up and down pick a line, left and
// right change it; enter (or a tap on the button) starts the flight, back quits. After a
// flight it shows how the flight ended. It marks where the stylus touched and which way
// the pad was pushed, so input can be seen arriving. Like every menu screen it is
// composed 320 x 240 and shown landscape.
#include <cstdint>
#include <vector>

#include "app/FSMenu.h"

class CSPPlaceholderMenu : public MFSMenu {
public:
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 240;

    CSPPlaceholderMenu();

    void Enter() override;
    void UpdateAndDraw(int redraw) override;
    void Quit() override {}
    void EndFlight() override {}
    void ClearCurrentScreen() override {}
    void SwitchScreen(int screen, int argument) override;
    int DispatchAction(int action) override;

    // The button that starts a flight, in screen coordinates.
    static constexpr int kButtonX = 110, kButtonY = 176, kButtonW = 100, kButtonH = 44;
    int Redraws() const { return redraws_; }

    // The choice shown: route index, aircraft type (0-4), pilot index in the player list.
    int Route() const { return route_; }
    int Aircraft() const { return aircraft_; }

private:
    void Compose(uint32_t now);
    void ComposeChoices();
    void StartFlight();
    void ChangeChoice(int step);
    void ShowFlownChoice();

    std::vector<uint16_t> title_;   // the title picture, 320 x 240
    std::vector<uint16_t> screen_;  // the composed screen, 320 x 240
    bool dirty_ = true;
    bool pressed_ = false;
    uint32_t arrowTicks_[4] = {};  // when each pad direction last fired (left, right, up, down)
    bool arrowsLit_ = false;
    int markX_ = -1;
    int markY_ = -1;
    int redraws_ = 0;
    int line_ = 0;  // the chosen line: 0 route, 1 aircraft, 2 pilot
    int route_ = 0;
    int aircraft_ = 0;
    int pilot_ = 0;
};
