// CSPAircraft: construction and load, flaps and brakes, the force step and the command
// dispatch; the creation of the player's aircraft. Ground contact is in
// CSPAircraftGround.cpp, the instructor in CSPAircraftInstructor.cpp.
#include "game/CSPAircraft.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/FSApplicationContext.h"
#include "flight/FSFlightCommands.h"
#include "game/MSPProperty.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "world/FSDamageable.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainHolder.h"

namespace {

constexpr float kPi = 3.14159265f;
// A frame of flight at the nominal rate (0.05 s × 4): the damage of a touch-down is
// judged against the impulse of so many g over one frame.
constexpr float kFrameSeconds = 0.05f * 4.0f;
// 3 g, 4 g and 10 g in km/s².
constexpr float kThresholdG = 0.029419949f;
constexpr float kHealthG = 0.039226599f;
constexpr float kFatalG = 0.098066494f;

}  // namespace

const CFSTerrainStorage* FlightTerrain() {
    const CFSApplicationContext* context = GetApplicationContext();
    if (!context->terrain || !context->terrain->IsLoaded()) return nullptr;
    return context->terrain->model.get();
}

CSPAircraft::CSPAircraft(MFSSceneNode& node, const FSVector& velocity, const SineTable& sine)
    : CFSAircraft(node, velocity, sine) {
    SetSurfaceCount(kBaseSurfaceCount + 1);
}

CSPAircraft::~CSPAircraft() = default;

// ---- Load ----

void CSPAircraft::Load(const std::string& memberName) {
    CFSAircraft::Load(memberName);
    DeriveGameSurfaces();
}

void CSPAircraft::LoadText(const FSMemoryBlock& text) {
    LoadDescription(text);
    DeriveGameSurfaces();
}

void CSPAircraft::DeriveGameSurfaces() {
    // The description load keeps the plate count; a cut-down aircraft has no flaps.
    if (surfaces.size() <= static_cast<size_t>(flapSurface)) return;

    // The flaps sit between the wings at their mean incidence, with the ailerons' area,
    // which the wings give up so that the lifting area stays as described.
    AircraftSurface& flap = surfaces[static_cast<size_t>(flapSurface)];
    const AircraftSurface& leftWing = surfaces[kLeftWing];
    const AircraftSurface& rightWing = surfaces[kRightWing];
    flap.position = (leftWing.position + rightWing.position) * 0.5f;
    flap.incidence = (rightWing.incidence + leftWing.incidence) * 0.5f;
    flap.dihedral = 0.0f;
    flap.area = surfaces[kRightAileron].area + surfaces[kLeftAileron].area;
    surfaces[kLeftWing].area -= surfaces[kLeftAileron].area;
    surfaces[kRightWing].area -= surfaces[kRightAileron].area;

    flapMin = -flap.incidence;
    flapMax = kFlapsDown;
    // A sub-step moves an eighth of this: 160 sub-steps from up to down.
    flapTravel = (kFlapsDown - flapMin) * 0.05f;
    flapAngle = flapMin;

    frictionScale = 0.0003f;
    // The steering lever: nose wheel to centre of gravity. Plate positions are relative
    // to the centre of gravity by now; the centre itself is in the file's own datum and
    // does not enter, or the same aircraft would steer differently about another datum.
    wheelBase = Length(surfaces[kFuselageNose].position);
    steeringMax = kSteeringMax;
    brakeMax = kBrakeMax;

    KeepUpright(angularVelocity.y > 0.0f ? kPi + 1e-6f : kPi - 1e-6f);
}

void CSPAircraft::KeepUpright(float turn) {
    MFSSceneNode& node = GetNode();
    const FSFixedVector bodyUp = ToFixed(BodyToWorld(node.GetOrientation(), up));
    if (Dot(node.GetAxisZ(), bodyUp) < 0) node.Rotate(forward, turn);
}

// ---- Flaps and brakes ----

void CSPAircraft::SetFlaps(bool on) {
    flaps = on;
    // Toward the commanded end and no further. Wings set steeper than full flap put the
    // retracted end above the extended one; the flaps still stop at either end.
    const float step = std::fabs(flapTravel * 0.125f);
    const float end = on ? flapMax : flapMin;
    flapAngle = flapAngle < end ? std::min(flapAngle + step, end) : std::max(flapAngle - step, end);
    if (surfaces.size() > static_cast<size_t>(flapSurface))
        surfaces[static_cast<size_t>(flapSurface)].incidence = -flapAngle;
}

