// The flight's instruments: the aircraft's cockpit with its artificial horizon, the strip
// compass aimed at the next gate, the strip altimeter showing the height above the ground,
// and the target indicator; made with the flight, fed and drawn every frame.
#include <cmath>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPAircraft.h"
#include "game/CSPGameController.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "game/CSPRunway.h"
#include "hud/FSAltimeter.h"
#include "hud/FSArtificialHorizon.h"
#include "hud/FSCockpit.h"
#include "hud/FSCompass.h"
#include "hud/FSHudBlit.h"
#include "platform/FSPaths.h"
#include "resources/FSTextureCache.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainHolder.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

namespace {

constexpr double kDegreesPerRadian = 57.295776;
constexpr const char* kCockpitNames[] = {"C172R", "Su29", "L29", "L13", "Fokker"};

// A direction on the ground as the compass reads it: 0 to 360 degrees.
double CompassBearing(float x, float z) {
    return (std::atan2(static_cast<double>(z), static_cast<double>(x)) + 3.14159265358979) *
           kDegreesPerRadian;
}

}  // namespace

const char* CockpitName(int aircraftType) {
    const int count = static_cast<int>(sizeof kCockpitNames / sizeof kCockpitNames[0]);
    return aircraftType >= 0 && aircraftType < count ? kCockpitNames[aircraftType] : kCockpitNames[0];
}

void CSPGameController::CreateInstruments() {
    CFSApplicationContext& context = Context();
    const std::string huds = MakeDataPath("data\\huds.zip");
    targetIndicator_ =
        std::make_unique<CFSArtificialHorizon>(24.0f, 24.0f, 24.0f, FSHorizonColour{0.5f, 0.9f, 0.5f, 0.6f},
                                               FSHorizonColour{0.9f, 0.9f, 0.9f, 0.6f});
    compass_ = std::make_unique<CFSCompass>();
    compass_->Create(huds, 135.0, context.mainFont);
    compass_->SetHeading(60.0);
    altimeter_ = std::make_unique<CFSAltimeter>();
    altimeter_->Create(huds, 1.5, context.mainFont);
    altimeter_->SetValue(3.75);
    // Looked up once: a texture that fails to load would otherwise be read again every frame.
    horizonTexture_ =
        context.textureCache ? context.textureCache->GetTexture(CFSArtificialHorizon::kTextureName) : 0;
    cockpit_ = std::make_unique<CFSCockpit>();
    cockpit_->LoadCockpit(CockpitName(aircraftType_), huds, context.game.screenAlign);
    PlaceCockpitWindow();
}

void CSPGameController::ReleaseInstruments() {
    targetIndicator_.reset();
    compass_.reset();
    altimeter_.reset();
    cockpit_.reset();
}

void CSPGameController::PlaceCockpitWindow() {
    CFSEngine* engine = Engine();
    if (!engine || !cockpit_) return;
    // The rows of the frame buffer the 3-D view shows through; the panel covers the others.
    const FSCockpitRect& screen = cockpit_->ScreenRect();
    if (screen.w <= 0 || screen.h <= 0) {
        engine->SetCockpitWindow(0, 1 << 30);
        return;
    }
    const int alignment = Context().game.screenAlign;
    int32_t x = screen.x, y = screen.y;
    TurnToFrameBuffer(alignment, x, y, screen.w, screen.h);
    const int32_t rows = alignment == 1 || alignment == 2 ? screen.w : screen.h;
    engine->SetCockpitWindow(y, y + rows - 1);
}

void CSPGameController::FeedInstruments() {
    const CFSApplicationContext& context = Context();
    if (!aircraft_ || aircraft_->IsRemoved()) return;
    const FSVector nose = BodyToWorld(aircraft_->GetOrientation(), FSVector(0.0f, 1.0f, 0.0f));
    if (compass_) {
        compass_->SetHeading(CompassBearing(nose.x, nose.z));
        // The compass points at the next gate, or at the runway once every gate is passed.
        const MFSSceneNode* target = route_ ? route_->CurrentTarget() : nullptr;
        if (!target && route_) target = route_->Runway();
        compass_->SetShowTarget(target ? 1 : 0);
        if (target) {
            const FSVector way = ToFloat(WrappedDifference(target->GetPosition(), target->GetCell(),
                                                           aircraft_->GetPosition(), aircraft_->GetCell()));
            compass_->SetTargetBearing(CompassBearing(way.x, way.z));
        }
    }
    const CFSTerrainHolder* terrain = context.terrain.get();
    if (altimeter_ && terrain && terrain->IsLoaded()) {
        const auto above = [&](const MFSSceneNode& node) {
            return FixedToFloat(terrain->model->HeightAboveAt(node.GetPosition(), node.GetCell()));
        };
        altimeter_->SetValue(above(*aircraft_));
        // The marker stands at the next gate's height over its ground.
        const MFSSceneNode* gate = route_ ? route_->CurrentTarget() : nullptr;
        altimeter_->SetShowTarget(gate ? 1 : 0);
        if (gate) altimeter_->SetTargetValue(above(*gate));
    }
    CSPAircraft* aircraft = Aircraft();
    CFSArtificialHorizon* horizon = cockpit_ ? cockpit_->Horizon() : nullptr;
    if (aircraft && horizon) {
        float pitch = 0.0f, bank = 0.0f;
        aircraft->Attitude(pitch, bank);
        horizon->SetAttitude(pitch, bank);
    }
}

void CSPGameController::DrawInstruments(uint16_t* screen) {
    CFSApplicationContext& context = Context();
    if (!screen) return;
    FeedInstruments();
    const int alignment = context.game.screenAlign;
    if (view_ == kViewCockpit && cockpitViewFlag_ == 1 && cockpit_) DrawCockpit(screen);
    if (compass_) compass_->Draw(screen, alignment);
    if (altimeter_) altimeter_->Draw(screen, alignment);
}

void CSPGameController::DrawCockpit(uint16_t* screen) {
    CFSApplicationContext& context = Context();
    CFSEngine* engine = Engine();
    const int alignment = context.game.screenAlign;
    const int quality = context.video.objectsQuality;
    const CFSArtificialHorizon* horizon = cockpit_->Horizon();
    CFSCockpit::HorizonPainter painter;
    if (horizon && engine && engine->HasSurface()) {
        const uint32_t texture = quality != 0 ? horizonTexture_ : 0;
        const int w = context.video.renderWidth, h = context.video.renderHeight;
        painter = [=](FSBitmap& block) { PaintHorizon(*horizon, alignment, quality, texture, w, h, block); };
    }
    cockpit_->DrawCockpit(screen, 0, quality != 0, painter);
}
