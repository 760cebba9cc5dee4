#include "menu/CSPPlaceholderMenu.h"

#include <algorithm>
#include <cstring>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSSplash.h"
#include "game/CSPGameController.h"
#include "game/CSPRoute.h"
#include "hud/FSFont.h"
#include "platform/FSClock.h"
#include "platform/FSDisplay.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kAmber = 0xFE60;  // 0xFFCC00 in 5-6-5
constexpr uint16_t kNavy = 0x10A6;
constexpr uint32_t kArrowLitMs = 250;

void FillRect(std::vector<uint16_t>& screen, int x, int y, int w, int h, uint16_t colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, CSPPlaceholderMenu::kScreenWidth);
    const int y1 = std::min(y + h, CSPPlaceholderMenu::kScreenHeight);
    for (int r = y0; r < y1; ++r) {
        std::fill(screen.begin() + r * CSPPlaceholderMenu::kScreenWidth + x0,
                  screen.begin() + r * CSPPlaceholderMenu::kScreenWidth + x1, colour);
    }
}

// A solid triangle pointing in direction d (0 left, 1 right, 2 up, 3 down), centred at (cx, cy).
void FillArrow(std::vector<uint16_t>& screen, int cx, int cy, int size, int d, uint16_t colour) {
    for (int i = 0; i < size; ++i) {
        const int half = i / 2;
        for (int j = -half; j <= half; ++j) {
            int x = cx, y = cy;
            switch (d) {
                case 0:
                    x = cx - size / 2 + i;
                    y = cy + j;
                    break;
                case 1:
                    x = cx + size / 2 - i;
                    y = cy + j;
                    break;
                case 2:
                    x = cx + j;
                    y = cy - size / 2 + i;
                    break;
                default:
                    x = cx + j;
                    y = cy + size / 2 - i;
                    break;
            }
            if (x >= 0 && y >= 0 && x < CSPPlaceholderMenu::kScreenWidth &&
                y < CSPPlaceholderMenu::kScreenHeight) {
                screen[y * CSPPlaceholderMenu::kScreenWidth + x] = colour;
            }
        }
    }
}

const char* const kAircraftNames[] = {"Cessna 172R", "Sukhoi Su-29", "L-29 Delfin", "L-13 Blanik",
                                      "Fokker Dr.I"};

CSPGameController* Controller() {
    return dynamic_cast<CSPGameController*>(GetApplicationContext()->gameController.get());
}

}  // namespace

CSPPlaceholderMenu::CSPPlaceholderMenu()
    : title_(kScreenWidth * kScreenHeight, kNavy), screen_(kScreenWidth * kScreenHeight, 0) {
    // The splash is stored for the landscape menu orientation; turn it back upright.
    const size_t bytes = MFSDisplay::kPixels * 2u;
    if (kSplashBitmapSize >= 54 + bytes) {
        const uint32_t offset = kSplashBitmap[10] | (kSplashBitmap[11] << 8) | (kSplashBitmap[12] << 16);
        if (offset + bytes <= kSplashBitmapSize) {
            std::vector<uint16_t> device(MFSDisplay::kPixels);
            std::memcpy(device.data(), kSplashBitmap + offset, bytes);
            platform::DeviceToPicture(2, device.data(), title_.data());
        }
    }
}

void CSPPlaceholderMenu::SwitchScreen(int, int) {
    ShowFlownChoice();
    dirty_ = true;
}

void CSPPlaceholderMenu::ShowFlownChoice() {
    // The choice of the flight last flown, however it was started.
    if (const CSPGameController* controller = Controller()) {
        route_ = controller->RouteNumber();
        aircraft_ = controller->AircraftType();
    }
}

void CSPPlaceholderMenu::Enter() {
    CFSApplicationContext* context = GetApplicationContext();
    ShowFlownChoice();
    if (context->input) context->input->EnableActionSet(kActionSetMenu);
    pressed_ = false;
    dirty_ = true;
}

void CSPPlaceholderMenu::StartFlight() {
    CFSApplicationContext* context = GetApplicationContext();
    if (CSPGameController* controller = Controller()) {
        controller->SetRoute(route_);
        controller->SetAircraft(aircraft_);
    }
    if (pilot_ < static_cast<int>(context->players.size())) context->currentPlayer = context->players[pilot_];
    if (context->gameController) context->gameController->RunFlightStart();
}

void CSPPlaceholderMenu::ChangeChoice(int step) {
    const CFSApplicationContext* context = GetApplicationContext();
    const CSPGameController* controller = Controller();
    const int counts[3] = {controller ? std::max(controller->RouteCount(), 1) : 1, 5,
                           std::max(static_cast<int>(context->players.size()), 1)};
    int* values[3] = {&route_, &aircraft_, &pilot_};
    *values[line_] = (*values[line_] + step + counts[line_]) % counts[line_];
}

