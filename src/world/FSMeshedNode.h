#pragma once
// A scene node that draws a textured triangle mesh: aircraft, buildings, wrecks, debris,
// and (through the game's subclasses) gates and runways. The node owns its own copy of
// the arrays, because scaling changes the vertices in place.
//
// Arrays (16.16): positions x, y, z per vertex; texture coordinates u, v per vertex;
// normals x, y, z per vertex; 16-bit indices, three per triangle. The model box bounds the
// positions in body coordinates and is what GetModel returns.
//
// Drawing: only within 16 km of the camera along each axis (the fog has swallowed
// anything further); with the highlight byte set, a white square marks the node.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/FSTexturedNode.h"

class CFSMeshLoader;

class CFSMeshedNode : public MFSTexturedNode {
public:
    // Type 4, visible, texture by member name through textures (see MFSTexturedNode),
    // arrays empty.
    CFSMeshedNode(CFSTextureCache* textures, const std::string& textureName);
    // The same with the counts set for AllocateMesh (procedural meshes: gates, runways),
    // and the node type of the subclass (a runway is type 5).
    CFSMeshedNode(int32_t vertexCount, int32_t triangleCount, CFSTextureCache* textures,
                  const std::string& textureName, int32_t type = kNodeMeshed);
    ~CFSMeshedNode() override;

    // A node of the named model ("cube.obj", member of the models archive) through loader,
    // with the texture by member name through textures; position (0, 0, 0). A model that
    // cannot be read gives empty arrays and an empty box: the node exists but shows
    // nothing. flag is accepted for the callers' sake and changes nothing.
    static std::unique_ptr<CFSMeshedNode> CreateMeshedNode(CFSMeshLoader& loader, CFSTextureCache* textures,
                                                           const std::string& modelName,
                                                           const std::string& textureName, int flag = 0);

    // Zeroed arrays for the counts already set (V positions, texture pairs and normals,
    // 3T indices); the position becomes (0, 0, 0) and the model box empty.
    void AllocateMesh();
    // Replaces box, counts and arrays with a copy of the named model, its normals made
    // unit length; false (node empty) when it cannot be read.
    bool LoadModel(CFSMeshLoader& loader, const std::string& modelName);

    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    // Every vertex and both corners of the model box, component by component (x by x,
    // y by y, z by z). A uniform scale leaves the normals as they are; any other turns
    // them with the faces they stand on (by the inverse factors, made unit length again),
    // so a stretched model is lit as its new shape. An empty box stays empty.
    void Scale(const FSFixedVector& factors) override;
    const FSBox* GetModel() const override { return &box_; }
    bool CheckHit(MFSSceneNode& other) override;
    void Update(CFSScene& scene, const FSFrame& frame) override;
    void Draw(CFSScene& scene) override;

    int32_t VertexCount() const { return vertexCount_; }
    int32_t TriangleCount() const { return triangleCount_; }
    std::vector<FSFixed>& Positions() { return positions_; }
    const std::vector<FSFixed>& Positions() const { return positions_; }
    std::vector<FSFixed>& TexCoords() { return texCoords_; }
    const std::vector<FSFixed>& TexCoords() const { return texCoords_; }
    std::vector<FSFixed>& Normals() { return normals_; }
    const std::vector<FSFixed>& Normals() const { return normals_; }
    std::vector<uint16_t>& Indices() { return indices_; }
    const std::vector<uint16_t>& Indices() const { return indices_; }

    // Whether the last Draw drew the mesh.
    bool WasDrawn() const { return drawn_; }

    // The draw limit: a node further than this from the camera along any axis (16.16 km)
    // is not drawn.
    static constexpr FSFixed kDrawLimit = 16 * kFixedOne;

protected:
    // A procedural mesh states its own model box (body coordinates, 16.16) once it has
    // filled the arrays.
    void SetModelBox(const FSBox& box) { box_ = box; }
    // The fixed-function state of a lit, textured, opaque mesh.
    static void SetUpLitDrawing();
    // The white marker square around the node (highlight byte set, node not removed).
    void DrawHighlight(const CFSScene& scene, const FSFixedVector& relative) const;
    // An outline square facing the screen, of half-side half (16.16 km) around centre
    // (body offset from the node, which the camera sees at relative), unlit and
    // untextured in colour (16.16 RGBA), lines lineWidth pixels wide (16.16); texturing,
    // lighting and the normal and texture coordinate arrays are on again afterwards.
    static void DrawScreenSquare(const CFSScene& scene, const FSFixedVector& relative,
                                 const FSFixedVector& centre, FSFixed half, const FSFixed colour[4],
                                 FSFixed lineWidth);

private:
    FSBox box_;
    int32_t vertexCount_ = 0;
    int32_t triangleCount_ = 0;
    std::vector<FSFixed> positions_;
    std::vector<FSFixed> texCoords_;
    std::vector<FSFixed> normals_;
    std::vector<uint16_t> indices_;
    bool drawn_ = false;
};
