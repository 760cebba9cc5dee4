#include "menu/CSPMenuStateProfiles.h"

#include <algorithm>

#include "app/FSApplicationContext.h"
#include "app/FSMenu.h"
#include "app/FSSettingsFile.h"
#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"
#include "platform/FSDisplay.h"
#include "resources/FSPixels.h"

namespace {

constexpr FSClipRect kListArea{26, 58, 280, 180};
constexpr int kNameX = 41;
constexpr int kFirstRowY = 68;
constexpr int kScrollerLength = 124;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kSelectedColour = 0xFFE0;  // yellow
constexpr float kDimmed = 0.4f;
constexpr float kFadePerMs = 0.0012f;

std::vector<MenuRow> ProfileItems() {
    return {{{25, 38, 280, 183}, {8, 42}, true},
            {{25, 189, 134, 198}, {8, 187}, true},
            {{25, 207, 164, 216}, {8, 205}, true},
            {{25, 225, 164, 234}, {8, 223}, true}};
}

std::vector<std::string>& Players() {
    return GetApplicationContext()->players;
}

int PilotCount() {
    return static_cast<int>(Players().size());
}

int IndexOf(const std::string& name) {
    const auto& players = Players();
    const auto it = std::find(players.begin(), players.end(), name);
    return it == players.end() ? -1 : static_cast<int>(it - players.begin());
}

}  // namespace

CSPMenuStateProfiles::CSPMenuStateProfiles(MFSMenu& menu)
    : MSPStylusMenuState(8, true, false, true), menu_(menu), items_(ProfileItems()) {}

void CSPMenuStateProfiles::Load(MenuResources& r, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_profiles/profiles.bmp");
    scroller_ = std::make_unique<CSPScrollerCtrl>();
    scroller_->Init(r.Screen(), {kListArea.right - 13, kListArea.top + 2}, kScrollerLength, 1);
    scroller_->SetStep(static_cast<float>(kRowHeight));
    edit_.reset();
    fadingIn_ = fadingOut_ = false;
    listActive_ = false;
    pilot_ = std::max(IndexOf(GetApplicationContext()->currentPlayer), 0);
    KeepSelectionInView();
}

void CSPMenuStateProfiles::Leave(int next, int argument) {
    WriteSettings();
    MSPStylusMenuState::Leave(next, argument);
}

void CSPMenuStateProfiles::Unload() {
    background_.reset();
    scroller_.reset();
    edit_.reset();
    snapshot_.clear();
}

void CSPMenuStateProfiles::KeepSelectionInView() {
    if (!scroller_) return;
    const int visible = kListArea.bottom - kFirstRowY;
    const int content = PilotCount() * kRowHeight;
    scroller_->SetRange(0.0f, static_cast<float>(std::max(0, content - visible)));
    const int top = pilot_ * kRowHeight;
    const float value = scroller_->Value();
    if (top < value) scroller_->SetValue(static_cast<float>(top));
    if (top + kRowHeight > value + visible)
        scroller_->SetValue(static_cast<float>(top + kRowHeight - visible));
}

void CSPMenuStateProfiles::TypeCharacter(char character) {
    if (edit_ && !fadingOut_) edit_->TypeCharacter(character);
}

void CSPMenuStateProfiles::TypeKey(int key) {
    if (!edit_ || fadingOut_) return;
    switch (key) {
        case kTextEnter:
            Accept();
            break;
        case kTextEscape:
            CloseKeyboard();
            break;
        case kTextBackspace:
            edit_->TypeKey(CSPEditCtrl::Key::Backspace);
            break;
        case kTextLeft:
            edit_->TypeKey(CSPEditCtrl::Key::Left);
            break;
        case kTextRight:
            edit_->TypeKey(CSPEditCtrl::Key::Right);
            break;
        default:
            break;
    }
}

int CSPMenuStateProfiles::HandleAction(int action) {
    if (!scroller_) return 0;
    if (edit_) {
        if (fadingOut_) return 0;
        if (action == kActionBack) {
            CloseKeyboard();
        } else if (action == kActionSelect) {
            Accept();
        } else {
            edit_->HandleAction(action);
            if (edit_->Done()) Accept();
        }
        return 1;
    }
    const FSPoint stylus = menu_screens::Stylus();
    if (HandleSharedAction(action, stylus)) return 1;
    switch (action) {
        case kActionUp:
        case kActionDown:
            if (listActive_)
                MovePilot(action == kActionUp ? -1 : 1);
            else
                items_.Move(action == kActionUp ? -1 : 1);
            return 1;
        case kActionStylusPressed:
            if (scroller_->HitTest(stylus)) return scroller_->HandleAction(action);
            if (const int item = items_.ItemAt(stylus); item >= 0) {
                items_.Select(item);
                ActivateItem(item);
                return 1;
            }
            return 0;
        default:
            return scroller_->HandleAction(action);
    }
}

void CSPMenuStateProfiles::Forward() {
    ActivateItem(items_.Selected());
}

void CSPMenuStateProfiles::Back() {
    menu_.SwitchScreen(0, 0);
}

