#pragma once
// What the menu screens share: their pictures from the menu archive, the game controller,
// the time and the stylus point.
#include <cstdint>
#include <string>

#include "resources/FSBitmap.h"

class CFSFont;
class CSPGameController;

namespace menu_screens {

// A picture of "data\menu.zip" (rows top-down); null when it is missing.
FSBitmapHandle LoadMenuPicture(const std::string& member);
// The game's controller, or null (no game, or another kind of controller).
CSPGameController* GameController();
// Where the stylus last touched, in menu pixels.
FSPoint Stylus();
uint32_t Now();
// The text with its lines broken at blanks so that each fits width pixels in the font (a
// word wider than that keeps a line of its own); carriage returns go.
std::string WrapText(const CFSFont& font, const std::string& text, int width);
// Prose broken by hand into lines: a line that does not end a sentence (".", "!", "?", a
// closing quote) runs on into the next, so the text can be broken again for another width.
std::string JoinProse(const std::string& text);

}  // namespace menu_screens