int CSPPlaceholderMenu::DispatchAction(int action) {
    CFSApplicationContext* context = GetApplicationContext();
    const uint32_t now = platform::TickCount();
    switch (action) {
        case kActionSelect:
            StartFlight();
            return 1;
        case kActionBack:
            if (context->engine) context->engine->SetState(EngineState::Quit);
            return 1;
        case kActionLeft:
        case kActionRight:
        case kActionUp:
        case kActionDown:
            arrowTicks_[action - kActionLeft] = now;
            if (action == kActionUp || action == kActionDown) {
                line_ = (line_ + (action == kActionUp ? 2 : 1)) % 3;
            } else {
                ChangeChoice(action == kActionLeft ? -1 : 1);
            }
            dirty_ = true;
            return 1;
        case kActionStylusPressed:
        case kActionStylusMoved:
            markX_ = context->frame.stylusX;
            markY_ = context->frame.stylusY;
            pressed_ = markX_ >= kButtonX && markX_ < kButtonX + kButtonW && markY_ >= kButtonY &&
                       markY_ < kButtonY + kButtonH;
            dirty_ = true;
            return 1;
        case kActionStylusReleased:  // a tap that ends on the button flies
            dirty_ = true;
            if (pressed_) {
                pressed_ = false;
                StartFlight();
            }
            return 1;
        default:
            return 0;
    }
}

void CSPPlaceholderMenu::Compose(uint32_t now) {
    screen_ = title_;
    // The fly button: a framed box with a "play" triangle.
    const uint16_t frame = pressed_ ? kAmber : kWhite;
    FillRect(screen_, kButtonX, kButtonY, kButtonW, kButtonH, frame);
    FillRect(screen_, kButtonX + 3, kButtonY + 3, kButtonW - 6, kButtonH - 6, pressed_ ? 0x8200 : kNavy);
    FillArrow(screen_, kButtonX + kButtonW / 2, kButtonY + kButtonH / 2, 24, 1, frame);
    // The pad's four directions, lit for a moment when they fire.
    arrowsLit_ = false;
    const int cx[4] = {22, 58, 40, 40};
    const int cy[4] = {212, 212, 194, 230};
    for (int d = 0; d < 4; ++d) {
        const bool lit = arrowTicks_[d] != 0 && now - arrowTicks_[d] < kArrowLitMs;
        arrowsLit_ = arrowsLit_ || lit;
        FillArrow(screen_, cx[d], cy[d], 14, d, lit ? kAmber : 0x8410);
    }
    ComposeChoices();
    // Where the stylus last touched.
    if (markX_ >= 0) {
        FillRect(screen_, markX_ - 6, markY_, 13, 1, kAmber);
        FillRect(screen_, markX_, markY_ - 6, 1, 13, kAmber);
    }
}

void CSPPlaceholderMenu::ComposeChoices() {
    const CFSApplicationContext* context = GetApplicationContext();
    if (!context->mainFont || !context->mainFont->CanDraw()) return;
    CSPGameController* controller = Controller();
    std::string routeName = "Route " + std::to_string(route_ + 1);
    if (controller && route_ < controller->RouteCount()) {
        const std::string name = CSPRoute::GetRouteName(route_);
        if (!name.empty()) routeName = name;
    }
    const std::string pilot = pilot_ < static_cast<int>(context->players.size()) ? context->players[pilot_]
                              : context->currentPlayer.empty()                   ? std::string("Pilot")
                                                                                 : context->currentPlayer;
    const std::string lines[3] = {"Route: " + routeName,
                                  std::string("Aircraft: ") + kAircraftNames[aircraft_], "Pilot: " + pilot};
    const FSClipRect clip{0, 0, kScreenWidth, kScreenHeight};
    FillRect(screen_, 70, 100, 240, 66, kNavy);
    for (int i = 0; i < 3; ++i) {
        DrawTextRaw(*context->mainFont, screen_.data(), kScreenWidth, kScreenHeight, 0, kJustifyLeft,
                    {80, 106 + i * 20}, i == line_ ? kAmber : kWhite, lines[i], clip);
    }
    // How the last flight ended.
    if (controller && controller->Finish() != SPFinish::None) {
        static const char* const kEnds[] = {"", "Route complete", "Landed", "Flight failed"};
        const std::string text = std::string(kEnds[static_cast<int>(controller->Finish())]) + "  SCORE " +
                                 std::to_string(controller->Score());
        DrawTextRaw(*context->mainFont, screen_.data(), kScreenWidth, kScreenHeight, 0, kJustifyLeft, {8, 6},
                    kAmber, text, clip);
    }
}

void CSPPlaceholderMenu::UpdateAndDraw(int redraw) {
    CFSApplicationContext* context = GetApplicationContext();
    const uint32_t now = platform::TickCount();
    // An idle menu draws nothing new: only a change (or a lit arrow going out) redraws.
    if (!redraw && !dirty_ && !arrowsLit_) return;
    if (!context->display) return;
    dirty_ = false;
    ++redraws_;
    Compose(now);
    // Menu pixel (x, y) goes to device column 239 - y, row x: a quarter turn clockwise.
    uint16_t* device = context->display->BeginDraw();
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint16_t* row = screen_.data() + y * kScreenWidth;
        uint16_t* column = device + (MFSDisplay::kWidth - 1 - y);
        for (int x = 0; x < kScreenWidth; ++x)
            column[x * MFSDisplay::kWidth] = row[x];
    }
    context->display->EndDraw();
}
