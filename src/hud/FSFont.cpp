#include "hud/FSFont.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

constexpr int kFirstGlyph = 33;  // "!"
constexpr int kLastGlyph = 126;  // "~"
constexpr int kStandIn = '?';    // drawn for a letter the font lacks
constexpr int kDelete = 127;
constexpr int kFirstContinuation = 0x80;  // the bytes that continue a UTF-8 sequence
constexpr int kLastContinuation = 0xBF;
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

const char* const kFontsArchive = "data\\fonts.zip";
// No glyph strip is wider: a column beyond it is a damaged table.
constexpr int32_t kLargestStripColumn = 1 << 15;

// A sum of widths held in the int range (a long text in a damaged font may go past it).
int ClampedWidth(int64_t width) {
    return static_cast<int>(std::clamp<int64_t>(width, INT_MIN, INT_MAX));
}

// A rectangle as [x0, x1) x [y0, y1).
struct Area {
    int32_t x0, y0, x1, y1;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Area Intersect(const Area& a, const Area& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// Where destination pixel (x, y) comes from, as (column, row) of a w x h source placed
// at (X, Y) with the transform.
void SourceOf(int transform, int32_t X, int32_t Y, int32_t w, int32_t h, int32_t x, int32_t y, int32_t& c,
              int32_t& r) {
    switch (transform) {
        case 1:
            c = y - Y;
            r = X + h - 1 - x;
            break;
        case 2:
            c = X + w - 1 - x;
            r = Y + h - 1 - y;
            break;
        case 3:
            c = Y + w - 1 - y;
            r = x - X;
            break;
        case 4:
            c = X + w - 1 - x;
            r = y - Y;
            break;
        case 5:
            c = x - X;
            r = Y + h - 1 - y;
            break;
        default:
            c = x - X;
            r = y - Y;
            break;
    }
}

}  // namespace

bool CFSFont::LoadFont(const std::string& folder, int spaceWidth, int letterSpacing, int lineSpacing) {
    return LoadFontFrom(MakeDataPath(kFontsArchive), folder, spaceWidth, letterSpacing, lineSpacing);
}

bool CFSFont::LoadFontFrom(const std::string& archive, const std::string& folder, int spaceWidth,
                           int letterSpacing, int lineSpacing) {
    Release();
    const FSMemoryBlock config = ReadArchiveText(archive, folder + "/config.txt");
    if (!config) return false;
    return LoadFontText(
        TextOf(config),
        [&](const std::string& name) { return LoadBitmap(archive, folder + "/" + name, true); }, spaceWidth,
        letterSpacing, lineSpacing);
}

bool CFSFont::LoadFontText(std::string_view config, const ImageSource& images, int spaceWidth,
                           int letterSpacing, int lineSpacing) {
    Release();
    spaceWidth_ = spaceWidth;
    letterSpacing_ = letterSpacing;
    lineSpacing_ = lineSpacing;
    std::vector<int32_t> starts;
    ForEachTokenLine(config, [&](const std::vector<std::string>& tokens) {
        if (IsKeywordLine(tokens, "mask", 2)) {
            mask_ = images(tokens[1]);
        } else if (IsKeywordLine(tokens, "src", 2)) {
            source_ = images(tokens[1]);
        } else if (!tokens.empty() && tokens[0] == "letters") {
            starts.clear();
            for (size_t i = 1; i < tokens.size(); ++i)
                starts.push_back(ToInt(tokens[i]));
        }
    });
    // The values are the first column of each glyph and then the strip's end, so n
    // values make n - 1 glyphs (counting n would read one column start past the table).
    if (starts.size() < 2) {
        Release();
        return false;
    }
    // Columns running backwards or past the strip would measure nonsense and draw from
    // outside the mask.
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        if (starts[i] < 0 || starts[i] > starts[i + 1] || starts[i + 1] > kLargestStripColumn) {
            Release();
            return false;
        }
    }
    if (mask_ && mask_->bitsPerPixel != 8) mask_.reset();
    if (mask_) {
        if (starts.back() > mask_->width) {
            Release();
            return false;
        }
        // A colour strip smaller than the mask is not used.
        if (source_ && (source_->bitsPerPixel != 16 || source_->width < mask_->width ||
                        source_->height < mask_->height)) {
            source_.reset();
        }
    } else {
        source_.reset();
    }
    starts_ = std::move(starts);
    if (mask_) {
        const int glyphs = GlyphCount();
        tops_.assign(glyphs, mask_->height);
        bottoms_.assign(glyphs, -1);
        const uint8_t* bytes = mask_->Bytes();
        for (int i = 0; i < glyphs; ++i) {
            for (int32_t row = 0; row < mask_->height; ++row) {
                const uint8_t* line = bytes + static_cast<size_t>(row) * mask_->rowBytes;
                const bool inked =
                    std::any_of(line + starts_[i], line + starts_[i + 1], [](uint8_t m) { return m != 0; });
                if (!inked) continue;
                tops_[i] = std::min(tops_[i], row);
                bottoms_[i] = row;
            }
        }
    }
    return true;
}

