#include "pilot/ScriptedPilot.h"

#include <algorithm>
#include <cmath>

#include "FSHeadlessRun.h"
#include "game/CSPAircraft.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "game/CSPRunway.h"
#include "world/FSBox.h"
#include "world/FSFixed.h"
#include "world/FSTerrainHolder.h"
#include "app/FSApplicationContext.h"

namespace {

// Pad keys and buttons as they lie in the flight orientation: button 5 is the shift of
// the chords; with it button 3 opens the throttle, button 2 closes it and button 4 works
// the flaps; with it the action key works the brakes.
enum Pad { kAction = 0, kLeft = 1, kRight = 2, kUp = 3, kDown = 4 };
constexpr int kShift = 197, kFlaps = 196, kThrottleMore = 195, kThrottleLess = 194;

constexpr float kDegree = 0.017453292f;

// The shortest way round from one heading to another (rad, −π … π).
float AngleBetween(float from, float to) {
    float d = to - from;
    while (d > 3.14159265f) d -= 6.2831853f;
    while (d < -3.14159265f) d += 6.2831853f;
    return d;
}

float HeadingOf(const FSVector& v) {
    return std::atan2(v.x, v.z);
}

const CFSTerrainStorage* Ground() {
    const CFSTerrainHolder* holder = GetApplicationContext()->terrain.get();
    return holder && holder->IsLoaded() ? holder->model.get() : nullptr;
}

}  // namespace

void CSPScriptedPilot::Press(CFSHeadlessRun& run, int hotKey) {
    (void)run;
    if (queued_ < 8) buttonQueue_[queued_++] = hotKey;
}

void CSPScriptedPilot::SetThrottle(CFSHeadlessRun& run, float fraction) {
    CSPAircraft* aircraft = run.Controller().Aircraft();
    if (!aircraft || queued_ > 0) return;
    const float now = aircraft->ThrottleFraction();
    const int wanted = fraction > now + 0.02f ? kThrottleMore : fraction < now - 0.02f ? kThrottleLess : 0;
    if (wanted == throttleKey_) return;
    // Let go of the chord being held, or take hold of the one needed.
    if (throttleKey_ != 0) {
        Press(run, throttleKey_);
        Press(run, kShift);
        throttleKey_ = 0;
    } else {
        Press(run, kShift);
        Press(run, wanted);
        throttleKey_ = wanted;
    }
}

bool CSPScriptedPilot::ChooseTarget(CFSHeadlessRun& run, FSFixedVector& target, FSCell& cell, float& height) {
    const CSPRoute* route = run.Controller().Route();
    const MFSSceneNode* aircraft = run.Controller().AircraftNode();
    if (!route || !aircraft) return false;
    if (const CSPObstacle* gate = route->CurrentTarget()) {
        // Fly at the gate along its opening: aim at a point before it on our side until
        // close, then through its middle to a point beyond.
        const FSVector normal = ToFloat(gate->GetAxisZ());
        const FSVector toUs = ToFloat(WrappedDifference(aircraft->GetPosition(), aircraft->GetCell(),
                                                        gate->GetPosition(), gate->GetCell()));
        const float side = Dot(toUs, normal) >= 0.0f ? 1.0f : -1.0f;
        const float along = std::fabs(Dot(toUs, normal));
        const float lead = along > 0.8f ? 0.5f : -0.4f;  // before it, then beyond it
        target = gate->GetPosition() + ToFixed(normal * (side * lead));
        cell = gate->GetCell();
        height = FixedToFloat(gate->GetPosition().y);
        phase_ = "gate";
        return true;
    }
    const CSPRunway* runway = route->Runway();
    if (route->Landing() && runway) {
        landing_ = true;
        phase_ = "approach";
        target = runway->GetPosition();
        cell = runway->GetCell();
        height = FixedToFloat(runway->GetPosition().y);
        return true;
    }
    return false;
}

