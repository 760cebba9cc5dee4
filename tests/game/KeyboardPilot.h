#pragma once
// A player on the keys: the whole game headless at 60 passes a second, the test flight of
// one aircraft, and the pad keys and buttons pressed pass by pass as they lie in flight.
#include <gtest/gtest.h>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "game/CSPAircraft.h"
#include "platform/FSDisplay.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"
#include "testflight/CSPTestFlight.h"
#include "world/FSTerrainHolder.h"
#include "world/FSTerrainStorage.h"

namespace game_test {

// Pad keys as the player sees them, and the hot keys of the buttons as they lie in flight:
// key state 9 (the shift of the chords) is button 5, states 5-7 are buttons 4, 3 and 2.
enum Pad { kAction = 0, kLeft = 1, kRight = 2, kUp = 3, kDown = 4 };
constexpr int kShift = 197, kFlapsButton = 196, kThrottleMoreButton = 195, kThrottleLessButton = 194;

class KeyboardPilot {
public:
    explicit KeyboardPilot(testing_support::HeadlessTestGame& game) : game_(game) {}

    // Starts the test flight of aircraft index over terrain in the smallest picture and waits
    // out the engine's warm-up (the time scale then is 60 frames' 18 / 60).
    bool Start(int index, const char* terrain = "farmland.ter") {
        if (game_.Start() != 0) return false;
        CFSApplicationContext& context = game_.shell->Context();
        context.video.resolution = 0;
        DeriveRenderSize(context.video);
        game_.controller->SetTerrain(terrain);
        game_.controller->SetAircraft(index);
        game_.StartFlight();
        game_.Pass(90);
        return context.engine->State() == Flying && game_.controller->Flight() != nullptr;
    }

    CSPAircraft& Aircraft() const { return *game_.controller->Flight()->Aircraft(); }
    bool Crashed() const { return game_.controller->Flight()->Crashed(); }
    // Height of the aircraft above the ground under it, km.
    float Height() const {
        const CFSTerrainStorage* terrain = GetApplicationContext()->terrain->model.get();
        const MFSSceneNode& node = Aircraft().GetNode();
        return FixedToFloat(terrain->HeightAboveAt(node.GetPosition(), node.GetCell()));
    }

    void Button(int hotKey) {  // one message per pass: down or up
        game_.display.PostEvent({FSEventType::HotKey, 0, 0, hotKey});
        game_.Pass();
    }
    // Button 5 held with a button: the chord fires as it completes and on passes more passes.
    void Chord(int hotKey, int passes) {
        Button(kShift);
        Button(hotKey);
        game_.Pass(passes);
        Button(hotKey);
        Button(kShift);
    }
    // Holds throttle more or less until the throttle reaches fraction; the passes it fired on.
    int ThrottleTo(float fraction) {
        const float sign = fraction > Aircraft().ThrottleFraction() ? 1.0f : -1.0f;
        Button(kShift);
        Button(sign > 0.0f ? kThrottleMoreButton : kThrottleLessButton);
        int passes = 1;
        for (; passes < 600 && sign * (fraction - Aircraft().ThrottleFraction()) > 0.0f; ++passes)
            game_.Pass();
        Button(sign > 0.0f ? kThrottleMoreButton : kThrottleLessButton);
        Button(kShift);
        return passes;
    }
    void ReleaseBrakes() {  // button 5 and the action key, pressed and let go
        Button(kShift);
        game_.Tap(kAction);
        Button(kShift);
    }
    // One pass of holding the nose between low and high (rad) as a player does: every
    // eighth pass a look at where the nose is going (attitude and pitch rate), and three
    // passes of Down or Up (three steps) if it is leaving the band.
    void HoldPitch(float low, float high) {
        if (tick_ % 8 == 0) {
            float pitch = 0.0f, bank = 0.0f;
            Aircraft().Attitude(pitch, bank);
            const float heading = pitch + Aircraft().GetAngularVelocity().x * 0.5f;
            key_ = heading < low ? kDown : heading > high ? kUp : -1;
        }
        const bool pressing = key_ >= 0 && tick_ % 8 < 3;
        game_.display.SetPadKey(kDown, pressing && key_ == kDown);  // Down raises the nose
        game_.display.SetPadKey(kUp, pressing && key_ == kUp);
        ++tick_;
        game_.Pass();
    }
    void LetGo() {
        game_.display.SetPadKey(kDown, false);
        game_.display.SetPadKey(kUp, false);
        game_.Pass();
    }

private:
    testing_support::HeadlessTestGame& game_;
    int tick_ = 0;
    int key_ = -1;
};

}  // namespace game_test
