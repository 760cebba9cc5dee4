// The bitmap fonts of fonts.zip, rendered from DejaVu with FreeType.
//
// A font folder holds a strip of the characters 33 ("!") to 126 ("~") side by side in code
// order, its 8-bit mask "font_mask.bmp" (the glyph coverage, anti-aliased), optionally a
// 16-bit 5-6-5 colour strip "font.bmp", and "config.txt":
//     mask font_mask.bmp
//     src font.bmp                (only for coloured fonts)
//     letters x0 x1 ... x94
// where character 33 + i occupies columns x[i] to x[i+1] - 1, so x94 is the strip width.
// The file is read line by line with CR LF line ends and blank-separated tokens.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

namespace {

constexpr int kFirstChar = 33;
constexpr int kLastChar = 126;

struct FontRecipe {
    const char* folder;
    bool bold;
    int pixelSize;  // em size in pixels
    // The letter spacing the game loads this font with. Cells are the typeface's advance
    // less this spacing, so that text sets at the typeface's own spacing in the game.
    int letterSpacing;
    // Pixels added to every advance: the regular face's one-pixel strokes look loose at its
    // hinted spacing, so it is set a pixel tighter (cells never cut into the ink).
    int tracking;
    // Gold letters with a dark outline in a colour strip: the TIME and SCORE read-out stays
    // legible over a bright sky and a bright ground alike.
    bool outlined;
};

// Sizes chosen for the 240 x 320 screen: about 8 pixels of capital height for running
// text, larger and bold for the flight read-out.
constexpr FontRecipe kFonts[] = {
    {"game_font", true, 17, 1, 0, true},        {"main", false, 11, 1, -1, false},
    {"listctrl_font", false, 12, -1, 0, false}, {"scores_font", true, 11, -1, 0, false},
    {"menu_links", true, 12, 0, 0, false},
};

// The read-out's colour (0xFFCC00) inside the letters, so it matches what the game asks for.
constexpr Rgba kGold = {255, 204, 0, 255};
constexpr Rgba kOutline = {44, 30, 0, 255};

// One glyph cut out of a scratch canvas; positions relative to the pen on the baseline.
struct GlyphPicture {
    int advance = 0;  // pixels the typeface moves the pen
    int left = 0;     // first inked column (may be negative)
    int top = 0;      // first inked row (negative: above the baseline)
    int width = 0;    // 0 when nothing is inked
    int height = 0;
    std::vector<uint8_t> fill;   // coverage of the letter itself, width x height
    std::vector<uint8_t> shape;  // coverage of letter and outline (the mask)
};

GlyphPicture RenderGlyph(const TextRenderer& text, char c, int size, bool outlined) {
    // Room for any glyph of the printable ASCII set with its outline, pen at (size, 2 size).
    const int penX = size, baseline = 2 * size;
    Canvas scratch(4 * size, 3 * size);
    const std::string letter(1, c);
    text.Draw(scratch, penX, baseline, letter, {255, 255, 255, 255});

    const int w = scratch.Width(), h = scratch.Height();
    std::vector<uint8_t> fill(static_cast<size_t>(w) * h), shape(fill.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            fill[static_cast<size_t>(y) * w + x] = scratch.At(x, y).a;
    }
    if (outlined) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint8_t m = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int sx = x + dx, sy = y + dy;
                        if (sx >= 0 && sy >= 0 && sx < w && sy < h)
                            m = std::max(m, fill[static_cast<size_t>(sy) * w + sx]);
                    }
                }
                shape[static_cast<size_t>(y) * w + x] = m;
            }
        }
    } else {
        shape = fill;
    }

    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (shape[static_cast<size_t>(y) * w + x] == 0) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
    }
    GlyphPicture glyph;
    glyph.advance = text.Measure(letter);
    if (x1 < 0) return glyph;
    glyph.left = x0 - penX;
    glyph.top = y0 - baseline;
    glyph.width = x1 - x0 + 1;
    glyph.height = y1 - y0 + 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            glyph.fill.push_back(fill[static_cast<size_t>(y) * w + x]);
            glyph.shape.push_back(shape[static_cast<size_t>(y) * w + x]);
        }
    }
    return glyph;
}

