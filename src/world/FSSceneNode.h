#pragma once
// The base of everything in the 3-D world. A node has a world position (cell + local
// 16.16 position in km, see FSWorldPosition.h), an orientation (unit quaternion mapping
// body axes to world axes) with the two world-frame axes derived from it, optional owned
// attachments (moveable object, second attachment, game property, controller companion),
// owned children, and non-owned dependents that hear of its removal.
//
// Lifecycle: nodes are never deleted while a list is walked. Remove() only marks the node
// (and tells its dependents); the owner (the scene's root list or the parent's child
// list) deletes it at the end of the next update pass. Deleting a node deletes its
// children and attachments and tells its dependents again.
//
// Per frame the scene calls UpdateTree (Update, then the children) and, for every node
// that survives culling, DrawTree (push the model-view matrix, Draw, the children, pop).
// Each concrete Draw returns at once when the node is not visible, then positions itself
// camera-relative (TranslateRotateQuaternion / TranslateRotateEuler in FSNodeDrawing.h):
// the view matrix carries only the camera's rotation.
//
// Subclass contract: SetPosition, Scale, Update and Draw are abstract. SetPosition stores
// the local position with StorePosition (no wrapping) unless the class says otherwise.
#include <cstdint>
#include <memory>
#include <vector>

#include "world/FSBox.h"
#include "world/FSFrame.h"
#include "world/FSNodeController.h"
#include "world/FSProperty.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

class CFSScene;

// Node type codes. The game's collision filter never pairs a cloud (1) with anything.
enum FSNodeType : int32_t {
    kNodeCloud = 1,      // cloud node and cloud layer
    kNodeParticles = 2,  // particle system
    kNodeBillboard = 3,
    kNodeMeshed = 4,
    kNodeRunway = 5,
    kNodePlain = 7,  // everything else (propeller, flame cone, markers)
};

// Cull flag bit 0: cull by the terrain tile under the node instead of by the frustum.
inline constexpr uint32_t kCullByTerrainTile = 1;
// Every side of both swept boxes grows by this much before the overlap test of
// Intersects (66 / 65536, about 1 m), so boxes 0.0005 units apart still meet.
inline constexpr FSFixed kIntersectMargin = 66;

// A grid square of the terrain (column, row); (−1, −1) = none.
struct FSTile {
    int32_t column = -1;
    int32_t row = -1;
    bool operator==(const FSTile& o) const { return column == o.column && row == o.row; }
    bool operator!=(const FSTile& o) const { return !(*this == o); }
};

// What a node needs from the terrain to find the tile under it. The terrain provides it.
class MFSTileMap {
public:
    virtual ~MFSTileMap() = default;
    // The grid square under a local position in a cell.
    virtual FSTile TileOf(const FSFixedVector& local, const FSCell& cell) const = 0;
};

class MFSSceneNode {
public:
    explicit MFSSceneNode(int32_t type = kNodePlain);
    MFSSceneNode(const MFSSceneNode&) = delete;
    MFSSceneNode& operator=(const MFSSceneNode&) = delete;

    // ---- Virtual operations, in slot order ----