void CFSFont::Release() {
    mask_.reset();
    source_.reset();
    starts_.clear();
    tops_.clear();
    bottoms_.clear();
    spaceWidth_ = letterSpacing_ = lineSpacing_ = 0;
}

int CFSFont::GlyphIndex(unsigned char c) const {
    if (c < kFirstGlyph || c == kDelete || (c >= kFirstContinuation && c <= kLastContinuation)) return -1;
    if (c <= kLastGlyph && c - kFirstGlyph < GlyphCount()) return c - kFirstGlyph;
    return kStandIn - kFirstGlyph < GlyphCount() ? kStandIn - kFirstGlyph : -1;
}

int CFSFont::GlyphWidth(unsigned char c) const {
    const int i = GlyphIndex(c);
    return i < 0 ? -1 : starts_[i + 1] - starts_[i];
}

int CFSFont::LineWidth(std::string_view text, int line) const {
    int64_t width = 0;
    int current = 0;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            if (current == line) return ClampedWidth(width);
            ++current;
            width = 0;
        } else if (c == ' ') {
            width += spaceWidth_;
        } else if (const int w = GlyphWidth(c); w >= 0) {
            width += w + letterSpacing_;
        }
    }
    return current == line ? ClampedWidth(width) : 0;
}

int CFSFont::TextWidth(std::string_view text) const {
    int64_t widest = 0;
    int64_t width = 0;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            widest = std::max(widest, width);
            width = 0;
        } else if (c == ' ') {
            width += spaceWidth_;
        } else if (const int w = GlyphWidth(c); w >= 0) {
            width += w + letterSpacing_;
        }
    }
    return ClampedWidth(std::max(widest, width));
}

int CFSFont::TextHeight(std::string_view text) const {
    const int64_t lines = 1 + std::count(text.begin(), text.end(), '\n');
    return ClampedWidth(lines * LineHeight() + (lines - 1) * lineSpacing_);
}

