#include "world/FSBillboardNode.h"

#include "world/FSNodeDrawing.h"
#include "world/FSSavedGLState.h"
#include "world/FSScene.h"

namespace {

constexpr FSFixed kQuarter = kFixedOne / 4;

}  // namespace

FSAtlasCell AtlasCell(int variant) {
    if (variant < 0 || variant > 15) return FSAtlasCell{};
    const FSFixed column = variant / 4;
    const FSFixed row = variant % 4;
    return {column * kQuarter, row * kQuarter, (column + 1) * kQuarter, (row + 1) * kQuarter};
}

CFSBillboardNode::CFSBillboardNode(FSFixed height, FSFixed halfWidth, CFSTextureCache* textures,
                                   const std::string& textureName, int variant, bool upright)
    : MFSTexturedNode(kNodeBillboard), upright_(upright ? 1 : 0), height_(height), halfWidth_(halfWidth) {
    SetTextureByName(textures, textureName);
    SetVisible(true);
    const FSAtlasCell cell = AtlasCell(variant);
    const GLfixed coords[8] = {cell.u0, cell.v0, cell.u1, cell.v0, cell.u0, cell.v1, cell.u1, cell.v1};
    for (int i = 0; i < 8; ++i)
        texCoords_[i] = coords[i];
    UpdateBox();
}

void CFSBillboardNode::UpdateBox() {
    box_ = FSBox::FromCorners({-halfWidth_, 0, -halfWidth_}, {halfWidth_, height_, halfWidth_});
}

void CFSBillboardNode::Scale(const FSFixedVector& factors) {
    height_ = FixedMul(height_, factors.y);
    halfWidth_ = FixedMul(halfWidth_, factors.x);
    UpdateBox();
}

void CFSBillboardNode::Update(CFSScene&, const FSFrame&) {}

void CFSBillboardNode::Draw(CFSScene& scene) {
    if (!IsVisible()) return;
    const CFSCamera& camera = scene.Camera();
    const FSFixedVector d = camera.RelativePosition(*this);

    // "left" points to the eye's left, so that the corners run left foot, right foot,
    // left top, right top: counter-clockwise toward the eye and the picture unmirrored.
    FSFixedVector left;
    FSFixedVector up;
    glPushMatrix();
    if (upright_) {
        TranslateRotateEuler({}, d, 0, 0, 0);
        // Across the horizontal line of sight: (d.z, 0, −d.x) is the eye's left.
        left = Normalise(FSFixedVector{d.z, 0, -d.x});
        if (left.IsZero()) left = {kFixedOne, 0, 0};  // seen from straight above
        up = {0, kFixedOne, 0};
    } else {
        TranslateRotateQuaternion({}, d, GetOrientation());
        const FSFixedMatrix& view = camera.ViewMatrix();
        left = Normalise(FSFixedVector{-view.At(0, 0), -view.At(0, 1), -view.At(0, 2)});
        up = Normalise(FSFixedVector{view.At(1, 0), view.At(1, 1), view.At(1, 2)});
    }
    const FSFixedVector side = ::Scale(left, halfWidth_);
    const FSFixedVector top = ::Scale(up, height_);
    const GLfixed corners[12] = {side.x,         side.y,         side.z,         -side.x,
                                 -side.y,        -side.z,        side.x + top.x, side.y + top.y,
                                 side.z + top.z, top.x - side.x, top.y - side.y, top.z - side.z};
    static const GLubyte kStrip[4] = {0, 1, 2, 3};
    // The alpha test stays as the scene set it; only an upright billboard shows both faces.
    // A tree stands in the same light as the ground and the buildings around it.
    FSTranslucentLook look;
    look.tint = camera.Daylight();
    look.keepCulling = !upright_;
    look.keepAlphaTest = true;
    DrawTranslucentTextured(GetTexture(), corners, texCoords_, GL_TRIANGLE_STRIP, 4, kStrip, look);
    glPopMatrix();
}
