#include "game/CSPGameController.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSSettingsFile.h"
#include "game/CSPAircraft.h"
#include "game/CSPContactResponses.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "game/MSPProperty.h"
#include "hud/FSAltimeter.h"
#include "hud/FSArtificialHorizon.h"
#include "hud/FSCockpit.h"
#include "hud/FSCompass.h"
#include "platform/FSClock.h"
#include "platform/FSMemory.h"
#include "resources/FSArchive.h"
#include "world/FSDamageable.h"
#include "world/FSScene.h"
#include "world/FSSkyBox.h"
#include "world/FSTerrainHolder.h"

namespace {

// A timed route fails once this many seconds have passed since its first gate.
constexpr int32_t kTimedRouteSeconds = 600;

}  // namespace

float DistanceFactor(float flown, float routeLength) {
    if (flown <= routeLength) return 1.0f;
    if (flown >= 10.0f * routeLength) return 0.0f;
    return (10.0f * routeLength - flown) / (9.0f * routeLength);
}

int CountRouteFiles(const std::string& archivePath) {
    const std::string archive = archivePath.empty() ? MakeDataPath("data\\routes.zip") : archivePath;
    int count = 0;
    while (count < 999) {
        char member[32];
        std::snprintf(member, sizeof member, "Route%d.txt", count + 1);
        if (!ReadArchiveMember(archive, member)) break;
        ++count;
    }
    return count;
}

CSPGameController::CSPGameController(int routeCount) : routeCount_(routeCount) {}

CSPGameController::~CSPGameController() {
    LeaveGame();
    ReleaseSkyBox();
}

CFSApplicationContext& CSPGameController::Context() const {
    return *GetApplicationContext();
}

CFSEngine* CSPGameController::Engine() const {
    return Context().engine.get();
}

CSPAircraft* CSPGameController::Aircraft() const {
    return aircraft_ ? aircraft_->GetMoveableAs<CSPAircraft>() : nullptr;
}

void CSPGameController::Initialise(int* engineWord) {
    engineWord_ = engineWord;
    CFSApplicationContext& context = Context();
    // Every route has its list in the score table, keyed by the route's name.
    std::vector<std::string> names;
    for (int i = 0; i < routeCount_; ++i)
        names.push_back(CSPRoute::GetRouteName(i));
    LoadPlayerScores(context, names);
    LoadSounds();
    if (CFSEngine* engine = Engine()) {
        SetMusicVolume(engine->musicVolume);
        SetSoundVolume(engine->soundVolume);
        PlayMenuMusic();
        contacts_ = std::make_unique<CSPContactResponses>(
            *engine, [] { return GetApplicationContext()->collisionDetector.get(); },
            [this](MFSSceneNode* node) { Contact(node); });
    }
}

int32_t CSPGameController::FlightSeconds() {
    return clock_.Read(platform::TickCount());
}

void CSPGameController::SetInputActionSet(int mode) {
    CFSInput* input = Context().input.get();
    if (!input) return;
    input->EnableActionSet(mode == 0 ? kActionSetMenu : mode == 1 ? kActionSetFlight : kActionSetPaused);
}

// ---- Each frame ----