    // Slot 0. Deletes the controller, the children, the moveable object, the second
    // attachment and the property, then calls OnOwnerRemoved(*this) on every dependent
    // (IsBeingDeleted() is then true, so a dependent knows to drop its pointer to us) and
    // takes this node off the dependent lists of the nodes it depends on.
    virtual ~MFSSceneNode();
    // Slot 1. The local position (16.16 km).
    virtual void SetPosition(const FSFixedVector& position) = 0;
    // Slot 2. Component-wise scale factors (16.16).
    virtual void Scale(const FSFixedVector& factors) = 0;
    // Slot 3. With a model: Scale by size / the model box's extent per axis (an axis of
    // zero extent keeps factor 1.0). Without a model: nothing.
    virtual void FitToSize(const FSFixedVector& size);
    // Slots 4 and 5: the visible byte; Draw does nothing for an invisible node.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible);
    // Slot 6. A node this one depends on (AddDependent) was removed, or is being deleted
    // (owner.IsBeingDeleted()). Base: nothing.
    virtual void OnOwnerRemoved(MFSSceneNode& owner);
    // Slot 7. The model's bounding box in body coordinates (16.16), or null without one.
    virtual const FSBox* GetModel() const;
    // Slot 8. Base: false if either node has no model; otherwise whether the two swept
    // boxes, each grown by kIntersectMargin, overlap. Both nodes must be in the same cell
    // (the collision pass checks that first). Not const: an obstacle records its contact.
    virtual bool Intersects(MFSSceneNode& other);
    // Slot 9. A yes/no query that every class leaves false.
    virtual bool ReservedQuery() const;
    // Slot 10. True without a model, else whether the world box lies inside box.
    virtual bool IsInside(const FSBox& box) const;
    // Slot 11. Base: false (an obstacle tests its frame against the mover).
    virtual bool CheckHit(MFSSceneNode& other);
    // Slot 12. The model box turned by the orientation and moved to the local position;
    // the empty box without a model. Local to the node's cell.
    virtual FSBox GetWorldBox() const;
    // Slot 13. The same with the previous orientation and previous position.
    virtual FSBox GetPreviousWorldBox() const;
    // Slot 14. The world box united with the previous world box when the cell has not
    // changed since the previous move (the space swept by the last move).
    virtual FSBox GetSweptBox() const;
    // Slot 15. Update, then UpdateTree of each child in order; a child that is removed
    // afterwards is deleted at once and the next child moves into its place.
    virtual void UpdateTree(CFSScene& scene, const FSFrame& frame);
    // Slot 16. One frame of animation.
    virtual void Update(CFSScene& scene, const FSFrame& frame) = 0;
    // Slot 17. Pushes the model-view matrix, Draw, DrawTree of each child, pops.
    virtual void DrawTree(CFSScene& scene);
    // Slot 18. Draws the node (camera-relative, see the top of this file).
    virtual void Draw(CFSScene& scene) = 0;

    // ---- Position ----

    // Saves position and cell as the previous ones, stores the new local position and
    // wraps it into the cell (WrapIntoCell).
    void Move(const FSFixedVector& position);
    // Stores and wraps without saving the previous position.
    void Place(const FSFixedVector& position);
    // Copies position and cell into the previous ones (a node placed without moving).
    void SavePosition();
    void SetCell(const FSCell& cell) { cell_ = cell; }
    const FSFixedVector& GetPosition() const { return position_; }
    const FSFixedVector& GetPreviousPosition() const { return previousPosition_; }
    const FSCell& GetCell() const { return cell_; }
    const FSCell& GetPreviousCell() const { return previousCell_; }

    // ---- Orientation ----

    // The orientation applied to (0, 1, 0) and to (0, 0, 1), in 16.16 (for an aircraft its
    // nose and up axes), kept in step with the orientation.
    const FSFixedVector& GetAxisY() const { return axisY_; }
    const FSFixedVector& GetAxisZ() const { return axisZ_; }
    const FSQuaternion& GetOrientation() const { return orientation_; }
    const FSQuaternion& GetPreviousOrientation() const { return previousOrientation_; }
    void SetOrientation(const FSQuaternion& orientation);
    // Turns by radians about a body axis: the rotation applies first, then the old
    // orientation (orientation = orientation ⊗ rotation).
    void Rotate(const FSVector& axis, float radians);
    void SaveOrientation() { previousOrientation_ = orientation_; }
    // The orientation that turns (0, 1, 0) onto direction (and (0, 0, 1) toward second).
    void LookAlong(const FSVector& direction);
    void LookAlong(const FSVector& direction, const FSVector& second);

    int32_t GetType() const { return type_; }

    // ---- Attachments (owned) ----

