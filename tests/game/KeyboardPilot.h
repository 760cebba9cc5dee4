#pragma once
// A player on the keys for the game tests that fly through the real input: the whole game
// headless at 60 passes a second, the test flight of one aircraft over a terrain, and the
// pad keys and application buttons pressed pass by pass as they lie in flight.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "game/CSPAircraft.h"
#include "game/CSPPlaceholderController.h"
#include "game/CSPTestFlight.h"
#include "platform/FSDisplay.h"
#include "support/HeadlessTestGame.h"
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

    // Starts the test flight of aircraft index over terrain, with the smallest picture (the
    // flight is what is tested, not its drawing), and waits out the engine's warm-up so that
    // the time scale is the 60 frames' 18 / 60. False when no flight came up.
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
    float Pitch() const {
        float pitch = 0.0f, bank = 0.0f;
        Aircraft().Attitude(pitch, bank);
        return pitch;
    }
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
    // Button 5 held while a button is pressed: the chord fires once as it completes and on
    // each of passes more passes.
    void Chord(int hotKey, int passes) {
        Button(kShift);
        Button(hotKey);
        game_.Pass(passes);
        Button(hotKey);
        Button(kShift);
    }
    // A pad key down for one pass and up on the next, with button 5 held if shifted.
    void Tap(int padKey, bool shifted = false) {
        if (shifted) Button(kShift);
        game_.Tap(padKey);
        if (shifted) Button(kShift);
    }
    // Holds throttle more or less until the throttle reaches fraction or passes it; returns
    // the passes the chord fired on.
    int ThrottleTo(float fraction) {
        const bool more = fraction > Aircraft().ThrottleFraction();
        const int button = more ? kThrottleMoreButton : kThrottleLessButton;
        Button(kShift);
        Button(button);
        int passes = 1;
        for (; passes < 600 &&
               (more ? Aircraft().ThrottleFraction() < fraction : Aircraft().ThrottleFraction() > fraction);
             ++passes)
            game_.Pass();
        Button(button);
        Button(kShift);
        return passes;
    }
    void ReleaseBrakes() {
        Button(kShift);
        game_.display.SetPadKey(kAction, true);
        game_.Pass(2);
        game_.display.SetPadKey(kAction, false);
        game_.Pass();
        Button(kShift);
    }
    // One pass of holding the nose between low and high (rad) with the elevator keys, the
    // way a player does it: every eighth pass a look at where the nose is going (its
    // attitude and pitch rate), and a press of Down or Up for three passes (three steps) if
    // it is leaving the band.
    void HoldPitch(float low, float high) {
        if (tick_ % 8 == 0) {
            const float heading = Pitch() + Aircraft().GetAngularVelocity().x * 0.5f;
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
