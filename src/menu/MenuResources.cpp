#include "menu/MenuResources.h"

#include "resources/FSArchive.h"

namespace {

MenuResources* gCurrent = nullptr;

bool LoadPicture(const std::string& archive, FSMenuPicture& picture, const std::string& image,
                 const std::string& mask) {
    picture.image = LoadBitmap(archive, image);
    picture.mask = LoadBitmap(archive, mask);
    return picture.image && picture.mask;
}

bool LoadFontFromArchive(CFSFont& font, const std::string& archive, const char* name, int space, int letter,
                         int line) {
    return archive.empty() ? font.LoadFont(name, space, letter, line)
                           : font.LoadFontFrom(archive, name, space, letter, line);
}

}  // namespace

MenuResources::MenuResources() : screen(static_cast<size_t>(kWidth) * kHeight, 0) {
    gCurrent = this;
}

MenuResources::~MenuResources() {
    if (gCurrent == this) gCurrent = nullptr;
}

MenuResources* MenuResources::Current() {
    return gCurrent;
}

bool MenuResources::Load(const std::string& archivePath, const std::string& fontsArchive) {
    const std::string a = archivePath.empty() ? MakeDataPath("data\\menu.zip") : archivePath;
    const std::string slider = "controls/sliderctrl/", check = "controls/checkboxctrl/",
                      scroll = "controls/scrollerctrl/";
    bool ok = LoadPicture(a, sliderPointBorder, slider + "slider_point_border.bmp",
                          slider + "slider_point_border_mask.bmp");
    ok = LoadPicture(a, sliderPointCenter, slider + "slider_point_center.bmp",
                     slider + "slider_point_center_mask.bmp") &&
         ok;
    ok = LoadPicture(a, sliderLine, slider + "slider_line.bmp", slider + "slider_line_mask.bmp") && ok;
    ok = LoadPicture(a, checkboxOn, check + "checkbox_on.bmp", check + "checkbox_mask_on.bmp") && ok;
    ok = LoadPicture(a, checkboxOff, check + "checkbox_off.bmp", check + "checkbox_mask_off.bmp") && ok;
    ok = LoadPicture(a, hscroller, scroll + "hscroller.bmp", scroll + "hscroller_mask.bmp") && ok;
    ok = LoadPicture(a, vscroller, scroll + "vscroller.bmp", scroll + "vscroller_mask.bmp") && ok;
    ok = LoadPicture(a, scrollerArrow, scroll + "scroller_arrow.bmp", scroll + "scroller_arrow_mask.bmp") &&
         ok;
    ok = LoadFontFromArchive(listFont, fontsArchive, "listctrl_font", 9, -1, 0) && ok;
    ok = LoadFontFromArchive(mainFont, fontsArchive, "main", 6, 1, 0) && ok;
    ok = LoadFontFromArchive(scoresFont, fontsArchive, "scores_font", 7, -1, 0) && ok;
    ok = LoadFontFromArchive(linksFont, fontsArchive, "menu_links", 7, 0, -3) && ok;
    backward = LoadBitmap(a, "states/backward.bmp");
    forward = LoadBitmap(a, "states/forward.bmp");
    close = LoadBitmap(a, "states/close.bmp");
    ok = backward && forward && close && ok;
    ok = LoadPicture(a, pointer, "states/pointer.bmp", "states/pointer_mask.bmp") && ok;
    emptyPointerMask = LoadBitmap(a, "states/empty_pointer_mask.bmp");
    return emptyPointerMask && ok;
}
