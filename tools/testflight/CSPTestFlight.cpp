#include "testflight/CSPTestFlight.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPAircraft.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "testflight/CSPTestWorld.h"
#include "world/FSDamageable.h"
#include "world/FSFixed.h"
#include "world/FSInverseCone.h"
#include "world/FSMeshedNode.h"
#include "world/FSPropellerL.h"
#include "world/FSScene.h"
#include "world/FSTerrainStorage.h"

namespace {

FSFixed X(float value) {
    return FloatToFixed(value);
}

// The scene-object lines of an aircraft description that the test flight uses.
struct AircraftObjects {
    std::string mesh = "cube.obj";
    std::string texture = "red.png";
    float scale = 0.008f;
    float distance = -12.0f;  // metres along the nose (behind it)
    float height = 3.0f;
    bool propeller = false;
    bool jet = false;
    float placement[3] = {0.0f, 0.0f, 0.0f};  // metres along the nose, up and sideways
    bool glider = false;                      // no thrust at full throttle
    bool difficulty = false;                  // the file sets the sensitivity centres
    float centres[3] = {0.1f, 0.0f, 0.05f};   // joystick, balance, touch screen
};

// The chase camera's eye stays at least this high above the ground (16.16 km, 2 m).
constexpr FSFixed kCameraClearance = 131;

// Where a glider starts: this far (km) before the strip and this high above the ground.
constexpr float kGliderStartBack = 1.6f;
constexpr float kGliderStartHeight = 0.35f;

AircraftObjects ReadObjects(int aircraftIndex) {
    AircraftObjects objects;
    char member[32];
    std::snprintf(member, sizeof member, "Aircraft%d.txt", aircraftIndex + 1);
    const FSMemoryBlock text = ReadArchiveText(MakeDataPath("data\\aircrafts.zip"), member);
    if (!text) return objects;
    ForEachWordLine(TextOf(text), [&objects](std::string_view line) {
        FSWords words(line);
        const std::string_view key = words.Next();
        if (key == "Model") {
            objects.mesh = std::string(words.Next());
            objects.texture = std::string(words.Next());
            objects.scale = words.NextFloat();
        } else if (key == "Distance") {
            objects.distance = words.NextFloat();
            objects.height = words.NextFloat();
        } else if (key == "Difficulty") {
            objects.difficulty = true;
            for (float& value : objects.centres)
                value = words.NextFloat();
        } else if (key == "Throttle") {
            words.NextFloat();
            objects.glider = words.NextFloat() <= 0.0f;
        } else if (key == "Propeller" || key == "Jet") {
            (key == "Propeller" ? objects.propeller : objects.jet) = true;
            for (float& value : objects.placement)
                value = words.NextFloat();
        }
    });
    return objects;
}

}  // namespace

bool CSPTestFlight::Build(CSPTestWorld& world, int aircraftIndex) {
    CFSApplicationContext& context = *GetApplicationContext();
    CFSEngine* engine = context.engine.get();
    if (!engine || !context.sceneRoot) return false;
    const AircraftObjects objects = ReadObjects(aircraftIndex);
    // The aircraft's difficulty moves the middle of each sensitivity setting.
    if (objects.difficulty) {
        context.game.joystickCentre = objects.centres[0];
        context.game.xyCentre = objects.centres[1];
        context.game.touchscreenCentre = objects.centres[2];
        DeriveControlGains(context.game);
    }
    node_ = engine->CreateMeshedNode(objects.mesh, objects.texture);
    if (!node_) return false;
    const FSFixed scale = X(objects.scale);
    node_->Scale({scale, scale, scale});
    chaseDistance_ = objects.distance * 0.001f;
    chaseHeight_ = objects.height * 0.001f;

    // At the start of the level strip, nose along +z (the strip's length), wheels on the
    // ground: the model's lowest point rests on the terrain. A glider cannot take off by
    // itself: it starts as after a winch launch, high above the approach to the strip, and
    // its load trims it into level flight there.
    const bool glider = objects.glider;
    const float x = world.CentreX(), z = world.CentreZ() - (glider ? kGliderStartBack : 0.35f);
    const FSBox* box = node_->GetModel();
    const float lowest = box && !box->IsEmpty() ? FixedToFloat(box->min.z) : 0.0f;
    node_->SetCell(world.Cell());
    const float height = world.GroundHeight(x, z) - lowest + (glider ? kGliderStartHeight : 0.0f);
    const FSFixedVector start{X(x), X(height), X(z)};
    node_->SetPosition(start);
    node_->Move(start);
    node_->LookAlong(FSVector(0.0f, 0.0f, 1.0f), FSVector(0.0f, 1.0f, 0.0f));
    node_->SaveOrientation();

    aircraft_ = &CreateFlightAircraft(*node_, FSVector(0.0f, 0.0f, 0.0f), aircraftIndex, context.sineTable);
    aircraft_->SetControlSettings(context.game, context.frame);
    if (objects.propeller) {
        if (TFSPropellerL* propeller = engine->CreatePropeller(node_)) {
            // The placement values are metres in the model; the offsets are world km.
            if (objects.placement[0] != 0.0f || objects.placement[1] != 0.0f ||
                objects.placement[2] != 0.0f) {
                propeller->SetOffsets(X(objects.placement[0] * objects.scale),
                                      X(objects.placement[1] * objects.scale),
                                      X(objects.placement[2] * objects.scale));
            }
        }
    }
    if (objects.jet) {
        auto flame = std::make_unique<TFSInverseCone>(node_, context.sineTable);
        flame->SetPlacement(X(objects.placement[0] * objects.scale), X(objects.placement[1] * objects.scale),
                            X(objects.placement[2] * objects.scale));
        node_->AddChild(std::move(flame));
    }
    aircraft_->GroundContact(true);
    context.playerAircraft = node_;
    crashed_ = false;
    return true;
}

