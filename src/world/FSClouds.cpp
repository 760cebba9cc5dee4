#include "world/FSClouds.h"

#include <algorithm>
#include <cmath>

#include "world/FSNodeDrawing.h"
#include "world/FSSavedGLState.h"
#include "world/FSScene.h"

namespace {

constexpr FSFixed kThreeQuarters = 49152;  // 0.75 in 16.16
constexpr float kPi = 3.14159265358979f;
// The share of their own colours the curtain's clouds keep under a bright sky.
constexpr float kOwnShare = 0.45f;

}  // namespace

TFSClouds::TFSClouds(CFSTextureCache* textures, const std::string& textureName, FSFixed a, FSFixed b,
                     FSFixed c)
    : MFSTexturedNode(kNodeCloud), a_(a), b_(b), c_(c) {
    SetTextureByName(textures, textureName);
    SetVisible(true);
    const FSFixed x = FixedMul(a, kThreeQuarters);
    const GLfixed vertices[12] = {-x, c, a, -x, b, a, x, b, a, x, c, a};
    for (int i = 0; i < 12; ++i)
        vertices_[i] = vertices[i];
    box_ = FSBox::Empty();
    for (int i = 0; i < 4; ++i)
        box_.Extend(Vertex(i));
    // v: 0 at the bottom (vertices 0 and 3), 1.0 at the top (1 and 2).
    texCoords_[3] = kFixedOne;
    texCoords_[5] = kFixedOne;
    // The curtain faces its z axis; with y up its x axis points to the eye's left, so
    // vertices 2 and 3 (x = +0.75a) make the screen-left edge.
    texCoords_[2] = kFixedOne;
    texCoords_[0] = kFixedOne;
}

void TFSClouds::Scale(const FSFixedVector&) {}

void TFSClouds::Update(CFSScene& scene, const FSFrame&) {
    const CFSCamera& camera = scene.Camera();

    // The wind's push since the last frame, along the direction the curtain faces.
    if (GetMoveableObject() && hasPlaced_) {
        const FSFixedVector moved = WrappedDifference(GetPosition(), GetCell(), placed_, placedCell_);
        drift_ += Dot(moved, GetAxisZ());
    }

    // Face along the camera's horizontal viewing direction (kept when looking straight
    // up or down).
    const FSFixedVector forward = camera.Target() - camera.Eye();
    const float fx = FixedToFloat(forward.x);
    const float fz = FixedToFloat(forward.z);
    if (fx * fx + fz * fz > 1e-12f) heading_ = std::atan2(fz, fx);
    // A turn about y by ψ takes the z axis to (sin ψ, 0, cos ψ).
    SetOrientation(FromAxisAngle(FSVector(0, 1, 0), std::atan2(std::cos(heading_), std::sin(heading_))));

    SetCell(camera.GetCell());
    Place({camera.Eye().x, 0, camera.Eye().z});
    placed_ = GetPosition();
    placedCell_ = GetCell();
    hasPlaced_ = true;

    scroll_ = FloatToFixed(heading_ / kPi) + drift_;
    texCoords_[4] = scroll_;
    texCoords_[6] = scroll_;
    texCoords_[0] = scroll_ + kFixedOne;
    texCoords_[2] = scroll_ + kFixedOne;
}

void TFSClouds::Draw(CFSScene& scene) {
    if (!IsVisible()) return;
    static const GLubyte kIndices[6] = {0, 1, 2, 0, 2, 3};
    // The curtain stands beyond the end of any fog that lets the ground end unseen, where
    // it would be a flat silhouette in the fog's colour. It keeps a share of its own
    // colours instead, as far as the sky is bright (at night it stays a dark silhouette
    // against the glow of the horizon): a linear fog from the eye that leaves that share
    // at the curtain's distance.
    const FSSkyColour& sky = scene.Camera().FogColour();
    const float own = kOwnShare * std::clamp(std::max({sky.r, sky.g, sky.b}), 0.0f, 1.0f);
    GLint mode = GL_LINEAR;
    GLfixed start = 0, end = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    glGetFixedv(GL_FOG_START, &start);
    glGetFixedv(GL_FOG_END, &end);
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogx(GL_FOG_START, 0);
    glFogx(GL_FOG_END, FloatToFixed(FixedToFloat(a_) / (1.0f - own)));
    glPushMatrix();
    TranslateRotateQuaternion({}, scene.Camera().RelativePosition(*this), GetOrientation());
    DrawTranslucentTextured(GetTexture(), vertices_, texCoords_, GL_TRIANGLES, 6, kIndices);
    glPopMatrix();
    glFogx(GL_FOG_MODE, mode);
    glFogx(GL_FOG_START, start);
    glFogx(GL_FOG_END, end);
}
