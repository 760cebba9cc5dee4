#include "world/FSCloudNode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "world/FSNodeDrawing.h"
#include "world/FSSavedGLState.h"
#include "world/FSScene.h"

namespace {

// The largest random border of a window (16.16 texture units).
constexpr FSFixed kBorderU = 3276;
constexpr FSFixed kBorderV = 2316;

// A random value 0..limit (16.16) from the C library's generator, whatever its range.
FSFixed RandomUpTo(FSFixed limit) {
    const double unit = static_cast<double>(std::rand()) / static_cast<double>(RAND_MAX);
    return static_cast<FSFixed>(unit * limit);
}

// The puffs in drawing order, as fractions of the cloud's half width: two shoulders behind
// the core, toward either side of the picture and a little lower, then the core, the
// cloud's whole size.
struct PuffPlace {
    FSFixed side;  // along the screen's right
    FSFixed drop;  // down the screen, as a fraction of the core's half height
    FSFixed size;
};
constexpr PuffPlace kPuffs[FSCloudShape::kQuads] = {
    {-29491, 13107, 39322},  // −0.45, 0.2 lower, 0.6 of the size
    {29491, 9830, 36045},    // 0.45, 0.15 lower, 0.55
    {0, 0, kFixedOne},
};

// The eye's axes in the frame of the current model-view matrix (its rotation's rows:
// right, up and backward), read back from GL.
struct EyeAxes {
    FSFixedVector right, up, back;
};

EyeAxes ReadEyeAxes() {
    GLfixed m[16];
    glGetFixedv(GL_MODELVIEW_MATRIX, m);
    EyeAxes eye;
    eye.right = {m[0], m[4], m[8]};
    eye.up = {m[1], m[5], m[9]};
    eye.back = {m[2], m[6], m[10]};
    return eye;
}

}  // namespace

FSTextureWindow RandomCloudWindow() {
    FSTextureWindow w;
    w.u0 = RandomUpTo(kBorderU);
    w.u1 = kFixedOne - RandomUpTo(kBorderU);
    w.v0 = RandomUpTo(kBorderV);
    w.v1 = kFixedOne - RandomUpTo(kBorderV);
    if (std::rand() & 1) std::swap(w.u0, w.u1);
    return w;
}

FSCloudShape::FSCloudShape(FSFixed halfWidth, FSFixed height, const FSTextureWindow windows[kQuads])
    : halfWidth_(halfWidth), halfHeight_(height / 2) {
    GLfixed* t = texCoords_;
    for (int q = 0; q < kQuads; ++q) {
        // Corners bottom-left, bottom-right, top-left, top-right of the picture's window.
        const FSTextureWindow& w = windows[q];
        const GLfixed coords[8] = {w.u0, w.v0, w.u1, w.v0, w.u0, w.v1, w.u1, w.v1};
        for (GLfixed c : coords)
            *t++ = c;
    }
}

FSBox FSCloudShape::Bounds() const {
    // Facing any way, a puff stays within its half diagonal (its height grows to at most
    // the cloud's width) of its centre, which lies along the screen's right and down.
    const FSFixed diagonal = Length(FSFixedVector{halfWidth_, std::max(halfWidth_, halfHeight_), 0});
    FSFixed reach = 0;
    for (const PuffPlace& puff : kPuffs) {
        const FSFixed offset = Length(FSFixedVector{puff.side, puff.drop, 0});
        reach = std::max(reach, FixedMul(diagonal, offset + puff.size));
    }
    return FSBox::FromCorners({-reach, -reach, -reach}, {reach, reach, reach});
}

void FSCloudShape::Draw(uint32_t texture, const FSFixedColour& tint) const {
    const EyeAxes eye = ReadEyeAxes();
    // Up on the screen as near the node's y axis as the view allows: y less its part along
    // the line of sight. Seen from straight above or below, the screen's own up.
    const FSFixedVector upright = ::Scale(eye.right, eye.right.y) + ::Scale(eye.up, eye.up.y);
    const FSFixedVector up = Normalise(Length(upright) < kFixedOne / 64 ? eye.up : upright);
    const FSFixedVector right = Normalise(Cross(up, eye.back));
    // The cloud is a flattened ball, as tall as its height and as deep as its width: seen
    // from higher up it shows more of its depth, up to its width from straight above.
    const FSFixed halfHeight =
        Length(FSFixedVector{FixedMul(halfHeight_, std::abs(up.y)),
                             FixedMul(halfWidth_, Length(FSFixedVector{up.x, 0, up.z})), 0});

    GLfixed vertices[kQuads * 4 * 3];
    GLfixed* v = vertices;
    for (const PuffPlace& puff : kPuffs) {
        const FSFixedVector centre =
            ::Scale(right, FixedMul(halfWidth_, puff.side)) - ::Scale(up, FixedMul(halfHeight, puff.drop));
        const FSFixedVector side = ::Scale(right, FixedMul(halfWidth_, puff.size));
        const FSFixedVector rise = ::Scale(up, FixedMul(halfHeight, puff.size));
        for (const FSFixedVector& c :
             {centre - side - rise, centre + side - rise, centre - side + rise, centre + side + rise}) {
            *v++ = c.x;
            *v++ = c.y;
            *v++ = c.z;
        }
    }
    static const GLubyte kIndices[kQuads * 6] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7, 8, 9, 10, 10, 9, 11};
    FSTranslucentLook look;
    look.tint = tint;
    DrawTranslucentTextured(texture, vertices, texCoords_, GL_TRIANGLES, kQuads * 6, kIndices, look);
}

CFSCloudNode::CFSCloudNode(FSFixed width, FSFixed height, CFSTextureCache* textures,
                           const std::string& textureName)
    : MFSTexturedNode(kNodeCloud), width_(width), height_(height) {
    SetTextureByName(textures, textureName);
    for (FSTextureWindow& w : windows_)
        w = RandomCloudWindow();
    Build();
}

void CFSCloudNode::Build() {
    shape_ = FSCloudShape(width_ / 2, height_, windows_);
    box_ = shape_.Bounds();
}

void CFSCloudNode::Scale(const FSFixedVector& factors) {
    width_ = FixedMul(width_, factors.x);
    height_ = FixedMul(height_, factors.y);
    Build();
}

void CFSCloudNode::Update(CFSScene&, const FSFrame&) {}

void CFSCloudNode::Draw(CFSScene& scene) {
    if (!IsVisible()) return;
    glPushMatrix();
    TranslateRotateQuaternion({}, scene.Camera().RelativePosition(*this), GetOrientation());
    shape_.Draw(GetTexture(), scene.Camera().Daylight());
    glPopMatrix();
}
