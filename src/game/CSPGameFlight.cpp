// Building a flight: the loading thread, the route's world, the player's aircraft from its
// description, the sky and light of the time of day, and the route's length.
#include <GLES/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSRunStats.h"
#include "app/FSTouchpadSetup.h"
#include "game/CSPAircraft.h"
#include "game/CSPContactResponses.h"
#include "game/CSPGameController.h"
#include "game/CSPRoute.h"
#include "game/CSPRunway.h"
#include "hud/FSTouchpad.h"
#include "platform/FSClock.h"
#include "platform/FSMemory.h"
#include "platform/FSThread.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "world/FSDayTime.h"
#include "world/FSFixed.h"
#include "world/FSInverseCone.h"
#include "world/FSMeshedNode.h"
#include "world/FSPropellerL.h"
#include "world/FSScene.h"
#include "world/FSSkyBox.h"
#include "world/FSTerrainHolder.h"

namespace {

FSFixed X(float value) {
    return FloatToFixed(value);
}

}  // namespace

void CSPGameController::RunFlightStart() {
    CFSApplicationContext& context = Context();
    CFSEngine* engine = Engine();
    if (!engine) return;
    if (resumable_) {
        // A left flight goes on where it was.
        SetResumable(0);
        ReapplySettings();
        const bool paused = view_ == kViewMap;
        if (!paused) clock_.Restart(platform::TickCount());
        engine->SetState(paused ? Paused : Flying);
        return;
    }
    // The loading screen stays alive on its own thread while the flight is built here.
    CFSThread loading;
    if (context.display) {
        loading.Start([engine](CFSThread& self) {
            while (self.Pass()) {
                engine->MenuUpdateAndDraw();
                platform::Sleep(16);  // sixty pictures a second; the build needs the processor
            }
        });
        context.loadingThread = &loading;
        context.loadingThreadRunning = 1;
    }
    const double buildStart = context.runStats ? context.runStats->Elapsed() : 0.0;
    BuildFlight();
    if (context.runStats) context.runStats->NoteFlightBuild(routeNumber_, buildStart);
    // The thread leaves at its next pass; the build has already reset and stopped the clock.
    loading.RequestStop();
    loading.Join();
    context.loadingThread = nullptr;
    context.loadingThreadRunning = 0;
    engine->ClearCurrentScreen();
    engine->SetState(Flying);
}

void CSPGameController::BuildFlight() {
    CFSApplicationContext& context = Context();
    CFSEngine* engine = Engine();
    // Before anything reads the time or draws a random number.
    SeedFlight();
    SetInputActionSet(1);
    engine->SetState(Loading);
    timedStart_ = 0;
    finish_ = SPFinish::None;
    status_.clear();
    StopMenuMusic();
    flightLoops_[0] = flightLoops_[1] = flightLoops_[2] = -1;

    // The 3-D surface: made for the first flight, made again when its size changed.
    if (!surfaceMade_ || !engine->HasSurface()) {
        engine->SetUpSurface();
        engine->SetGLDefaults();
        surfaceMade_ = 1;
    } else {
        RebuildSurfaceIfResized();
    }
    context.appliedVideo = context.video;

    // A fresh world: the previous flight's nodes, route and terrain go.
    LeaveGame();
    if (context.sceneRoot) context.sceneRoot->Clear();
    platform::ReleaseFreeMemory();
    score_ = 0;
    // The haze of a route without its own fog line: linear from 8 to 30 km, as on every
    // flight (the previous route switched its fog off when it went).
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogx(GL_FOG_START, 8 << 16);
    glFogx(GL_FOG_END, 30 << 16);
    glEnable(GL_FOG);
    route_ = std::make_unique<CSPRoute>(context, routeNumber_);
    route_->onStart = [this](const SPRouteStart& start) { CreatePlayerAircraft(start); };
    route_->LoadRoute();
    if (context.input) context.input->SetOrientation(context.game.screenAlign);
    pausedByAction_ = 0;
    clock_.Reset(platform::TickCount());
    clock_.Stop(platform::TickCount());

    SetCameraTarget(aircraft_, 1);
    controlsActive_ = 1;
    if (aircraft_) aircraft_->SetVisible(true);
    SetView(kViewChase);

    distanceFlown_ = 0.0f;
    routeLength_ = 0.0f;
    MeasureRoute();
    airborne_ = 0;
    screenAfterFlight_ = 2;
    MakeSkyBox();
    PrepareControls();
    CreateInstruments();
    // The wind blows from the start, with the engine loop its aircraft line started.
    if (engine) {
        engine->Sounds().SetVolume(flightLoops_[3], 0);  // still: the first frame sets it
        engine->Sounds().PlayLooped(flightLoops_[3]);
    }
}

