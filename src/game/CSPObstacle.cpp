#include "game/CSPObstacle.h"

#include <algorithm>

#include "game/MSPProperty.h"
#include "world/FSScene.h"

namespace {

// Texture coordinates (u, v) of the 16 vertices: the outer corners of the front and the
// inner corners of the back take u = 0, the others u = 1.
constexpr FSFixed kTexCoords[CSPObstacle::kVertices * 2] = {
    0,         0, 0,         kFixedOne, 0,         0, 0,         kFixedOne,  // front outer
    kFixedOne, 0, kFixedOne, kFixedOne, kFixedOne, 0, kFixedOne, kFixedOne,  // back outer
    kFixedOne, 0, kFixedOne, kFixedOne, kFixedOne, 0, kFixedOne, kFixedOne,  // front inner
    0,         0, 0,         kFixedOne, 0,         0, 0,         kFixedOne,  // back inner
};

// Front ring, back ring, outer sides, inner sides; eight triangles each.
constexpr uint16_t kIndices[CSPObstacle::kTriangles * 3] = {
    0, 1,  9,  0,  9,  8,  1, 2,  10, 1,  10, 9,  2,  3,  11, 2,  11, 10, 3,  0,  8,  3,  8,  11,
    4, 13, 5,  4,  12, 13, 5, 14, 6,  5,  13, 14, 6,  15, 7,  6,  14, 15, 7,  12, 4,  7,  15, 12,
    0, 4,  1,  4,  5,  1,  1, 5,  2,  5,  6,  2,  2,  6,  3,  6,  7,  3,  3,  7,  0,  7,  4,  0,
    8, 9,  12, 12, 9,  13, 9, 10, 13, 13, 10, 14, 10, 11, 14, 14, 11, 15, 11, 8,  15, 15, 8,  12,
};

// Below this length (16.16, about 1 m) a step gives no direction to extend the path along.
constexpr FSFixed kStillStep = 67;

// The target marker: half its side per unit of the gate's largest extent, and its colour.
constexpr FSFixed kMarkerScale = 49152;                             // 0.75
constexpr FSFixed kMarkerColour[4] = {52428, 26214, 0, kFixedOne};  // 0.8, 0.4, 0.0, 1.0

// No frame is bigger than this (half sizes, 16.16 km): a file that asks for more still
// gives sums that fit in 16.16.
constexpr FSFixed kLargestHalfSize = FixedFromInt(1000);

FSFixed ClampHalfSize(FSFixed v) {
    return std::clamp(v, -kLargestHalfSize, kLargestHalfSize);
}

FSFixed Abs(FSFixed v) {
    return v < 0 ? -v : v;
}

// The largest of the mover's half-sizes along its own axes, each projected on axis.
FSFixed Reach(const FSFixedVector& axis, const FSFixedVector axes[3], const FSFixedVector& half) {
    FSFixed reach = 0;
    for (int k = 0; k < 3; ++k)
        reach = std::max(reach, FixedMul(Abs(Dot(axis, axes[k])), half[k]));
    return reach;
}

}  // namespace

CSPObstacle::CSPObstacle(CFSTextureCache* textures, const std::string& textureName)
    : CFSMeshedNode(kVertices, kTriangles, textures, textureName),
      textures_(textures),
      textureName_(textureName) {
    AllocateMesh();
    SetCell({0, 0});
    LookAlong(FSVector(0.0f, 1.0f, 0.0f), FSVector(1.0f, 0.0f, 0.0f));
    std::copy(std::begin(kIndices), std::end(kIndices), Indices().begin());
    std::copy(std::begin(kTexCoords), std::end(kTexCoords), TexCoords().begin());
    BuildFrame();
    SetProperty(std::make_unique<MSPProperty>(kPropertyObstacle));
}

CSPObstacle::~CSPObstacle() = default;

void CSPObstacle::SetTextureName(const std::string& textureName) {
    textureName_ = textureName;
    SetTextureByName(textures_, textureName);
}

void CSPObstacle::Scale(const FSFixedVector& factors) {
    halfWidth_ = ClampHalfSize(FixedMul(halfWidth_, factors.x));
    halfHeight_ = ClampHalfSize(FixedMul(halfHeight_, factors.y));
    halfThickness_ = ClampHalfSize(FixedMul(halfThickness_, factors.z));
    BuildFrame();
}

