#pragma once
// The whole game on the null display, with the game's menu and the test-flight controller, on the
// virtual clock: what the tests of the shell and the game, the benchmarks and the snapshot
// tool drive pass by pass. Each Pass() advances virtual time by one 60 Hz frame and runs
// one main-loop pass.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FSShell.h"
#include "platform/FSNullDisplay.h"

class CSPGameController;
class CSPPlaceholderController;
class CSPMenu;

// Which flights the headless game flies: the test flight of the tools, or the game's own
// routes (the controller the program uses, with its loading thread).
enum class HeadlessFlights { TestFlight, Routes };

class HeadlessGame {
public:
    // A fresh application context, the player files in playerFolder, the virtual clock
    // starting at clockStart (ms). Not started yet.
    explicit HeadlessGame(const std::string& playerFolder, uint32_t clockStart = 50000,
                          HeadlessFlights flights = HeadlessFlights::TestFlight);
    // Shuts the game down, then drops the application context and goes back to the real clock.
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // The shell's start-up: 0, or the status the program would exit with.
    int Start();
    // Runs count passes; false once the main loop has ended.
    bool Pass(int count = 1);
    // Holds the pad key (0 action, 1 left, 2 right, 3 up, 4 down, as seen on screen) for one pass.
    void Tap(int padKey);
    // Presses and releases an application button (hot key 193-197), one pass each.
    void PressButton(int hotKey);
    // Starts the test flight, as the loading screen does once its fade has ended.
    void StartFlight();

    // The last frame turned upright (320 x 240 for the landscape orientations).
    std::vector<uint16_t> Picture() const;
    int PictureWidth() const;

    CFSNullDisplay display;
    std::unique_ptr<CFSShell> shell;
    CSPMenu* menu = nullptr;
    CSPPlaceholderController* controller = nullptr;  // with the test flight
    CSPGameController* game = nullptr;               // with the routes
};