void CSPGameController::PrepareControls() {
    CFSApplicationContext& context = Context();
    // The stylus pad with the touch-screen scheme; the aircraft steers by its rectangles.
    PrepareTouchpad(context);
    DeriveControlGains(context.game);
    if (CSPAircraft* aircraft = Aircraft()) {
        aircraft->SetControlSettings(context.game, context.frame);
        aircraft->SetTouchpadLookup(context.touchpad ? context.touchpad->Lookup() : FSTouchpadLookup());
    }
}

void CSPGameController::RebuildSurfaceIfResized() {
    const CFSApplicationContext& context = Context();
    CFSEngine* engine = Engine();
    const FSVideoBlock& now = context.video;
    const FSVideoBlock& applied = context.appliedVideo;
    if (!engine || (now.resolution == applied.resolution && now.renderWidth == applied.renderWidth &&
                    now.renderHeight == applied.renderHeight)) {
        return;
    }
    engine->TearDownSurface();
    engine->SetUpSurface();
    engine->SetGLDefaults();
}

void CSPGameController::MeasureRoute() {
    if (!route_) return;
    score_ = route_->Score();
    // From the start through every gate to the runway, and a tenth more for the turns.
    FSFixedVector from = startPosition_;
    FSCell fromCell = startCell_;
    float length = 0.0f;
    const auto leg = [&](const FSFixedVector& to, const FSCell& toCell) {
        length += Length(ToFloat(WrappedDifference(to, toCell, from, fromCell)));
        from = to;
        fromCell = toCell;
    };
    for (const auto& [cell, position] : route_->ObstaclePositions())
        leg(position, cell);
    if (const MFSSceneNode* runway = route_->Runway()) leg(runway->GetPosition(), runway->GetCell());
    routeLength_ = length * 1.1f;
}

void CSPGameController::MakeSkyBox() {
    CFSApplicationContext& context = Context();
    CFSScene* scene = context.sceneRoot.get();
    if (!scene) return;
    // The time of day sets the sun, the light on the ground and the models, and the sky.
    const int dayTime = ChooseDayTime(context.route.dayTime, [] { return std::rand(); });
    const FSSunPosition sun = SunPosition(dayTime);
    scene->Camera().Sky().SetSun(sun.zenith, sun.azimuth);
    const FSDayLight light = DayLight(dayTime);
    const int32_t tint[3] = {X(light.red), X(light.green), X(light.blue)};
    if (context.terrain) {
        for (int c = 0; c < 3; ++c)
            context.terrain->tint[c] = tint[c];
    }
    scene->Camera().SetDaylight({tint[0], tint[1], tint[2]});

    ReleaseSkyBox();
    if (!context.video.sky) return;
    skyBox_ = std::make_unique<CFSSkyBox>();
    skyBox_->Load(SkyBoxFolder(dayTime), context.textureCache.get());
    // Drawn behind everything once the terrain and the nodes are in the depth buffer.
    scene->hooks.drawBackground = [this](CFSScene& drawn) {
        if (skyBox_) skyBox_->Draw(drawn.Camera(), true);
    };
}

void CSPGameController::ReleaseSkyBox() {
    CFSApplicationContext* context = GetApplicationContext();
    if (context->sceneRoot) context->sceneRoot->hooks.drawBackground = nullptr;
    if (skyBox_) skyBox_->Unload(context->textureCache.get());
    skyBox_.reset();
}

void CSPGameController::CreatePlayerAircraft(const SPRouteStart& start) {
    char member[32];
    std::snprintf(member, sizeof member, "Aircraft%d.txt", aircraftType_ + 1);
    const FSMemoryBlock text = ReadArchiveText(MakeDataPath("data\\aircrafts.zip"), member);
    if (!text) {
        std::fprintf(stderr, "aerovant: no aircraft description %s\n", member);
        return;
    }
    startPosition_ = start.position;
    startCell_ = start.cell;
    ReadObjectDescription(std::string(TextOf(text)), start);
}

