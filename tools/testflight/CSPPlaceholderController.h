#pragma once
// The test flight's controller, for the tests and tools that need a flight without a
// route (the game itself flies routes with CSPGameController). Its flight is the test
// world (CSPTestWorld: a terrain with an airfield under the sky of the chosen time of
// day) with one of the five aircraft standing at the start of the strip (CSPTestFlight),
// flown with the flight actions and followed by a chase camera. Without an aircraft
// (SetAircraft(-1)) a camera orbits the field instead and the pad turns and tilts it.
// The map action pauses, back returns to the menu with the flight resumable; a crash
// ends the flight after 90 frames.
#include <memory>
#include <string>

#include "app/FSFlightClock.h"
#include "app/FSGameController.h"

class CSPTestFlight;
class CSPTestWorld;

class CSPPlaceholderController : public MFSGameController {
public:
    CSPPlaceholderController();
    ~CSPPlaceholderController() override;

    void Initialise(int* engineWord) override;
    void EnterLoading() override {}
    void LeaveLoading() override {}
    void Update() override;
    void RunFlightStart() override;
    void LeaveGame() override;
    int HandleAction(int action) override;
    void CameraStep() override;
    void AfterRender(FSSurfaceImage&) override {}
    void DrawInstruments(uint16_t*) override {}
    void Contact(MFSSceneNode*) override {}
    void SetView(int view) override { view_ = view; }
    void CameraFollow() override {}
    bool MayCollide(MFSSceneNode*, MFSSceneNode*) override { return false; }
    void GroundContact(MFSSceneNode*, CFSTerrainModel*) override {}
    void Collision(MFSSceneNode*, MFSSceneNode*) override {}
    uint8_t IsResumable() override { return resumable_; }
    void SetResumable(uint8_t flag) override { resumable_ = flag; }
    int CockpitViewFlag() override { return 0; }
    void ResumeSounds() override {}
    void SetSoundVolume(int) override {}
    void SetMusicVolume(int) override {}
    std::string StatusText() override;
    int32_t FlightSeconds() override;

    // The terrain of the next flight ("valley.ter", "coast.ter", "farmland.ter"); "" flies
    // in an empty world (tests that place their own nodes).
    void SetTerrain(const std::string& terrain) { terrain_ = terrain; }
    // The aircraft of the next flight: 0 Cessna 172R ... 4 Fokker Dr.I; -1 none.
    void SetAircraft(int index) { aircraftIndex_ = index; }
    CSPTestFlight* Flight() const { return flight_.get(); }
    // Where the camera stands: heading round the field (degrees), pitch above the horizon
    // (degrees) and distance (km).
    void SetCameraPlacement(float heading, float pitch, float distance);
    CSPTestWorld* World() const { return world_.get(); }
    int Frames() const { return frames_; }

private:
    void LeaveToMenu();

    uint8_t resumable_ = 0;
    int view_ = 0;
    std::string terrain_ = "valley.ter";
    std::unique_ptr<CSPTestWorld> world_;
    std::unique_ptr<CSPTestFlight> flight_;
    int aircraftIndex_ = 0;
    int crashCountdown_ = 0;  // frames left before a crashed flight returns to the menu
    float heading_ = 200.0f;
    float pitch_ = 12.0f;
    float distance_ = 1.6f;
    int frames_ = 0;
    FlightClock clock_;
};