void CSPGameController::BuildStatusText() {
    status_.clear();
    CSPAircraft* aircraft = Aircraft();
    if (!aircraft || aircraft_->IsRemoved()) return;
    if (Context().recorder.Playing()) status_ += "[REPLAY]\n";
    status_ += aircraft->IsOnGround() ? "[RUN]\n" : "[FLY]\n";
    if (aircraft->IsAutopilot()) status_ += "[AUTO]\n";
    if (aircraft->IsFlaps()) status_ += "[FLAPS]\n";
    if (aircraft->IsBrakes()) status_ += "[BRAKES]\n";
    if (aircraft->IsInstructor()) status_ += "[INSTRUCTOR]\n";
    // The stall warning flickers: shown on every other frame.
    if (aircraft->IsStalling() && (platform::TickCount() / 56) % 2 == 1) status_ += "[STALL]\n";
    char line[160];
    // One short reading a line: the column stands clear of the compass and the clock.
    std::snprintf(line, sizeof line, "V:%.0fkm/h\nVert:%.0fm/s\nH:%.3fkm\nThr:%.0f%%\n", aircraft->Airspeed(),
                  aircraft->VerticalSpeed(), aircraft->Altitude(), aircraft->ThrottleFraction() * 100.0f);
    status_ += line;
    const CFSTerrainHolder* terrain = Context().terrain.get();
    if (!airborne_ && terrain && terrain->IsLoaded()) {
        const float above =
            FixedToFloat(terrain->model->HeightAboveAt(aircraft_->GetPosition(), aircraft_->GetCell()));
        std::snprintf(line, sizeof line, "Alt:%5.3fkm", above);
        status_ += line;
        // Airborne once more than a metre of air lies under the wheels: the height of the
        // aircraft's centre as it stood at the start counts as the ground.
        if (above - standingHeight_ > 0.001f && !aircraft->IsOnGround()) airborne_ = 1;
    }
}

void CSPGameController::Update() {
    if (view_ == kViewFinished) return;
    BuildStatusText();
    if (view_ != kViewChase && view_ != kViewCockpit) return;
    // The analog stick steers on every frame of flight, for the next frame's move, as the
    // keys' commands do.
    if (CSPAircraft* aircraft = Aircraft(); aircraft && controlsActive_ && !aircraft_->IsRemoved())
        aircraft->AnalogStep();
    const uint32_t now = platform::TickCount();
    if (clock_.Stopped()) clock_.Restart(now);
    if (route_) {
        // The next gate shows its marker.
        if (MFSSceneNode* target = route_->CurrentTarget()) target->SetHighlight(1);
        const bool inside = route_->IsInsideGateBox();
        if (route_->ObstacleCount() > 0 && route_->DealtWith() == route_->ObstacleCount() && !inside) {
            RecordPositions();
            FinishWithSuccess();
            return;
        }
        if (route_->Timed() && timedStart_ != 0 && !inside &&
            clock_.Read(now) - timedStart_ > kTimedRouteSeconds) {
            RecordPositions();
            FinishWithFailure();
            return;
        }
    }
    if (CSPAircraft* aircraft = Aircraft()) {
        // km flown this frame: km/h → km/s, times the frame's 0.2 s of flight.
        distanceFlown_ += aircraft->Airspeed() * 0.0002777777f * 0.05f * 4.0f * Context().frame.timeScale;
    }
    FollowFlightSounds();
}

// ---- Actions ----

int CSPGameController::HandleAction(int action) {
    CFSEngine* engine = Engine();
    if (!engine) return 0;
    const int state = engine->State();
    if (state != Flying && state != Paused) return 0;
    CFSFlightRecorder& recorder = Context().recorder;
    if (view_ == kViewFinished) {
        // The action key flies the flight just ended again, once this pass is over.
        if (action == kActionAutopilot && replayOffered_ && recorder.LastRecording()) {
            recorder.Defer([this] {
                std::string error;
                if (!StartReplay(Context().recorder.LastRecording(), error))
                    std::fprintf(stderr, "Aerovant: %s\n", error.c_str());
            });
            return 1;
        }
        if (action == kActionBackToMenu || action == kActionBack) {
            screenAfterFlight_ = 2;
            EndFlight();
            return 1;
        }
        return 0;
    }
    switch (action) {
        case kActionMap:
            if (state == Flying) {
                SetInputActionSet(2);
                Pause();
                engine->SetState(Paused);
                pausedByAction_ = 1;
                cockpitViewFlag_ = 0;
            } else {
                SetInputActionSet(1);
                Resume();
                engine->SetState(Flying);
                pausedByAction_ = 0;
            }
            return 1;
        case kActionBackToMenu:
            if (recorder.Playing()) {
                EndReplay();
                return 1;
            }
            clock_.Stop(platform::TickCount());
            // A flight left for the menu is recorded up to here (resumed, it is not).
            EndRecording();
            engine->SetState(Idle);
            SetResumable(1);
            Context().input->SetOrientation(Context().menuOrientation);
            engine->SwitchScreen(0, 0);
            engine->SetState(Menu);
            return 1;
        case kActionChangeView:
            if (state != Flying) return 1;
            if (view_ != kViewCockpit) {
                CockpitView();
            } else {
                ChaseView();
            }
            return 1;
        default:
            break;
    }
    if (controlsActive_) {
        CSPAircraft* aircraft = Aircraft();
        const bool used = aircraft && !aircraft_->IsRemoved() && aircraft->HandleCommand(action, 0);
        // Looking around in the cockpit shows the whole screen; looking ahead the cockpit frame.
        cockpitViewFlag_ = view_ == kViewCockpit && aircraft && aircraft->GetLookAround() == 0 ? 1 : 0;
        return used ? 1 : 0;
    }
    if (view_ == kViewMap && action >= kActionMapCameraNearer && action <= kActionAileronsRight) {
        MoveMapCamera(action);
        return 1;
    }
    return 0;
}