void CSPGameController::ReadObjectDescription(const std::string& text, const SPRouteStart& start) {
    CFSApplicationContext& context = Context();
    CFSEngine* engine = Engine();
    float placement[3] = {0.0f, 0.0f, 0.0f};
    bool propeller = false, jet = false;
    float scale = 1.0f;
    ForEachWordLine(text, [&](std::string_view line) {
        FSWords words(line);
        const std::string_view key = words.Next();
        if (key == "Model") {
            const std::string mesh(words.Next());
            const std::string texture(words.Next());
            scale = words.NextFloat();
            aircraft_ = engine->CreateMeshedNode(mesh, texture);
        } else if (key == "Distance") {
            chaseDistance_ = words.NextFloat() * 0.001f;
            chaseHeight_ = words.NextFloat() * 0.001f;
        } else if (key == "Displace") {
            for (float& value : displace_)
                value = words.NextFloat() * 0.001f;
        } else if (key == "Rigidity") {
            rigidity_ = words.NextFloat();
        } else if (key == "Propeller" || key == "Jet") {
            (key == "Propeller" ? propeller : jet) = true;
            for (float& value : placement)
                value = words.NextFloat();
        } else if (key == "Difficulty") {
            context.game.joystickCentre = words.NextFloat();
            context.game.xyCentre = words.NextFloat();
            context.game.touchscreenCentre = words.NextFloat();
        }
    });
    if (!aircraft_) {
        std::fprintf(stderr,
                     "aerovant: the aircraft description Aircraft%d.txt names no model that can be read\n",
                     aircraftType_ + 1);
        return;
    }
    const FSFixed fixedScale = X(scale);
    aircraft_->Scale({fixedScale, fixedScale, fixedScale});
    aircraft_->SetCell(start.cell);
    aircraft_->SetPosition(start.position);
    aircraft_->Move(start.position);
    aircraft_->LookAlong(start.nose, start.up);
    aircraft_->SaveOrientation();

    CSPAircraft& aircraft =
        CreateFlightAircraft(*aircraft_, FSVector(0.0f, 0.0f, 0.0f), aircraftType_, context.sineTable);
    aircraft.SetFuelFraction(start.fuel);
    // The placement values are metres in the model; the offsets are world km.
    const FSFixed offsets[3] = {X(placement[0] * scale), X(placement[1] * scale), X(placement[2] * scale)};
    if (propeller) {
        if (TFSPropellerL* disc = engine->CreatePropeller(aircraft_)) {
            disc->SetOffsets(offsets[0], offsets[1], offsets[2]);
            propeller_ = disc;
        }
        StartEngineLoop(false);
    }
    if (jet) {
        auto flame = std::make_unique<TFSInverseCone>(aircraft_, context.sineTable);
        flame->SetPlacement(offsets[0], offsets[1], offsets[2]);
        jet_ = aircraft_->AddChild(std::move(flame));
        StartEngineLoop(true);
    }
    // A start on the ground: the aircraft stands on its wheels, parked.
    const CFSTerrainHolder* terrain = context.terrain.get();
    standingHeight_ = 0.0f;
    if (terrain && terrain->IsLoaded() && start.position.y < kFixedOne) {
        aircraft.GroundContact(true);
        startPosition_ = aircraft_->GetPosition();
        standingHeight_ = FixedToFloat(terrain->model->HeightAboveAt(startPosition_, aircraft_->GetCell()));
    }
    if (contacts_) contacts_->SetPlayer(aircraft_, jet);
    context.playerAircraft = aircraft_;
}

void CSPGameController::ReapplySettings() {
    CFSApplicationContext& context = Context();
    if (context.input) context.input->SetOrientation(context.game.screenAlign);
    SetInputActionSet(view_ == kViewMap ? 2 : 1);
    RebuildSurfaceIfResized();
    if (context.video.sky != context.appliedVideo.sky) MakeSkyBox();
    context.appliedVideo = context.video;
    PrepareControls();
    // The screen may have turned: the cockpit of the other orientation.
    if (cockpit_) CreateInstruments();
}
