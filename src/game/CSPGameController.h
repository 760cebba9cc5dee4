#pragma once
// The game controller: runs a flight from the moment the player starts it in the menu
// until it ends. It builds the flight's world from a route while the loading thread keeps
// the loading screen alive, steps the game each frame (clock, distance, status line,
// success and time-out), hands the flight actions to the aircraft, places the camera for
// each view, answers the contacts the collision pass reports (gates, landing, crash),
// scores the flight and stores the score under the pilot's name, and gives the screen
// back to the menu.
//
// Views: 0 chase, 1 cockpit, 2 orbit, 3 fixed (leaving a finished flight), 4 map
// (paused, seen from above), 5 finished (the camera circles the end position while the
// countdown runs), 6 as 0.
#include <cstdint>
#include <memory>
#include <string>

#include "app/FSFlightClock.h"
#include "app/FSGameController.h"
#include "world/FSFixedVector.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

class CFSAltimeter;
class CFSApplicationContext;
class CFSArtificialHorizon;
class CFSCockpit;
class CFSCompass;
class CFSEngine;
class CFSMeshedNode;
class CFSSkyBox;
class CSPAircraft;
class CSPContactResponses;
class CSPRoute;
class CFSThread;
struct FSFlightRecording;
struct SPRouteStart;

enum SPView : int {
    kViewChase = 0,
    kViewCockpit = 1,
    kViewOrbit = 2,
    kViewFixed = 3,
    kViewMap = 4,
    kViewFinished = 5,
    kViewFullScreen = 6,
};

// How a flight ended, for the headless runs and the tests.
enum class SPFinish { None, Success, Landing, Failure };

// Smooth limiter of the chase camera: rises from lo to hi as x goes from −∞ to +∞ and
// gives the middle of the range at x = 0.
float SoftClamp(float x, float lo, float hi);
// Spherical interpolation of two unit orientations (no flip toward the shorter arc).
FSQuaternion Slerp(const FSQuaternion& q1, const FSQuaternion& q2, float t, const SineTable& sine);
// The distance factor of the score: 1 up to the route length, falling linearly to 0 at
// ten times that length (both in the same unit).
float DistanceFactor(float flown, float routeLength);
// How many routes the archive holds: "Route1.txt", "Route2.txt" … up to the first missing
// one (archivePath empty: the game's "data\routes.zip").
int CountRouteFiles(const std::string& archivePath = {});
// The cockpit folder of an aircraft type (0 Cessna 172R ... 4 Fokker): "C172R", "Su29",
// "L29", "L13", "Fokker"; the Cessna's for an unknown type.
const char* CockpitName(int aircraftType);

class CSPGameController : public MFSGameController {
public:
    // routeCount: how many "Route%d.txt" the routes archive holds (counted at start-up).
    explicit CSPGameController(int routeCount);
    ~CSPGameController() override;

    void Initialise(int* engineWord) override;
    void EnterLoading() override {}
    void LeaveLoading() override {}
    void Update() override;
    void RunFlightStart() override;
    void LeaveGame() override;
    int HandleAction(int action) override;
    void CameraStep() override;
    void AfterRender(FSSurfaceImage& image) override;
    void DrawInstruments(uint16_t* screen) override;
    void Contact(MFSSceneNode* node) override;
    void SetView(int view) override;
    void CameraFollow() override;
    bool MayCollide(MFSSceneNode* a, MFSSceneNode* b) override;
    void GroundContact(MFSSceneNode* node, CFSTerrainModel* terrain) override;
    void Collision(MFSSceneNode* a, MFSSceneNode* moving) override;
    uint8_t IsResumable() override { return resumable_; }
    void SetResumable(uint8_t flag) override;
    int CockpitViewFlag() override { return cockpitViewFlag_; }
    void ResumeSounds() override;
    void SetSoundVolume(int volume) override;
    void SetMusicVolume(int volume) override;
    std::string StatusText() override { return status_; }
    int32_t FlightSeconds() override;
    int32_t Score() override { return score_; }
    void Quitting() override;

