#include "game/CSPRunway.h"

#include <GLES/gl.h>

#include <algorithm>

#include "world/FSNodeDrawing.h"
#include "world/FSScene.h"
#include "world/FSTerrainStorage.h"

namespace {

// The ground is probed from this height (16.16 km), above every terrain.
constexpr FSFixed kProbeHeight = 12 * kFixedOne;

// Vertex pairs along a strip of length (16.16 km) on a terrain of gridSize vertices a side
// over the 240 km world: one per grid step (60 km per cell), at least 2.
int32_t RowsFor(FSFixed length, int32_t gridSize) {
    const int64_t rows = (static_cast<int64_t>(FixedDiv(length, FixedFromInt(60))) * gridSize) >> 16;
    return rows < 3 ? 2 : static_cast<int32_t>(std::min<int64_t>(rows, 32767));
}

// The ends and the width are held within this (16.16 km), so every sum of them fits.
constexpr FSFixed kLargestExtent = FixedFromInt(1000);

FSFixed ClampExtent(FSFixed v) {
    return std::clamp(v, -kLargestExtent, kLargestExtent);
}

FSFixedVector ClampExtent(const FSFixedVector& v) {
    return {ClampExtent(v.x), ClampExtent(v.y), ClampExtent(v.z)};
}

FSFixed Ground(const CFSTerrainStorage& terrain, const FSFixedVector& p, const FSCell& cell) {
    return kProbeHeight - terrain.HeightAboveAt({p.x, kProbeHeight, p.z}, cell);
}

FSFixed StripLength(const FSFixedVector& a, const FSFixedVector& b) {
    return Length(ClampExtent(b) - ClampExtent(a));
}

}  // namespace

CSPRunway::CSPRunway(CFSTextureCache* textures, const std::string& textureName, const FSFixedVector& a,
                     const FSFixedVector& b, FSFixed width, const FSCell& cell,
                     const CFSTerrainStorage& terrain)
    : CFSMeshedNode(2 * RowsFor(StripLength(a, b), terrain.GetGridSize()),
                    2 * RowsFor(StripLength(a, b), terrain.GetGridSize()) - 2, textures, textureName,
                    kNodeRunway) {
    AllocateMesh();
    SetCell(cell);
    Lay(ClampExtent(a), ClampExtent(b), ClampExtent(width), terrain);
}

CSPRunway::~CSPRunway() = default;

void CSPRunway::Lay(const FSFixedVector& a, const FSFixedVector& b, FSFixed width,
                    const CFSTerrainStorage& terrain) {
    const FSCell cell = GetCell();
    const FSFixed length = StripLength(a, b);
    const FSFixedVector dir = length == 0 ? FSFixedVector{0, 0, kFixedOne} : Normalise(b - a);
    const FSFixedVector up{0, kFixedOne, 0};
    const FSFixed groundA = Ground(terrain, a, cell);
    const FSFixedVector origin{a.x, groundA, a.z};
    Place(origin);
    SavePosition();
    LookAlong(ToFloat(dir), ToFloat(up));
    SetModelBox(FSBox::FromCorners({std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
                                   {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}));

    const int32_t rows = Rows();
    const FSFixedVector side = ::Scale(Cross(dir, up), width / 2);
    FSFixedVector left = a - side, right = a + side;
    const FSFixed step = FixedDiv(length, FixedFromInt(rows - 1));
    const FSFixedVector advance = ::Scale(dir, step);
    std::vector<FSFixed>& positions = Positions();
    std::vector<FSFixed>& texCoords = TexCoords();
    std::vector<FSFixed>& normals = Normals();
    for (int32_t r = 0; r < rows; ++r) {
        const FSFixed v = length == 0 ? 0 : FixedDiv(FixedMul(FixedFromInt(r), step), length);
        const FSFixedVector edges[2] = {left, right};
        for (int k = 0; k < 2; ++k) {
            const size_t vertex = static_cast<size_t>(2 * r + k);
            // Relative to the node; heights follow the ground under each edge point.
            positions[3 * vertex] = edges[k].x - origin.x;
            positions[3 * vertex + 1] = Ground(terrain, edges[k], cell) - groundA;
            positions[3 * vertex + 2] = edges[k].z - origin.z;
            texCoords[2 * vertex] = k == 0 ? 0 : kFixedOne;
            texCoords[2 * vertex + 1] = v;
            normals[3 * vertex + 1] = kFixedOne;
        }
        left = left + advance;
        right = right + advance;
    }
    std::vector<uint16_t>& indices = Indices();
    for (int32_t r = 0; r + 1 < rows; ++r) {
        const uint16_t i = static_cast<uint16_t>(2 * r);
        const uint16_t triangles[6] = {i,
                                       static_cast<uint16_t>(i + 2),
                                       static_cast<uint16_t>(i + 1),
                                       static_cast<uint16_t>(i + 1),
                                       static_cast<uint16_t>(i + 2),
                                       static_cast<uint16_t>(i + 3)};
        std::copy(std::begin(triangles), std::end(triangles), indices.begin() + 6 * r);
    }
}

void CSPRunway::Draw(CFSScene& scene) {
    drawnLast_ = false;
    if (!IsVisible()) return;
    const FSFixedVector r = scene.Camera().RelativePosition(*this);
    if (Length(r) > kDrawDistance) return;

    glPushMatrix();
    SetUpLitDrawing();
    TranslateRotateEuler({}, r, 0, 0, 0);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, GetTexture());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FIXED, 0, Positions().data());
    glNormalPointer(GL_FIXED, 0, Normals().data());
    glTexCoordPointer(2, GL_FIXED, 0, TexCoords().data());
    const GLsizei count = static_cast<GLsizei>(Indices().size());
    // First the strip's light added to the ground, then the picture over it.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, Indices().data());
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, Indices().data());
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPopMatrix();
    drawnLast_ = true;
}
