#pragma once
// A gate of a route: a square frame of four bars that the player flies through. The
// frame is built here (16 vertices, 32 triangles) around the node's origin: x to the
// side, y up, z through the opening. w and h are half the distances between the centre
// lines of the side bars and of the top and bottom bars, t half the width of a bar and
// half the depth of the frame (16.16 km; 1.0, 1.0 and 0.1 when made).
//
// The collision pass asks Intersects (did the mover's path cross the gate's plane within
// the outer edge?) and the game then CheckHit (did the mover touch a bar?): a crossing
// without a bar contact is a clean pass. The node carries the game property "obstacle".
#include <cstdint>
#include <string>

#include "world/FSMeshedNode.h"

class CSPObstacle : public CFSMeshedNode {
public:
    static constexpr int32_t kVertices = 16;
    static constexpr int32_t kTriangles = 32;
    // Every reach grows by this much (0.001 km), so a point mover still has a size.
    static constexpr FSFixed kReachMargin = 66;

    // The frame at its creation size in cell (0, 0) at (0, 0, 0), its y axis up and its z
    // axis along world x, textured by member name ("red.png").
    CSPObstacle(CFSTextureCache* textures, const std::string& textureName);
    ~CSPObstacle() override;

    // Stores the position and wraps it into the cell.
    void SetPosition(const FSFixedVector& position) override { Place(position); }
    // w, h and t by the x, y and z factors (16.16); the frame is built again, so FitToSize
    // makes the outer box exactly the asked size.
    void Scale(const FSFixedVector& factors) override;
    // The crossing test: the mover's last step, extended by one step at both ends and, for
    // a mover with a box, by half its largest extent, crosses the gate's plane at a point
    // no further from the centre than the outer edge plus the mover's reach. Records the
    // contact, the offsets and the reaches for CheckHit.
    bool Intersects(MFSSceneNode& mover) override;
    // After a contact: whether the mover reaches a bar (its reach plus its offset beyond the
    // inner edge on either axis).
    bool CheckHit(MFSSceneNode& mover) override;
    // The target marker first when the highlight byte is set (and the byte cleared), then
    // the frame as any meshed node.
    void Draw(CFSScene& scene) override;

    const std::string& TextureName() const { return textureName_; }
    // Another texture by member name through the cache the gate was made with.
    void SetTextureName(const std::string& textureName);

    FSFixed HalfWidth() const { return halfWidth_; }
    FSFixed HalfHeight() const { return halfHeight_; }
    FSFixed HalfThickness() const { return halfThickness_; }
    bool Contact() const { return contact_; }
    FSFixed VerticalOffset() const { return verticalOffset_; }
    FSFixed HorizontalOffset() const { return horizontalOffset_; }
    FSFixed VerticalReach() const { return verticalReach_; }
    FSFixed HorizontalReach() const { return horizontalReach_; }

private:
    // Box, vertices, texture coordinates, triangles and normals from w, h and t.
    void BuildFrame();
    void DrawTargetMarker(const CFSScene& scene) const;

    FSFixed halfWidth_ = kFixedOne;
    FSFixed halfHeight_ = kFixedOne;
    FSFixed halfThickness_ = 6553;  // 0.1
    bool contact_ = false;
    FSFixed verticalOffset_ = 0;    // |crossing point · y axis|
    FSFixed horizontalOffset_ = 0;  // |crossing point · side axis|
    FSFixed verticalReach_ = 0;     // mover's half-size along the y axis, plus the margin
    FSFixed horizontalReach_ = 0;   // the same along the side axis
    CFSTextureCache* textures_;
    std::string textureName_;
};