void DrawTextRaw(const CFSFont& font, uint16_t* buffer, int width, int height, int direction,
                 int justification, FSPoint point, uint16_t colour, std::string_view text,
                 const FSClipRect& clip) {
    if (!font.CanDraw() || !buffer || direction < 0 || direction > 5) return;
    const Area bounds = Intersect({0, 0, width, height}, {clip.left, clip.top, clip.right, clip.bottom});
    if (bounds.Empty()) return;
    const FSSize box = font.TextSize(text);
    const int W = box.w;
    const int H = box.h;
    auto lineOffset = [&](int line) {
        if (justification == kJustifyCentre) return -font.LineWidth(text, line) / 2;
        if (justification == kJustifyRight) return -font.LineWidth(text, line);
        return 0;
    };
    const FSBitmap& mask = *font.mask_;
    const FSSize bufferSize{width, height};
    int line = 0;
    int u = lineOffset(0);
    int v = 0;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            v += font.lineSpacing_ + font.LineHeight();
            u = lineOffset(++line);
            continue;
        }
        if (c == ' ') {
            u += font.spaceWidth_;
            continue;
        }
        const int w = font.GlyphWidth(c);
        if (w < 0) continue;
        const int i = font.GlyphIndex(c);
        const int T = font.tops_[i];
        const int B = font.bottoms_[i];
        int32_t X = 0;
        int32_t Y = 0;
        switch (direction) {
            case 1:
                X = point.x - v + H - B - 1;
                Y = point.y + u;
                break;
            case 2:
                X = point.x - w - u + W;
                Y = point.y - v + H - B - 1;
                break;
            case 3:
                X = point.x + T + v;
                Y = point.y - w - u + W;
                break;
            case 4:
                X = point.x - w - u + W;
                Y = point.y + T + v;
                break;
            case 5:
                X = point.x + u;
                Y = point.y - v + H - B - 1;
                break;
            default:
                X = point.x + u;
                Y = point.y + T + v;
                break;
        }
        u += font.letterSpacing_ + w;
        const int h = B - T + 1;
        if (w <= 0 || h <= 0) continue;  // nothing inked

        // Only the part of the glyph's area inside the buffer and the clip is drawn.
        const bool turned = direction == 1 || direction == 3;
        const Area area{X, Y, X + (turned ? h : w), Y + (turned ? w : h)};
        const Area visible = Intersect(area, bounds);
        if (visible.Empty()) continue;
        int32_t c0, r0, c1, r1;
        SourceOf(direction, X, Y, w, h, visible.x0, visible.y0, c0, r0);
        SourceOf(direction, X, Y, w, h, visible.x1 - 1, visible.y1 - 1, c1, r1);
        const FSPoint source{font.starts_[i] + std::min(c0, c1), T + std::min(r0, r1)};
        const FSSize part{std::abs(c1 - c0) + 1, std::abs(r1 - r0) + 1};
        const FSPoint destination{visible.x0, visible.y0};
        if (font.source_) {
            CopyPixelsMasked(buffer, destination, bufferSize, font.source_->Pixels(), source,
                             font.source_->BufferSize(), mask.Bytes(), source, mask.BufferSize(), part,
                             direction);
        } else {
            FillMasked(buffer, destination, bufferSize, mask.Bytes(), source, mask.BufferSize(), part, colour,
                       direction);
        }
    }
}

namespace {

// The device-screen point, direction and clip of text meant for the upright picture of
// an orientation; false for an unknown orientation.
bool ToDevice(const CFSFont& font, int alignment, std::string_view text, int& direction, FSPoint& point,
              FSClipRect& clip) {
    static const int kTurn1[6] = {3, 2, 1, 0, 4, 5};
    static const int kTurn2[6] = {1, 2, 3, 0, 4, 5};
    if (direction < 0 || direction > 5) return false;
    const FSClipRect c = clip;
    switch (alignment) {
        case 0:
            return true;
        case 1: {
            // Picture (X, Y) is device (Y, 319 - X).
            const FSSize box = font.TextSize(text);
            point = {point.y, kScreenHeight - point.x - box.w};
            direction = kTurn1[direction];
            clip = {c.top, kScreenHeight - c.right, c.bottom, kScreenHeight - c.left};
            return true;
        }
        case 2: {
            // Picture (X, Y) is device (239 - Y, X).
            const FSSize box = font.TextSize(text);
            point = {kScreenWidth - point.y - box.h, point.x};
            direction = kTurn2[direction];
            clip = {kScreenWidth - c.bottom, c.left, kScreenWidth - c.top, c.right};
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

void DrawTextClipped(const CFSFont& font, uint16_t* buffer, int alignment, int direction, int justification,
                     FSPoint point, uint16_t colour, std::string_view text, const FSClipRect& clip) {
    FSClipRect deviceClip = clip;
    if (!ToDevice(font, alignment, text, direction, point, deviceClip)) return;
    DrawTextRaw(font, buffer, kScreenWidth, kScreenHeight, direction, justification, point, colour, text,
                deviceClip);
}

void DrawText(const CFSFont& font, uint16_t* buffer, int alignment, int direction, int justification,
              FSPoint point, uint16_t colour, std::string_view text) {
    // The whole picture of the orientation: 240 x 320 upright, else 320 x 240.
    const FSClipRect whole = alignment == 0 ? FSClipRect{0, 0, kScreenWidth, kScreenHeight}
                                            : FSClipRect{0, 0, kScreenHeight, kScreenWidth};
    DrawTextClipped(font, buffer, alignment, direction, justification, point, colour, text, whole);
}

void DrawTextF(const CFSFont& font, uint16_t* buffer, int alignment, int direction, int justification,
               FSPoint point, uint16_t colour, const char* format, ...) {
    char text[304];
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (written <= 0) return;
    DrawText(font, buffer, alignment, direction, justification, point, colour, text);
}
