#pragma once
// The real window: an SDL2 window that shows the device frame upright for the current
// orientation at an integer scale (2x by default).
//
// All SDL calls run on one window thread of our own. It pumps SDL's events into the
// display's queue and key state, and shows each frame handed over by EndDraw as soon as
// it arrives, so a frame drawn by the loading thread reaches the screen while the main
// thread is busy building a flight.
#include <condition_variable>
#include <memory>
#include <thread>

#include "platform/FSDisplay.h"

class CFSSdlDisplay : public MFSDisplay {
public:
    // Opens the window, filling the screen when fullScreen is set; null (with the reason in
    // error) when there is no display to open.
    static std::unique_ptr<CFSSdlDisplay> Open(int scale, std::string& error, bool fullScreen = false);
    // A message before any window is open (the game cannot start): one line on stderr,
    // and a dialog of its own when a desktop is there to show it.
    static void ShowMessageWithoutWindow(const std::string& caption, const std::string& text);
    ~CFSSdlDisplay() override;

    void ShowMessage(const std::string& caption, const std::string& text) override;
    void Minimise() override;

protected:
    void Show(const uint16_t* frame, int orientation) override;

private:
    struct Window;  // everything SDL, touched by the window thread only

    CFSSdlDisplay(int scale, bool fullScreen);
    void WindowThread();

    int scale_;
    bool startFullScreen_;
    std::thread thread_;
    std::mutex lock_;  // guards everything below
    std::condition_variable ready_;
    bool started_ = false;
    bool startFailed_ = false;
    std::string startError_;
    bool quit_ = false;
    bool minimiseWanted_ = false;
    bool frameWaiting_ = false;
    int frameOrientation_ = 2;
    std::vector<uint16_t> mailbox_;
    uint32_t wakeEvent_ = 0;
};
