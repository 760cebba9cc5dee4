#include "menu/CSPMenu.h"

#include <chrono>
#include <thread>

#include "app/FSApplicationContext.h"
#include "app/FSInput.h"
#include "base/FSActions.h"
#include "game/CSPGameController.h"
#include "menu/CSPMenuStateLoading.h"
#include "menu/MenuRoadScreens.h"
#include "menu/MenuSettingsScreens.h"
#include "platform/FSDisplay.h"

namespace {

// The loading screen's fade has ended: the chosen flight is built, and flies.
void StartChosenFlight() {
    CFSApplicationContext* context = GetApplicationContext();
    if (!context || !context->gameController) return;
    if (auto* game = dynamic_cast<CSPGameController*>(context->gameController.get())) {
        game->SetRoute(context->chosenRoute);
        game->SetAircraft(context->chosenAircraft);
    }
    context->gameController->RunFlightStart();
}

}  // namespace

CSPMenu::CSPMenu(const std::string& archivePath) {
    resources_.Load(archivePath);
    resources_.minimise = [] {
        const CFSApplicationContext* context = GetApplicationContext();
        if (context && context->display) context->display->Minimise();
    };
    resources_.textInput = [](bool on) {
        const CFSApplicationContext* context = GetApplicationContext();
        if (context && context->display) context->display->SetTextInput(on);
    };
    AddRoadScreens(*this);
    AddSettingsScreens(*this);
    SetScreen(5, std::make_unique<CSPMenuStateLoading>(StartChosenFlight));
    SetState(0);
    // The video thread waits suspended until the aircraft choice resumes it.
    videoThread_ = std::make_unique<CFSThread>();
    videoThread_->Start([this](CFSThread& thread) { RunVideo(thread); });
    videoThread_->Suspend();
    GetApplicationContext()->videoThread = videoThread_.get();
}

CSPMenu::~CSPMenu() {
    videoThread_->RequestStop();
    videoThread_->Join();
    CFSApplicationContext* context = GetApplicationContext();
    if (context->videoThread == videoThread_.get()) {
        context->videoThread = nullptr;
        context->videoThreadRunning = 0;
    }
    if (current_) current_->Leave(-1, 0);
}

void CSPMenu::RunVideo(CFSThread& thread) {
    constexpr uint32_t kIdleWait = 50;
    while (thread.Pass()) {
        uint32_t wait = kIdleWait;
        {
            std::lock_guard<std::recursive_mutex> hold(resources_.pictureLock);
            if (resources_.videoPass) wait = resources_.videoPass();
        }
        // Clips play at their own frame rate; the thread sleeps between frames.
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

void CSPMenu::SetScreen(int number, std::unique_ptr<MSPMenuState> screen) {
    if (number < 0 || number >= kSlots) return;
    if (current_ && current_ == screens_[number].get()) {
        current_->Leave(number, 0);
        current_ = nullptr;
    }
    screens_[number] = std::move(screen);
    if (screens_[number]) screens_[number]->Attach(resources_);
    // The main screen is shown first.
    if (number == 0 && !current_ && screens_[0]) {
        current_ = screens_[0].get();
        redraw_ = true;
        current_->Activate(0, 1);
    }
}

void CSPMenu::OnLeaveState(int) {
    if (current_) current_->Leave(current_->ScreenNumber(), 0);
}

void CSPMenu::OnEnterState(int, int) {
    redraw_ = true;
    if (current_) current_->Activate(current_->ScreenNumber(), 1);
}

void CSPMenu::Enter() {
    // The menu has one state of its own, which it never leaves; entering shows the current
    // screen afresh, with the menu's actions.
    SetState(0);
    redraw_ = true;
    CFSApplicationContext* context = GetApplicationContext();
    if (context && context->input) context->input->EnableActionSet(kActionSetMenu);
}

void CSPMenu::EndFlight() {
    const CFSApplicationContext* context = GetApplicationContext();
    if (auto* game = context ? dynamic_cast<CSPGameController*>(context->gameController.get()) : nullptr)
        game->EndFlight();
}

void CSPMenu::ClearCurrentScreen() {
    current_ = nullptr;
    redraw_ = true;
}

void CSPMenu::SwitchScreen(int number, int argument) {
    if (number < 0 || number >= kSlots || !screens_[number]) return;
    if (current_) {
        if (current_->ScreenNumber() == number) return;
        current_->Leave(number, argument);
    }
    // A keyboard left open by the screen that went types no more.
    if (resources_.textInput) resources_.textInput(false);
    current_ = screens_[number].get();
    redraw_ = true;
    current_->Activate(number, 1);
}

int CSPMenu::DispatchAction(int action) {
    if (!current_) return 0;
    redraw_ = true;
    return current_->HandleAction(action);
}

void CSPMenu::TypeCharacter(char character) {
    if (!current_) return;
    redraw_ = true;
    current_->TypeCharacter(character);
}

void CSPMenu::TypeKey(int key) {
    if (!current_) return;
    redraw_ = true;
    current_->TypeKey(key);
}

void CSPMenu::Wheel(int notches) {
    for (int i = 0; i < (notches < 0 ? -notches : notches) && i < 10; ++i)
        DispatchAction(notches > 0 ? kActionUpHeld : kActionDownHeld);
}

void CSPMenu::UpdateAndDraw(int redraw) {
    if (redraw) redraw_ = true;
    if (!current_) return;
    MSPMenuState* drawn = current_;
    {
        std::lock_guard<std::recursive_mutex> hold(resources_.pictureLock);
        if (current_->Draw(redraw_ ? 1 : 0)) {
            Show();
            redraw_ = false;
        }
    }
    drawn->AfterDraw();
}

void CSPMenu::Show() {
    const CFSApplicationContext* context = GetApplicationContext();
    if (!context || !context->display) return;
    // Menu pixel (x, y) goes to device column 239 - y, row x: a quarter turn clockwise.
    uint16_t* device = context->display->BeginDraw();
    const uint16_t* screen = resources_.Screen();
    for (int y = 0; y < MenuResources::kHeight; ++y) {
        const uint16_t* row = screen + y * MenuResources::kWidth;
        uint16_t* column = device + (MFSDisplay::kWidth - 1 - y);
        for (int x = 0; x < MenuResources::kWidth; ++x)
            column[x * MFSDisplay::kWidth] = row[x];
    }
    context->display->EndDraw();
}
