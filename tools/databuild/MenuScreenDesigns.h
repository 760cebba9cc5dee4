#pragma once
// The layouts of the menu screens' backgrounds ("states/state_*/*.bmp" in menu.zip): for
// each screen its title, the item labels painted into the picture at the rectangles the
// screen taps and points at, the quiet dark panels where the screen draws its own lists,
// text boxes and controls in white, and a few lines of lighter decoration. Rectangles are
// (left, top, right, bottom) in screen pixels, right and bottom inclusive as the screens
// test them.
#include <vector>

namespace menu_screens {

struct Rect {
    int left, top, right, bottom;
};

enum class Align { kLeft, kRight };

// A label the screen reacts to: its text fills the rectangle's height and starts at its
// left edge (or ends at its right edge). A tall rectangle that holds a list carries its
// text as a heading in its top headingHeight rows.
struct Label {
    Rect box;
    const char* text;
    Align align = Align::kLeft;
    int headingHeight = 0;
};

// Where the screen draws in white: kept dark and plain.
struct Panel {
    Rect box;
};

// Decoration: a line of small text, its baseline at y, in the accent colour or light.
struct Note {
    int x, y;
    const char* text;
    bool accent = true;
    float size = 9.0f;
};

enum class Scenery {
    kPlain,          // sky and hills only
    kAircraft,       // the title picture's climbing aircraft on the left
    kAircraftRight,  // the same, smaller, on the right
};

struct ScreenDesign {
    const char* path;  // the member of menu.zip
    const char* title;
    std::vector<Label> labels;
    std::vector<Panel> panels;
    std::vector<Note> notes;
    // The points where the screen draws the 13 x 13 pointer, to keep clear of ink.
    std::vector<int> pointerXs, pointerYs;
    Scenery scenery = Scenery::kPlain;
};

// Every background of the menu, the main menu first.
const std::vector<ScreenDesign>& ScreenDesigns();

// The main menu's "Resume" item, greyed when there is nothing to resume: the label's index
// in the main menu's design, and where "states/state_main/resume.bmp" is copied over it.
constexpr int kResumeLabel = 1;
constexpr Rect kResumePatch = {194, 96, 194 + 68 - 1, 96 + 18 - 1};

// The bar behind the selected row of the controls screen's key list: the list's width less
// its scroll bar, one row high.
constexpr int kSelectBarWidth = 258, kSelectBarHeight = 15;

}  // namespace menu_screens
