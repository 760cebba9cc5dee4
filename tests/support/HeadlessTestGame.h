#pragma once
// The whole game headless for the tests of the shell and the game, with its player files
// in a fresh temporary folder.
#include "common/HeadlessGame.h"
#include "support/TestSupport.h"

namespace testing_support {

class HeadlessTestGame : public HeadlessGame {
public:
    explicit HeadlessTestGame(HeadlessFlights flights = HeadlessFlights::TestFlight)
        : HeadlessGame(MakeTempFolder("player"), 50000, flights) {}
};

}  // namespace testing_support
