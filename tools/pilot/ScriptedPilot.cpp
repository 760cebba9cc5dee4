#include "pilot/ScriptedPilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "game/CSPAircraft.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "game/CSPRunway.h"
#include "world/FSBox.h"
#include "world/FSFixed.h"
#include "world/FSTerrainHolder.h"

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
    while (d > 3.14159265f)
        d -= 6.2831853f;
    while (d < -3.14159265f)
        d += 6.2831853f;
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

void CSPScriptedPilot::Press(int key) {
    if (queued_ < 8) buttonQueue_[queued_++] = key;
}

void CSPScriptedPilot::SetThrottle(CFSHeadlessRun& run, float fraction) {
    CSPAircraft* aircraft = run.Controller().Aircraft();
    if (!aircraft || queued_ > 0) return;
    const float now = aircraft->ThrottleFraction();
    const int wanted = fraction > now + 0.02f ? kThrottleMore : fraction < now - 0.02f ? kThrottleLess : 0;
    if (wanted == throttleKey_) return;
    // Let go of the chord being held, or take hold of the one needed.
    if (throttleKey_ != 0) {
        Press(throttleKey_);
        Press(kShift);
        throttleKey_ = 0;
    } else {
        Press(kShift);
        Press(wanted);
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
        // The side to come from is chosen once per gate: the one we are on when it
        // becomes the target.
        if (gate != gate_) {
            gate_ = gate;
            side_ = Dot(toUs, normal) >= 0.0f ? 1.0f : -1.0f;
        }
        const float side = side_;
        const float along = Dot(toUs, normal) * side;    // how far before the gate, km
        const float lead = along > 0.8f ? 0.5f : -0.4f;  // before it, then beyond it
        target = gate->GetPosition() + ToFixed(normal * (side * lead));
        cell = gate->GetCell();
        height = FixedToFloat(gate->GetPosition().y);
        phase_ = "gate";
        return true;
    }
    const CSPRunway* runway = route->Runway();
    if (route->Landing() && runway) {
        // Down the runway's centre line from end A toward end B: a point on the line a
        // kilometre ahead of where we are abeam, on a 4° slope to the threshold; from the
        // far side, first round to a point 4 km out on the approach.
        landing_ = true;
        const FSVector along = ToFloat(runway->GetAxisY());
        const FSVector fromA = ToFloat(WrappedDifference(aircraft->GetPosition(), aircraft->GetCell(),
                                                         runway->GetPosition(), runway->GetCell()));
        const float s = Dot(fromA, along);
        const float across = std::fabs(Dot(fromA, Cross(along, FSVector(0.0f, 1.0f, 0.0f))));
        const FSVector nose = ToFloat(aircraft->GetAxisY());
        const bool aligned = Dot(nose, along) > 0.85f;
        const bool overStrip = s >= -0.3f && s < 3.0f && across < 0.15f;
        // Established on final: out on the approach side, near the line, heading down it.
        if (!final_ && s < -2.0f && across < 0.6f && aligned) final_ = true;
        if (final_ && !(overStrip || (s < -0.3f && across < 1.0f))) final_ = false;
        const float threshold = FixedToFloat(runway->GetPosition().y);
        cell = runway->GetCell();
        if (final_) {
            target = runway->GetPosition() + ToFixed(along * std::min(s + 1.0f, 2.0f));
            height = threshold + std::max(-s, 0.0f) * 0.07f + 0.003f;
            phase_ = "final";
        } else if (s < -3.0f) {
            // Out on the approach side: onto the line a kilometre further in, level.
            target = runway->GetPosition() + ToFixed(along * (s + 1.5f));
            height = threshold + 0.3f;
            phase_ = "intercept";
        } else {
            // Too close or on the far side: out to a point 6 km before the runway.
            target = runway->GetPosition() + ToFixed(along * -6.0f);
            height = threshold + 0.3f;
            phase_ = "join";
        }
        return true;
    }
    return false;
}

