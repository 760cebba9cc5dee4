#pragma once
// What the settings, help and about screens share: their background picture, the way back
// (or on) to another screen with the settings file written first, and a one-button message
// box that takes every action while it is open. A settings screen copies the context's
// settings into its controls on activation and back on leaving; when the file cannot be
// written the player is told before the screen goes.
#include <functional>
#include <string>

#include "menu/CSPMessageBox.h"
#include "menu/MSPStylusMenuState.h"

class CSPMenu;

class CSPSettingsStateBase : public MSPStylusMenuState {
public:
    // backScreen: where back leads; saves: leaving writes the settings file.
    CSPSettingsStateBase(CSPMenu& menu, int number, int backScreen, std::string background, bool saves);

    void Activate(int number, int flag) override;
    void Leave(int next, int argument) override;
    void Forward() override {}
    void Back() override { GoTo(backScreen_); }
    void Load(MenuResources& resources, int flag) override;
    void Unload() override;

    // True when the last write of the settings file from this screen failed.
    bool LastSaveFailed() const { return saveFailed_; }
    bool MessageOpen() const { return message_.Open() && messageShown_; }

protected:
    // The screen's own pictures and controls, made after the background (screen is the
    // menu's buffer), and dropped.
    virtual void LoadControls(MenuResources&) {}
    virtual void UnloadControls() {}
    // Context into controls (on activation) and controls into context (before writing).
    virtual void ReadSettings() {}
    virtual void StoreSettings() {}

    // Stores, writes the file (settings screens) and switches to screen; a failed write is
    // shown first and the switch follows the OK.
    void GoTo(int screen);
    // A message with an OK button over the screen; then runs after its OK.
    void ShowMessage(const std::string& text, std::function<void()> then = {});
    // 1 when the message box took the action.
    int MessageAction(int action);
    // Draws the background (redraw) or the open message box; true when the screen
    // changed. When it returns 1 with drawnBox set, nothing else should be drawn.
    int DrawFrame(int redraw, bool& drawnBox);

    FSPoint StylusPoint() const;
    CSPMenu& Menu() { return menu_; }
    uint16_t* Screen();
    // The shared pointer picture at (x, y).
    void DrawPointer(FSPoint at);

private:
    bool StoreAndSave();

    CSPMenu& menu_;
    int backScreen_;
    std::string backgroundName_;
    bool saves_;
    bool loaded_ = false;
    bool saved_ = false;
    bool saveFailed_ = false;
    bool messageShown_ = false;
    FSBitmapHandle background_;
    CSPMessageBox message_;
    std::function<void()> afterMessage_;
};
