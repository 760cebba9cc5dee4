// The shared pictures of menu.zip as the menu loads and draws them: sizes and depths, masks
// that fit their pictures, the keyed pictures' see-through colours, the on-screen keyboard
// against the menu's key table and the altimeter's figure wheels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "menu/MenuResources.h"
#include "resources/FSArchive.h"
#include "resources/FSBitmap.h"
#include "resources/FSPixels.h"

namespace {

const std::string kMenu = MakeDataPath("data/menu.zip");

int Luma(uint16_t c) {
    const int r = (c >> 11) * 255 / 31, g = ((c >> 5) & 63) * 255 / 63, b = (c & 31) * 255 / 31;
    return (299 * r + 587 * g + 114 * b) / 1000;
}

uint16_t At(const FSBitmap& b, int x, int y) {
    return b.Pixels()[y * b.Stride() + x];
}
int MaskAt(const FSBitmap& b, int x, int y) {
    return b.Bytes()[y * b.rowBytes + x];
}

TEST(MenuPicturesData, EveryPictureLoadsWithItsSizeDepthAndAMaskThatFitsIt) {
    const struct {
        const char *image, *mask;  // mask null: drawn keyed or whole
        int width, height;
    } pictures[] = {
        {"controls/sliderctrl/slider_point_border.bmp", "controls/sliderctrl/slider_point_border_mask.bmp", 9,
         7},
        {"controls/sliderctrl/slider_point_center.bmp", "controls/sliderctrl/slider_point_center_mask.bmp", 5,
         7},
        {"controls/sliderctrl/slider_line.bmp", "controls/sliderctrl/slider_line_mask.bmp", 4, 7},
        {"controls/checkboxctrl/checkbox_on.bmp", "controls/checkboxctrl/checkbox_mask_on.bmp", 13, 13},
        {"controls/checkboxctrl/checkbox_off.bmp", "controls/checkboxctrl/checkbox_mask_off.bmp", 13, 13},
        {"controls/scrollerctrl/hscroller.bmp", "controls/scrollerctrl/hscroller_mask.bmp", 15, 13},
        {"controls/scrollerctrl/vscroller.bmp", "controls/scrollerctrl/vscroller_mask.bmp", 13, 15},
        {"controls/scrollerctrl/scroller_arrow.bmp", "controls/scrollerctrl/scroller_arrow_mask.bmp", 13, 13},
        {"states/pointer.bmp", "states/pointer_mask.bmp", 13, 13},
        {"states/pointer.bmp", "states/empty_pointer_mask.bmp", 13, 13},
        {"states/backward.bmp", nullptr, 22, 18},
        {"states/forward.bmp", nullptr, 22, 18},
        {"states/close.bmp", nullptr, 22, 18},
        {"controls/messagebox/window.bmp", nullptr, 220, 110},
        {"controls/messagebox/button_off.bmp", nullptr, 88, 22},
        {"controls/messagebox/button_on.bmp", nullptr, 88, 22},
        {"controls/editctrl/field.bmp", nullptr, 240, 22},
        {"controls/editctrl/keyboard_off.bmp", nullptr, 240, 75},
        {"controls/editctrl/keyboard_caps_off.bmp", nullptr, 240, 75},
        {"controls/editctrl/keyboard_on.bmp", nullptr, 240, 75},
        {"controls/editctrl/keyboard_caps_on.bmp", nullptr, 240, 75},
        {"states/state_loading/loading_title.bmp", nullptr, 150, 30},
        {"states/state_loading/altimeter_body.bmp", "states/state_loading/altimeter_body_mask.bmp", 122, 122},
        {"states/state_loading/altimeter_figures.bmp", nullptr, 32, 156},
    };
    for (const auto& p : pictures) {
        const FSBitmapHandle image = LoadBitmap(kMenu, p.image);
        ASSERT_TRUE(image) << p.image;
        EXPECT_EQ(std::vector<int>({image->bitsPerPixel, image->width, image->height}),
                  std::vector<int>({16, p.width, p.height}))
            << p.image;
        if (!p.mask) continue;
        const FSBitmapHandle mask = LoadBitmap(kMenu, p.mask);
        ASSERT_TRUE(mask) << p.mask;
        EXPECT_EQ(std::vector<int>({mask->bitsPerPixel, mask->width, mask->height}),
                  std::vector<int>({8, p.width, p.height}))
            << p.mask;
        // Some of it shows whole; where nothing shows the picture holds nothing either.
        int opaque = 0, strayColour = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                opaque += MaskAt(*mask, x, y) == 255;
                strayColour += MaskAt(*mask, x, y) == 0 && At(*image, x, y) != 0;
            }
        EXPECT_GT(opaque, p.width * p.height / 8) << p.mask;
        EXPECT_EQ(strayColour, 0) << p.mask;
    }
    const FSBitmapHandle cursor = LoadBitmap(kMenu, "controls/editctrl/cursor.bmp");
    ASSERT_TRUE(cursor);
    EXPECT_EQ(std::vector<int>({cursor->bitsPerPixel, cursor->width, cursor->height}),
              std::vector<int>({8, 2, 22 - 6}));
    MenuResources resources;
    EXPECT_TRUE(resources.Load(kMenu, MakeDataPath("data/fonts.zip")));
}