    void SetMoveableObject(std::unique_ptr<MFSProperty> object);
    MFSProperty* GetMoveableObject() const { return moveable_.get(); }
    // The moveable object as T (e.g. MFSMoveableObject), null when absent or of another type.
    template <class T>
    T* GetMoveableAs() const {
        return dynamic_cast<T*>(moveable_.get());
    }
    void SetSecondAttachment(std::unique_ptr<MFSProperty> attachment);
    MFSProperty* GetSecondAttachment() const { return second_.get(); }
    void SetProperty(std::unique_ptr<MFSProperty> property);
    MFSProperty* GetProperty() const { return property_.get(); }
    template <class T>
    T* GetPropertyAs() const {
        return dynamic_cast<T*>(property_.get());
    }
    void SetController(std::unique_ptr<MFSNodeController> controller);
    MFSNodeController* GetController() const { return controller_.get(); }
    // Calls the controller's OnNotify if there is a controller.
    void Notify();

    // ---- Children (owned) and dependents (not owned) ----

    // Takes the child; returns it for the caller's convenience.
    MFSSceneNode* AddChild(std::unique_ptr<MFSSceneNode> child);
    const std::vector<std::unique_ptr<MFSSceneNode>>& Children() const { return children_; }
    // node hears of this node's removal and deletion (OnOwnerRemoved). A node already in
    // the list is not added twice. The link is dropped when either node is deleted.
    void AddDependent(MFSSceneNode* node);
    const std::vector<MFSSceneNode*>& Dependents() const { return dependents_; }

    // ---- Removal ----

    // Marks the node removed and calls OnOwnerRemoved(*this) on each dependent in order.
    void Remove();
    bool IsRemoved() const { return removed_ != 0; }
    // True while the destructor runs (during the dependents' last OnOwnerRemoved).
    bool IsBeingDeleted() const { return beingDeleted_; }

    // ---- Drawing and culling ----

    // Low byte non-zero: a meshed node draws a marker square, an obstacle its target marker.
    uint32_t GetHighlight() const { return highlight_; }
    void SetHighlight(uint32_t highlight) { highlight_ = highlight; }
    uint32_t GetCullFlags() const { return cullFlags_; }
    void SetCullFlags(uint32_t flags) { cullFlags_ = flags; }
    const FSTile& GetTerrainTile() const { return terrainTile_; }
    void SetTerrainTile(const FSTile& tile) { terrainTile_ = tile; }
    // Asks the terrain for the tile under the node's position and cell and stores it.
    void UpdateTerrainTile(const MFSTileMap& terrain);
    // A node whose position stands in for this one in the frustum test (a particle
    // system uses the owner it emits at). Registers this node as its dependent, so the
    // stand-in is dropped automatically when that node is removed. Null: this node.
    void SetCullingStandIn(MFSSceneNode* node);
    const MFSSceneNode* GetCullingStandIn() const { return cullingStandIn_; }

protected:
    // Stores the local position as given (no wrapping): the usual SetPosition.
    void StorePosition(const FSFixedVector& position) { position_ = position; }

private:
    void UpdateAxes();
    void TellDependents();
    void ForgetDependent(MFSSceneNode* node);
    FSBox BoxAt(const FSQuaternion& orientation, const FSFixedVector& position) const;

    int32_t type_;
    FSFixedVector position_;
    FSCell cell_;
    FSFixedVector previousPosition_;
    FSCell previousCell_;
    FSFixedVector axisY_{0, kFixedOne, 0};
    FSFixedVector axisZ_{0, 0, kFixedOne};
    FSQuaternion orientation_;
    FSQuaternion previousOrientation_;
    uint8_t visible_ = 0;
    uint8_t removed_ = 0;
    std::unique_ptr<MFSProperty> moveable_;
    std::unique_ptr<MFSProperty> second_;
    std::unique_ptr<MFSProperty> property_;
    std::unique_ptr<MFSNodeController> controller_;
    std::vector<std::unique_ptr<MFSSceneNode>> children_;
    std::vector<MFSSceneNode*> dependents_;
    uint32_t highlight_ = 0;
    uint32_t cullFlags_ = 0;
    FSTile terrainTile_;
    // Nodes that hold this one in their dependents list, so deleting this node can take
    // itself off those lists (a dependent may die first).
    std::vector<MFSSceneNode*> owners_;
    MFSSceneNode* cullingStandIn_ = nullptr;
    bool beingDeleted_ = false;
};
