// How a flight ends: with every gate taken, with a landing, or with a crash; the score,
// the aircraft and the sounds at the end.
#include <cmath>
#include <memory>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSScoreTable.h"
#include "app/FSSettingsFile.h"
#include "game/CSPAircraft.h"
#include "game/CSPContactResponses.h"
#include "game/CSPGameController.h"
#include "game/CSPRoute.h"
#include "platform/FSClock.h"
#include "world/FSBoomEmmiter.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSGravityAffector.h"
#include "world/FSParticlesSystem.h"

void CSPGameController::RecordPositions() {
    if (aircraft_) {
        lastPosition_ = aircraft_->GetPosition();
        lastCell_ = aircraft_->GetCell();
    } else {
        lastPosition_ = cameraEye_;
        lastCell_ = cameraCell_;
    }
}

void CSPGameController::ApplyScoreFormula() {
    score_ = static_cast<int32_t>(static_cast<float>(score_) * DistanceFactor(distanceFlown_, routeLength_));
    if (route_)
        score_ = static_cast<int32_t>(static_cast<float>(score_) * route_->GetAircraftFactor(aircraftType_));
}

void CSPGameController::DropAircraft() {
    if (!aircraft_) return;
    if (contacts_) contacts_->SetPlayer(nullptr, false);
    aircraft_ = nullptr;
    propeller_ = nullptr;
    jet_ = nullptr;
    cameraTarget_ = nullptr;
    Context().playerAircraft = nullptr;
    status_.clear();  // no aircraft, no readings
}

void CSPGameController::FinishWithSuccess() {
    if (aircraft_ && aircraft_->IsRemoved()) {
        FinishWithFailure();
        return;
    }
    if (aircraft_) {
        // The aircraft bursts away at the finish, watched from the fixed camera.
        if (CFSEngine* engine = Engine()) {
            auto emitter = std::make_unique<TFSBoomEmmiter>(
                FloatToFixed(45.0f), FSFixedVector{39321, 39321, 39321}, FSFixedVector{58982, 58982, 58982});
            if (CFSParticlesSystem* burst =
                    engine->CreateParticlesSystem("particle.png", 40, std::move(emitter), 0x7AAAAA, 5242)) {
                burst->SetCell(aircraft_->GetCell());
                burst->SetPosition(aircraft_->GetPosition());
                burst->AddAffector(std::make_unique<TFSGravityAffector>());
                burst->AddAffector(std::make_unique<TFSFadeOutAffector>());
            }
        }
        aircraft_->Remove();
        DropAircraft();
    }
    SaveSettingsAfterFlight();
    ApplyScoreFormula();
    resultDistance_ = routeLength_ * 0.5f;
    StoreScore();
    finish_ = SPFinish::Success;
    SetView(kViewFinished);
    clock_.Stop(platform::TickCount());
    StopFlightLoops();
    AfterFinish();
}

void CSPGameController::StoreScore() {
    // A replayed flight is not a new one: its score was stored when it was flown.
    if (score_ == 0 || !route_ || Context().recorder.Playing()) return;
    // A player who never named themselves flies as "Pilot", as the menu shows them.
    CFSApplicationContext& context = Context();
    if (context.currentPlayer.empty()) context.currentPlayer = "Pilot";
    const FSStoredScore stored = StoreFlightScore(context, CSPRoute::GetRouteName(routeNumber_), score_,
                                                  clock_.Read(platform::TickCount()));
    // The score stays in the table for this session; the player is told it is not on disk.
    if (stored == FSStoredScore::NotSaved) status_ = "The score could not\nbe saved.";
}

void CSPGameController::FinishWithLanding() {
    // The aircraft stays where it stopped: its flight model goes.
    if (aircraft_) aircraft_->SetMoveableObject(nullptr);
    SaveSettingsAfterFlight();
    ApplyScoreFormula();
    resultDistance_ = std::fmax(0.05f, chaseDistance_ < 0.0f ? -chaseDistance_ * 4.0f : 0.05f);
    finish_ = SPFinish::Landing;
    SetView(kViewFinished);
    clock_.Stop(platform::TickCount());
    StopFlightLoops();
    AfterFinish();
}

void CSPGameController::FinishWithFailure() {
    if (aircraft_ && aircraft_->IsRemoved()) DropAircraft();
    SaveSettingsAfterFlight();
    resultDistance_ = routeLength_ * 0.5f;
    finish_ = SPFinish::Failure;
    SetView(kViewFinished);
    PlayExplosion();
    clock_.Stop(platform::TickCount());
    StopFlightLoops();
    AfterFinish();
}
