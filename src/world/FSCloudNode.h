#pragma once
// One cloud in the sky ("cloud" lines of a route): a few textured quads crossing at the
// cloud's centre, so that it shows a body of cloud from every side and from above and
// below. Drawn blended, unlit and without depth writes, with the node's orientation.
// Type 1: the collision pass never pairs it with anything.
//
// Each quad shows the cloud picture (a single heap, clear along its borders) through its
// own window around the picture's centre: the whole picture less a random border of up
// to 3276 (u) and 2316 (v) in 16.16 texture units, mirrored left-right at random, so
// that no two clouds and no two quads of one cloud look quite alike.
#include <GLES/gl.h>

#include <cstdint>
#include <string>

#include "world/FSTexturedNode.h"

class CFSCamera;

// A texture window: u0..u1 across, v0..v1 up (16.16; u1 < u0 is a mirrored window).
struct FSTextureWindow {
    FSFixed u0 = 0;
    FSFixed v0 = 0;
    FSFixed u1 = kFixedOne;
    FSFixed v1 = kFixedOne;
};

// A window picked at random with std::rand (see above).
FSTextureWindow RandomCloudWindow();

// The cloud's quads (body coordinates, 16.16): three upright quads of width 2 ×
// halfWidth and the given height, centred on the origin and turned 0°, 60° and 120° about
// the vertical, and one flat quad across them a little above the middle.
class FSCloudShape {
public:
    static constexpr int kQuads = 4;

    FSCloudShape() = default;
    FSCloudShape(FSFixed halfWidth, FSFixed height, const FSTextureWindow windows[kQuads]);

    // Draws it at the current model-view matrix with texture (blended, unlit, no depth
    // writes, both sides); the GL state is put back afterwards.
    void Draw(uint32_t texture) const;

private:
    GLfixed vertices_[kQuads * 4 * 3] = {};
    GLfixed texCoords_[kQuads * 4 * 2] = {};
};

class CFSCloudNode : public MFSTexturedNode {
public:
    // width and height: the cloud's size (16.16 km); the texture by member name through
    // textures. Made invisible: the route loader shows it once it is placed.
    CFSCloudNode(FSFixed width, FSFixed height, CFSTextureCache* textures, const std::string& textureName);

    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    // Width by the x factor, height by the y factor.
    void Scale(const FSFixedVector& factors) override;
    // The box around the quads, so culling sees the whole cloud and not just its centre.
    const FSBox* GetModel() const override { return &box_; }
    // A cloud drifts by its moveable object (the route's wind); it has nothing of its own.
    void Update(CFSScene& scene, const FSFrame& frame) override;
    void Draw(CFSScene& scene) override;

    FSFixed Width() const { return width_; }
    FSFixed Height() const { return height_; }
    const FSTextureWindow& Window(int quad) const { return windows_[quad]; }

private:
    void Build();

    FSFixed width_;
    FSFixed height_;
    FSTextureWindow windows_[FSCloudShape::kQuads];
    FSCloudShape shape_;
    FSBox box_;
};
