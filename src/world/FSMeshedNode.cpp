#include "world/FSMeshedNode.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "resources/FSMeshLoader.h"
#include "world/FSNodeDrawing.h"
#include "world/FSScene.h"

namespace {

// Turns every normal (x, y, z triples, 16.16) by the inverse of a scale by factors, so
// that it stays square to its stretched face, and makes it unit length again; a normal
// that vanishes, or a factor of 0, leaves the normal as it was. Factors of 1.0 only
// make unit length of what a model file gave.
void RescaleNormals(std::vector<FSFixed>& normals, const FSFixedVector& factors) {
    if (factors.x == 0 || factors.y == 0 || factors.z == 0) return;
    const double inverse[3] = {kFixedOne / static_cast<double>(factors.x),
                               kFixedOne / static_cast<double>(factors.y),
                               kFixedOne / static_cast<double>(factors.z)};
    for (size_t i = 0; i + 2 < normals.size(); i += 3) {
        double n[3];
        for (int axis = 0; axis < 3; ++axis)
            n[axis] = normals[i + axis] * inverse[axis];
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length <= 0.0) continue;
        for (int axis = 0; axis < 3; ++axis)
            normals[i + axis] = static_cast<FSFixed>(std::lround(n[axis] / length * kFixedOne));
    }
}

// Half the side of the highlight square per unit of the model's largest extent, the same
// proportion as a gate's target marker.
constexpr FSFixed kHighlightScale = 49152;  // 0.75

}  // namespace

CFSMeshedNode::CFSMeshedNode(CFSTextureCache* textures, const std::string& textureName)
    : MFSTexturedNode(kNodeMeshed) {
    SetVisible(true);
    SetTextureByName(textures, textureName);
}

CFSMeshedNode::CFSMeshedNode(int32_t vertexCount, int32_t triangleCount, CFSTextureCache* textures,
                             const std::string& textureName, int32_t type)
    : MFSTexturedNode(type) {
    SetVisible(true);
    SetTextureByName(textures, textureName);
    vertexCount_ = std::max(vertexCount, 0);
    triangleCount_ = std::max(triangleCount, 0);
}

CFSMeshedNode::~CFSMeshedNode() = default;

std::unique_ptr<CFSMeshedNode> CFSMeshedNode::CreateMeshedNode(CFSMeshLoader& loader,
                                                               CFSTextureCache* textures,
                                                               const std::string& modelName,
                                                               const std::string& textureName, int /*flag*/) {
    auto node = std::make_unique<CFSMeshedNode>(textures, textureName);
    node->LoadModel(loader, modelName);
    node->StorePosition({});
    return node;
}

void CFSMeshedNode::AllocateMesh() {
    const size_t v = static_cast<size_t>(vertexCount_);
    positions_.assign(3 * v, 0);
    texCoords_.assign(2 * v, 0);
    indices_.assign(3 * static_cast<size_t>(triangleCount_), 0);
    normals_.assign(3 * v, 0);
    StorePosition({});
    box_ = FSBox::Empty();
}

bool CFSMeshedNode::LoadModel(CFSMeshLoader& loader, const std::string& modelName) {
    FSMesh mesh;
    const bool loaded = loader.LoadMesh(modelName, mesh);
    box_ = FSBox::FromWords(mesh.box);
    vertexCount_ = mesh.vertexCount;
    triangleCount_ = mesh.triangleCount;
    positions_ = std::move(mesh.positions);
    texCoords_ = std::move(mesh.texCoords);
    normals_ = std::move(mesh.normals);
    indices_ = std::move(mesh.indices);
    // The light takes normals as they come (no GL_NORMALIZE): a model file's may be any length.
    RescaleNormals(normals_, {kFixedOne, kFixedOne, kFixedOne});
    return loaded;
}

void CFSMeshedNode::Scale(const FSFixedVector& factors) {
    for (size_t i = 0; i + 2 < positions_.size(); i += 3) {
        positions_[i] = FixedMul(positions_[i], factors.x);
        positions_[i + 1] = FixedMul(positions_[i + 1], factors.y);
        positions_[i + 2] = FixedMul(positions_[i + 2], factors.z);
    }
    // A uniform scale keeps every face's direction; any other turns the normals too.
    if (factors.x != factors.y || factors.y != factors.z) RescaleNormals(normals_, factors);
    // Scaling the empty box's sentinels would turn them into a small real box.
    if (box_.IsEmpty()) return;
    box_.min = ScaleEach(box_.min, factors);
    box_.max = ScaleEach(box_.max, factors);
}

