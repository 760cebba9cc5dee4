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

// Fast aircraft bank steeper, up to 60°, so that they turn about as tight as the light
// ones do at 35°.
float MaxBank(float kmh) {
    return std::clamp(35.0f + (kmh - 200.0f) * 0.25f, 35.0f, 60.0f) * kDegree;
}

// The radius of a level turn at the steepest bank the pilot flies, km.
float TurnRadius(const CSPAircraft& aircraft) {
    const float speed = aircraft.Airspeed() / 3.6f;  // m/s
    return speed * speed / (9.81f * std::tan(MaxBank(aircraft.Airspeed()))) / 1000.0f;
}

bool IsGlider(const CSPAircraft& aircraft) {
    return aircraft.ThrottleMax() <= 0.0f;
}

const CFSTerrainStorage* Ground() {
    const CFSTerrainHolder* holder = GetApplicationContext()->terrain.get();
    return holder && holder->IsLoaded() ? holder->model.get() : nullptr;
}

// The highest ground over the next ten seconds straight ahead, km over the aircraft (so
// negative while it is below).
float GroundAhead(const MFSSceneNode& node, float kmh) {
    const CFSTerrainStorage* ground = Ground();
    if (!ground) return -1.0f;
    FSVector ahead = ToFloat(node.GetAxisY());
    ahead.y = 0.0f;
    const float length = std::sqrt(ahead.x * ahead.x + ahead.z * ahead.z);
    if (length < 0.1f) return -1.0f;
    float highest = -1.0f;
    for (int second = 2; second <= 10; second += 2) {
        const FSFixedVector at = node.GetPosition() + ToFixed(ahead * (kmh / 3600.0f * second / length));
        highest = std::max(highest, -FixedToFloat(ground->HeightAboveAt(at, node.GetCell())));
    }
    return highest;
}

}  // namespace

void CSPScriptedPilot::Press(int key) {
    if (queued_ < 8) buttonQueue_[queued_++] = key;
}