void CSPScriptedPilot::Steer(CFSHeadlessRun& run, float wantedBank, float wantedPitch) {
    CSPAircraft* aircraft = run.Controller().Aircraft();
    if (!aircraft) return;
    float pitch = 0.0f, bank = 0.0f;
    aircraft->Attitude(pitch, bank);
    const FSVector& w = aircraft->GetAngularVelocity();
    // A look every fourth pass at where the nose and the wings are going, and keys for
    // the next two passes when they are leaving the band.
    const int phase = pass_ % 4;
    if (phase == 0) {
        const float bankAhead = bank + w.y * 0.6f;
        const float pitchAhead = pitch + w.x * 0.6f;
        rollKey_ = bankAhead < wantedBank - 2.0f * kDegree   ? kLeft
                  : bankAhead > wantedBank + 2.0f * kDegree ? kRight
                                                            : -1;
        pitchKey_ = pitchAhead < wantedPitch - 1.0f * kDegree   ? kDown
                   : pitchAhead > wantedPitch + 1.0f * kDegree ? kUp
                                                               : -1;
    }
    const bool pressing = phase < 2;
    run.SetPadKey(kLeft, pressing && rollKey_ == kLeft);
    run.SetPadKey(kRight, pressing && rollKey_ == kRight);
    run.SetPadKey(kDown, pressing && pitchKey_ == kDown);
    run.SetPadKey(kUp, pressing && pitchKey_ == kUp);
}

void CSPScriptedPilot::Step(CFSHeadlessRun& run) {
    ++pass_;
    if (queued_ > 0) {
        // One button message a pass.
        run.Button(buttonQueue_[0]);
        std::copy(buttonQueue_ + 1, buttonQueue_ + queued_, buttonQueue_);
        --queued_;
    }
    CSPAircraft* aircraft = run.Controller().Aircraft();
    const MFSSceneNode* node = run.Controller().AircraftNode();
    if (!aircraft || !node || pass_ < 100) return;  // the engine's warm-up

    const bool glider = aircraft->ThrottleMax() <= 0.0f;
    if (!brakesOff_) {
        Press(run, kShift);
        Press(run, kAction);
        Press(run, kAction);
        Press(run, kShift);
        brakesOff_ = true;
        return;
    }

    FSFixedVector target;
    FSCell cell;
    float height = 0.0f;
    const bool aiming = ChooseTarget(run, target, cell, height);
    const FSVector nose = ToFloat(node->GetAxisY());
    float wantedBank = 0.0f, wantedPitch = 2.0f * kDegree;
    float throttle = 0.8f;
    const float groundUnder = Ground() ? FixedToFloat(node->GetPosition().y - Ground()->HeightAboveAt(node->GetPosition(), node->GetCell())) : 0.0f;
    const float above = FixedToFloat(node->GetPosition().y) - groundUnder;

    if (aircraft->IsOnGround() && !landing_) {
        phase_ = "take-off";
        throttle = 1.0f;
        wantedPitch = aircraft->Airspeed() > 110.0f ? 8.0f * kDegree : 0.0f;
    } else if (aiming) {
        const FSVector to = ToFloat(WrappedDifference(target, cell, node->GetPosition(), node->GetCell()));
        const float distance = std::sqrt(to.x * to.x + to.z * to.z);
        const float error = AngleBetween(HeadingOf(nose), HeadingOf(to));
        wantedBank = std::clamp(-error * 1.2f, -35.0f * kDegree, 35.0f * kDegree);
        float climb = height - FixedToFloat(node->GetPosition().y);
        if (landing_) {
            // A 4° slope down to the threshold, flaps out, power back; level off over it.
            const float slope = height + distance * 0.07f;
            climb = slope - FixedToFloat(node->GetPosition().y);
            throttle = 0.35f;
            if (!flaps_ && distance < 3.0f) {
                Press(run, kShift);
                Press(run, kFlaps);
                Press(run, kFlaps);
                Press(run, kShift);
                flaps_ = true;
            }
            if (above < 0.02f) {
                phase_ = "flare";
                throttle = 0.0f;
                wantedBank = 0.0f;
                climb = 0.0f;
            }
        }
        // Keep clear of the ground whatever the target asks.
        if (above < 0.08f && !landing_) climb = std::max(climb, 0.1f);
        wantedPitch = std::clamp(climb * 0.08f / 0.05f, -8.0f * kDegree, 10.0f * kDegree);
        if (landing_ && above < 0.02f) wantedPitch = 3.0f * kDegree;
    } else {
        phase_ = "out";
        wantedPitch = 3.0f * kDegree;
    }
    if (aircraft->IsOnGround() && landing_) {
        phase_ = "rollout";
        throttle = 0.0f;
        wantedPitch = 0.0f;
        if (!stopping_) {
            Press(run, kShift);
            Press(run, kAction);  // brakes held down
            stopping_ = true;
        }
    }
    if (!glider) SetThrottle(run, throttle);
    Steer(run, wantedBank, wantedPitch);
}
