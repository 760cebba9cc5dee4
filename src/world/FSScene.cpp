#include "world/FSScene.h"

#include <GLES/gl.h>

#include <algorithm>

CFSScene::CFSScene(const SineTable* sine)
    : camera_(sine),
      worldBox_(FSBox::FromCorners({-FixedFromInt(30), 0, -FixedFromInt(30)},
                                   {FixedFromInt(30), FixedFromInt(90), FixedFromInt(30)})) {
    // No GL context need exist yet: the fog and light follow with the first LookAt.
    camera_.SetView({0, FixedFromInt(10), FixedFromInt(50)}, {0, 0, 0}, {0, kFixedOne, 0}, 0);
}

CFSScene::~CFSScene() {
    // Front to back, each taken out of the list before it dies.
    std::vector<std::unique_ptr<MFSSceneNode>> nodes = std::move(nodes_);
    nodes_.clear();
    for (std::unique_ptr<MFSSceneNode>& node : nodes)
        node.reset();
}

MFSSceneNode* CFSScene::AddNode(std::unique_ptr<MFSSceneNode> node) {
    if (!node) return nullptr;
    nodes_.push_back(std::move(node));
    return nodes_.back().get();
}

bool CFSScene::MoveToFront(const MFSSceneNode* node) {
    for (auto slot = nodes_.begin(); slot != nodes_.end(); ++slot) {
        if (slot->get() != node) continue;
        std::rotate(nodes_.begin(), slot, slot + 1);
        return true;
    }
    return false;
}

bool CFSScene::ReplaceNode(MFSSceneNode* old, std::unique_ptr<MFSSceneNode>& replacement) {
    if (!replacement) return false;
    for (std::unique_ptr<MFSSceneNode>& slot : nodes_) {
        if (slot.get() == old) {
            slot.swap(replacement);
            return true;
        }
    }
    return false;
}

void CFSScene::Update(const FSFrame& frame) {
    if (hooks.beforeUpdate) hooks.beforeUpdate(frame);
    // By index: an update may append nodes (they are updated in this pass too).
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (!nodes_[i]->IsRemoved()) nodes_[i]->UpdateTree(*this, frame);
    }
    DeleteRemovedNodes();
}

void CFSScene::DeleteRemovedNodes() {
    // Deleting a node tells its dependents, which may remove themselves; so the search
    // starts again from the front after every deletion until no removed node is left.
    for (;;) {
        auto found =
            std::find_if(nodes_.begin(), nodes_.end(),
                         [](const std::unique_ptr<MFSSceneNode>& node) { return node->IsRemoved(); });
        if (found == nodes_.end()) return;
        if (hooks.forgetNode) hooks.forgetNode(**found);
        std::unique_ptr<MFSSceneNode> dead = std::move(*found);
        nodes_.erase(found);
        dead.reset();
    }
}

void CFSScene::Draw(bool culling, const MFSSceneNode* player, int32_t& culledCount) {
    if (hooks.drawTerrain) hooks.drawTerrain(*this);
    if (hooks.drawBackground) hooks.drawBackground(*this);

    glLoadIdentity();
    glMultMatrixx(camera_.ViewMatrix().m);
    camera_.ExtractPlanes();

    culledCount = 0;
    // By index: a draw must not change the list, but an index stays valid if one does.
    for (size_t i = 0; i < nodes_.size(); ++i) {
        MFSSceneNode& node = *nodes_[i];
        if (node.IsRemoved()) continue;
        bool drawn = true;
        if (culling && &node != player && !(node.GetMoveableObject() && node.GetProperty())) {
            if ((node.GetCullFlags() & kCullByTerrainTile) != 0 && hooks.isTileVisible) {
                drawn = hooks.isTileVisible(node.GetTerrainTile());
            } else {
                drawn = !camera_.IsCulled(node);
            }
        }
        if (drawn) {
            node.DrawTree(*this);
        } else {
            ++culledCount;
        }
    }
}

void CFSScene::Clear() {
    std::vector<std::unique_ptr<MFSSceneNode>> nodes = std::move(nodes_);
    nodes_.clear();
    for (std::unique_ptr<MFSSceneNode>& node : nodes)
        node.reset();
    if (hooks.resetCollisions) hooks.resetCollisions(worldBox_);
}
