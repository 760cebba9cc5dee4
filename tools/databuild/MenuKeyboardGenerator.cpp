// The on-screen keyboard of the menu's text field in menu.zip, in its four states:
// "controls/editctrl/keyboard_off.bmp" and "keyboard_caps_off.bmp" (the keys at rest with
// the plain and the capital legends) and "keyboard_on.bmp" and "keyboard_caps_on.bmp" (the
// same keys lit, from which the game copies a pressed key over the resting picture).
//
// 240 x 75 pixels in five rows of keys 15 pixels high. Each key fills its rectangle but for
// the last column and row, which with everything outside the keys are the game's key colour
// (see-through), so the screen behind shows between the keys. The Enter key is one L of
// two rectangles. Legends are the bold face at 8 to 9 pixels, light on dark keys.
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

constexpr int kWidth = 240, kHeight = 75, kRow = 15;
constexpr uint16_t kSeeThrough = 0x7BCF;  // 0x7B797B as 5-6-5

enum class Sign { kText, kBackspace, kEnter, kLeft, kRight, kBlank };

struct Key {
    int x, y, width;
    std::string plain, capital;  // legends
    Sign sign = Sign::kText;
};

void AddRow(std::vector<Key>& keys, int x, int y, const std::string& plain, const std::string& capital) {
    for (size_t i = 0; i < plain.size(); ++i)
        keys.push_back({x + 18 * static_cast<int>(i), y, 18, plain.substr(i, 1), capital.substr(i, 1)});
}

// The keys in the game's order, but the Enter key (drawn on its own).
std::vector<Key> Keys() {
    std::vector<Key> keys;
    AddRow(keys, 0, 0, "1234567890-=", "!@#$%^&*()_+");
    keys.push_back({216, 0, 24, "", "", Sign::kBackspace});
    keys.push_back({0, 15, 24, "", "", Sign::kBlank});
    AddRow(keys, 24, 15, "qwertyuiop[]", "QWERTYUIOP{}");
    keys.push_back({0, 30, 30, "Caps", "Caps"});
    AddRow(keys, 30, 30, "asdfghjkl;'", "ASDFGHJKL:\"");
    keys.push_back({0, 45, 36, "Shift", "Shift"});
    AddRow(keys, 36, 45, "zxcvbnm,./", "ZXCVBNM<>?");
    AddRow(keys, 42, 60, "`\\", "~|");
    // The space bar ends where the cursor-left key begins.
    keys.push_back({80, 60, 88, "", ""});
    keys.push_back({168, 60, 18, "", "", Sign::kLeft});
    keys.push_back({186, 60, 18, "", "", Sign::kRight});
    return keys;
}

struct Look {
    Rgba top, bottom, legend;
};

constexpr Look kResting = {{62, 80, 132, 255}, {30, 44, 90, 255}, kInk};
constexpr Look kLit = {{250, 196, 120, 255}, {214, 132, 84, 255}, kDeep};

// A key's face over x0..x1, y0..y1 (picture pixels, the far edges excluded).
void KeyFace(PictureSketch& sketch, const Distance& face, float y0, float y1, const Look& look) {
    sketch.Shade(face, [&](float, float y) { return Mix(look.top, look.bottom, (y - y0) / (y1 - y0)); });
}

// An arrow pointing left (dir -1) or right (1) centred at (cx, cy).
void Arrow(PictureSketch& sketch, float cx, float cy, float dir, float length, Rgba colour) {
    const float tip = cx + dir * length / 2;
    sketch.Paint(Segment({cx - dir * length / 2, cy}, {tip - dir * 2, cy}, 1.4f), 0.0f, colour);
    sketch.Paint(Polygon({{tip, cy}, {tip - dir * 3.2f, cy - 2.8f}, {tip - dir * 3.2f, cy + 2.8f}}), 0.0f,
                 colour);
}

void Legend(PictureSketch& sketch, TextRenderer& font, const Key& key, bool capitals, Rgba colour) {
    const float cx = key.x + (key.width - 1) / 2.0f, cy = key.y + 7.0f;
    switch (key.sign) {
        case Sign::kText: {
            const std::string& text = capitals ? key.capital : key.plain;
            // Words smaller; the small marks (, . ' ` and the like) larger, so they read at 1x.
            const bool word = text.size() > 1,
                       mark = !word && std::string(",.'`;:\"").find(text[0]) != std::string::npos;
            const float size = word ? 7.5f : mark ? 12.0f : 9.5f;
            CentredText(sketch, font, size, cx, key.y + (word ? 10.0f : mark ? 11.0f : 10.5f), text, colour);
            break;
        }
        case Sign::kBackspace:
            Arrow(sketch, cx, cy, -1, 12, colour);
            break;
        case Sign::kLeft:
        case Sign::kRight: {
            const float dir = key.sign == Sign::kLeft ? -1 : 1;
            sketch.Paint(Polygon({{cx + dir * 3, cy}, {cx - dir * 2.5f, cy - 4}, {cx - dir * 2.5f, cy + 4}}),
                         0.0f, colour);
            break;
        }
        default:
            break;
    }
}

// Enter: the right end of the third row over the right end of the fourth, one L.
void EnterKey(PictureSketch& sketch, const Look& look) {
    const Distance upper = RoundedBox(228, 30, 239, 59, 1.5f), lower = RoundedBox(216, 45, 239, 59, 1.5f);
    const Distance key = [=](float x, float y) { return std::min(upper(x, y), lower(x, y)); };
    KeyFace(sketch, key, 30, 59, look);
    // A return arrow: down the upper part, then left along the lower.
    sketch.Paint(Segment({233.5f, 35}, {233.5f, 52}, 1.4f), 0.0f, look.legend);
    Arrow(sketch, 226.5f, 52, -1, 14, look.legend);
}

Canvas Keyboard(TextRenderer& font, bool capitals, bool lit) {
    PictureSketch sketch(kWidth, kHeight);
    const Look& look = lit ? kLit : kResting;
    for (const Key& key : Keys()) {
        const float x1 = key.x + key.width - 1.0f, y1 = key.y + kRow - 1.0f;
        const Look face = key.sign == Sign::kBlank && !lit ? Look{kNight, kDeep, kInk} : look;
        KeyFace(sketch, RoundedBox(static_cast<float>(key.x), static_cast<float>(key.y), x1, y1, 1.5f),
                static_cast<float>(key.y), y1, face);
        Legend(sketch, font, key, capitals, look.legend);
    }
    EnterKey(sketch, look);
    return sketch.Finish();
}

}  // namespace

bool AddMenuKeyboard(ArchiveBuilder& archive, const DataSources& sources) {
    TextRenderer font(sources.boldFont);
    if (!font.Ok()) return false;
    const struct {
        const char* name;
        bool capitals, lit;
    } states[] = {{"keyboard_off", false, false},
                  {"keyboard_caps_off", true, false},
                  {"keyboard_on", false, true},
                  {"keyboard_caps_on", true, true}};
    bool ok = true;
    for (const auto& state : states)
        ok = AddKeyed(archive, std::string("controls/editctrl/") + state.name + ".bmp",
                      Keyboard(font, state.capitals, state.lit), kSeeThrough) &&
             ok;
    return ok;
}
