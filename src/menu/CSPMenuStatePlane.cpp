#include "menu/CSPMenuStatePlane.h"

#include <cstdio>

#include "app/FSMenu.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

// The description box and the width its lines may take (inside the margins, beside the bar).
constexpr FSClipRect kTextBox{180, 43, 310, 235};
constexpr int kMargin = 5;
constexpr int kTextWidth = kTextBox.right - kTextBox.left - 13 - 2 * kMargin;

const char* const kAircraftNames[CSPMenuStatePlane::kAircraftCount] = {
    "Cessna 172R", "Sukhoi Su-29", "L-29 Delfin", "L-13 Blanik", "Fokker"};

}  // namespace

CSPMenuStatePlane::CSPMenuStatePlane(MFSMenu& menu) : MSPStylusMenuState(4, true, true, true), menu_(menu) {}

std::string CSPMenuStatePlane::AircraftDescription(int type) {
    char member[32];
    std::snprintf(member, sizeof member, "Aircraft%d.txt", type + 1);
    return ReadDescriptionText(MakeDataPath("data\\aircrafts.zip"), member);
}

void CSPMenuStatePlane::Load(MenuResources& r, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_plane/plane.bmp");
    list_ = std::make_unique<CSPTextListCtrl>();
    list_->Init(r.Screen(), {kClipAt.x, kClipAt.y + kClipSize.h + 12}, kClipSize.w, &r.listFont,
                {std::begin(kAircraftNames), std::end(kAircraftNames)}, false);
    list_->SetSelected(GetApplicationContext()->chosenAircraft);
    text_ = std::make_unique<CSPTextCtrl>();
    text_->Init(r.Screen(), &r.mainFont, kTextBox, {kMargin, kMargin, kMargin, kMargin}, false, true);
    shown_ = -1;
    ShowChoice();
    GetApplicationContext()->videoThreadRunning = 1;
}

void CSPMenuStatePlane::Leave(int next, int argument) {
    StopAircraftClip();
    GetApplicationContext()->videoThreadRunning = 0;
    MSPStylusMenuState::Leave(next, argument);
}

void CSPMenuStatePlane::Unload() {
    background_.reset();
    list_.reset();
    text_.reset();
}

void CSPMenuStatePlane::ShowChoice() {
    if (!list_ || list_->Selected() == shown_) return;
    shown_ = list_->Selected();
    const MenuResources* r = Resources();
    const std::string text = AircraftDescription(shown_);
    text_->SetText(r ? menu_screens::WrapText(r->mainFont, text, kTextWidth) : text);
    PlayAircraftClip(shown_);
}

int CSPMenuStatePlane::HandleAction(int action) {
    if (!list_) return 0;
    if (HandleSharedAction(action, menu_screens::Stylus())) return 1;
    const int used = list_->HandleAction(action) | text_->HandleAction(action);
    ShowChoice();
    return used;
}

void CSPMenuStatePlane::Forward() {
    if (list_) GetApplicationContext()->chosenAircraft = list_->Selected();
    menu_.SwitchScreen(5, 0);
}

void CSPMenuStatePlane::Back() {
    menu_.SwitchScreen(2, 0);
}

int CSPMenuStatePlane::Draw(int redraw) {
    if (!list_ || !DrawBackground(redraw, background_.get())) return 0;
    list_->Draw();
    text_->Draw();
    return 1;
}
