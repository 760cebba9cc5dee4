#pragma once
// The 3-D world: one camera, the flat list of root nodes (owned; each may own children)
// and the world box that the collision grid covers. The application context owns the one
// scene ("the scene root"); the engine cycle updates it once per frame and draws it after
// the camera has been placed.
//
// Per frame (CFSEngine::RenderFrame):
//   Update: the frame hook, then UpdateTree of every root not removed, in list order;
//           then every removed root is taken off the collision grid and deleted.
//   Draw:   terrain (prepared for the camera and drawn), then the background where the
//           terrain left the picture empty, then the view rotation is loaded and the node
//           planes extracted, then each root not removed is drawn unless it is culled
//           (see Draw).
// Nodes are deleted only by Update and Clear, never while the list is drawn.
//
// The classes written on top of the scene plug in through FSSceneHooks: the game
// controller (frame hook), the collision grid (forgetting and resetting) and the terrain
// (drawing and tile visibility). An empty hook does nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "world/FSBox.h"
#include "world/FSCamera.h"
#include "world/FSFrame.h"
#include "world/FSSceneNode.h"

class CFSScene;
class SineTable;

struct FSSceneHooks {
    // Update step 1: the game controller's per-frame hook, before any node moves.
    std::function<void(const FSFrame&)> beforeUpdate;
    // A root node marked removed is about to be deleted: the collision detector must drop
    // it (it is still intact, at the position where it was filed).
    std::function<void(MFSSceneNode&)> forgetNode;
    // Clear: delete the collision detector and make a new grid detector over the world box.
    std::function<void(const FSBox&)> resetCollisions;
    // Draw step 1, when a route with terrain is loaded: prepare the terrain's tiles for the
    // camera's eye and cell and draw it (it loads its own transform; the scene loads the
    // view rotation afterwards).
    std::function<void(CFSScene&)> drawTerrain;
    // Draw step 2: the background (the sky box), drawn only where the terrain left the
    // picture empty, so the ground's pixels are not filled twice.
    std::function<void(CFSScene&)> drawBackground;
    // Whether the terrain drew the tile this frame; used for nodes culled by terrain tile.
    // Without it (no terrain) such nodes take the frustum test instead.
    std::function<bool(const FSTile&)> isTileVisible;
};

class CFSScene {
public:
    // Camera: eye (0, 10, 50), target (0, 0, 0), up (0, 1, 0) (no GL calls are made).
    // World box (−30, 0, −30) to (30, 90, 30). sine: the application context's table.
    explicit CFSScene(const SineTable* sine = nullptr);
    ~CFSScene();
    CFSScene(const CFSScene&) = delete;
    CFSScene& operator=(const CFSScene&) = delete;

    CFSCamera& Camera() { return camera_; }
    const CFSCamera& Camera() const { return camera_; }
    const FSBox& WorldBox() const { return worldBox_; }

    // Appends a root node (the scene owns it); returns it, typed, for the caller.
    template <class T>
    T* Add(std::unique_ptr<T> node) {
        T* raw = node.get();
        AddNode(std::move(node));
        return raw;
    }
    MFSSceneNode* AddNode(std::unique_ptr<MFSSceneNode> node);
    // Puts replacement in old's place in the root list and hands old back through
    // replacement (the caller deletes or keeps it). False, nothing changed, when old is
    // not a root node.
    bool ReplaceNode(MFSSceneNode* old, std::unique_ptr<MFSSceneNode>& replacement);
    const std::vector<std::unique_ptr<MFSSceneNode>>& Nodes() const { return nodes_; }
    // Moves a root node to the front of the list (drawn first), every node before it moving
    // up one place in unchanged order. False, nothing changed, when node is not a root node.
    // Never while the list is walked.
    bool MoveToFront(const MFSSceneNode* node);

    // One frame of animation; see the top of this file.
    void Update(const FSFrame& frame);

    // Draws the frame. Culling on: a root is always drawn if it
    // is the player's node or has both a moveable object and a property; otherwise a node
    // with kCullByTerrainTile is drawn only when its terrain tile is visible, any other
    // only when the camera's frustum test passes. Each root not drawn counts one culled in
    // culledCount, which starts from 0.
    void Draw(bool culling, const MFSSceneNode* player, int32_t& culledCount);

    // Deletes every root node, then has the collision detector replaced (resetCollisions).
    void Clear();

    FSSceneHooks hooks;

private:
    void DeleteRemovedNodes();

    CFSCamera camera_;
    std::vector<std::unique_ptr<MFSSceneNode>> nodes_;
    FSBox worldBox_;
};
