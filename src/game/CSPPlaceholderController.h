#pragma once
// A stand-in for the game controller until real flights exist. Its "flight" is a test
// scene drawn straight through GL: a chequered ground fading into fog, a spinning red
// pyramid and two hangar-like boxes. The pad turns and tilts the view, the map action
// pauses, back returns to the menu with the flight resumable.
#include "app/FSFlightClock.h"
#include "app/FSGameController.h"

class CSPPlaceholderController : public MFSGameController {
public:
    void Initialise(int* engineWord) override { engineWord_ = engineWord; }
    void EnterLoading() override {}
    void LeaveLoading() override {}
    void Update() override;
    void RunFlightStart() override;
    void LeaveGame() override { resumable_ = 0; }
    int HandleAction(int action) override;
    void CameraStep() override;
    void AfterRender(FSSurfaceImage&) override {}
    void DrawInstruments() override {}
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

    float SpinDegrees() const { return spin_; }
    int Frames() const { return frames_; }

private:
    void LeaveToMenu();

    int* engineWord_ = nullptr;
    uint8_t resumable_ = 0;
    int view_ = 0;
    float spin_ = 0.0f;     // pyramid spin, degrees
    float heading_ = 0.0f;  // view turn, degrees (left/right)
    float pitch_ = 12.0f;   // view tilt, degrees (up/down)
    int frames_ = 0;
    FlightClock clock_;
};
