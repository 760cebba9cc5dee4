#pragma once
// What the menu's pictures of menu.zip share: the palette of the title picture (a dusk sky,
// warm light low on the horizon), the one bold typeface, and the ways the game draws them:
// through a coverage mask, or keyed on one colour that stays see-through.
#include <cstdint>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "databuild/PictureSketch.h"

class ArchiveBuilder;
class TextRenderer;

namespace menu_art {

constexpr Rgba kNight = {18, 32, 74, 255};   // the top of the sky
constexpr Rgba kDusk = {58, 86, 150, 255};   // the sky half-way down
constexpr Rgba kHills = {84, 78, 126, 255};  // the far hills
constexpr Rgba kDeep = {10, 16, 40, 255};    // panels and rims
constexpr Rgba kEmber = {214, 142, 112, 255};
constexpr Rgba kGlow = {250, 196, 120, 255};  // the sun's glow: the accent
constexpr Rgba kInk = {255, 250, 240, 255};   // light text and lines

// The darkest colour a keyed-on-black picture may use where it means dark but not
// see-through (5-6-5).
constexpr uint16_t kNearBlack = 0x0821;

// A line from a to b of the given width with round ends.
Distance Segment(Point2 a, Point2 b, float width);

// name.bmp (5-6-5, bottom row first) and its 8-bit coverage mask maskName.
bool AddMasked(ArchiveBuilder& archive, const std::string& name, const std::string& maskName,
               const Canvas& picture);
// The picture as 5-6-5 pixels where every sample less than half covered is key and no
// covered one is (a covered pixel that would come out as key is moved one step off it).
std::vector<uint16_t> Keyed565(const Canvas& picture, uint16_t key);
bool AddKeyed(ArchiveBuilder& archive, const std::string& name, const Canvas& picture, uint16_t key);
// Opaque 5-6-5 pixels, for pictures copied whole.
std::vector<uint16_t> Plain565(const Canvas& picture);

// Text centred on cx with its baseline at baseline, all in the picture's own pixels, the
// type size in picture pixels too (drawn at the sketch's scale).
void CentredText(PictureSketch& sketch, TextRenderer& font, float size, float cx, float baseline,
                 const std::string& text, Rgba colour);
// The same with a one-pixel dark halo about the letters, for text over busy ground.
void HaloText(PictureSketch& sketch, TextRenderer& font, float size, float cx, float baseline,
              const std::string& text, Rgba colour, Rgba halo);

}  // namespace menu_art