bool CSPTestFlight::Update() {
    if (!aircraft_) return true;
    if (!crashed_ && !aircraft_->GroundContact(false)) {
        // The ground check stopped it where it hit; it stays there, as it lies.
        crashed_ = true;
        crashPosition_ = node_->GetPosition();
        crashOrientation_ = node_->GetOrientation();
    }
    if (!crashed_) aircraft_->AnalogStep();  // the stick steers as in a route's flight
    if (crashed_) {
        // The force model goes on stepping the aircraft (gravity, the engine at idle):
        // each frame takes it back to where it hit, still.
        aircraft_->SetThrottle(aircraft_->ThrottleMin());
        aircraft_->Stop();
        node_->Place(crashPosition_);
        node_->SetOrientation(crashOrientation_);
    }
    return !crashed_;
}

bool CSPTestFlight::Command(int action) {
    if (!aircraft_ || crashed_) return false;
    return aircraft_->HandleCommand(action, 0);
}

void CSPTestFlight::PlaceCamera() const {
    if (!node_) return;
    const CFSApplicationContext& context = *GetApplicationContext();
    CFSCamera& camera = context.sceneRoot->Camera();
    const FSFixedVector position = node_->GetPosition();
    const FSFixedVector nose = node_->GetAxisY();
    // Behind along the nose's horizontal direction, and above: the horizon stays level
    // however the aircraft banks.
    const float nx = FixedToFloat(nose.x), nz = FixedToFloat(nose.z);
    const float h = std::sqrt(nx * nx + nz * nz);
    const float bx = h > 1e-3f ? nx / h : 0.0f, bz = h > 1e-3f ? nz / h : 1.0f;
    // The chase distance is measured along the nose: negative is behind the aircraft.
    FSFixedVector eye{position.x + X(bx * chaseDistance_), position.y + X(chaseHeight_),
                      position.z + X(bz * chaseDistance_)};
    // Never under the ground: behind an aircraft rolling down a slope, or one that lies
    // where it crashed, the eye rises to stand above the ground.
    if (const CFSTerrainStorage* terrain = FlightTerrain()) {
        const FSFixed above = terrain->HeightAboveAt(eye, node_->GetCell());
        if (above < kCameraClearance) eye.y += kCameraClearance - above;
    }
    const FSFixedVector target{position.x - X(bx * chaseDistance_), position.y + X(chaseHeight_ * 0.5f),
                               position.z - X(bz * chaseDistance_)};
    camera.SetCell(node_->GetCell());
    camera.LookAt(eye, target, {0, kFixedOne, 0}, context.game.screenAlign);
}

std::string CSPTestFlight::StatusText() const {
    if (!aircraft_) return {};
    if (crashed_) return "[CRASH]";
    // A hard landing leaves its mark: the aircraft flies on, but the next one may wreck it.
    const MFSDamageable* damage = DamageOf(*node_);
    const bool damaged = damage && damage->health < damage->maxHealth;
    char text[64];
    // A short line each, so the column stays clear of the clock at the right.
    std::snprintf(text, sizeof text, "V:%.0fkm/h\nH:%.0fm\nT:%.0f%%", aircraft_->Airspeed(),
                  aircraft_->Altitude() * 1000.0f, aircraft_->ThrottleFraction() * 100.0f);
    std::string status = text;
    const std::pair<bool, const char*> flags[] = {{true, aircraft_->IsOnGround() ? "[RUN]" : "[FLY]"},
                                                  {damaged, "[DAMAGED]"},
                                                  {aircraft_->IsFlaps(), "[FLAPS]"},
                                                  {aircraft_->IsBrakes(), "[BRAKES]"},
                                                  {aircraft_->IsAutopilot(), "[AUTO]"},
                                                  {aircraft_->IsInstructor(), "[INSTRUCTOR]"},
                                                  {aircraft_->IsStalling(), "[STALL]"}};
    for (const auto& [on, flag] : flags)
        if (on) status += std::string("\n") + flag;
    return status;
}