void CSPMenuStateProfiles::ActivateItem(int item) {
    switch (item) {
        case kList:
            listActive_ = !listActive_;
            break;
        case kAdd:
            OpenKeyboard(Typed::Add, {});
            break;
        case kRemove:
            RemovePilot();
            break;
        case kRename:
            if (pilot_ < PilotCount()) OpenKeyboard(Typed::Rename, Players()[pilot_]);
            break;
        default:
            break;
    }
}

void CSPMenuStateProfiles::MovePilot(int step) {
    const int n = PilotCount();
    if (n == 0) return;
    pilot_ = ((pilot_ + step) % n + n) % n;
    GetApplicationContext()->currentPlayer = Players()[pilot_];
    KeepSelectionInView();
}

void CSPMenuStateProfiles::RemovePilot() {
    auto& players = Players();
    if (pilot_ >= static_cast<int>(players.size())) return;
    players.erase(players.begin() + pilot_);
    if (pilot_ >= static_cast<int>(players.size())) pilot_ = std::max(pilot_ - 1, 0);
    KeepSelectionInView();
}

void CSPMenuStateProfiles::OpenKeyboard(Typed typed, const std::string& text) {
    MenuResources* r = Resources();
    if (!r) return;
    typed_ = typed;
    edit_ = std::make_unique<CSPEditCtrl>();
    edit_->Init(r->Screen(), {40, 118}, {240, 26}, &r->mainFont);
    // The field takes no more than a pilot's name may hold.
    edit_->SetMaxLength(static_cast<int>(kMaxPlayerNameBytes));
    edit_->SetText(text);
    snapshot_ = r->screen;
    fadeStart_ = menu_screens::Now();
    fadingIn_ = true;
    fadingOut_ = false;
    if (r->textInput) r->textInput(true);
}

void CSPMenuStateProfiles::CloseKeyboard() {
    if (MenuResources* r = Resources(); r && r->textInput) r->textInput(false);
    fadeStart_ = menu_screens::Now();
    fadingIn_ = false;
    fadingOut_ = true;
}

void CSPMenuStateProfiles::Accept() {
    // A name is kept as long as the settings file and the score records can hold it.
    std::string name = edit_->Text().substr(0, kMaxPlayerNameBytes);
    CloseKeyboard();
    const int existing = IndexOf(name);
    if (name.empty() || existing >= 0) return;
    auto& players = Players();
    if (typed_ == Typed::Add) {
        if (players.size() >= kMaxPlayers) return;
        players.push_back(name);
    } else {
        if (pilot_ >= static_cast<int>(players.size())) return;
        players[pilot_] = name;
    }
    std::sort(players.begin(), players.end());
    GetApplicationContext()->currentPlayer = name;
    pilot_ = IndexOf(name);
    KeepSelectionInView();
}

int CSPMenuStateProfiles::DrawFade() {
    MenuResources* r = Resources();
    const uint32_t elapsed = menu_screens::Now() - fadeStart_;
    float factor = fadingOut_ ? kDimmed + kFadePerMs * elapsed : 1.0f - kFadePerMs * elapsed;
    factor = std::clamp(factor, kDimmed, 1.0f);
    if (snapshot_.size() == r->screen.size())
        DarkenPixels(r->Screen(), snapshot_.data(), static_cast<int>(snapshot_.size()), factor);
    if (elapsed < kFadeMs) return 1;
    if (fadingIn_) fadingIn_ = false;
    if (fadingOut_) {
        fadingOut_ = false;
        edit_.reset();
        return 0;  // the screen itself is drawn again
    }
    return 1;
}

void CSPMenuStateProfiles::DrawList(MenuResources& r) {
    const FSClipRect clip{kListArea.left, kListArea.top, kListArea.right - 14, kListArea.bottom};
    const int scroll = static_cast<int>(scroller_->Value());
    const auto& players = Players();
    for (int i = 0; i < static_cast<int>(players.size()); ++i) {
        const uint16_t colour = i == pilot_ ? kSelectedColour : kWhite;
        menu_drawing::Text(r.Screen(), &r.mainFont, kJustifyLeft,
                           {kNameX, kFirstRowY + kRowHeight * i - scroll}, colour, players[i], clip);
    }
    scroller_->Draw();
}

int CSPMenuStateProfiles::Draw(int redraw) {
    MenuResources* r = Resources();
    if (!r || !scroller_) return 0;
    if (edit_) {
        if (fadingIn_ || fadingOut_) {
            if (DrawFade()) {
                if (!fadingIn_ && !fadingOut_) edit_->Draw();  // the keyboard once faded in
                return 1;
            }
            redraw = 1;  // faded back: the screen again
        } else {
            DarkenPixels(r->Screen(), snapshot_.data(), static_cast<int>(snapshot_.size()), kDimmed);
            edit_->Draw();
            return 1;
        }
    }
    if (!DrawBackground(redraw, background_.get())) return 0;
    DrawList(*r);
    items_.DrawPointer(*r);
    return 1;
}