TEST(MenuPicturesData, KeyedPicturesAreSeeThroughOnlyWhereMeant) {
    // Title buttons and the loading title are keyed on black: the corners show through, the
    // middle does not. The text field keeps only its 2-pixel frame, RGB 187, 0, 0.
    for (const char* name : {"states/backward.bmp", "states/forward.bmp", "states/close.bmp",
                             "states/state_loading/loading_title.bmp"}) {
        const FSBitmapHandle b = LoadBitmap(kMenu, name);
        ASSERT_TRUE(b) << name;
        int keyed = 0;
        for (int k = 0; k < b->width * b->height; ++k)
            keyed += At(*b, k % b->width, k / b->width) == 0;
        EXPECT_EQ(At(*b, 0, 0), 0) << name;
        EXPECT_GT(keyed, 3) << name;
        EXPECT_LT(keyed, b->width * b->height * 9 / 10) << name;
    }
    const FSBitmapHandle close = LoadBitmap(kMenu, "states/close.bmp");
    ASSERT_TRUE(close);
    EXPECT_NE(At(*close, 11, 2), 0);  // the tile's body
    const FSBitmapHandle field = LoadBitmap(kMenu, "controls/editctrl/field.bmp");
    ASSERT_TRUE(field);
    int wrong = 0;
    for (int y = 0; y < field->height; ++y)
        for (int x = 0; x < field->width; ++x) {
            const bool frame = x < 2 || y < 2 || x >= field->width - 2 || y >= field->height - 2;
            wrong += At(*field, x, y) != (frame ? Pack565(0xBB0000) : 0xFFFF);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(MenuPicturesData, TheSliderTrackRunsOnThroughItsCapsAndItsTurnedRightCap) {
    // The right end cap is the left one given a half turn, so its rail must lie on the same
    // rows upside down; the stretched line's column must continue the cap's last column.
    const std::string folder = "controls/sliderctrl/";
    const FSBitmapHandle cap = LoadBitmap(kMenu, folder + "slider_point_border_mask.bmp"),
                         line = LoadBitmap(kMenu, folder + "slider_line_mask.bmp");
    ASSERT_TRUE(cap && line);
    ASSERT_EQ(cap->height, line->height);
    int unlike = 0;
    for (int y = 0; y < cap->height; ++y) {
        unlike += MaskAt(*cap, cap->width - 1, y) != MaskAt(*cap, cap->width - 1, cap->height - 1 - y);
        unlike += MaskAt(*cap, cap->width - 1, y) != MaskAt(*line, 0, y);
    }
    EXPECT_EQ(unlike, 0);
}

// The keys of the keyboard as the text field finds them: rectangles (x, y, width), 15
// pixels high, with their legends. The space bar's rectangle runs 2 columns into the
// cursor-left key's, which comes first there; its face stops where that key begins.
struct KeyBox {
    int x, y, width;
    char plain, capital;  // 0 for a key with a sign rather than a character
};

std::vector<KeyBox> KeyTable() {
    std::vector<KeyBox> keys;
    auto row = [&keys](int x, int y, const char* plain, const char* capital) {
        for (int i = 0; plain[i]; ++i)
            keys.push_back({x + 18 * i, y, 18, plain[i], capital[i]});
    };
    row(0, 0, "1234567890-=", "!@#$%^&*()_+");
    keys.push_back({216, 0, 24, 0, 0});
    keys.push_back({0, 15, 24, 0, 0});
    row(24, 15, "qwertyuiop[]", "QWERTYUIOP{}");
    keys.push_back({0, 30, 30, 0, 0});
    row(30, 30, "asdfghjkl;'", "ASDFGHJKL:\"");
    keys.push_back({0, 45, 36, 0, 0});
    row(36, 45, "zxcvbnm,./", "ZXCVBNM<>?");
    row(42, 60, "`\\", "~|");
    keys.push_back({80, 60, 88, 0, 0});
    keys.push_back({168, 60, 18, 0, 0});
    keys.push_back({186, 60, 18, 0, 0});
    keys.push_back({228, 30, 12, 0, 0});  // enter, both parts
    keys.push_back({216, 45, 24, 0, 0});
    return keys;
}

TEST(MenuPicturesData, TheKeyboardsKeysFillTheKeyTableWithTheKeyColourBetween) {
    const uint16_t key = Pack565(0x7B797B);
    const std::vector<KeyBox> keys = KeyTable();
    const char* names[] = {"keyboard_off", "keyboard_caps_off", "keyboard_on", "keyboard_caps_on"};
    std::vector<FSBitmapHandle> boards;
    for (const char* name : names) {
        boards.push_back(LoadBitmap(kMenu, std::string("controls/editctrl/") + name + ".bmp"));
        ASSERT_TRUE(boards.back()) << name;
    }
    for (size_t b = 0; b < boards.size(); ++b) {
        const FSBitmap& board = *boards[b];
        // The face of a key: its rectangle less the last column and row (Enter's upper part
        // runs on into its lower one).
        std::vector<int> owner(240 * 75, -1);
        for (size_t k = 0; k < keys.size(); ++k) {
            const KeyBox& box = keys[k];
            const int bottom = box.x == 228 ? 59 : box.y + 14;
            for (int y = box.y; y < bottom; ++y)
                for (int x = box.x; x < box.x + box.width - 1; ++x)
                    owner[y * 240 + x] = static_cast<int>(k);
        }
        int strayInk = 0, holes = 0;
        std::vector<int> faces(keys.size(), 0);
        for (int y = 0; y < 75; ++y)
            for (int x = 0; x < 240; ++x) {
                const int k = owner[y * 240 + x];
                const uint16_t c = At(board, x, y);
                if (k < 0)
                    strayInk += c != key;
                else
                    faces[k] += c != key;
                // Rounded corners aside, a face is solid.
                const bool corner = k >= 0 && (x == keys[k].x || x == keys[k].x + keys[k].width - 2) &&
                                    (y == keys[k].y || y == keys[k].y + 13 || y == 58);
                holes += k >= 0 && !corner && c == key;
            }
        EXPECT_EQ(strayInk, 0) << names[b];
        EXPECT_EQ(holes, 0) << names[b];
    }
    // Each character key's legend stands out from the face beside it (its first column, in
    // the same row) in every picture, and the capital legends differ from the plain ones.
    for (size_t k = 0; k < keys.size(); ++k) {
        if (!keys[k].plain) continue;
        int legend[4] = {}, differ = 0;
        for (int y = keys[k].y + 1; y < keys[k].y + 13; ++y)
            for (int x = keys[k].x + 2; x < keys[k].x + keys[k].width - 2; ++x) {
                for (int b = 0; b < 4; ++b)
                    legend[b] +=
                        std::abs(Luma(At(*boards[b], x, y)) - Luma(At(*boards[b], keys[k].x + 1, y))) > 80;
                differ += At(*boards[0], x, y) != At(*boards[1], x, y);
            }
        for (int b = 0; b < 4; ++b)
            EXPECT_GE(legend[b], 3) << names[b] << " " << keys[k].plain;
        EXPECT_GT(differ, 3) << keys[k].plain << " " << keys[k].capital;
    }
}

TEST(MenuPicturesData, TheFigureWheelsShowWholeDigitsAtTheirOffsetsAndRollBetween) {
    const FSBitmapHandle figures = LoadBitmap(kMenu, "states/state_loading/altimeter_figures.bmp");
    ASSERT_TRUE(figures);
    auto window = [&](int column, int offset) {
        std::vector<uint16_t> pixels;
        for (int y = offset; y < offset + 13; ++y)
            for (int x = 11 * column; x < 11 * column + 10; ++x)
                pixels.push_back(At(*figures, x, y));
        return pixels;
    };
    for (int column = 0; column < 3; ++column) {
        const uint16_t ground = At(*figures, 11 * column, 0);
        std::vector<std::vector<uint16_t>> digits;
        for (int d = 0; d <= 10; ++d) {
            const std::vector<uint16_t> w = window(column, static_cast<int>(d * 14.3));
            // Whole: the first and last rows are the wheel's plain ground, the digit between.
            int edge = 0, ink = 0;
            for (size_t i = 0; i < w.size(); ++i) {
                const bool border = i < 10 || i >= w.size() - 10;
                edge += border && w[i] != ground;
                ink += std::abs(Luma(w[i]) - Luma(ground)) > 100;
            }
            EXPECT_EQ(edge, 0) << column << " " << d;
            EXPECT_GT(ink, 10) << column << " " << d;
            digits.push_back(w);
        }
        EXPECT_EQ(digits[0], digits[10]) << column;
        for (int d = 1; d < 10; ++d)
            EXPECT_NE(digits[d], digits[d - 1]) << column << " " << d;
        // Half-way between two digits the window shows parts of both, ink at top and foot.
        const std::vector<uint16_t> rolling = window(column, static_cast<int>(4.5 * 14.3));
        int top = 0, foot = 0;
        for (size_t i = 0; i < rolling.size(); ++i)
            (i < 50 ? top : foot) += std::abs(Luma(rolling[i]) - Luma(ground)) > 100;
        EXPECT_TRUE(top > 0 && foot > 0) << column;
    }
    // The wheels' places in the body lie in its opaque part.
    const FSBitmapHandle mask = LoadBitmap(kMenu, "states/state_loading/altimeter_body_mask.bmp");
    ASSERT_TRUE(mask);
    int clear = 0;
    for (int x0 : {32, 43, 56, 69, 80})
        for (int y = 54; y < 67; ++y)
            for (int x = x0; x < x0 + 10; ++x)
                clear += MaskAt(*mask, x, y) != 255;
    EXPECT_EQ(clear, 0);
    EXPECT_EQ(MaskAt(*mask, 0, 0) + MaskAt(*mask, 121, 121), 0);
}

}  // namespace