void CSPAircraft::SetBrakes(bool on) {
    brakes = on;
    const float step = brakeMax * 0.2f;
    brakeLevel = on ? std::min(brakeLevel + step, brakeMax) : std::max(brakeLevel - step, 0.0f);
}

// ---- Force step ----

void CSPAircraft::ComputeForces() {
    if (instructor) InstructorStep();
    // Flaps and brakes travel on toward their commanded state.
    SetFlaps(flaps);
    SetBrakes(brakes);
    CFSAircraft::ComputeForces();
    if (onGround) RollingForces();
}

// ---- Commands ----

bool CSPAircraft::HandleCommand(int code, int parameter) {
    bool result = CFSAircraft::HandleCommand(code, parameter);
    switch (code) {
        case kCommandBrakes:
            // Held brakes are the player's even while the instructor flies.
            SetBrakes(true);
            return true;
        case kCommandBrakesReleased:
            SetBrakes(false);
            result = true;
            break;
        case kCommandFlapsToggle:
            SetFlaps(!flaps);
            result = true;
            break;
        case kCommandInstructorToggle:
            SetInstructor(!instructor);
            result = true;
            break;
        default:
            break;
    }
    // The instructor undoes whatever the player's command did to the controls.
    if (instructor) SetInstructor(true);
    return result;
}

void CSPAircraft::AnalogStep() {
    if (!instructor) CFSAircraft::AnalogStep();
}

void CSPAircraft::SetInstructor(bool on) {
    instructor = on;
    if (on) {
        SetAutopilot(false);
        SetFlaps(false);
        SetBrakes(false);
        CentreAileron();
        CentreElevator();
        CentreRudder();
    } else {
        // Leaving the instructor in the air hands the aircraft to the autopilot.
        SetAutopilot(!onGround);
    }
}

// ---- Creation for a flight ----

namespace {

// The "Damage" line of a description, in the file's units (m/s, m/s, degrees, km/h); a
// value that is missing, not a number or not above 0 reads as 0.
struct TouchdownFigures {
    float harmlessSink = 0.0f;
    float wreckingSink = 0.0f;
    float tipBank = 0.0f;
    float landingSpeed = 0.0f;
};

TouchdownFigures ReadTouchdownFigures(std::string_view text) {
    TouchdownFigures figures;
    ForEachWordLine(text, [&figures](std::string_view line) {
        FSWords words(line);
        if (words.Next() != "Damage") return;
        for (float* value :
             {&figures.harmlessSink, &figures.wreckingSink, &figures.tipBank, &figures.landingSpeed}) {
            const float read = words.NextFloat();
            *value = std::isfinite(read) && read > 0.0f ? read : 0.0f;
        }
    });
    return figures;
}

}  // namespace

CSPAircraft& CreateFlightAircraft(MFSSceneNode& node, const FSVector& velocity, int aircraftIndex,
                                  const SineTable& sine, const std::string& archivePath) {
    auto aircraft = std::make_unique<CSPAircraft>(node, velocity, sine);
    if (!archivePath.empty()) aircraft->SetDescriptionArchive(archivePath);
    char member[32];
    std::snprintf(member, sizeof member, "Aircraft%d.txt", aircraftIndex + 1);
    const FSMemoryBlock text = ReadArchiveText(aircraft->DescriptionArchive(), member);
    aircraft->LoadText(text);
    const TouchdownFigures figures = ReadTouchdownFigures(TextOf(text));

    // An impact is mass × sink rate × the impact share. Without the file's sinks the limits
    // are so many g of deceleration over one frame, in proportion to the loaded mass (empty
    // with a full tank).
    const float mass = aircraft->GetMass();
    const float impulse = mass * kFrameSeconds;
    const auto sinkImpact = [mass](float metresPerSecond) {
        return mass * metresPerSecond * 0.001f * CSPAircraft::kImpactShare;
    };
    const float threshold =
        figures.harmlessSink > 0.0f ? sinkImpact(figures.harmlessSink) : impulse * kThresholdG;
    const float health = figures.wreckingSink > 0.0f ? sinkImpact(figures.wreckingSink) : impulse * kHealthG;
    node.SetSecondAttachment(std::make_unique<MFSDamageable>(threshold, health, health, impulse * kFatalG));
    aircraft->SetTouchdownLimits(figures.tipBank * kPi / 180.0f, figures.landingSpeed / 3600.0f);
    node.SetProperty(std::make_unique<MSPProperty>(kPropertyPlayerAircraft));

    CSPAircraft& result = *aircraft;
    node.SetMoveableObject(std::move(aircraft));
    return result;
}