void CSPScriptedPilot::Steer(CFSHeadlessRun& run, float wantedBank, float wantedPitch) {
    CSPAircraft* aircraft = run.Controller().Aircraft();
    if (!aircraft) return;
    float pitch = 0.0f, bank = 0.0f;
    aircraft->Attitude(pitch, bank);
    // As a player flies: the nose and the wings are moved toward where they should be at
    // a rate that eases off as they get there. The elevator stays where the keys leave it,
    // so a key is pressed while the nose turns slower than wanted, the other while faster;
    // the ailerons centre when let go, so a key is held while the wings roll too slowly.
    const float pitchRate = pitch - lastPitch_, bankRate = bank - lastBank_;  // rad a pass
    lastPitch_ = pitch;
    lastBank_ = bank;
    const float wantedPitchRate = std::clamp((wantedPitch - pitch) * 0.05f, -0.3f * kDegree, 0.3f * kDegree);
    const float wantedBankRate = std::clamp((wantedBank - bank) * 0.08f, -0.6f * kDegree, 0.6f * kDegree);
    int pitchKey = pitchRate < wantedPitchRate - 0.03f * kDegree   ? kDown
                   : pitchRate > wantedPitchRate + 0.03f * kDegree ? kUp
                                                                   : -1;
    // Never more than part of the elevator's travel either way: the nose answers late.
    const float elevator = aircraft->GetPitchControl();  // positive raises the nose
    if (pitchKey == kDown && elevator > aircraft->PitchMax() * 0.35f) pitchKey = -1;
    if (pitchKey == kUp && elevator < aircraft->PitchMin() * 0.35f) pitchKey = -1;
    const int rollKey = bankRate < wantedBankRate - 0.05f * kDegree   ? kLeft
                        : bankRate > wantedBankRate + 0.05f * kDegree ? kRight
                                                                      : -1;
    run.SetPadKey(kLeft, rollKey == kLeft);
    run.SetPadKey(kRight, rollKey == kRight);
    run.SetPadKey(kDown, pitchKey == kDown);
    run.SetPadKey(kUp, pitchKey == kUp);
}

