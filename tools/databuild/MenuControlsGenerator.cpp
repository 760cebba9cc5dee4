// The shared pictures of the menu's controls in menu.zip: the slider's track, end caps and
// ticks, the check box, the scroll bar's arrow and thumbs, the pointer (the item marker and
// the slider knob), the title buttons, the message box and the text field.
//
// Everything sits on the menu's dusk-blue screens, so the controls are dark night-blue
// wells with light rims, and whatever the player moves or picks (the knob, the ticks of a
// check box, a scroll thumb, the chosen button) glows in the warm accent. Pictures drawn
// through masks are soft-edged; the title buttons are keyed on black.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/MenuArt.h"
#include "databuild/PictureSketch.h"

using namespace menu_art;

namespace {

// The knob is placed 3 pixels left of and above the slider's track, so at 13 x 13 its
// middle lies on the track's row 3.5 and on the track's ends at the value's extremes.
constexpr int kPointerSize = 13;
// The track: 7 rows, the rail on their middle so that the right end cap, the left one
// given a half turn, lines up with it; the end caps 9 columns (the line starts 8 columns
// into the slider, one past the cap placed a column before it); the ticks 5 columns,
// centred on column 2.
constexpr int kTrackHeight = 7, kCapWidth = 9, kTickWidth = 5, kLineWidth = 4;
constexpr float kRailTop = 1.5f, kRailBottom = 5.5f;
constexpr int kCheckSize = 13;
// The scroll bars are 13 pixels thick (the text box keeps 13 pixels for them); the thumb's
// pieces are its first and last 7 columns with column 7 stretched between.
constexpr int kBar = 13, kThumbLength = 15;
constexpr int kTitleWidth = 22, kTitleHeight = 18;
constexpr int kWindowWidth = 220, kWindowHeight = 110;
constexpr int kButtonWidth = 88, kButtonHeight = 22;
constexpr int kFieldWidth = 240, kFieldHeight = 22;
constexpr Rgba kFieldFrame = {187, 0, 0, 255};

constexpr Rgba kRim = {150, 170, 214, 255};  // the dusk lightened: rims of dark wells

Distance Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

// A dark well with a light rim.
void Well(PictureSketch& sketch, const Distance& shape) {
    sketch.Paint(shape, 0.0f, kRim);
    sketch.Shade([&shape](float x, float y) { return shape(x, y) + 1.0f; },
                 [](float, float y) { return Mix(kDeep, kNight, std::min(y / 12.0f, 1.0f)); });
}

// A warm rounded body lit from above.
void WarmBody(PictureSketch& sketch, const Distance& shape, float top, float bottom) {
    sketch.Paint(shape, 0.0f, kDeep);
    sketch.Shade([&shape](float x, float y) { return shape(x, y) + 0.9f; },
                 [=](float, float y) { return Mix(kGlow, kEmber, (y - top) / (bottom - top)); });
}

PictureSketch Pointer() {
    PictureSketch sketch(kPointerSize, kPointerSize);
    const float c = kPointerSize / 2.0f;
    WarmBody(sketch, Circle(c, c, 6.2f), 0.5f, 12.5f);
    // A chevron pointing at the item it marks.
    sketch.Paint(Segment({c - 1.8f, c - 3.0f}, {c + 1.6f, c}, 1.7f), 0.0f, kDeep);
    sketch.Paint(Segment({c + 1.6f, c}, {c - 1.8f, c + 3.0f}, 1.7f), 0.0f, kDeep);
    return sketch;
}

// The rail runs from column `from` to `to`, rounded where it ends inside the picture.
PictureSketch Track(int width, float from, float to) {
    PictureSketch sketch(width, kTrackHeight);
    const float r = (kRailBottom - kRailTop) / 2;
    sketch.Paint(RoundedBox(from, kRailTop, to, kRailBottom, r), 0.0f, kRim);
    sketch.Paint(RoundedBox(from + 1, kRailTop + 1, to - 1, kRailBottom - 1, r - 1), 0.0f, kDeep);
    return sketch;
}

PictureSketch Tick() {
    PictureSketch sketch(kTickWidth, kTrackHeight);
    sketch.Paint(RoundedBox(1.0f, 0.0f, 4.0f, 7.0f, 1.2f), 0.0f, kDeep);
    sketch.Paint(RoundedBox(1.7f, 0.7f, 3.3f, 6.3f, 0.6f), 0.0f, kGlow);
    return sketch;
}

PictureSketch CheckBox(bool on) {
    PictureSketch sketch(kCheckSize, kCheckSize);
    Well(sketch, RoundedBox(0.5f, 0.5f, kCheckSize - 0.5f, kCheckSize - 0.5f, 3.0f));
    if (on) {
        const Point2 a = {3.2f, 6.6f}, b = {5.4f, 9.2f}, c = {9.8f, 3.4f};
        for (float grow : {0.8f, 0.0f}) {
            const Rgba colour = grow > 0 ? kDeep : kGlow;
            sketch.Paint(Segment(a, b, 2.2f), grow, colour);
            sketch.Paint(Segment(b, c, 2.2f), grow, colour);
        }
    }
    return sketch;
}

// The first arrow of a scroll bar: a square button pointing left (the game turns it for
// the others).
PictureSketch ScrollArrow() {
    PictureSketch sketch(kBar, kBar);
    Well(sketch, RoundedBox(0.5f, 0.5f, kBar - 0.5f, kBar - 0.5f, 3.0f));
    sketch.Paint(Polygon({{3.3f, 6.5f}, {8.8f, 3.2f}, {8.8f, 9.8f}}), 0.0f, kGlow);
    return sketch;
}

// A pill along the bar, lit from its top (or left, standing).
PictureSketch Thumb(bool standing) {
    const int w = standing ? kBar : kThumbLength, h = standing ? kThumbLength : kBar;
    PictureSketch sketch(w, h);
    const Distance pill = RoundedBox(1.0f, 1.0f, w - 1.0f, h - 1.0f, 4.0f);
    sketch.Paint(pill, 0.0f, kDeep);
    sketch.Shade([&pill](float x, float y) { return pill(x, y) + 0.9f; },
                 [=](float x, float y) { return Mix(kGlow, kEmber, ((standing ? x : y) - 1) / (kBar - 2)); });
    return sketch;
}

// A title button: a rounded dusk tile with a light rim, its sign in the warm accent.
PictureSketch TitleButton(char sign) {
    PictureSketch sketch(kTitleWidth, kTitleHeight);
    const Distance tile = RoundedBox(0.5f, 0.5f, kTitleWidth - 0.5f, kTitleHeight - 0.5f, 4.0f);
    sketch.Paint(tile, 0.0f, kRim);
    sketch.Shade([&tile](float x, float y) { return tile(x, y) + 1.0f; },
                 [](float, float y) { return Mix(kDusk, kNight, y / kTitleHeight); });
    const float cx = kTitleWidth / 2.0f, cy = kTitleHeight / 2.0f, w = 2.2f;
    if (sign == 'x') {
        sketch.Paint(Segment({cx - 4, cy - 4}, {cx + 4, cy + 4}, w), 0.0f, kGlow);
        sketch.Paint(Segment({cx - 4, cy + 4}, {cx + 4, cy - 4}, w), 0.0f, kGlow);
    } else {
        const float d = sign == '<' ? -1.0f : 1.0f;
        sketch.Paint(Segment({cx - 2 * d, cy - 5}, {cx + 2.5f * d, cy}, w), 0.0f, kGlow);
        sketch.Paint(Segment({cx + 2.5f * d, cy}, {cx - 2 * d, cy + 5}, w), 0.0f, kGlow);
    }
    return sketch;
}

Rgba WindowShade(float y) {
    return Mix(kNight, kDeep, y / kWindowHeight);
}

PictureSketch MessageWindow() {
    PictureSketch sketch(kWindowWidth, kWindowHeight);
    const float w = kWindowWidth, h = kWindowHeight;
    sketch.Paint(RoundedBox(0, 0, w, h, 0), 0.0f, kDeep);
    sketch.Paint(RoundedBox(1, 1, w - 1, h - 1, 3), 0.0f, kGlow);
    sketch.Shade(RoundedBox(3, 3, w - 3, h - 3, 2), [](float, float y) { return WindowShade(y); });
    // A faint band of dusk light along the top, like the sky over the title picture.
    sketch.Shade(RoundedBox(3, 3, w - 3, 12, 2), [](float, float y) {
        return Rgba{kDusk.r, kDusk.g, kDusk.b, static_cast<uint8_t>(120 * (1 - (y - 3) / 9))};
    });
    return sketch;
}

// The buttons lie on the window's lower part (their top 30 rows above its foot), so their
// corners show the window's colour there.
PictureSketch MessageButton(bool on) {
    PictureSketch sketch(kButtonWidth, kButtonHeight);
    const float w = kButtonWidth, h = kButtonHeight, top = kWindowHeight - 30;
    sketch.Shade(RoundedBox(0, 0, w, h, 0), [=](float, float y) { return WindowShade(top + y); });
    const Distance body = RoundedBox(0.5f, 0.5f, w - 0.5f, h - 0.5f, 6.0f);
    sketch.Paint(body, 0.0f, on ? kGlow : kRim);
    const Rgba upper = on ? Rgba{224, 128, 72, 255} : kDusk, lower = on ? Rgba{160, 76, 52, 255} : kNight;
    sketch.Shade([&body](float x, float y) { return body(x, y) + 1.2f; },
                 [=](float, float y) { return Mix(upper, lower, y / h); });
    return sketch;
}

bool AddTitleButton(ArchiveBuilder& archive, const std::string& name, char sign) {
    return AddKeyed(archive, name, TitleButton(sign).Finish(), 0);
}

// The text field: a frame 2 pixels wide on white, which the game keys out.
Canvas Field() {
    Canvas field(kFieldWidth, kFieldHeight, {255, 255, 255, 255});
    field.FillRect(0, 0, kFieldWidth, 2, kFieldFrame);
    field.FillRect(0, kFieldHeight - 2, kFieldWidth, 2, kFieldFrame);
    field.FillRect(0, 0, 2, kFieldHeight, kFieldFrame);
    field.FillRect(kFieldWidth - 2, 0, 2, kFieldHeight, kFieldFrame);
    return field;
}

}  // namespace

