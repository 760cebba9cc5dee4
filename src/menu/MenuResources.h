#pragma once
// What every menu screen and control shares: the pictures of the controls and the title
// buttons from "data\menu.zip", the menu fonts, and the 320 x 240 screen buffer into which
// every screen composes. One exists per menu, for as long as the menu; the controls reach
// it through MenuResources::Current().
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "hud/FSFont.h"
#include "resources/FSBitmap.h"

struct FSMenuPicture {
    FSBitmapHandle image;
    FSBitmapHandle mask;  // null for pictures drawn keyed or plain
};

class MenuResources {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr float kSliderStep = 0.005f;

    MenuResources();
    ~MenuResources();
    MenuResources(const MenuResources&) = delete;
    MenuResources& operator=(const MenuResources&) = delete;

    // Loads every picture from archivePath (the game's "data\menu.zip" when empty) and the
    // fonts from the game's fonts archive (fontsArchive when given). A picture that fails
    // leaves a null handle and false is returned; everything else still loads.
    bool Load(const std::string& archivePath = {}, const std::string& fontsArchive = {});

    // The resources of the live menu, or null (set by construction, cleared by destruction).
    static MenuResources* Current();

    // Controls.
    FSMenuPicture sliderPointBorder;  // "controls/sliderctrl/slider_point_border(_mask).bmp"
    FSMenuPicture sliderPointCenter;  // "controls/sliderctrl/slider_point_center(_mask).bmp"
    FSMenuPicture sliderLine;         // "controls/sliderctrl/slider_line(_mask).bmp"
    FSMenuPicture checkboxOn;         // "controls/checkboxctrl/checkbox_on.bmp", "checkbox_mask_on.bmp"
    FSMenuPicture checkboxOff;        // "controls/checkboxctrl/checkbox_off.bmp", "checkbox_mask_off.bmp"
    FSMenuPicture hscroller;          // "controls/scrollerctrl/hscroller(_mask).bmp"
    FSMenuPicture vscroller;          // "controls/scrollerctrl/vscroller(_mask).bmp"
    FSMenuPicture scrollerArrow;      // "controls/scrollerctrl/scroller_arrow(_mask).bmp"
    // Fonts: "listctrl_font" (9, -1, 0), "main" (6, 1, 0), "scores_font" (7, -1, 0),
    // "menu_links" (7, 0, -3).
    CFSFont listFont, mainFont, scoresFont, linksFont;
    // Title buttons, drawn keyed on black: "states/backward.bmp", "states/forward.bmp",
    // "states/close.bmp".
    FSBitmapHandle backward, forward, close;
    // The pointer (the slider knob too): "states/pointer.bmp" through "states/pointer_mask.bmp";
    // "states/empty_pointer_mask.bmp".
    FSMenuPicture pointer;
    FSBitmapHandle emptyPointerMask;

    // What the close title button does: puts the game's window away (set by the menu).
    std::function<void()> minimise;
    // Switches the PC keyboard between typing text and pressing the game's keys (set by the
    // menu; a screen turns it on while its keyboard is open).
    std::function<void(bool)> textInput;

    // 320 x 240 5-6-5, top row first.
    std::vector<uint16_t> screen;
    // Held by the menu's video thread while it draws a clip frame into the screen buffer
    // and by the main thread while it composes and shows a screen or reopens the player.
    std::recursive_mutex pictureLock;
    // One pass of the video thread, run under pictureLock: the milliseconds to wait before
    // the next. Set by the screen that plays a clip, empty otherwise.
    std::function<uint32_t()> videoPass;
    uint16_t* Screen() { return screen.data(); }
};
