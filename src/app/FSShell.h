#pragma once
// The process itself: start-up in a fixed order, the main loop, suspend and resume when
// the window loses or regains the foreground, the window-procedure logic for stylus and
// application buttons, and shutdown in a fixed order.
//
// The shell runs on whatever display it is given: the real window, or the null display
// of the tests and tools, which drive it pass by pass with the virtual clock.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FSFrameRateMeter.h"
#include "platform/FSDisplay.h"

class CFSApplicationContext;
class CFSEngine;
class CFSInput;
class MFSGameController;
class MFSMenu;

// The game-layer objects the shell creates at start-up (the engine layer knows no game class).
struct FSShellParts {
    std::function<std::unique_ptr<MFSMenu>()> makeMenu;
    std::function<std::unique_ptr<MFSGameController>()> makeController;
};

class CFSShell {
public:
    static constexpr int kFramesPerSecond = kPacedFramesPerSecond;

    CFSShell(MFSDisplay& display, FSShellParts parts);
    ~CFSShell();
    CFSShell(const CFSShell&) = delete;
    CFSShell& operator=(const CFSShell&) = delete;

    // Start-up: splash, menu, engine, controller, settings, first menu frame. 0 when the
    // game is ready; otherwise the exit status, after telling the player why.
    int Start();
    // One pass of the main loop; false once the loop has ended.
    bool RunPass();
    // Passes paced to 60 frames per second until the loop ends; the exit status.
    int Run();
    // Releases everything in the fixed order (also done by the destructor).
    void Shutdown();

    // The window procedure: stylus, activation and application-button messages.
    void HandleEvent(const FSEvent& event);

    bool Suspended() const { return suspended_ != 0; }
    // The orientation in force: the menu's in states 0 and 4, the flight's otherwise.
    int ScreenOrientation() const;
    MFSMenu* GetMenu() const { return menu_.get(); }
    CFSApplicationContext& Context() const { return *context_; }

private:
    void ShowSplash();
    void Suspend();
    void Resume();
    void EndLoop(int status);
    // F12: the picture on screen into a file, and a few words on screen saying where.
    void TakeScreenshot();
    // A short notice over the picture for a few seconds; UpdateNotice takes it away when
    // its time is up and turns it with the screen.
    void ShowNotice(std::vector<std::string> lines);
    void UpdateNotice();
    // The window's full-screen state into the settings when the player turned it.
    void FollowFullScreen();
    // The steps of a pass between the recorder's start and end of it.
    bool RunPassSteps(CFSEngine& engine, CFSInput& input);

    MFSDisplay& display_;
    FSShellParts parts_;
    CFSApplicationContext* context_ = nullptr;
    std::unique_ptr<MFSMenu> menu_;
    uint8_t suspended_ = 0;
    uint8_t hotKeyToggles_[5] = {1, 1, 1, 1, 1};  // tell a button's press from its release
    bool started_ = false;
    bool ended_ = false;
    int exitStatus_ = 0;
    uint32_t paceStart_ = 0;
    uint32_t paceFrames_ = 0;
    std::vector<std::string> notice_;  // empty: none shown
    int noticePasses_ = 0;             // passes left to show it
    int noticeOrientation_ = -1;
    bool windowFullScreen_ = false;
};
