#include "menu/CSPMenuStateRouteParameters.h"

#include "app/FSApplicationContext.h"
#include "app/FSMenu.h"
#include "app/FSSettingsFile.h"
#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"

namespace {

constexpr int kControlX = 145;
constexpr int kRowTop[2] = {56, 101};
constexpr int kControlWidth = 150;
constexpr int kWeatherNone = 1;
constexpr uint16_t kWhite = 0xFFFF;

std::vector<MenuRow> PageItems() {
    const FSClipRect rects[] = {
        {21, 56, 110, 65}, {30, 76, 110, 85}, {77, 96, 110, 105}, {53, 116, 110, 125}, {53, 219, 110, 228}};
    std::vector<MenuRow> items;
    for (const FSClipRect& r : rects)
        items.push_back({r, {r.left - 17, r.top - 2}, true});
    return items;
}

std::unique_ptr<CSPTextListCtrl> MakeList(MenuResources& r, int row, std::vector<std::string> entries,
                                          bool wrap) {
    auto list = std::make_unique<CSPTextListCtrl>();
    list->Init(r.Screen(), {kControlX, kRowTop[row] + 16}, kControlWidth, &r.listFont, std::move(entries),
               wrap);
    return list;
}

std::unique_ptr<CSPSmoothSliderCtrl> MakeSlider(MenuResources& r, int row) {
    auto slider = std::make_unique<CSPSmoothSliderCtrl>();
    slider->Init(r.Screen(), {kControlX + 4, kRowTop[row] + 20}, kControlWidth - 8, 0,
                 MenuResources::kSliderStep);
    return slider;
}

}  // namespace

CSPMenuStateRouteParameters::CSPMenuStateRouteParameters(MFSMenu& menu)
    : MSPStylusMenuState(3, true, false, true), menu_(menu), pages_(PageItems()) {}

void CSPMenuStateRouteParameters::Load(MenuResources& r, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_route_parameters/route_parameters.bmp");
    dayTime_ = MakeList(r, 0, {"random", "morning", "noon", "evening", "night"}, true);
    cloudiness_ = MakeSlider(r, 0);
    windStrength_ = MakeList(
        r, 0,
        {"random", "calm", "light air", "light breeze", "gentle breeze", "moderate breeze", "fresh breeze",
         "strong breeze", "near gale", "gale", "strong gale", "storm", "violent storm", "hurricane"},
        false);
    windDirection_ = MakeList(
        r, 1,
        {"random", "north", "north-east", "east", "south-east", "south", "south-west", "west", "north-west"},
        false);
    weatherType_ = MakeList(r, 0, {"random", "none", "fog", "rain", "storm"}, false);
    precipitations_ = MakeSlider(r, 1);
    editing_ = false;
    focus_ = 0;
    ReadSettings();
}

void CSPMenuStateRouteParameters::Leave(int next, int argument) {
    if (dayTime_) StoreSettings();
    WriteSettings();
    MSPStylusMenuState::Leave(next, argument);
}

void CSPMenuStateRouteParameters::Unload() {
    background_.reset();
    dayTime_.reset();
    cloudiness_.reset();
    windStrength_.reset();
    windDirection_.reset();
    weatherType_.reset();
    precipitations_.reset();
}

void CSPMenuStateRouteParameters::ReadSettings() {
    const FSRouteBlock& route = GetApplicationContext()->route;
    dayTime_->SetSelected(route.dayTime);
    cloudiness_->SetValue(static_cast<float>(route.cloudiness));
    windStrength_->SetSelected(route.windStrength);
    windDirection_->SetSelected(route.windDirection);
    weatherType_->SetSelected(route.weatherType);
    precipitations_->SetValue(static_cast<float>(route.precipitations));
}

void CSPMenuStateRouteParameters::StoreSettings() {
    FSRouteBlock& route = GetApplicationContext()->route;
    route.dayTime = dayTime_->Selected();
    route.cloudiness = static_cast<int32_t>(cloudiness_->Value());
    route.windStrength = windStrength_->Selected();
    route.windDirection = windDirection_->Selected();
    route.weatherType = weatherType_->Selected();
    route.precipitations = static_cast<int32_t>(precipitations_->Value());
}

