#pragma once
// Shared helpers for the tests: a private player folder, the virtual clock, and a whole
// game running headless on the null display that a test drives pass by pass.
#include <memory>
#include <string>
#include <vector>

#include "app/FSShell.h"
#include "platform/FSNullDisplay.h"

class CSPPlaceholderController;
class CSPPlaceholderMenu;

namespace testing_support {

// A fresh empty folder under the system's temporary folder.
std::string MakeTempFolder(const std::string& tag);

// 5-6-5 channels.
inline int Red5(uint16_t p) {
    return p >> 11;
}
inline int Green6(uint16_t p) {
    return (p >> 5) & 63;
}
inline int Blue5(uint16_t p) {
    return p & 31;
}

// The game on the null display with the placeholder menu and controller, on the virtual
// clock. Each Pass() advances virtual time by one 60 Hz frame and runs one main-loop pass.
class HeadlessGame {
public:
    HeadlessGame();
    ~HeadlessGame();

    int Start();
    bool Pass(int count = 1);
    // Holds the pad key (0 action, 1 left, 2 right, 3 up, 4 down, as seen on screen) for one pass.
    void Tap(int padKey);
    // Presses and releases an application button (hot key 193-197), one pass each.
    void PressButton(int hotKey);
    // Starts the test flight from the menu.
    void StartFlight();

    CFSNullDisplay display;
    std::unique_ptr<CFSShell> shell;
    CSPPlaceholderMenu* menu = nullptr;
    CSPPlaceholderController* controller = nullptr;
    // The last frame turned upright (320 x 240 for the landscape orientations).
    std::vector<uint16_t> Picture() const;
    int PictureWidth() const;
};

}  // namespace testing_support
