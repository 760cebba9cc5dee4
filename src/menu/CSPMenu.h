#pragma once
// The menu: the screens outside a flight, one shown at a time, composed 320 x 240 into the
// shared screen buffer and shown landscape. It owns the screens (in 22 numbered slots, some
// empty) and the resources they share, switches between them, passes them the player's
// actions and shows the buffer when the current screen says it changed.
#include <array>
#include <memory>

#include "app/FSFiniteStateMachine.h"
#include "app/FSMenu.h"
#include "menu/MSPMenuState.h"
#include "menu/MenuResources.h"
#include "platform/FSThread.h"

class CSPMenu : public MFSFiniteStateMachine, public MFSMenu {
public:
    static constexpr int kSlots = 22;

    // Loads the shared resources (from archivePath, the game's menu archive when empty) and
    // makes every screen; screen 0, the main menu, is current.
    explicit CSPMenu(const std::string& archivePath = {});
    ~CSPMenu() override;

    void Enter() override;
    void UpdateAndDraw(int redraw) override;
    void Quit() override {}
    void EndFlight() override;
    void ClearCurrentScreen() override;
    void SwitchScreen(int screen, int argument) override;
    int DispatchAction(int action) override;
    void TypeCharacter(char character) override;
    void TypeKey(int key) override;
    // Each notch steps the screen's vertical scroller or slider once, as its keys do.
    void Wheel(int notches) override;

    // Puts screen into slot number (attached to the resources), replacing what was there.
    void SetScreen(int number, std::unique_ptr<MSPMenuState> screen);
    MSPMenuState* CurrentScreen() const { return current_; }
    MenuResources& Resources() { return resources_; }
    bool RedrawPending() const { return redraw_; }
    // The aircraft clips' thread: it runs the resources' video pass while the aircraft
    // choice is shown and is suspended otherwise.
    CFSThread& VideoThread() { return *videoThread_; }

protected:
    void OnLeaveState(int oldState) override;
    void OnEnterState(int newState, int oldState) override;

private:
    // The buffer onto the device, a quarter turn clockwise.
    void Show();
    void RunVideo(CFSThread& thread);

    bool redraw_ = true;
    MenuResources resources_;
    MSPMenuState* current_ = nullptr;
    std::array<std::unique_ptr<MSPMenuState>, kSlots> screens_;
    // Last, so that it stops before the screens and resources it uses go.
    std::unique_ptr<CFSThread> videoThread_;
};