void CSPScriptedPilot::SetThrottle(CFSHeadlessRun& run, float fraction) {
    CSPAircraft* aircraft = run.Controller().Aircraft();
    chordWaiting_ = false;
    if (!aircraft || queued_ > 0) return;
    const float now = aircraft->ThrottleFraction();
    const int wanted = fraction > now + 0.02f ? kThrottleMore : fraction < now - 0.02f ? kThrottleLess : 0;
    if (wanted == throttleKey_) return;
    // Let go of the chord being held, or take hold of the one needed.
    if (throttleKey_ != 0) {
        Press(throttleKey_);
        Press(kShift);
        throttleKey_ = 0;
    } else if (rollHeld_) {
        // A side key let go under the shift would be taken as the rudder's, and the
        // aileron would stay out: let go of it first.
        chordWaiting_ = true;
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
    const CSPAircraft* flying = run.Controller().Aircraft();
    const bool glider = flying && IsGlider(*flying);
    const CSPObstacle* gate = route->CurrentTarget();
    if (gate && gate == given_up_) gate = nullptr;
    if (gate) {
        // Fly at the gate along its opening: aim at a point before it on our side until
        // close, then through its middle to a point beyond.
        const FSVector normal = ToFloat(gate->GetAxisZ());
        const FSVector toUs = ToFloat(WrappedDifference(aircraft->GetPosition(), aircraft->GetCell(),
                                                        gate->GetPosition(), gate->GetCell()));
        // The side to come from is chosen once per gate: the one we are on when it
        // becomes the target.
        if (gate != gate_) {
            if (log_ && gate_)
                std::fprintf(stderr, "%6d gate passed %+.0f m aside, %+.0f m up, score %d\n", pass_,
                             gateOffset_[0] * 1000.0f, gateOffset_[1] * 1000.0f, route->Score());
            gate_ = gate;
            side_ = Dot(toUs, normal) >= 0.0f ? 1.0f : -1.0f;
        }
        // Past it and missed: come back round and fly it from the other side.
        if (Dot(toUs, normal) * side_ < -0.8f) side_ = -side_;
        const float side = side_;
        const float along = Dot(toUs, normal) * side;  // how far before the gate, km
        gateOffset_[0] = Dot(toUs, Cross(normal, FSVector(0.0f, 1.0f, 0.0f))) * side;
        gateOffset_[1] = toUs.y;
        gateAlong_ = along;
        // Onto the line through the gate: aim at the point on it a lead ahead of where we
        // are abeam, the lead a turning circle and a half, so that the aircraft is on the
        // line before the gate; from close in, at a point beyond it.
        const float lead =
            along > 0.15f ? std::max(along - std::max(0.5f, 1.5f * TurnRadius(*flying)), -0.4f) : -0.4f;
        target = gate->GetPosition() + ToFixed(normal * (side * lead));
        cell = gate->GetCell();
        height = FixedToFloat(gate->GetPosition().y);
        if (glider && along > 0.0f) {
            // A glider aims along its gliding slope down to the gate, and gives up a gate it
            // can no longer reach above it when there is a runway to glide to.
            constexpr float kGlide = 1.0f / 15.0f;
            height += along * kGlide;
            if (route->Landing() && -toUs.y > along * kGlide * 0.8f + 0.03f) given_up_ = gate;
        }
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
        } else if (s < -3.0f || (intercepting_ && s < -1.0f)) {
            // Held until on the final or too close in, or the turn back onto the line
            // (which takes the aircraft closer again) would send it out once more.
            intercepting_ = true;
            // Out on the approach side: onto the line a kilometre further in, level.
            target = runway->GetPosition() + ToFixed(along * (s + 1.5f));
            height = threshold + 0.3f;
            phase_ = "intercept";
        } else {
            intercepting_ = false;
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
    // As a player flies: the nose is moved toward where it should be at a rate that eases
    // off as it gets there. The elevator stays where the keys leave it, so a key is
    // pressed while the nose turns slower than wanted, the other while faster.
    const float pitchRate = pitch - lastPitch_;  // rad a pass
    lastPitch_ = pitch;
    const float wantedPitchRate = std::clamp((wantedPitch - pitch) * 0.05f, -0.3f * kDegree, 0.3f * kDegree);
    int pitchKey = pitchRate < wantedPitchRate - 0.03f * kDegree   ? kDown
                   : pitchRate > wantedPitchRate + 0.03f * kDegree ? kUp
                                                                   : -1;
    // Never more than part of the elevator's travel either way: the nose answers late.
    // A fast aircraft needs more of it to hold the nose down.
    const float elevator = aircraft->GetPitchControl();  // positive raises the nose
    if (pitchKey == kDown && elevator > aircraft->PitchMax() * 0.35f) pitchKey = -1;
    if (pitchKey == kUp && elevator < aircraft->PitchMin() * 0.6f) pitchKey = -1;
    // The wings answer the ailerons at once, rolling about as fast as they are out: they
    // are put out by as much as the bank is off (a share of their travel, left for a bank
    // to the left). Let go, they go on centring, so to hold them out the key is pressed
    // again whenever they have come back inside the wanted deflection.
    const float share = std::clamp(0.04f * (wantedBank - bank) / kDegree, -0.6f, 0.6f);
    const float wanted = share > 0.0f ? share * aircraft->RollMin() : -share * aircraft->RollMax();
    const float tolerance = 0.03f * aircraft->RollMax();
    const float now = aircraft->GetRollControl();
    int rollKey = now > wanted + tolerance ? kLeft : now < wanted - tolerance ? kRight : -1;
    if (rollKey == -1 && std::fabs(wanted) > tolerance)
        rollKey = wanted < 0.0f ? (now >= wanted ? kLeft : -1) : (now <= wanted ? kRight : -1);
    // While the throttle chord is held the side keys would work the rudder: hands off them.
    const bool chord = throttleKey_ != 0 || queued_ > 0 || chordWaiting_;
    rollHeld_ = rollKey != -1 && !chord;
    run.SetPadKey(kLeft, rollKey == kLeft && !chord);
    run.SetPadKey(kRight, rollKey == kRight && !chord);
    run.SetPadKey(kDown, pitchKey == kDown);
    run.SetPadKey(kUp, pitchKey == kUp);
}

void CSPScriptedPilot::SendQueued(CFSHeadlessRun& run) {
    if (queued_ == 0) return;
    // One key message a pass: a button toggles; the action key goes down, or up again.
    const int key = buttonQueue_[0];
    if (key == kAction) {
        actionDown_ = !actionDown_;
        run.SetPadKey(kAction, actionDown_);
    } else {
        run.Button(key);
        if (key >= kHotKeyButton1 && key < kHotKeyButton1 + 5)
            buttonDown_[key - kHotKeyButton1] = !buttonDown_[key - kHotKeyButton1];
    }
    std::copy(buttonQueue_ + 1, buttonQueue_ + queued_, buttonQueue_);
    --queued_;
}

bool CSPScriptedPilot::LetGo(CFSHeadlessRun& run) {
    for (int key = kLeft; key <= kDown; ++key)
        run.SetPadKey(key, false);
    if (queued_ == 0) {
        // What is still held, in the order a hand lets go: the action key and the other
        // buttons of a chord before its shift.
        if (actionDown_) Press(kAction);
        for (int button = 0; button < 5; ++button) {
            if (buttonDown_[button] && kHotKeyButton1 + button != kShift) Press(kHotKeyButton1 + button);
        }
        if (buttonDown_[kShift - kHotKeyButton1]) Press(kShift);
        throttleKey_ = 0;
        chordWaiting_ = false;
        if (queued_ == 0) return true;
    }
    SendQueued(run);
    return false;
}

void CSPScriptedPilot::HopStep(float above, float& wantedPitch, float& throttle) {
    if (dive_) {
        phase_ = "dive";
        return;
    }
    // A few metres up on the climb-out's attitude, then the power off and the nose held a
    // little up while it settles back onto the runway.
    if (above > standingAbove_ + 0.004f) hopTop_ = true;
    landing_ = hopTop_;
    phase_ = hopTop_ ? "flare" : "hop";
    throttle = hopTop_ ? 0.0f : 1.0f;
    wantedPitch = 3.0f * kDegree;
}

void CSPScriptedPilot::Step(CFSHeadlessRun& run) {
    ++pass_;
    SendQueued(run);
    CSPAircraft* aircraft = run.Controller().Aircraft();
    const MFSSceneNode* node = run.Controller().AircraftNode();
    if (!aircraft || !node || pass_ < 100) return;  // the engine's warm-up

    const bool glider = IsGlider(*aircraft);
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

    if (standingAbove_ < 0.0f) standingAbove_ = aircraft->IsOnGround() ? above : 0.0f;

    if ((hop_ && liftOffSpeed_ > 0.0f && standingAbove_ > 0.0f) || (dive_ && climbedOut_)) {
        HopStep(above, wantedPitch, throttle);
    } else if (aircraft->IsOnGround() && !landing_) {
        phase_ = "take-off";
        throttle = 1.0f;
        // A hop lifts off on a flatter attitude: it has only a few metres to climb.
        wantedPitch = aircraft->Airspeed() > 110.0f ? (hop_ ? 3.0f : 6.0f) * kDegree : 0.0f;
    } else if (!landing_ && !climbedOut_ && liftOffSpeed_ > 0.0f) {
        climbedOut_ = above >= 0.05f;
        phase_ = "climb-out";
        throttle = 1.0f;
        wantedPitch = 6.0f * kDegree;
    } else if (aiming) {
        const FSVector to = ToFloat(WrappedDifference(target, cell, node->GetPosition(), node->GetCell()));
        const float distance = std::sqrt(to.x * to.x + to.z * to.z);
        const float error = AngleBetween(HeadingOf(nose), HeadingOf(to));
        aimDistance_ = distance;
        aimError_ = error;
        aimHeight_ = height - FixedToFloat(node->GetPosition().y);
        const float speed = aircraft->Airspeed();
        const float maxBank = MaxBank(speed);
        const float radius = TurnRadius(*aircraft);
        wantedBank = std::clamp(error * 2.0f, -maxBank, maxBank);
        // A target inside the turning circle cannot be reached by turning: fly on and
        // come back round from further out.
        if (distance < std::max(0.7f, 2.0f * radius) && std::fabs(error) > 1.0f) wantedBank = 0.0f;
        // A jet is held to a speed it can turn at.
        if (speed > 330.0f) throttle = std::clamp(0.8f - (speed - 330.0f) * 0.01f, 0.3f, 0.8f);
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
        // Keep clear of the ground whatever the target asks, also of the ground the next
        // ten seconds bring.
        if (above < 0.03f && !landing_) climb = std::max(climb, 0.05f);
        // Lined up for a gate close ahead, the gate's height is safe.
        const bool linedUp =
            phase_ == "gate" && gateAlong_ > 0.0f && gateAlong_ < 1.5f && std::fabs(gateOffset_[0]) < 0.1f;
        const float clearance =
            landing_ || linedUp ? -1.0f : GroundAhead(*node, aircraft->Airspeed()) + 0.04f;
        const bool rising = clearance > climb;  // climb as steeply as it takes
        climb = std::max(climb, clearance);
        // The height comes from the climb rate, the climb rate from the nose: the nose is
        // raised or lowered by as much as the climb rate is off.
        const float steepest = phase_ == "final" ? 5.0f : 7.0f;
        const float wantedClimbRate =
            std::clamp(climb * 1000.0f * 0.3f, -steepest, rising ? 20.0f : 7.0f);  // m/s
        float pitchNow = 0.0f, bankNow = 0.0f;
        aircraft->Attitude(pitchNow, bankNow);
        wantedPitch = std::clamp(
            pitchNow +
                std::clamp((wantedClimbRate - aircraft->VerticalSpeed()) * 0.5f, -4.0f, 4.0f) * kDegree,
            -10.0f * kDegree, 12.0f * kDegree);
        if (climb > 0.05f) throttle = 1.0f;
        // A fast aircraft comes down on less power, or its speed lifts the nose again.
        if (speed > 240.0f && climb < -0.03f) throttle = std::min(throttle, 0.4f);
        // Without an engine the nose holds the gliding speed, faster while there is height
        // to spare over the target; close before a gate it aims at the gate's height like a
        // powered aircraft.
        const bool gateClose = phase_ == "gate" && gateAlong_ > 0.0f && gateAlong_ < 0.8f;
        if (glider && phase_ != "flare" && !gateClose) {
            const float glidingSpeed = climb < -0.1f ? 85.0f : 64.0f;
            wantedPitch =
                std::clamp(pitchNow + std::clamp((speed - glidingSpeed) * 0.25f, -3.0f, 3.0f) * kDegree,
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
    if (phase_ == "dive") {
        // Hands off the throttle (under its chord's shift the pad works other controls),
        // then the stick held forward all the way.
        if (!glider) SetThrottle(run, aircraft->ThrottleFraction());
        const bool free = throttleKey_ == 0 && queued_ == 0;
        for (int key = kLeft; key <= kDown; ++key)
            run.SetPadKey(key, free && key == kUp);
        return;
    }
    if (!glider) SetThrottle(run, throttle);
    Steer(run, wantedBank, wantedPitch);
    if (hop_ && !aircraft->IsOnGround()) {
        // So low, a nose that rose past the attitude is pushed down at once, with the
        // whole of the elevator's travel: a hop has no height to stall in.
        float pitch = 0.0f, bank = 0.0f;
        aircraft->Attitude(pitch, bank);
        if (pitch > wantedPitch + 3.0f * kDegree) {
            run.SetPadKey(kUp, true);
            run.SetPadKey(kDown, false);
        }
    }
    if (log_ && pass_ % 60 == 0) {
        float pitch = 0.0f, bank = 0.0f;
        aircraft->Attitude(pitch, bank);
        const CSPRoute* route = run.Controller().Route();
        std::fprintf(stderr,
                     "%6d %-9s V%4.0f above%6.3f pitch%5.1f/%5.1f bank%6.1f/%6.1f thr%3.0f aim%5.2f "
                     "km%+5.0f%+5.0f m gate%6.2f km%+5.0f%+5.0f m gates %d "
                     "score %d%s\n",
                     pass_, phase_.c_str(), aircraft->Airspeed(), above, pitch / kDegree,
                     wantedPitch / kDegree, bank / kDegree, wantedBank / kDegree,
                     aircraft->ThrottleFraction() * 100.0f, aimDistance_, aimError_ / kDegree,
                     aimHeight_ * 1000.0f, gateAlong_, gateOffset_[0] * 1000.0f, gateOffset_[1] * 1000.0f,
                     route ? route->DealtWith() : 0, run.Controller().Score(),
                     aircraft->IsAutopilot() || aircraft->IsInstructor() ? " aids on" : "");
    }
}