    // The menu's choices for the next flight: route index (0 = "Route1.txt") and
    // aircraft type (0 Cessna 172R ... 4 Fokker).
    void SetRoute(int route) { routeNumber_ = route; }
    void SetAircraft(int type) { aircraftType_ = type; }
    int RouteCount() const { return routeCount_; }
    int RouteNumber() const { return routeNumber_; }
    int AircraftType() const { return aircraftType_; }

    // Disables every action and enables those of the mode (0 menu, 1 flight, 2 paused).
    void SetInputActionSet(int mode);
    // Before a resumed flight, after the settings may have changed.
    void ReapplySettings();
    // Stops the flight and returns to the menu (after the finish countdown, the leave
    // action in the finished view, or from the menu).
    void EndFlight();

    // Flies a recorded flight again (its route, aircraft, settings and inputs); false, with
    // why in error, when it cannot be flown here. It ends like the flight did, or when the
    // player goes back, and the menu returns.
    bool StartReplay(std::shared_ptr<const FSFlightRecording> recording, std::string& error);

    // What the headless runs and the tests read.
    SPFinish Finish() const { return finish_; }
    int View() const { return view_; }
    float DistanceFlown() const { return distanceFlown_; }
    float RouteLength() const { return routeLength_; }
    const CSPRoute* Route() const { return route_.get(); }
    const CFSCockpit* Cockpit() const { return cockpit_.get(); }
    const CFSCompass* Compass() const { return compass_.get(); }
    const CFSAltimeter* Altimeter() const { return altimeter_.get(); }
    CSPAircraft* Aircraft() const;
    MFSSceneNode* AircraftNode() const { return aircraft_; }
    const FSFixedVector& LastPosition() const { return lastPosition_; }
    const FSCell& LastCell() const { return lastCell_; }

private:
    // Flight building (CSPGameFlight.cpp).
    void BuildFlight();
    void CreatePlayerAircraft(const SPRouteStart& start);
    void ReadObjectDescription(const std::string& text, const SPRouteStart& start);
    void MakeSkyBox();
    void ReleaseSkyBox();
    void MeasureRoute();
    // A new 3-D surface when "resolution" or the render size differ from the applied ones.
    void RebuildSurfaceIfResized();
    // The touch pad, the control gains and the aircraft's steering, from the settings.
    void PrepareControls();

    // The flight's course (CSPGameController.cpp).
    void BuildStatusText();
    void Pause();
    void Resume();
    void RecordPositions();
    void FinishWithSuccess();
    void FinishWithLanding();
    void FinishWithFailure();
    void ApplyScoreFormula();
    void StoreScore();
    void DropAircraft();
    void DrawMapMarker(FSSurfaceImage& image) const;

    // The recorder (CSPGameReplay.cpp): the flight's seed, its end, a replay's end.
    void SeedFlight();
    void EndRecording();
    void AfterFinish();
    void SaveSettingsAfterFlight();
    void EndReplay();
    void ChaseView();
    void CockpitView();

    // The sounds (CSPGameSound.cpp): what each channel plays, started and stopped as the
    // flight goes.
    void LoadSounds();
    // The engine loop of a "Propeller" or "Jet" line: loaded into its channel and started.
    void StartEngineLoop(bool jet);
    void PlayMenuMusic();
    void StopMenuMusic();
    // The flight loops [0] to [2] (the engine) and, with wind, [3].
    void StartFlightLoops(bool wind);
    void StopFlightLoops();
    // Each flying frame: the engine follows the throttle, the wind the air speed.
    void FollowFlightSounds();
    void PlayExplosion();

    // The instruments (CSPGameInstruments.cpp).
    void CreateInstruments();
    void ReleaseInstruments();
    // The engine converts only the rows of the cockpit's 3-D view in the cockpit view.
    void PlaceCockpitWindow();
    void FeedInstruments();
    void DrawCockpit(uint16_t* screen);

