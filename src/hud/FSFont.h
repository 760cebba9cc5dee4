#pragma once
// Bitmap fonts: a strip of the printable ASCII characters 33 ("!") to 126 ("~") with its
// 8-bit coverage mask and, for coloured fonts, a 16-bit colour strip, from a folder of
// "data\fonts.zip". Text is measured and drawn into 16-bit 5-6-5 frame buffers in any of
// the six directions, left-aligned, centred or right-aligned.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/FSBitmap.h"

// A rectangle text may draw into: columns left..right - 1, rows top..bottom - 1.
struct FSClipRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class CFSFont {
public:
    // Loads folder ("main", "game_font", ...) with its spacing in pixels: the advance of a
    // blank, pixels added after every character (may be negative), extra pixels between
    // lines (may be negative). False when "config.txt" is missing, has no usable
    // "letters" line, or its columns do not fit the strip.
    bool LoadFont(const std::string& folder, int spaceWidth, int letterSpacing, int lineSpacing);
    // The same from another archive (tests, tools).
    bool LoadFontFrom(const std::string& archivePath, const std::string& folder, int spaceWidth,
                      int letterSpacing, int lineSpacing);
    // What LoadFontFrom does with "config.txt" once read, its pictures from images (by the
    // names the text gives; null when missing).
    using ImageSource = std::function<FSBitmapHandle(const std::string& name)>;
    bool LoadFontText(std::string_view config, const ImageSource& images, int spaceWidth, int letterSpacing,
                      int lineSpacing);
    void Release();

    // Pixels of line index (0-based) of text.
    int LineWidth(std::string_view text, int line) const;
    // The widest line.
    int TextWidth(std::string_view text) const;
    // lines x line height + (lines - 1) x line spacing, lines being 1 + the line feeds.
    int TextHeight(std::string_view text) const;
    FSSize TextSize(std::string_view text) const { return {TextWidth(text), TextHeight(text)}; }

    // True once the mask loaded: only then can the font draw.
    bool CanDraw() const { return mask_ != nullptr; }
    int LineHeight() const { return mask_ ? mask_->height : 0; }
    int GlyphCount() const { return static_cast<int>(starts_.empty() ? 0 : starts_.size() - 1); }
    bool HasSource() const { return source_ != nullptr; }

private:
    friend void DrawTextRaw(const CFSFont&, uint16_t*, int, int, int, int, FSPoint, uint16_t,
                            std::string_view, const FSClipRect&);
    // The glyph byte c draws with: its own, or the stand-in "?" for a letter the font lacks
    // (a byte above 127 starts such a letter; the bytes that continue a UTF-8 sequence add
    // nothing). -1 for bytes that draw nothing (controls, DEL, continuations, and any byte
    // when the font lacks even the stand-in).
    int GlyphIndex(unsigned char c) const;
    // Width of the glyph byte c draws with, or -1 when it draws none.
    int GlyphWidth(unsigned char c) const;

    FSBitmapHandle mask_;
    FSBitmapHandle source_;
    std::vector<int32_t> starts_;   // strip column of each glyph, plus the strip's end
    std::vector<int32_t> tops_;     // first inked row of each glyph (the height when none)
    std::vector<int32_t> bottoms_;  // last inked row (-1 when none)
    int spaceWidth_ = 0;
    int letterSpacing_ = 0;
    int lineSpacing_ = 0;
};

// Justification of each line against the point: left, centred, right.
enum FSJustify : int { kJustifyLeft = 0, kJustifyCentre = 1, kJustifyRight = 2 };

// Draws text into a width x height buffer. direction is the rotation of the text (the
// picture transform codes 0-5); (x, y) is the top-left of the text's box before rotation
// for left-justified text. Nothing is drawn outside the buffer or outside clip.
void DrawTextRaw(const CFSFont& font, uint16_t* buffer, int width, int height, int direction,
                 int justification, FSPoint point, uint16_t colour, std::string_view text,
                 const FSClipRect& clip);

// Draws text on the 240 x 320 device screen as it appears upright in screen orientation
// alignment (0, 1 or 2): point and direction are those of the upright picture.
void DrawText(const CFSFont& font, uint16_t* buffer, int alignment, int direction, int justification,
              FSPoint point, uint16_t colour, std::string_view text);
// The same, cut to a rectangle of the upright picture.
void DrawTextClipped(const CFSFont& font, uint16_t* buffer, int alignment, int direction, int justification,
                     FSPoint point, uint16_t colour, std::string_view text, const FSClipRect& clip);
// printf-style; the formatted text is cut at 303 bytes.
void DrawTextF(const CFSFont& font, uint16_t* buffer, int alignment, int direction, int justification,
               FSPoint point, uint16_t colour, const char* format, ...) __attribute__((format(printf, 8, 9)));