void CSPMenuStateRouteParameters::RestoreDefaults() {
    GetApplicationContext()->route = FSRouteBlock{};
    GetApplicationContext()->chosenRoute = 0;
    ReadSettings();
}

bool CSPMenuStateRouteParameters::PrecipitationShown() const {
    return weatherType_ && weatherType_->Selected() != kWeatherNone;
}

std::vector<CSPMenuStateRouteParameters::Row> CSPMenuStateRouteParameters::Rows() const {
    if (!dayTime_) return {};
    switch (pages_.Selected()) {
        case kTimeOfDay:
            return {{"time of day", dayTime_.get()}};
        case kCloudiness:
            return {{"cloudiness", cloudiness_.get()}};
        case kWind:
            return {{"strength of wind", windStrength_.get()}, {"wind's directions", windDirection_.get()}};
        case kWeather:
            if (PrecipitationShown())
                return {{"type of weather", weatherType_.get()}, {"precipitations", precipitations_.get()}};
            return {{"type of weather", weatherType_.get()}};
        default:
            return {};
    }
}

FSClipRect CSPMenuStateRouteParameters::LabelRect(int row, const std::string& label) const {
    const MenuResources* r = Resources();
    const FSSize size = r ? r->linksFont.TextSize(label) : FSSize{};
    return {kControlX, kRowTop[row], kControlX + size.w, kRowTop[row] + size.h};
}

void CSPMenuStateRouteParameters::MoveFocus(int step) {
    const int n = static_cast<int>(Rows().size());
    if (n > 0) focus_ = ((focus_ + step) % n + n) % n;
}

int CSPMenuStateRouteParameters::HandleAction(int action) {
    if (!dayTime_) return 0;
    const FSPoint stylus = menu_screens::Stylus();
    if (HandleSharedAction(action, stylus)) return 1;
    const std::vector<Row> rows = Rows();
    if (action == kActionStylusPressed) {
        if (const int page = pages_.ItemAt(stylus); page >= 0) {
            pages_.Select(page);
            editing_ = false;
            focus_ = 0;
            return 1;
        }
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const FSClipRect label = LabelRect(i, rows[i].label);
            if (menu_drawing::Inside(stylus, label.left, label.top, label.right, label.bottom) ||
                rows[i].control->HitTest(stylus)) {
                editing_ = true;
                focus_ = i;
            }
        }
    }
    if (!editing_) {
        if (action == kActionUp || action == kActionDown) {
            pages_.Move(action == kActionUp ? -1 : 1);
            focus_ = 0;
            return 1;
        }
        if (action == kActionRight && !rows.empty()) editing_ = true;
        return editing_ ? 1 : 0;
    }
    if (action == kActionUp || action == kActionDown) {
        MoveFocus(action == kActionUp ? -1 : 1);
        return 1;
    }
    if (focus_ >= static_cast<int>(rows.size())) return 0;
    const int used = rows[focus_].control->HandleAction(action);
    StoreSettings();
    if (focus_ >= static_cast<int>(Rows().size())) focus_ = 0;
    return used;
}

void CSPMenuStateRouteParameters::Forward() {
    if (!dayTime_) return;
    if (pages_.Selected() == kDefaults) {
        RestoreDefaults();
        return;
    }
    editing_ = !editing_ && !Rows().empty();
    focus_ = 0;
}

void CSPMenuStateRouteParameters::Back() {
    menu_.SwitchScreen(2, 0);
}

int CSPMenuStateRouteParameters::Draw(int redraw) {
    MenuResources* r = Resources();
    if (!r || !dayTime_ || !DrawBackground(redraw, background_.get())) return 0;
    const std::vector<Row> rows = Rows();
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const FSClipRect label = LabelRect(i, rows[i].label);
        menu_drawing::Text(r->Screen(), &r->linksFont, kJustifyLeft, {label.left, label.top}, kWhite,
                           rows[i].label);
        rows[i].control->Draw();
        if (editing_ && i == focus_)
            menu_drawing::DrawMasked(r->Screen(), {label.left - 17, label.top - 2}, r->pointer.image.get(),
                                     r->pointer.mask.get());
    }
    if (!editing_) pages_.DrawPointer(*r);
    return 1;
}
