#pragma once
// The strip a route may end on: a textured ribbon laid on the terrain from end A to end B,
// one pair of vertices per terrain grid step along it, so it follows the ground. Drawn
// blended over the ground, first adding its light and then as a plain translucent
// picture, without depth test, so the terrain never cuts it. It takes no part in
// collisions or scoring; the game measures the route's length up to it.
#include <cstdint>
#include <string>

#include "world/FSMeshedNode.h"

class CFSTerrainStorage;

class CSPRunway : public CFSMeshedNode {
public:
    // Not drawn when the camera is further than this (16.16 km, wrapped distance).
    static constexpr FSFixed kDrawDistance = 16 * kFixedOne;

    // a and b: the ends (local to cell, 16.16 km; their heights are not used), width
    // (16.16 km), the texture by member name; terrain gives the ground under the ends and
    // its grid size. Node type 5, placed on the ground at A, its y axis along A→B.
    CSPRunway(CFSTextureCache* textures, const std::string& textureName, const FSFixedVector& a,
              const FSFixedVector& b, FSFixed width, const FSCell& cell, const CFSTerrainStorage& terrain);
    ~CSPRunway() override;

    // The strip stays where it was laid and keeps its size.
    void SetPosition(const FSFixedVector& /*position*/) override {}
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Draw(CFSScene& scene) override;

    // Vertex pairs along the strip (at least 2).
    int32_t Rows() const { return VertexCount() / 2; }
    bool WasDrawnLast() const { return drawnLast_; }

private:
    void Lay(const FSFixedVector& a, const FSFixedVector& b, FSFixed width, const CFSTerrainStorage& terrain);

    bool drawnLast_ = false;
};
