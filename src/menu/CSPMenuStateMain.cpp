#include "menu/CSPMenuStateMain.h"

#include "app/FSEngine.h"
#include "app/FSMenu.h"
#include "base/FSActions.h"
#include "game/CSPGameController.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

using menu_screens::GameController;

namespace {

std::vector<MenuRow> MainItems() {
    const FSClipRect rects[] = {{195, 78, 278, 89},   {195, 97, 254, 107},  {195, 115, 248, 125},
                                {195, 133, 258, 143}, {195, 150, 264, 164}, {195, 168, 229, 182},
                                {195, 187, 242, 197}, {195, 205, 226, 215}};
    std::vector<MenuRow> items;
    for (int i = 0; i < 8; ++i)
        items.push_back({rects[i], {178, 78 + 18 * i}, true});
    return items;
}

bool FlightResumable() {
    CSPGameController* game = GameController();
    return game && game->IsResumable();
}

}  // namespace

CSPMenuStateMain::CSPMenuStateMain(MFSMenu& menu)
    : MSPStylusMenuState(0, false, false, true), menu_(menu), items_(MainItems()) {}

void CSPMenuStateMain::Load(MenuResources&, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_main/main.bmp");
    resume_ = menu_screens::LoadMenuPicture("states/state_main/resume.bmp");
    items_.SetEnabled(kResume, FlightResumable());
    question_ = Question::None;
    box_.reset();
}

void CSPMenuStateMain::Unload() {
    background_.reset();
    resume_.reset();
    box_.reset();
}

int CSPMenuStateMain::HandleAction(int action) {
    if (box_ && box_->Open()) {
        box_->HandleAction(action);
        if (!box_->Open()) Answered(box_->Result() == 0);
        return 1;
    }
    items_.SetEnabled(kResume, FlightResumable());
    if (HandleSharedAction(action, menu_screens::Stylus())) return 1;
    return items_.HandleAction(action, menu_screens::Stylus(), menu_screens::Now());
}

void CSPMenuStateMain::Forward() {
    Activate(items_.Selected());
}

void CSPMenuStateMain::Back() {
    items_.Select(kExit);
    Activate(kExit);
}

void CSPMenuStateMain::Activate(int item) {
    switch (item) {
        case kFly:
            if (FlightResumable())
                Ask(Question::Fly, "Abandon the flight\nyou have started?");
            else
                Fly();
            break;
        case kResume:
            Resume();
            break;
        case kScores:
            menu_.SwitchScreen(7, 0);
            break;
        case kProfiles:
            menu_.SwitchScreen(8, 0);
            break;
        case kSettings:
            menu_.SwitchScreen(9, 0);
            break;
        case kHelp:
            menu_.SwitchScreen(16, 0);
            break;
        case kAbout:
            menu_.SwitchScreen(15, 0);
            break;
        case kExit:
            Ask(Question::Exit, "Leave the game?");
            break;
        default:
            break;
    }
}

void CSPMenuStateMain::Ask(Question question, const char* text) {
    MenuResources* r = Resources();
    if (!r) return;
    if (!box_) {
        box_ = std::make_unique<CSPMessageBox>();
        box_->Create(r->Screen(), {40, 60}, {240, 120}, &r->mainFont, &r->linksFont);
    }
    question_ = question;
    box_->Show(r->Screen(), text, CSPMessageBox::kYesNo);
}

void CSPMenuStateMain::Answered(bool yes) {
    const Question question = question_;
    question_ = Question::None;
    if (!yes) return;
    if (question == Question::Fly) Fly();
    if (question == Question::Exit) Exit();
}

void CSPMenuStateMain::Fly() {
    CFSApplicationContext* context = GetApplicationContext();
    if (MFSGameController* game = context->gameController.get(); game && game->IsResumable()) {
        game->LeaveGame();
        if (context->sceneRoot) context->sceneRoot->Clear();
    }
    menu_.SwitchScreen(2, 0);
}

void CSPMenuStateMain::Resume() {
    CFSApplicationContext* context = GetApplicationContext();
    CSPGameController* game = GameController();
    if (!game || !game->IsResumable()) return;
    game->SetResumable(0);
    game->ReapplySettings();
    const bool paused = context->terrain && context->terrain->paused;
    if (context->engine) context->engine->SetState(paused ? Paused : Flying);
}

void CSPMenuStateMain::Exit() {
    // The sound channels are the engine's; it silences them when it leaves for Quit.
    CFSApplicationContext* context = GetApplicationContext();
    if (context->engine) context->engine->SetState(Quit);
}

int CSPMenuStateMain::Draw(int redraw) {
    MenuResources* r = Resources();
    if (!r) return 0;
    if (box_ && box_->Open()) {
        if (!redraw) return 0;
        box_->Draw();
        return 1;
    }
    const int due = items_.TakeDue(menu_screens::Now());
    if (due >= 0) {
        Activate(due);
        if (!box_ || !box_->Open()) return 0;  // another screen took over and draws itself
        box_->Draw();
        return 1;
    }
    if (!DrawBackground(redraw, background_.get())) return 0;
    if (!FlightResumable() && resume_)
        BlitBitmap(r->Screen(), {194, 96}, menu_drawing::kScreenSize, resume_.get(), 0);
    items_.DrawPointer(*r);
    return 1;
}
