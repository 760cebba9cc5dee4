#pragma once
// What the menu screens share: their pictures from the menu archive, the game controller,
// the time and the stylus point.
#include <cstdint>
#include <string>

#include "resources/FSBitmap.h"

class CSPGameController;

namespace menu_screens {

// A picture of "data\menu.zip" (rows top-down); null when it is missing.
FSBitmapHandle LoadMenuPicture(const std::string& member);
// The game's controller, or null (no game, or another kind of controller).
CSPGameController* GameController();
// Where the stylus last touched, in menu pixels.
FSPoint Stylus();
uint32_t Now();

}  // namespace menu_screens