bool AddMenuControls(ArchiveBuilder& archive, const DataSources&) {
    const std::string slider = "controls/sliderctrl/", check = "controls/checkboxctrl/",
                      scroll = "controls/scrollerctrl/", box = "controls/messagebox/",
                      edit = "controls/editctrl/";
    const Canvas pointer = Pointer().Finish();
    bool ok = AddMasked(archive, "states/pointer.bmp", "states/pointer_mask.bmp", pointer);
    // The pointer's whole square, for laying the screen back over where it stood.
    ok = archive.Add("states/empty_pointer_mask.bmp",
                     EncodeMaskBmp(std::vector<uint8_t>(kPointerSize * kPointerSize, 255), kPointerSize,
                                   kPointerSize)) &&
         ok;
    ok = AddMasked(archive, slider + "slider_point_border.bmp", slider + "slider_point_border_mask.bmp",
                   Track(kCapWidth, 1.0f, kCapWidth + 4.0f).Finish()) &&
         ok;
    ok = AddMasked(archive, slider + "slider_line.bmp", slider + "slider_line_mask.bmp",
                   Track(kLineWidth, -4.0f, kLineWidth + 4.0f).Finish()) &&
         ok;
    ok = AddMasked(archive, slider + "slider_point_center.bmp", slider + "slider_point_center_mask.bmp",
                   Tick().Finish()) &&
         ok;
    ok = AddMasked(archive, check + "checkbox_on.bmp", check + "checkbox_mask_on.bmp",
                   CheckBox(true).Finish()) &&
         ok;
    ok = AddMasked(archive, check + "checkbox_off.bmp", check + "checkbox_mask_off.bmp",
                   CheckBox(false).Finish()) &&
         ok;
    ok = AddMasked(archive, scroll + "scroller_arrow.bmp", scroll + "scroller_arrow_mask.bmp",
                   ScrollArrow().Finish()) &&
         ok;
    ok = AddMasked(archive, scroll + "hscroller.bmp", scroll + "hscroller_mask.bmp", Thumb(false).Finish()) &&
         ok;
    ok = AddMasked(archive, scroll + "vscroller.bmp", scroll + "vscroller_mask.bmp", Thumb(true).Finish()) &&
         ok;
    ok = AddTitleButton(archive, "states/backward.bmp", '<') && ok;
    ok = AddTitleButton(archive, "states/forward.bmp", '>') && ok;
    ok = AddTitleButton(archive, "states/close.bmp", 'x') && ok;
    const Canvas window = MessageWindow().Finish(), off = MessageButton(false).Finish(),
                 on = MessageButton(true).Finish();
    ok =
        archive.Add(box + "window.bmp", Encode565Bmp(Plain565(window), kWindowWidth, kWindowHeight, false)) &&
        ok;
    ok = archive.Add(box + "button_off.bmp",
                     Encode565Bmp(Plain565(off), kButtonWidth, kButtonHeight, false)) &&
         ok;
    ok = archive.Add(box + "button_on.bmp", Encode565Bmp(Plain565(on), kButtonWidth, kButtonHeight, false)) &&
         ok;
    ok = archive.Add(edit + "field.bmp", Encode565Bmp(Plain565(Field()), kFieldWidth, kFieldHeight, false)) &&
         ok;
    // The cursor is a bar the game fills through this mask: 2 pixels wide, as tall as the
    // field less 3 rows above and below.
    const int cursorHeight = kFieldHeight - 6;
    ok = archive.Add(edit + "cursor.bmp",
                     EncodeMaskBmp(std::vector<uint8_t>(2 * cursorHeight, 255), 2, cursorHeight)) &&
         ok;
    return ok;
}