void CSPGameController::ChaseView() {
    SetCameraTarget(aircraft_, 1);
    if (aircraft_) aircraft_->SetVisible(true);
    if (propeller_) propeller_->SetVisible(true);
    SetView(kViewChase);
    if (jet_) jet_->SetVisible(false);
}

void CSPGameController::CockpitView() {
    SetCameraTarget(aircraft_, 3);
    if (aircraft_) aircraft_->SetVisible(false);
    // From the seat the spinning disc would fill the picture.
    if (propeller_) propeller_->SetVisible(false);
    SetView(kViewCockpit);
    if (jet_) jet_->SetVisible(true);
}

void CSPGameController::Pause() {
    StopFlightLoops();
    PlayMenuMusic();
    if (view_ == kViewMap) return;
    controlsActive_ = 0;
    if (CFSEngine* engine = Engine()) engine->SetState(Paused);
    cockpitBeforePause_ = view_ == kViewCockpit ? 1 : 0;
    SetView(kViewMap);
    clock_.Stop(platform::TickCount());
    // The map keeps the ground's textures (untextured from above it shows nothing to
    // steer by) and sees through the fog.
    fogBeforePause_ = glIsEnabled(GL_FOG) ? 1 : 0;
    glDisable(GL_FOG);
}

void CSPGameController::Resume() {
    if (view_ == kViewMap) {
        if (CFSEngine* engine = Engine()) engine->SetState(Flying);
        if (fogBeforePause_) glEnable(GL_FOG);
        clock_.Restart(platform::TickCount());
        StopMenuMusic();
        StartFlightLoops(true);
        controlsActive_ = 1;
        if (cockpitBeforePause_) {
            CockpitView();
        } else {
            ChaseView();
        }
    }
}

void CSPGameController::SetView(int view) {
    if (view < 0 || view > kViewFullScreen) return;
    switch (view) {
        case kViewCockpit:
            cockpitViewFlag_ = 1;
            break;
        case kViewFixed:
            PlaceFixedCamera();
            cockpitViewFlag_ = 0;
            break;
        case kViewMap:
            PlaceFixedCamera();
            cockpitViewFlag_ = 0;
            mapOffset_ = {};
            break;
        case kViewFinished:
            cockpitViewFlag_ = 0;
            countdown_ = 0;
            break;
        default:
            cockpitViewFlag_ = 0;
            break;
    }
    view_ = view;
    if (view == kViewMap) PlaceMapCamera();
}

// ---- Contacts and the end of the flight ----

bool CSPGameController::MayCollide(MFSSceneNode* a, MFSSceneNode* b) {
    if (!a || !b) return false;
    return contacts_ ? contacts_->MayCollide(*a, *b) : true;
}

void CSPGameController::GroundContact(MFSSceneNode* node, CFSTerrainModel* terrain) {
    if (contacts_ && node) contacts_->GroundContact(node, terrain);
}

