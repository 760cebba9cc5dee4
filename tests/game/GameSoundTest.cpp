// The game's sounds through a whole headless run on SDL's dummy sound driver: the engine
// loop and the wind while flying, silence when the window loses the foreground, the menu
// music in the menu, the explosion at a crash.
#include <gtest/gtest.h>

#include <algorithm>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "game/CSPAircraft.h"
#include "support/TestSupport.h"
#include "world/FSSceneNode.h"

namespace {

FSHeadlessOptions Flight(int aircraft) {
    FSHeadlessOptions options;
    options.route = 1;
    options.aircraft = aircraft;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("sound");
    return options;
}

// Which of the six channels play, as a string of six 0/1.
std::string Playing(CFSSoundChannels& sounds) {
    std::string s;
    for (int channel = 0; channel < CFSSoundChannels::kCount; ++channel)
        s += sounds.IsPlaying(channel) ? '1' : '0';
    return s;
}

TEST(GameSound, LoopsFollowTheFlightTheMenuMusicTheMenuAndFocusLossSilencesAll) {
    CFSHeadlessRun run(Flight(0));  // the Cessna: a propeller
    ASSERT_EQ(run.Start(), 0);
    CFSEngine& engine = *run.Shell().Context().engine;
    CFSSoundChannels& sounds = engine.Sounds();
    CSPGameController& game = run.Controller();
    EXPECT_EQ(game.MenuMusicChannel(), 0);
    EXPECT_EQ(game.ExplosionChannel(), 5);
    EXPECT_EQ(game.FlightLoopChannel(0), -1);
    EXPECT_EQ(game.FlightLoopChannel(1), 2);
    EXPECT_EQ(game.FlightLoopChannel(2), -1);
    EXPECT_EQ(game.FlightLoopChannel(3), 4);
    // Built but not flown yet: the engine is silent until a frame sets it from the throttle.
    EXPECT_EQ(sounds.Volume(2), 0);
    // Flying: the propeller loop and the wind, no music.
    for (int i = 0; i < 60; ++i)
        run.Pass();
    ASSERT_EQ(engine.State(), Flying);
    EXPECT_EQ(Playing(sounds), "001010");
    const CSPAircraft* aircraft = game.Aircraft();
    ASSERT_NE(aircraft, nullptr);
    EXPECT_EQ(sounds.Volume(2),
              CFSSoundChannels::DeviceVolume(static_cast<int>(255 * aircraft->ThrottleFraction())));
    const float wind =
        255.0f * (aircraft->IsFlaps() ? 0.4f : 0.2f) * std::min(aircraft->Airspeed() / 100.0f, 1.0f);
    EXPECT_EQ(sounds.Volume(4), CFSSoundChannels::DeviceVolume(static_cast<int>(wind)));

    // The window loses the foreground: the flight is left for the menu, and all is silent.
    run.Display().SetFocus(false);
    run.Pass();
    EXPECT_EQ(engine.State(), Menu);
    EXPECT_EQ(Playing(sounds), "000000");
    // Back in the foreground, in the menu: the menu music.
    run.Display().SetFocus(true);
    run.Pass();
    EXPECT_EQ(Playing(sounds), "100000");
    EXPECT_TRUE(sounds.Output().IsLooped(0));
    // The flight resumed: the loops again, the music stops.
    game.RunFlightStart();
    run.Pass();
    EXPECT_EQ(Playing(sounds), "001010");

    // A crash: the explosion plays once, the loops stop.
    MFSSceneNode* node = game.AircraftNode();
    ASSERT_NE(node, nullptr);
    node->Remove();
    game.Contact(node);
    EXPECT_EQ(game.Finish(), SPFinish::Failure);
    EXPECT_EQ(Playing(sounds), "000001");
    EXPECT_FALSE(sounds.Output().IsLooped(5));
    // Quitting silences everything.
    engine.SetState(Quit);
    EXPECT_EQ(Playing(sounds), "000000");
}

TEST(GameSound, AJetFliesWithItsWhineAndAVolumeChangeReachesEveryEffect) {
    CFSHeadlessRun run(Flight(2));  // the L-29: a jet
    ASSERT_EQ(run.Start(), 0);
    CFSSoundChannels& sounds = run.Shell().Context().engine->Sounds();
    CSPGameController& game = run.Controller();
    EXPECT_EQ(game.FlightLoopChannel(1), -1);
    EXPECT_EQ(game.FlightLoopChannel(2), 3);
    run.Pass();
    EXPECT_EQ(Playing(sounds), "000110");
    game.SetSoundVolume(128);
    game.SetMusicVolume(255);
    EXPECT_EQ(sounds.Volume(3), 0x8080);
    EXPECT_EQ(sounds.Volume(5), 0x8080);
    EXPECT_EQ(sounds.Volume(0), 0xFFFF);
}

}  // namespace