bool CFSMeshedNode::CheckHit(MFSSceneNode& /*other*/) {
    return false;
}

void CFSMeshedNode::Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) {}

void CFSMeshedNode::Draw(CFSScene& scene) {
    drawn_ = false;
    if (!IsVisible()) return;
    const FSFixedVector r = scene.Camera().RelativePosition(*this);
    // The same limit on every side of the camera (magnitudes, not signed values).
    if (std::abs(static_cast<int64_t>(r.x)) > kDrawLimit ||
        std::abs(static_cast<int64_t>(r.y)) > kDrawLimit ||
        std::abs(static_cast<int64_t>(r.z)) > kDrawLimit) {
        return;
    }

    // Never hand the library more than the arrays hold, whatever a subclass set the counts to.
    const size_t vertices = std::min({static_cast<size_t>(vertexCount_), positions_.size() / 3,
                                      normals_.size() / 3, texCoords_.size() / 2});
    const size_t indices = std::min(static_cast<size_t>(triangleCount_) * 3, indices_.size());
    if (vertices > 0 && indices > 0) {
        glPushMatrix();
        SetUpLitDrawing();
        TranslateRotateQuaternion({}, r, GetOrientation());
        glBindTexture(GL_TEXTURE_2D, GetTexture());
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FIXED, 0, positions_.data());
        glNormalPointer(GL_FIXED, 0, normals_.data());
        glTexCoordPointer(2, GL_FIXED, 0, texCoords_.data());
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices), GL_UNSIGNED_SHORT, indices_.data());
        glPopMatrix();
        drawn_ = true;
    }

    if ((GetHighlight() & 0xFF) != 0 && !IsRemoved()) DrawHighlight(scene, r);
}

void CFSMeshedNode::SetUpLitDrawing() {
    // Whatever the drawings before this one left behind (a propeller's translucent black,
    // a particle's texture environment, lighting switched off), a mesh shows its picture
    // lit by the camera's light 0 alone: a white material, not the current colour.
    static const GLfixed kWhite[4] = {kFixedOne, kFixedOne, kFixedOne, kFixedOne};
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_COLOR_MATERIAL);
    glMaterialxv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, kWhite);
    glColor4x(kFixedOne, kFixedOne, kFixedOne, kFixedOne);
    // Solid and closed: opaque, writing depth, back faces never seen.
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
}

void CFSMeshedNode::DrawHighlight(const CFSScene& scene, const FSFixedVector& relative) const {
    if (box_.IsEmpty()) return;
    static const FSFixed kWhite[4] = {kFixedOne, kFixedOne, kFixedOne, kFixedOne};
    DrawScreenSquare(scene, relative, box_.Centre(), FixedMul(box_.LargestExtent(), kHighlightScale), kWhite,
                     2 * kFixedOne);
}

void CFSMeshedNode::DrawScreenSquare(const CFSScene& scene, const FSFixedVector& relative,
                                     const FSFixedVector& centre, FSFixed half, const FSFixed colour[4],
                                     FSFixed lineWidth) {
    // The camera's right and up directions: the first two rows of its matrix.
    const FSFixedMatrix& view = scene.Camera().ViewMatrix();
    const FSFixedVector a =
        ::Scale(Normalise(FSFixedVector{view.At(0, 0), view.At(0, 1), view.At(0, 2)}), half);
    const FSFixedVector b =
        ::Scale(Normalise(FSFixedVector{view.At(1, 0), view.At(1, 1), view.At(1, 2)}), half);
    const FSFixedVector c = centre;
    const FSFixedVector square[4] = {c + a + b, c + a - b, c - a - b, c - a + b};
    GLfixed corners[12];
    for (int i = 0; i < 4; ++i) {
        corners[3 * i] = square[i].x;
        corners[3 * i + 1] = square[i].y;
        corners[3 * i + 2] = square[i].z;
    }

    glPushMatrix();
    TranslateRotateEuler({}, relative, 0, 0, 0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    // The outline has positions only.
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColor4x(colour[0], colour[1], colour[2], colour[3]);
    glLineWidthx(lineWidth);
    glVertexPointer(3, GL_FIXED, 0, corners);
    glDrawArrays(GL_LINE_LOOP, 0, 4);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}
