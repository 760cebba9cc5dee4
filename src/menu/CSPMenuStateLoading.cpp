#include "menu/CSPMenuStateLoading.h"

#include <algorithm>
#include <cmath>

#include "app/FSApplicationContext.h"
#include "menu/MenuResources.h"
#include "platform/FSClock.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "resources/FSPixels.h"

namespace {

constexpr FSSize kDevice{MFSDisplay::kWidth, MFSDisplay::kHeight};
constexpr FSSize kMenu{MenuResources::kWidth, MenuResources::kHeight};
constexpr FSSize kWheel{10, 13};
constexpr float kDigitRows = 14.3f;

// Where the title and the altimeter stand for each flight orientation ("screengame_align"):
// turned so that they read upright once the player holds the screen the flight's way.
struct Placement {
    FSPoint title;
    int titleTransform;
    FSPoint body;
    int bodyTransform;
    FSPoint wheels[CSPMenuStateLoading::kWheels];
};
constexpr int kColumns[CSPMenuStateLoading::kWheels] = {0, 0, 1, 2, 2};
constexpr Placement kPlacements[3] = {
    {{230, 84}, 3, {59, 100}, 0, {{91, 154}, {102, 154}, {115, 154}, {128, 154}, {139, 154}}},
    {{119, 36}, 2, {54, 99}, 3, {{108, 179}, {108, 168}, {108, 155}, {108, 142}, {108, 131}}},
    {{128, 185}, 0, {64, 99}, 1, {{119, 131}, {119, 142}, {119, 155}, {119, 168}, {119, 179}}},
};

const Placement& PlacementFor(int alignment) {
    return kPlacements[alignment >= 0 && alignment <= 2 ? alignment : 0];
}

}  // namespace

CSPMenuStateLoading::CSPMenuStateLoading(std::function<void()> startFlight)
    : MSPStylusMenuState(5, false, false, false), startFlight_(std::move(startFlight)) {}

void CSPMenuStateLoading::Load(MenuResources&, int) {
    const std::string menu = MakeDataPath("data\\menu.zip");
    snapshot_.assign(static_cast<size_t>(kDevice.w) * kDevice.h, 0);
    title_ = LoadBitmap(menu, "states/state_loading/loading_title.bmp");
    body_ = LoadBitmap(menu, "states/state_loading/altimeter_body.bmp");
    bodyMask_ = LoadBitmap(menu, "states/state_loading/altimeter_body_mask.bmp");
    figures_ = LoadBitmap(menu, "states/state_loading/altimeter_figures.bmp");
}

void CSPMenuStateLoading::Unload() {
    snapshot_.clear();
    title_.reset();
    body_.reset();
    bodyMask_.reset();
    figures_.reset();
}

void CSPMenuStateLoading::Activate(int number, int flag) {
    MSPStylusMenuState::Activate(number, flag);
    TakeSnapshot();
    fadeStart_ = platform::TickCount();
    fading_ = true;
    first_ = true;
}

void CSPMenuStateLoading::TakeSnapshot() {
    MenuResources* r = Resources();
    if (!r || snapshot_.size() != static_cast<size_t>(kDevice.w) * kDevice.h) return;
    const CFSApplicationContext* context = GetApplicationContext();
    switch (context ? context->menuOrientation : 2) {
        case 0:
            std::copy(r->screen.begin(), r->screen.end(), snapshot_.begin());
            break;
        case 1:
            RotateScreen(snapshot_.data(), r->Screen(), kMenu.w, kMenu.h);
            break;
        default:
            CopyPixels(snapshot_.data(), {0, 0}, kDevice, r->Screen(), {0, 0}, kMenu, kMenu, 1);
            break;
    }
}

int CSPMenuStateLoading::Draw(int redraw) {
    const CFSApplicationContext* context = GetApplicationContext();
    MFSDisplay* display = context ? context->display : nullptr;
    if (fading_) {
        const uint32_t t = platform::TickCount() - fadeStart_;
        if (t <= kFadeMilliseconds) {
            if (display && !snapshot_.empty()) {
                DarkenPixels(display->BeginDraw(), snapshot_.data(), MFSDisplay::kPixels,
                             1.0f - 0.8f * static_cast<float>(t) / kFadeMilliseconds);
                display->EndDraw();
            }
            return 0;
        }
        EndFade();
        return 0;
    }
    DrawAltimeter(first_ || redraw != 0);
    first_ = false;
    ShowSnapshot();
    return 0;
}

void CSPMenuStateLoading::EndFade() {
    MenuResources* r = Resources();
    const CFSApplicationContext* context = GetApplicationContext();
    if (r) {
        DarkenPixels(r->Screen(), r->Screen(), kMenu.w * kMenu.h, 0.2f);
        const Placement& p = PlacementFor(context ? context->game.screenAlign : 0);
        BlitBitmapKeyed(r->Screen(), p.title, kMenu, title_.get(), p.titleTransform, 0);
    }
    fading_ = false;
    TakeSnapshot();
    altimeterStart_ = platform::TickCount();
    std::fill(std::begin(offsets_), std::end(offsets_), -1);
    first_ = true;
    startPending_ = true;
}

void CSPMenuStateLoading::AfterDraw() {
    if (startPending_.exchange(false) && startFlight_) startFlight_();
}

void CSPMenuStateLoading::WheelOffsets(int32_t e, int orientation, int offsets[kWheels]) {
    if (e < 0) e = 99999;
    if (e >= 100000) e = 0;
    const float values[kWheels] = {
        static_cast<float>(e % 100000) * 0.0001f, static_cast<float>(e % 10000) * 0.001f,
        static_cast<float>(e % 1000) * 0.01f, static_cast<float>((e % 100) / 10), static_cast<float>(e % 10)};
    for (int i = 0; i < kWheels; ++i) {
        const float v = orientation == 2 ? 10.0f - values[i] : values[i];
        offsets[i] = orientation == 1 || orientation == 2 ? static_cast<int>(v * kDigitRows) : 0;
    }
}

void CSPMenuStateLoading::DrawAltimeter(bool full) {
    if (snapshot_.empty()) return;
    const CFSApplicationContext* context = GetApplicationContext();
    const Placement& p = PlacementFor(context ? context->game.screenAlign : 0);
    if (full) BlitMasked(snapshot_.data(), p.body, kDevice, body_.get(), bodyMask_.get(), p.bodyTransform);
    int now[kWheels];
    WheelOffsets(static_cast<int32_t>(platform::TickCount() - altimeterStart_),
                 context ? context->menuOrientation : 2, now);
    for (int i = 0; i < kWheels; ++i) {
        if (!full && now[i] == offsets_[i]) continue;
        offsets_[i] = now[i];
        BlitRect(snapshot_.data(), p.wheels[i], kDevice, figures_.get(), {11 * kColumns[i], now[i]}, kWheel,
                 p.bodyTransform);
    }
}

void CSPMenuStateLoading::ShowSnapshot() {
    const CFSApplicationContext* context = GetApplicationContext();
    MFSDisplay* display = context ? context->display : nullptr;
    if (!display || snapshot_.empty()) return;
    std::copy(snapshot_.begin(), snapshot_.end(), display->BeginDraw());
    display->EndDraw();
}