void CSPGameController::Collision(MFSSceneNode* a, MFSSceneNode* moving) {
    if (contacts_ && a && moving) contacts_->Collision(a, moving);
}

void CSPGameController::Contact(MFSSceneNode* node) {
    if (view_ == kViewFinished || !node) return;
    CSPAircraft* aircraft = Aircraft();
    if (node == aircraft_ && aircraft_) {
        if (aircraft_->IsRemoved()) {
            RecordPositions();
            FinishWithFailure();
            return;
        }
        const FSVector& v = aircraft ? aircraft->GetVelocity() : FSVector{};
        if (airborne_ && aircraft && v.x == 0.0f && v.y == 0.0f && v.z == 0.0f) {
            RecordPositions();
            FinishWithLanding();
            return;
        }
    }
    if (aircraft_ && !aircraft_->IsRemoved()) {
        const MFSDamageable* damage = DamageOf(*aircraft_);
        if (damage && damage->health <= 0.0f) {
            RecordPositions();
            FinishWithFailure();
            return;
        }
    }
    if (route_ && PropertyKindOf(*node) == kPropertyObstacle) {
        route_->UpdateObstacleScore(node);
        score_ = route_->Score();
        route_->AdvanceTarget(node);
        if (timedStart_ == 0 && route_->Timed()) timedStart_ = clock_.Read(platform::TickCount());
    }
}

void CSPGameController::AfterRender(FSSurfaceImage& image) {
    if (view_ == kViewMap) {
        DrawMapMarker(image);
        return;
    }
    if (view_ != kViewFinished) return;
    countdown_ += 4;
    if (countdown_ > countdownLimit_) {
        screenAfterFlight_ = 2;
        EndFlight();
    }
}

void CSPGameController::DrawMapMarker(FSSurfaceImage& image) const {
    // The map camera looks straight down at the aircraft: an amber cross at the middle of
    // the picture shows where it is (when the map has not been moved away from it).
    if (!image.pixels || image.width <= 0 || image.height <= 0 || mapOffset_ != FSFixedVector{}) return;
    const int cx = image.width / 2, cy = image.height / 2, arm = std::max(3, image.width / 40);
    const int stride = image.rowBytes / 4;
    for (int d = -arm; d <= arm; ++d) {
        for (int t = 0; t < 2; ++t) {
            const int x = cx + d, y = cy + t;
            if (x >= 0 && x < image.width && y >= 0 && y < image.height)
                image.pixels[y * stride + x] = 0xFFCC00;
            const int x2 = cx + t, y2 = cy + d;
            if (x2 >= 0 && x2 < image.width && y2 >= 0 && y2 < image.height)
                image.pixels[y2 * stride + x2] = 0xFFCC00;
        }
    }
}

void CSPGameController::EndFlight() {
    CFSApplicationContext& context = Context();
    CFSEngine* engine = Engine();
    clock_.Stop(platform::TickCount());
    StopFlightLoops();
    if (view_ == kViewMap) {
        Resume();
        pausedByAction_ = 0;
        if (engine) engine->SwitchScreen(0, 0);
        return;
    }
    if (engine) engine->SetState(Idle);
    if (view_ == kViewFinished) {
        SetView(kViewFixed);
        DropAircraft();
        LeaveGame();
        if (context.sceneRoot) context.sceneRoot->Clear();
        platform::ReleaseFreeMemory();
    }
    if (engine) engine->SetState(Menu);
    if (context.input) context.input->SetOrientation(context.menuOrientation);
    if (engine) engine->SwitchScreen(screenAfterFlight_, 0);
    PlayMenuMusic();
}

void CSPGameController::LeaveGame() {
    CFSApplicationContext& context = Context();
    if (context.sceneRoot) context.sceneRoot->hooks.drawBackground = nullptr;
    route_.reset();
    ReleaseInstruments();
    DropAircraft();
    resumable_ = 0;
}
