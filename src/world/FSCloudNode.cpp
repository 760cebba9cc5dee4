#include "world/FSCloudNode.h"

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

// sin and cos of 0°, 60° and 120° in 16.16.
constexpr GLfixed kCos[3] = {65536, 32768, -32768};
constexpr GLfixed kSin[3] = {0, 56756, 56756};

// The flat quad's height above the centre and its half side, as fractions (16.16).
constexpr FSFixed kFlatHeight = 6554;     // 0.1 of the height
constexpr FSFixed kFlatHalfSide = 52429;  // 0.8 of the half width

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

FSCloudShape::FSCloudShape(FSFixed halfWidth, FSFixed height, const FSTextureWindow windows[kQuads]) {
    const GLfixed top = height / 2;
    const GLfixed bottom = -height / 2;
    GLfixed* v = vertices_;
    // Upright quads: bottom-left, bottom-right, top-left, top-right along their own x.
    for (int q = 0; q < 3; ++q) {
        const GLfixed x = FixedMul(halfWidth, kCos[q]);
        const GLfixed z = FixedMul(halfWidth, kSin[q]);
        const GLfixed corners[12] = {-x, bottom, -z, x, bottom, z, -x, top, -z, x, top, z};
        for (GLfixed c : corners)
            *v++ = c;
    }
    // The flat quad.
    const GLfixed s = FixedMul(halfWidth, kFlatHalfSide);
    const GLfixed y = FixedMul(height, kFlatHeight);
    const GLfixed flat[12] = {-s, y, s, s, y, s, -s, y, -s, s, y, -s};
    for (GLfixed c : flat)
        *v++ = c;

    GLfixed* t = texCoords_;
    for (int q = 0; q < kQuads; ++q) {
        const FSTextureWindow& w = windows[q];
        const GLfixed coords[8] = {w.u0, w.v0, w.u1, w.v0, w.u0, w.v1, w.u1, w.v1};
        for (GLfixed c : coords)
            *t++ = c;
    }
}

void FSCloudShape::Draw(uint32_t texture) const {
    static const GLubyte kIndices[kQuads * 6] = {0, 1, 2,  2,  1, 3,  4,  5,  6,  6,  5,  7,
                                                 8, 9, 10, 10, 9, 11, 12, 13, 14, 14, 13, 15};
    DrawTranslucentTextured(texture, vertices_, texCoords_, GL_TRIANGLES, kQuads * 6, kIndices);
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
    const FSFixed halfWidth = width_ / 2;
    shape_ = FSCloudShape(halfWidth, height_, windows_);
    const FSFixed halfHeight = height_ / 2;
    box_ = FSBox::FromCorners({-halfWidth, -halfHeight, -halfWidth}, {halfWidth, halfHeight, halfWidth});
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
    shape_.Draw(GetTexture());
    glPopMatrix();
}