    // The camera (CSPGameCamera.cpp).
    void SetCameraTarget(MFSSceneNode* target, int mode);
    void PlaceFixedCamera();
    void PlaceMapCamera();
    void MoveMapCamera(int action);
    void LookFrom(const FSFixedVector& eye, const FSCell& cell, const FSFixedVector& target,
                  const FSFixedVector& up);

    CFSApplicationContext& Context() const;
    CFSEngine* Engine() const;

    int routeCount_ = 0;
    int routeNumber_ = 0;
    int aircraftType_ = 0;

    MFSSceneNode* aircraft_ = nullptr;   // the player's aircraft node, or null
    MFSSceneNode* propeller_ = nullptr;  // its propeller disc, or null
    MFSSceneNode* jet_ = nullptr;        // its exhaust cone, or null
    std::unique_ptr<CSPRoute> route_;
    std::unique_ptr<CSPContactResponses> contacts_;
    std::unique_ptr<CFSSkyBox> skyBox_;
    std::unique_ptr<CFSCockpit> cockpit_;
    std::unique_ptr<CFSCompass> compass_;
    std::unique_ptr<CFSAltimeter> altimeter_;
    std::unique_ptr<CFSArtificialHorizon> targetIndicator_;
    uint32_t horizonTexture_ = 0;  // "avia.png", 0 when missing

    int32_t score_ = 0;
    uint8_t controlsActive_ = 0;
    uint8_t pausedByAction_ = 0;
    uint8_t resumable_ = 0;
    uint8_t cockpitBeforePause_ = 0;
    uint8_t fogBeforePause_ = 0;
    uint8_t airborne_ = 0;
    uint8_t replayOffered_ = 0;  // the finish view's action key replays the flight
    int cockpitViewFlag_ = 0;
    int view_ = kViewChase;
    SPFinish finish_ = SPFinish::None;

    float distanceFlown_ = 0.0f;   // km
    float routeLength_ = 0.0f;     // km, 1.1 × the gate chain
    float standingHeight_ = 0.0f;  // km of the aircraft's centre above the ground when it stands
    FSFixedVector startPosition_;
    FSCell startCell_;

    // Camera: the target and its mode (0 fixed offset, 1 chase, 3 cockpit), the chase
    // offsets and limits from the aircraft's description (km), and the smoothing state.
    MFSSceneNode* cameraTarget_ = nullptr;
    int cameraMode_ = 1;
    float chaseDistance_ = -0.012f;
    float chaseHeight_ = 0.003f;
    float displace_[3] = {0.003f, 0.002f, 0.005f};
    float rigidity_ = 0.3f;
    int followCounter_ = 0;
    FSQuaternion cameraOrientation_;
    FSCell cameraCell_;
    FSFixedVector cameraEye_;
    int orbitAngle_ = 0;
    float mapDistance_ = 1.2f;  // km above the aircraft in the map view
    FSFixedVector mapOffset_;   // the map camera's shift over the map

    FSFixedVector lastPosition_;
    FSCell lastCell_;
    float resultDistance_ = 0.0f;
    int countdown_ = 0;
    int countdownLimit_ = 360;
    int screenAfterFlight_ = 2;
    int32_t timedStart_ = 0;
    FlightClock clock_;
    std::string status_;
    int surfaceMade_ = 0;
    int* engineWord_ = nullptr;

    // Sound channels (−1 none): the flight loops [0] spare, [1] propeller, [2] jet, [3] wind.
    int flightLoops_[4] = {-1, -1, -1, -1};
    int explosionChannel_ = -1;
    int menuMusicChannel_ = -1;

public:
    // What the tests read: the channel of flight loop 0-3, of the explosion and of the music.
    int FlightLoopChannel(int loop) const { return loop >= 0 && loop < 4 ? flightLoops_[loop] : -1; }
    int ExplosionChannel() const { return explosionChannel_; }
    int MenuMusicChannel() const { return menuMusicChannel_; }
};
