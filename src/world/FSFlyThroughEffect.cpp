#include "world/FSFlyThroughEffect.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>

#include "resources/FSPixels.h"
#include "resources/FSPng.h"
#include "world/FSCamera.h"
#include "world/FSCloudNode.h"
#include "world/FSSceneNode.h"
#include "world/FSWorldPosition.h"

namespace {

constexpr FSFixed kHalfWorld = FixedFromInt(120);
// Angular speed of the circling density offsets (radians per second).
constexpr float kCircleSpeed = 0.31364998f;
constexpr float kQuarterPi = 0.78539816f;

// The point's coordinate on one axis moved by whole turns of the world to lie nearest
// centre.
FSFixed NearestAround(FSFixed value, FSFixed centre) {
    FSFixed d = value - centre;
    if (d >= kHalfWorld) d -= kWorldSize;
    if (d < -kHalfWorld) d += kWorldSize;
    return centre + d;
}

// How deep the point lies in the shell between the two boxes (0 on the outer face, 1 at
// the inner box), the shallowest axis deciding.
float ShellDepth(const FSBox& outer, const FSBox& inner, const FSFixedVector& p) {
    float depth = 1.0f;
    for (int axis = 0; axis < 3; ++axis) {
        const double v = p[axis];
        double t = 1.0;
        if (v < inner.min[axis]) {
            t = (v - outer.min[axis]) / (static_cast<double>(inner.min[axis]) - outer.min[axis]);
        } else if (v > inner.max[axis]) {
            t = (outer.max[axis] - v) / (static_cast<double>(outer.max[axis]) - inner.max[axis]);
        }
        depth = std::min(depth, static_cast<float>(t));
    }
    return std::clamp(depth, 0.0f, 1.0f);
}

struct Channels {
    int r, g, b;
};

Channels Split(uint32_t colour) {
    return {static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>(colour & 0xFF)};
}

// The colour taken halfway to white.
uint32_t Lighten(uint32_t colour) {
    const Channels c = Split(colour);
    const auto half = [](int v) { return static_cast<uint32_t>(v + (255 - v) / 2); };
    return (half(c.r) << 16) | (half(c.g) << 8) | half(c.b);
}

// One mixing pass for every pixel of the chosen rows.
struct Mixing {
    int k = 0;              // ⌊255 × weight⌋ of the density steps
    Channels colour{};      // M
    int haze = 0;           // k′ of the second mode (0 in the first), out of 65536
    Channels hazeColour{};  // M′
};

inline int Step(int from, int to, int weight) {
    return from + (to - from) * weight / 65536;
}

}  // namespace

void CFSFlyThroughEffect::Init() {
    state_ = kOutside;
    zone_ = -1;
    factor_ = 0.0f;
    zones_.clear();
    imageWidth_ = 0;
    imageHeight_ = 0;
    density_.clear();
}

bool CFSFlyThroughEffect::LoadCloudImage(const std::string& archivePath, const std::string& memberName) {
    FSPngImage image;
    if (!ReadPng(archivePath, memberName, image) || image.width <= 0 || image.height <= 0 ||
        image.channels <= 0)
        return false;
    std::vector<uint8_t> density(static_cast<size_t>(image.width) * image.height);
    for (size_t i = 0; i < density.size(); ++i)
        density[i] = image.pixels[i * image.channels];
    return SetCloudImage(image.width, image.height, std::move(density));
}

bool CFSFlyThroughEffect::SetCloudImage(int width, int height, std::vector<uint8_t> density) {
    if (width <= 0 || height <= 0 || density.size() != static_cast<size_t>(width) * height) return false;
    imageWidth_ = width;
    imageHeight_ = height;
    density_ = std::move(density);
    return true;
}

int CFSFlyThroughEffect::AddZone(const FSCloudZone& zone) {
    zones_.push_back(zone);
    return static_cast<int>(zones_.size()) - 1;
}

void CFSFlyThroughEffect::ClearZones() {
    zones_.clear();
    state_ = kOutside;
    zone_ = -1;
    factor_ = 1.0f;
}

FSFixedVector CFSFlyThroughEffect::TerrainPoint(const FSFixedVector& local, int32_t column, int32_t row) {
    return {column * kCellSize + local.x + kHalfCell, local.y, row * kCellSize + local.z + kHalfCell};
}

void CFSFlyThroughEffect::Update(const MFSSceneNode& player) {
    UpdateAt(TerrainPoint(player.GetPosition(), player.GetCell().column, player.GetCell().row));
}

void CFSFlyThroughEffect::UpdateAt(const FSFixedVector& terrainPoint) {
    for (size_t i = 0; i < zones_.size(); ++i) {
        const FSCloudZone& zone = zones_[i];
        const FSFixedVector centre = zone.outer.Centre();
        const FSFixedVector p = {NearestAround(terrainPoint.x, centre.x), terrainPoint.y,
                                 NearestAround(terrainPoint.z, centre.z)};
        if (!ContainsPoint(zone.outer, p)) continue;
        zone_ = static_cast<int>(i);
        if (ContainsPoint(zone.inner, p)) {
            state_ = kInside;
            factor_ = 0.0f;
        } else {
            state_ = kEntering;
            factor_ = ShellDepth(zone.outer, zone.inner, p);
        }
        return;
    }
    state_ = kOutside;
    zone_ = -1;
    factor_ = 1.0f;
}

