#pragma once
// The engine's only view of the game: everything the frame cycle, the shell and the
// collision pass need from the flight goes through these 25 operations, so the engine
// layer never includes a game header. The comment on each says who calls it.
#include <cstdint>
#include <string>

class MFSSceneNode;
class CFSTerrainModel;

// The finished 3-D image as the after-render step sees it (32-bit x8r8g8b8, top row first).
struct FSSurfaceImage {
    int width = 0;
    int height = 0;
    int rowBytes = 0;
    int bitsPerPixel = 32;
    uint32_t* pixels = nullptr;
};

class MFSGameController {
public:
    // Slot 0, engine when the controller is attached: scores, sounds and menu music are
    // ready afterwards. engineWord is a word of the engine's that the controller may keep.
    virtual void Initialise(int* engineWord) = 0;
    // Slot 1, engine on entering the loading state.
    virtual void EnterLoading() = 0;
    // Slot 2: spare.
    virtual void Spare2() {}
    // Slot 3, engine on leaving the loading state.
    virtual void LeaveLoading() = 0;
    // Slot 4, engine, each frame of a running flight: the flight advances one frame.
    virtual void Update() = 0;
    // Slot 5, the loading screen: builds the flight; on return the engine flies (state 1),
    // or shows the menu with the flight resumable.
    virtual void RunFlightStart() = 0;
    // Slot 6, engine on quitting, and the controller itself: releases the flight.
    virtual void LeaveGame() = 0;
    // Slot 7, engine outside the menu, shell on losing the foreground (action 30):
    // non-zero when the action was used.
    virtual int HandleAction(int action) = 0;
    // Slot 8, engine before the scene is drawn: places the camera for this frame.
    virtual void CameraStep() = 0;
    // Slot 9, engine once the 3-D image is finished: 2-D work on that image.
    virtual void AfterRender(FSSurfaceImage& image) = 0;
    // Slot 10, engine after the 5-6-5 conversion: cockpit and instruments into the screen.
    virtual void DrawInstruments(uint16_t* screen) = 0;
    // Slot 11, contact handlers: gates and the end of the flight.
    virtual void Contact(MFSSceneNode* node) = 0;
    // Slot 12, the controller itself.
    virtual void SetView(int view) = 0;
    // Slot 13, the controller's camera step.
    virtual void CameraFollow() = 0;
    // Slot 14, collision pass: false skips the pair.
    virtual bool MayCollide(MFSSceneNode* a, MFSSceneNode* b) = 0;
    // Slot 15, collision pass: a low moving node touches the ground.
    virtual void GroundContact(MFSSceneNode* node, CFSTerrainModel* terrain) = 0;
    // Slot 16, collision pass: two nodes intersect, the second one moving.
    virtual void Collision(MFSSceneNode* a, MFSSceneNode* moving) = 0;
    // Slot 17: spare.
    virtual void Spare17() {}
    // Slot 18, menu screens: 1 while a left flight can be resumed.
    virtual uint8_t IsResumable() = 0;
    // Slot 19, menu screens and the controller; the sounds follow the flag.
    virtual void SetResumable(uint8_t flag) = 0;
    // Slot 20, engine's conversion: 1 while only the cockpit window's rows need converting.
    virtual int CockpitViewFlag() = 0;
    // Slot 21, shell on regaining the foreground: the loops of the situation play again.
    virtual void ResumeSounds() = 0;
    // Slots 22 and 23, start-up and the audio screen: volumes 0-255.
    virtual void SetSoundVolume(int volume) = 0;
    virtual void SetMusicVolume(int volume) = 0;
    // Slot 24, shell at exit.
    virtual ~MFSGameController() = default;

    // What the engine's flight overlay shows besides the slots above: the one-line status
    // (speed, height, throttle and the aids' flags), the flight clock in whole seconds and
    // the score of the TIME / SCORE read-out.
    virtual std::string StatusText() { return {}; }
    virtual int32_t FlightSeconds() { return 0; }
    virtual int32_t Score() { return 0; }
    // The main loop ends (the window closed, the player quit): a running flight's
    // recording ends where it stands.
    virtual void Quitting() {}
};