void CSPScriptedPilot::Step(CFSHeadlessRun& run) {
    ++pass_;
    if (queued_ > 0) {
        // One key message a pass: a button toggles; the action key goes down, or up again.
        const int key = buttonQueue_[0];
        if (key == kAction) {
            actionDown_ = !actionDown_;
            run.SetPadKey(kAction, actionDown_);
        } else {
            run.Button(key);
        }
        std::copy(buttonQueue_ + 1, buttonQueue_ + queued_, buttonQueue_);
        --queued_;
    }
    CSPAircraft* aircraft = run.Controller().Aircraft();
    const MFSSceneNode* node = run.Controller().AircraftNode();
    if (!aircraft || !node || pass_ < 100) return;  // the engine's warm-up

    const bool glider = aircraft->ThrottleMax() <= 0.0f;
    if (!brakesOff_) {
        Press(kShift);
        Press(kAction);
        Press(kAction);
        Press(kShift);
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
    const float groundUnder =
        Ground() ? FixedToFloat(node->GetPosition().y -
                                Ground()->HeightAboveAt(node->GetPosition(), node->GetCell()))
                 : 0.0f;
    const float above = FixedToFloat(node->GetPosition().y) - groundUnder;

    if (aircraft->IsOnGround() && !landing_) {
        phase_ = "take-off";
        throttle = 1.0f;
        wantedPitch = aircraft->Airspeed() > 110.0f ? 6.0f * kDegree : 0.0f;
    } else if (!landing_ && !climbedOut_ && liftOffSpeed_ > 0.0f) {
        climbedOut_ = above >= 0.05f;
        phase_ = "climb-out";
        throttle = 1.0f;
        wantedPitch = 6.0f * kDegree;
    } else if (aiming) {
        const FSVector to = ToFloat(WrappedDifference(target, cell, node->GetPosition(), node->GetCell()));
        const float distance = std::sqrt(to.x * to.x + to.z * to.z);
        const float error = AngleBetween(HeadingOf(nose), HeadingOf(to));
        wantedBank = std::clamp(error * 1.2f, -35.0f * kDegree, 35.0f * kDegree);
        // A target inside the turning circle cannot be reached by turning: fly on and
        // come back round from further out.
        if (distance < 0.7f && std::fabs(error) > 1.0f) wantedBank = 0.0f;
        float climb = height - FixedToFloat(node->GetPosition().y);
        if (landing_ && phase_ == "final") {
            // Power for the approach speed, a little over the lift-off speed.
            const float approach = std::max(liftOffSpeed_, 90.0f) * 1.05f;
            throttle =
                glider ? 0.0f : std::clamp(0.3f + (approach - aircraft->Airspeed()) * 0.03f, 0.0f, 1.0f);
            if (!flaps_ && distance < 3.0f) {
                Press(kShift);
                Press(kFlaps);
                Press(kFlaps);
                Press(kShift);
                flaps_ = true;
            }
            if (above < 0.012f || flare_) {
                flare_ = true;
                // Over the runway: power off, wings level, the nose held up as it sinks.
                phase_ = "flare";
                throttle = 0.0f;
                wantedBank = 0.0f;
                climb = -0.007f;  // a metre a second down
            }
        }
        // Keep clear of the ground whatever the target asks.
        if (above < 0.03f && !landing_) climb = std::max(climb, 0.05f);
        // The height comes from the climb rate, the climb rate from the nose: the nose is
        // raised or lowered by as much as the climb rate is off.
        const float wantedClimbRate =
            std::clamp(climb * 1000.0f * 0.15f, phase_ == "final" ? -5.0f : -7.0f, 7.0f);  // m/s
        float pitchNow = 0.0f, bankNow = 0.0f;
        aircraft->Attitude(pitchNow, bankNow);
        wantedPitch = std::clamp(
            pitchNow +
                std::clamp((wantedClimbRate - aircraft->VerticalSpeed()) * 0.5f, -4.0f, 4.0f) * kDegree,
            -10.0f * kDegree, 12.0f * kDegree);
        if (climb > 0.05f) throttle = 1.0f;
        if (glider && phase_ != "flare") {
            // Without an engine the nose holds the gliding speed, faster while there is
            // height to spare over the target.
            const float speed = climb < -0.1f ? 85.0f : 64.0f;
            wantedPitch = std::clamp(
                pitchNow + std::clamp((aircraft->Airspeed() - speed) * 0.25f, -3.0f, 3.0f) * kDegree,
                -15.0f * kDegree, 8.0f * kDegree);
        }
        if (phase_ == "flare") wantedPitch = std::max(wantedPitch, 2.0f * kDegree);
    } else {
        phase_ = "out";
        wantedPitch = 3.0f * kDegree;
    }
    // The slowest the pilot flies: a little over the lift-off speed, or for a start in the
    // air three quarters of the speed the aircraft was trimmed for.
    if (!aircraft->IsOnGround() && liftOffSpeed_ == 0.0f)
        liftOffSpeed_ = std::max(pass_ < 120 ? aircraft->Airspeed() * 0.7f : aircraft->Airspeed(), 60.0f);
    if (liftOffSpeed_ > 0.0f && !aircraft->IsOnGround() && phase_ != "flare") {
        const float slow = liftOffSpeed_ * 1.1f - aircraft->Airspeed();
        if (slow > 0.0f) wantedPitch -= std::min(slow * 0.6f, 15.0f) * kDegree;
        if (slow > 0.0f && phase_ != "final") throttle = 1.0f;
    }
    if (aircraft->IsOnGround() && landing_) {
        phase_ = "rollout";
        throttle = 0.0f;
        wantedPitch = 0.0f;
        if (!stopping_) {
            Press(kShift);
            Press(kAction);  // brakes held down
            stopping_ = true;
        }
    }
    if (!glider) SetThrottle(run, throttle);
    Steer(run, wantedBank, wantedPitch);
    if (log_ && pass_ % 60 == 0) {
        float pitch = 0.0f, bank = 0.0f;
        aircraft->Attitude(pitch, bank);
        const CSPRoute* route = run.Controller().Route();
        std::fprintf(
            stderr,
            "%6d %-9s V%4.0f above%6.3f pitch%5.1f/%5.1f bank%6.1f/%6.1f thr%3.0f gates %d score %d%s\n",
            pass_, phase_.c_str(), aircraft->Airspeed(), above, pitch / kDegree, wantedPitch / kDegree,
            bank / kDegree, wantedBank / kDegree, aircraft->ThrottleFraction() * 100.0f,
            route ? route->DealtWith() : 0, run.Controller().Score(),
            aircraft->IsAutopilot() || aircraft->IsInstructor() ? " aids on" : "");
    }
}
