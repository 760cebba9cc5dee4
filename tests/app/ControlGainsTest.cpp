// The control gains the aircraft's keys and stylus steering use, derived from the three
// sensitivity settings and the centres an aircraft's difficulty sets.
#include <gtest/gtest.h>

#include "app/FSApplicationContext.h"
#include "game/CSPAircraft.h"
#include "game/CSPPlaceholderController.h"
#include "game/CSPTestFlight.h"
#include "support/HeadlessTestGame.h"

namespace {

FSGameBlock Derived(float joystick, float balance, float touch) {
    FSGameBlock game;
    game.joystickSensitivity = joystick;
    game.xySensitivity = balance;
    game.touchscreenSensitivity = touch;
    DeriveControlGains(game);
    return game;
}

TEST(ControlGains, SensitivitiesMapThroughTheirCentresAndTheBalanceTradesBetweenAxes) {
    // The factory settings: a fresh context already has its gains, never zero.
    const FSGameBlock factory = CFSApplicationContext().game;
    EXPECT_FLOAT_EQ(factory.keyPitchRate, 0.125f);
    EXPECT_FLOAT_EQ(factory.keyRollRate, 0.125f);
    EXPECT_FLOAT_EQ(factory.stylusPitchRate, 0.05f);
    EXPECT_FLOAT_EQ(factory.stylusRollRate, 0.05f);

    // Ends stay ends, the middle becomes the centre.
    EXPECT_FLOAT_EQ(Derived(0.05f, 0.0f, 0.0f).keyPitchRate, 0.05f);
    EXPECT_FLOAT_EQ(Derived(0.15f, 0.0f, 0.1f).keyRollRate, 0.15f);
    EXPECT_FLOAT_EQ(Derived(0.15f, 0.0f, 0.1f).stylusRollRate, 0.1f);
    EXPECT_FLOAT_EQ(Derived(0.1f, 0.0f, 0.05f).keyPitchRate, 0.1f);
    FSGameBlock easy;
    easy.joystickCentre = 0.08f;
    easy.joystickSensitivity = 0.1f;
    DeriveControlGains(easy);
    EXPECT_FLOAT_EQ(easy.keyPitchRate, 0.08f);
    easy.joystickSensitivity = 0.075f;  // halfway down: halfway from the centre to the low end
    DeriveControlGains(easy);
    EXPECT_FLOAT_EQ(easy.keyPitchRate, 0.065f);

    // The balance: +3 gives the pitch keys four times the gain and the roll keys a quarter;
    // -3 the other way round.
    const FSGameBlock pitchy = Derived(0.1f, 3.0f, 0.05f);
    EXPECT_FLOAT_EQ(pitchy.keyPitchRate, 0.4f);
    EXPECT_FLOAT_EQ(pitchy.keyRollRate, 0.025f);
    EXPECT_FLOAT_EQ(pitchy.stylusPitchRate, 0.2f);
    const FSGameBlock rolly = Derived(0.1f, -3.0f, 0.05f);
    EXPECT_FLOAT_EQ(rolly.keyPitchRate, 0.025f);
    EXPECT_FLOAT_EQ(rolly.keyRollRate, 0.4f);
}

TEST(ControlGains, HoldingThePadInTheTestFlightMovesTheControls) {
    testing_support::HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.StartFlight();
    game.Pass(2);
    CSPAircraft* aircraft = game.controller->Flight()->Aircraft();
    ASSERT_NE(aircraft, nullptr);
    // Down on the pad pulls the nose up; the elevator stays where it was left.
    for (int pass = 0; pass < 20; ++pass) {
        game.display.SetPadKey(4, true);
        game.Pass();
    }
    game.display.SetPadKey(4, false);
    game.Pass(3);
    EXPECT_GT(aircraft->GetPitchControl(), 0.05f);
    // Left banks the ailerons while held.
    game.display.SetPadKey(1, true);
    game.Pass(5);
    EXPECT_LT(aircraft->GetRollControl(), 0.0f);
    game.display.SetPadKey(1, false);
}

}  // namespace
