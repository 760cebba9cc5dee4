#include "testflight/CSPPlaceholderController.h"

#include <algorithm>
#include <cmath>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSScoreTable.h"
#include "platform/FSClock.h"
#include "testflight/CSPTestFlight.h"
#include "testflight/CSPTestWorld.h"

CSPPlaceholderController::CSPPlaceholderController() = default;

CSPPlaceholderController::~CSPPlaceholderController() {
    LeaveGame();
}

void CSPPlaceholderController::Initialise(int* /*engineWord*/) {
    // The player's scores are ready before the menu shows them. There are no route files
    // yet to name the routes; each route gets its entry once routes exist.
    LoadPlayerScores(*GetApplicationContext(), {});
}

void CSPPlaceholderController::SetCameraPlacement(float heading, float pitch, float distance) {
    heading_ = heading;
    pitch_ = pitch;
    distance_ = distance;
}

void CSPPlaceholderController::RunFlightStart() {
    CFSApplicationContext* context = GetApplicationContext();
    CFSEngine* engine = context->engine.get();
    if (!engine) return;
    if (!resumable_) {
        engine->SetState(Loading);
        LeaveGame();
        // The surface is made for the first flight and kept for the next ones.
        if (!engine->HasSurface()) engine->SetUpSurface();
        engine->SetGLDefaults();
        if (!terrain_.empty()) {
            world_ = std::make_unique<CSPTestWorld>();
            world_->Build(terrain_, context->route.dayTime);
            if (aircraftIndex_ >= 0) {
                flight_ = std::make_unique<CSPTestFlight>();
                if (!flight_->Build(*world_, aircraftIndex_)) flight_.reset();
            }
        }
        crashCountdown_ = 0;
        frames_ = 0;
        clock_.Reset(platform::TickCount());
    } else {
        clock_.Restart(platform::TickCount());
    }
    resumable_ = 0;
    context->input->SetOrientation(context->game.screenAlign);
    context->input->EnableActionSet(kActionSetFlight);
    engine->SetState(Flying);
}

void CSPPlaceholderController::LeaveGame() {
    GetApplicationContext()->playerAircraft = nullptr;
    flight_.reset();
    if (world_) world_->Release();
    world_.reset();
    resumable_ = 0;
}

void CSPPlaceholderController::LeaveToMenu() {
    CFSApplicationContext* context = GetApplicationContext();
    CFSEngine* engine = context->engine.get();
    clock_.Stop(platform::TickCount());
    resumable_ = 1;
    context->input->SetOrientation(context->menuOrientation);
    engine->SetState(Idle);
    engine->SetState(Menu);
}

int CSPPlaceholderController::HandleAction(int action) {
    CFSEngine* engine = GetApplicationContext()->engine.get();
    if (!engine) return 0;
    const int state = engine->State();
    if (state != Flying && state != Paused) return 0;
    const float step = 3.0f * GetApplicationContext()->frame.timeScale;
    if (flight_ && action >= kActionElevatorsUp && action <= kActionThrottleMore && action != kActionMap &&
        action != kActionBackToMenu) {
        return flight_->Command(action) ? 1 : 0;
    }
    switch (action) {
        case kActionBackToMenu:
            LeaveToMenu();
            return 1;
        case kActionMap:
            engine->SetState(state == Flying ? Paused : Flying);
            GetApplicationContext()->input->EnableActionSet(state == Flying ? kActionSetPaused
                                                                            : kActionSetFlight);
            return 1;
        // Without an aircraft the pad orbits the camera round the field.
        case kActionElevatorsUp:
            pitch_ = std::min(pitch_ + step, 80.0f);
            return 1;
        case kActionElevatorsDown:
            pitch_ = std::max(pitch_ - step, 0.0f);
            return 1;
        case kActionAileronsLeft:
            heading_ -= step;
            return 1;
        case kActionAileronsRight:
            heading_ += step;
            return 1;
        case kActionThrottleLess:
            distance_ = std::min(distance_ * (1.0f + 0.02f * step), 6.0f);
            return 1;
        case kActionThrottleMore:
            distance_ = std::max(distance_ / (1.0f + 0.02f * step), 0.15f);
            return 1;
        default:
            return 0;
    }
}

void CSPPlaceholderController::Update() {
    // One frame of game time: 0.2 s at the nominal 18 frames per second.
    if (world_) world_->Update(0.2f * GetApplicationContext()->frame.timeScale);
    if (flight_ && !flight_->Update() && crashCountdown_ == 0) crashCountdown_ = 90;
    ++frames_;
    if (crashCountdown_ > 0 && --crashCountdown_ == 0) {
        LeaveToMenu();
        resumable_ = 0;  // a crashed flight cannot be resumed
    }
}

void CSPPlaceholderController::CameraStep() {
    if (!world_) return;
    if (flight_) {
        flight_->PlaceCamera();
    } else {
        world_->PlaceOrbitCamera(heading_, pitch_, distance_);
    }
}

std::string CSPPlaceholderController::StatusText() {
    return flight_ ? flight_->StatusText() : std::string();
}

int32_t CSPPlaceholderController::FlightSeconds() {
    return clock_.Read(platform::TickCount());
}