struct FontStrip {
    int width = 0;
    int height = 0;
    std::vector<int> starts;       // 95 values: the start of each glyph, then the strip width
    std::vector<uint8_t> mask;     // width x height, row 0 at the top
    std::vector<uint16_t> colour;  // 5-6-5, only for outlined fonts
};

FontStrip MakeStrip(const TextRenderer& text, const FontRecipe& recipe) {
    std::vector<GlyphPicture> glyphs;
    int ascent = 0, descent = 0;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        glyphs.push_back(RenderGlyph(text, static_cast<char>(c), recipe.pixelSize, recipe.outlined));
        const GlyphPicture& g = glyphs.back();
        if (g.width == 0) continue;
        ascent = std::max(ascent, -g.top);
        descent = std::max(descent, g.top + g.height);
    }

    FontStrip strip;
    strip.height = ascent + descent;
    std::vector<int> cellLeft;  // pen offset inside each cell
    for (const GlyphPicture& g : glyphs) {
        // The cell starts at the pen (or at the ink, when the glyph reaches left of it) and
        // is as wide as the glyph should advance; a cell too narrow for its ink takes the
        // pixels from the left bearing first, then grows.
        const int width = g.advance + recipe.tracking - recipe.letterSpacing;
        int left = std::min(g.left, 0);
        if (g.width > 0 && left + width < g.left + g.width)
            left += std::min(g.left + g.width - (left + width), g.left - left);
        const int right = std::max(left + width, g.left + g.width);
        strip.starts.push_back(strip.width);
        cellLeft.push_back(-left);
        strip.width += std::max(right - left, 1);
    }
    strip.starts.push_back(strip.width);

    strip.mask.assign(static_cast<size_t>(strip.width) * strip.height, 0);
    if (recipe.outlined) strip.colour.assign(strip.mask.size(), To565(kOutline));
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphPicture& g = glyphs[i];
        const int originX = strip.starts[i] + cellLeft[i] + g.left;
        const int originY = ascent + g.top;
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const size_t from = static_cast<size_t>(y) * g.width + x;
                const size_t to = static_cast<size_t>(originY + y) * strip.width + originX + x;
                strip.mask[to] = g.shape[from];
                if (recipe.outlined && g.shape[from] > 0) {
                    strip.colour[to] =
                        To565(Mix(kOutline, kGold, static_cast<float>(g.fill[from]) / g.shape[from]));
                }
            }
        }
    }
    return strip;
}

std::string ConfigText(const FontRecipe& recipe, const FontStrip& strip) {
    std::string text = "// " + std::string(recipe.folder) + ": DejaVu Sans" + (recipe.bold ? " Bold" : "") +
                       ", " + std::to_string(recipe.pixelSize) + " pixels, characters 33 to 126\r\n";
    text += "mask font_mask.bmp\r\n";
    if (!strip.colour.empty()) text += "src font.bmp\r\n";
    text += "letters";
    for (int start : strip.starts)
        text += " " + std::to_string(start);
    text += "\r\n";
    return text;
}

}  // namespace

bool AddFonts(ArchiveBuilder& archive, const DataSources& sources) {
    TextRenderer bold(sources.boldFont);
    TextRenderer regular(sources.regularFont);
    if (!bold.Ok() || !regular.Ok()) {
        std::fprintf(stderr, "aerovant-databuild: cannot read the fonts %s and %s\n",
                     sources.boldFont.c_str(), sources.regularFont.c_str());
        return false;
    }
    bool ok = true;
    for (const FontRecipe& recipe : kFonts) {
        TextRenderer& text = recipe.bold ? bold : regular;
        text.SetSize(recipe.pixelSize);
        const FontStrip strip = MakeStrip(text, recipe);
        const std::string folder = std::string(recipe.folder) + "/";
        ok = archive.AddText(folder + "config.txt", ConfigText(recipe, strip)) && ok;
        ok =
            archive.Add(folder + "font_mask.bmp", EncodeMaskBmp(strip.mask, strip.width, strip.height)) && ok;
        if (!strip.colour.empty()) {
            ok = archive.Add(folder + "font.bmp",
                             Encode565Bmp(strip.colour, strip.width, strip.height, false)) &&
                 ok;
        }
    }
    return ok;
}
