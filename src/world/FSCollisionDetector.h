#pragma once
// Finding contacts: between scene nodes, and between moving nodes and the ground. The
// detector only finds them; what a contact means is decided by the game controller
// through the handlers below. The application context owns the one detector; a scene
// clear replaces it with a new one over the world box.
//
// Nodes are filed when they are made (route objects, debris) and removed before they
// move and filed again afterwards (the engine's movement step); the scene removes every
// node it deletes. The detector never owns a node.
#include <cstdint>
#include <functional>

class MFSSceneNode;

// The game's answers to what the collision pass finds. An empty handler does nothing,
// except mayCollide: empty lets every pair through.
struct FSCollisionHandlers {
    // Whether the pair is worth testing at all (clouds and pairs of gates are not).
    std::function<bool(MFSSceneNode& a, MFSSceneNode& b)> mayCollide;
    // Two nodes intersect; the second one moves (has a moveable object).
    std::function<void(MFSSceneNode& a, MFSSceneNode& moving)> collision;
    // A low moving node touches the ground (the handler finds the loaded terrain itself).
    std::function<void(MFSSceneNode& node)> groundContact;
    // The ground test of the loaded terrain (false while none is loaded); empty: no ground
    // tests at all.
    std::function<bool(MFSSceneNode& node)> touchesGround;
};

class MFSCollisionDetector {
public:
    // Slot 0. Files the node (null is ignored).
    virtual void Insert(MFSSceneNode* node) = 0;
    // Slot 1. Has no use; reports the misuse.
    virtual void Unused() = 0;
    // Slot 2. The collision pass: every contact goes to the handlers.
    virtual void Detect() = 0;
    // Slot 3.
    virtual ~MFSCollisionDetector() = default;
    // Slot 4. Takes the node out wherever it is filed (null is ignored).
    virtual void Remove(MFSSceneNode* node) = 0;
    // Slot 5. Pair and ground tests made by the last pass.
    virtual int32_t GetTestCount() const = 0;

    // Installed by the engine once, when it makes the detector.
    FSCollisionHandlers handlers;
};