void CSPObstacle::BuildFrame() {
    const FSFixed w = halfWidth_, h = halfHeight_, t = halfThickness_;
    SetModelBox(FSBox::FromCorners({-(w + t), -(h + t), -t}, {w + t, h + t, t}));
    const FSFixed corners[4][2] = {
        {-(w + t), -(h + t)}, {-(w + t), h + t}, {w + t, h + t}, {w + t, -(h + t)}};
    std::vector<FSFixed>& positions = Positions();
    std::vector<FSFixed>& normals = Normals();
    for (int i = 0; i < kVertices; ++i) {
        const int corner = i % 4;
        const bool inner = i >= 8;
        // The inner corners lie a bar's width (2t) in from the outer ones on x and y.
        const FSFixed inset = inner ? 2 * t : 0;
        FSFixedVector p{corners[corner][0], corners[corner][1], (i % 8) < 4 ? -t : t};
        p.x += p.x < 0 ? inset : -inset;
        p.y += p.y < 0 ? inset : -inset;
        // Outer normals point away from the centre, inner ones into the opening.
        const FSFixedVector n = inner ? -Normalise(p) : Normalise(p);
        for (int axis = 0; axis < 3; ++axis) {
            positions[3 * i + axis] = p[axis];
            normals[3 * i + axis] = n[axis];
        }
    }
}

bool CSPObstacle::Intersects(MFSSceneNode& mover) {
    contact_ = false;
    // Everything relative to the mover's current cell, in case the step crossed a seam.
    FSFixedVector p1 = mover.GetPosition();
    const FSCell& cell = mover.GetCell();
    FSFixedVector p0 = p1 + WrappedDifference(mover.GetPreviousPosition(), mover.GetPreviousCell(), p1, cell);
    const FSFixedVector pos = p1 + WrappedDifference(GetPosition(), GetCell(), p1, cell);
    const FSFixedVector d = p1 - p0;
    p0 = p0 - d;
    p1 = p1 + d;

    const FSBox* model = mover.GetModel();
    const bool hasBox = model && !model->IsEmpty();
    if (hasBox) {
        const FSFixedVector e = Length(d) < kStillStep ? GetAxisZ() : Normalise(d);
        const FSFixedVector reach = ::Scale(e, model->LargestExtent() / 2);
        p0 = p0 - reach;
        p1 = p1 + reach;
    }

    const FSFixedVector n = GetAxisZ();
    const FSFixed s0 = Dot(p0 - pos, n);
    const FSFixed s1 = Dot(p1 - pos, n);
    if (((static_cast<int64_t>(s0) * s1) >> 16) > 0) return false;

    FSFixedVector x = p0;
    if (s1 != s0) x = p0 + ::Scale(p1 - p0, FixedDiv(-s0, s1 - s0));
    x = x - pos;

    const FSFixedVector u = GetAxisY();
    const FSFixedVector v = Cross(GetAxisZ(), GetAxisY());
    verticalReach_ = horizontalReach_ = 0;
    if (hasBox) {
        const FSFixedVector extent = model->Extent();
        const FSFixedVector half{extent.x / 2, extent.y / 2, extent.z / 2};
        const FSFixedVector axes[3] = {Cross(mover.GetAxisY(), mover.GetAxisZ()), mover.GetAxisY(),
                                       mover.GetAxisZ()};
        verticalReach_ = Reach(u, axes, half);
        horizontalReach_ = Reach(v, axes, half);
    }
    verticalReach_ += kReachMargin;
    horizontalReach_ += kReachMargin;
    verticalOffset_ = Abs(Dot(x, u));
    horizontalOffset_ = Abs(Dot(x, v));

    const FSFixed w = halfWidth_, h = halfHeight_, t = halfThickness_;
    if (verticalOffset_ - verticalReach_ > t + h || horizontalOffset_ - horizontalReach_ > t + w)
        return false;
    contact_ = true;
    return true;
}

bool CSPObstacle::CheckHit(MFSSceneNode& /*mover*/) {
    if (!contact_) return false;
    return verticalReach_ + verticalOffset_ > halfHeight_ - halfThickness_ ||
           horizontalReach_ + horizontalOffset_ > halfWidth_ - halfThickness_;
}

void CSPObstacle::Draw(CFSScene& scene) {
    if (IsVisible() && (GetHighlight() & 0xFF) != 0) {
        SetHighlight(GetHighlight() & ~0xFFu);
        DrawTargetMarker(scene);
    }
    CFSMeshedNode::Draw(scene);
}

void CSPObstacle::DrawTargetMarker(const CFSScene& scene) const {
    DrawScreenSquare(scene, scene.Camera().RelativePosition(*this), {},
                     FixedMul(GetModel()->LargestExtent(), kMarkerScale), kMarkerColour, kFixedOne);
}
