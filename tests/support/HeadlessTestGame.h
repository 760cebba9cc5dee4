#pragma once
// The whole game headless for the tests of the shell and the game, with its player files
// in a fresh temporary folder.
#include "common/HeadlessGame.h"
#include "support/TestSupport.h"

namespace testing_support {

class HeadlessTestGame : public HeadlessGame {
public:
    HeadlessTestGame() : HeadlessGame(MakeTempFolder("player")) {}
};

}  // namespace testing_support