void CFSFlyThroughEffect::Convert(uint16_t* destination, const uint32_t* source, int width, int height,
                                  float seconds, int firstRow, int rowCount) const {
    if (!destination || !source || width <= 0 || height <= 0) return;
    const int first = std::clamp(firstRow, 0, height);
    // A count beyond the last row ends there (first + rowCount must not overflow).
    const int end = rowCount < 0 || rowCount > height - first ? height : first + rowCount;
    if (state_ == kOutside) {
        for (int i = first * width; i < end * width; ++i)
            destination[i] = Pack565(source[i]);
        return;
    }

    const uint32_t zoneColour = zone_ >= 0 && zone_ < static_cast<int>(zones_.size())
                                    ? zones_[zone_].mixColour
                                    : FSCloudZone{}.mixColour;
    Mixing mix;
    float weight = 1.0f;
    uint32_t colour = zoneColour;
    if (state_ == kEntering) {
        if (factor_ < 0.4f) {
            weight = 2.5f * factor_;
            colour = Lighten(zoneColour);
        } else if (factor_ > 0.6f) {
            weight = (factor_ - 0.6f) * 2.5f;
            mix.haze = static_cast<int>((1.0f - std::clamp(weight, 0.0f, 1.0f)) * kHazeWeight);
            mix.hazeColour = Split(zoneColour);
        }
    }
    mix.k = static_cast<int>(std::floor(255.0f * std::clamp(weight, 0.0f, 1.0f)));
    mix.colour = Split(colour);

    // Density picture, or full density without one.
    static const uint8_t kFull = 255;
    const bool hasImage = !density_.empty();
    const int w = hasImage ? imageWidth_ : 1;
    const int h = hasImage ? imageHeight_ : 1;
    const uint8_t* density = hasImage ? density_.data() : &kFull;

    // The two offsets circle in opposite senses; an image smaller than the picture simply
    // repeats (every index is taken modulo its size).
    const float a = seconds * kCircleSpeed;
    const float spanX = 0.5f * static_cast<float>(w - width);
    const float spanY = 0.5f * static_cast<float>(h - height);
    const int ox1 = static_cast<int>((std::cos(a) + 1.0f) * spanX);
    const int oy1 = static_cast<int>((std::sin(a) + 1.0f) * spanY);
    const int ox2 = static_cast<int>((std::cos(kQuarterPi - a) + 1.0f) * spanX);
    const int oy2 = static_cast<int>((std::sin(kQuarterPi - a) + 1.0f) * spanY);
    const auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
    std::vector<int> column1(static_cast<size_t>(width));
    std::vector<int> column2(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        column1[x] = wrap(ox1 + x, w);
        column2[x] = wrap(ox2 + x, w);
    }

    const Channels& m = mix.colour;
    const Channels& haze = mix.hazeColour;
    for (int row = first; row < end; ++row) {
        // The picture's bottom row meets the density picture's first stored row (its
        // bottom), so the clouds stand upright.
        const int fromBottom = height - 1 - row;
        const uint8_t* row1 = density + static_cast<size_t>(wrap(oy1 + fromBottom, h)) * w;
        const uint8_t* row2 = density + static_cast<size_t>(wrap(oy2 + fromBottom, h)) * w;
        const uint32_t* in = source + static_cast<size_t>(row) * width;
        uint16_t* out = destination + static_cast<size_t>(row) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = in[x];
            const int k1 = row1[column1[x]] * mix.k;
            const int k2 = row2[column2[x]] * mix.k;
            int r = Step(static_cast<int>((p >> 16) & 0xFF), m.r, k1);
            int g = Step(static_cast<int>((p >> 8) & 0xFF), m.g, k1);
            int b = Step(static_cast<int>(p & 0xFF), m.b, k1);
            if (mix.haze != 0) {
                r = Step(r, haze.r, mix.haze);
                g = Step(g, haze.g, mix.haze);
                b = Step(b, haze.b, mix.haze);
            }
            r = Step(r, m.r, k2);
            g = Step(g, m.g, k2);
            b = Step(b, m.b, k2);
            out[x] = Pack565((static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
                             static_cast<uint32_t>(b));
        }
    }
}

void CFSFlyThroughEffect::Draw(const CFSCamera& camera) const {
    if (state_ == kInside) return;
    const FSTextureWindow whole[FSCloudShape::kQuads] = {};
    for (const FSCloudZone& zone : zones_) {
        if (zone.outer.IsEmpty()) continue;
        const FSFixedVector centre = zone.outer.Centre();
        const FSFixedVector extent = zone.outer.Extent();
        // Terrain coordinates back to a cell and a local position in it.
        const int32_t column = static_cast<int32_t>(std::floor(FixedToFloat(centre.x) / 60.0f));
        const int32_t row = static_cast<int32_t>(std::floor(FixedToFloat(centre.z) / 60.0f));
        const FSFixedVector local = {centre.x - (column * kCellSize + kHalfCell), centre.y,
                                     centre.z - (row * kCellSize + kHalfCell)};
        const FSCell cell = {WrapCellIndex(column), WrapCellIndex(row)};
        const FSFixedVector d = camera.RelativePosition(local, cell);
        const FSCloudShape shape(extent.x / 2, extent.z, whole);
        glPushMatrix();
        glTranslatex(d.x, d.y, d.z);
        shape.Draw(zone.texture);
        glPopMatrix();
    }
}
