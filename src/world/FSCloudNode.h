#pragma once
// One cloud in the sky ("cloud" lines of a route): a heap of soft puffs that always turn
// their pictures to the eye, so that the cloud shows a rounded, soft body from every
// side, from above and from below, and never the edge of a quad. Drawn blended, unlit,
// without depth writes and in the colour of the daylight, at the node's position and
// orientation. Type 1: the collision pass never pairs it with anything.
//
// Each puff shows the cloud picture (a single heap, clear along its borders) through its
// own window around the picture's centre: the whole picture less a random border of up
// to 3276 (u) and 2316 (v) in 16.16 texture units, mirrored left-right at random, so
// that no two clouds and no two puffs of one cloud look quite alike.
#include <GLES/gl.h>

#include <cstdint>
#include <string>

#include "world/FSBox.h"
#include "world/FSSkyColour.h"
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

// The cloud's puffs for a cloud 2 × halfWidth wide and height high (16.16): the core, the
// cloud's whole size at its centre, and two smaller shoulders behind it toward either
// side. They lie in the plane of the screen, their pictures upright (up as near the
// node's y axis as the view allows), so the cloud shows the same soft heap from every
// side and never separates; from higher up it shows more of its depth, up to its width
// seen from straight above.
class FSCloudShape {
public:
    static constexpr int kQuads = 3;

    FSCloudShape() = default;
    FSCloudShape(FSFixed halfWidth, FSFixed height, const FSTextureWindow windows[kQuads]);

    // Draws it at the current model-view matrix (whose rotation says where the eye looks
    // from) with texture, modulated by tint (white by default): blended, unlit, no depth
    // writes; the GL state is put back afterwards.
    void Draw(uint32_t texture, const FSFixedColour& tint = {kFixedOne, kFixedOne, kFixedOne}) const;
    // The box the puffs stay within whichever way they face.
    FSBox Bounds() const;

private:
    FSFixed halfWidth_ = 0;
    FSFixed halfHeight_ = 0;
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
    // The box around the puffs, so culling sees the whole cloud and not just its centre.
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
