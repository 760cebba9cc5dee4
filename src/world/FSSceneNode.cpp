#include "world/FSSceneNode.h"

#include <GLES/gl.h>

#include <algorithm>

MFSSceneNode::MFSSceneNode(int32_t type) : type_(type) {}

MFSSceneNode::~MFSSceneNode() {
    beingDeleted_ = true;
    controller_.reset();
    // Children go first to last, each taken out of the list before it dies, so the list
    // is consistent while their destructors run.
    while (!children_.empty()) {
        std::unique_ptr<MFSSceneNode> child = std::move(children_.front());
        children_.erase(children_.begin());
        child.reset();
    }
    moveable_.reset();
    second_.reset();
    property_.reset();
    TellDependents();
    for (MFSSceneNode* dependent : dependents_) {
        dependent->owners_.erase(std::remove(dependent->owners_.begin(), dependent->owners_.end(), this),
                                 dependent->owners_.end());
    }
    dependents_.clear();
    for (MFSSceneNode* owner : owners_)
        owner->ForgetDependent(this);
    owners_.clear();
}

void MFSSceneNode::FitToSize(const FSFixedVector& size) {
    const FSBox* model = GetModel();
    if (!model) return;
    const FSFixedVector extent = model->Extent();
    FSFixedVector factors;
    for (int axis = 0; axis < 3; ++axis) {
        // A flat model has nothing to stretch along that axis.
        factors[axis] = extent[axis] != 0 ? FixedDiv(size[axis], extent[axis]) : kFixedOne;
    }
    Scale(factors);
}

bool MFSSceneNode::IsVisible() const {
    return visible_ != 0;
}

void MFSSceneNode::SetVisible(bool visible) {
    visible_ = visible ? 1 : 0;
}

void MFSSceneNode::OnOwnerRemoved(MFSSceneNode& /*owner*/) {}

const FSBox* MFSSceneNode::GetModel() const {
    return nullptr;
}

bool MFSSceneNode::Intersects(MFSSceneNode& other) {
    if (!GetModel() || !other.GetModel()) return false;
    return Overlaps(GetSweptBox().Grown(kIntersectMargin), other.GetSweptBox().Grown(kIntersectMargin));
}

bool MFSSceneNode::ReservedQuery() const {
    return false;
}

bool MFSSceneNode::IsInside(const FSBox& box) const {
    if (!GetModel()) return true;
    return Contains(box, GetWorldBox());
}

bool MFSSceneNode::CheckHit(MFSSceneNode& /*other*/) {
    return false;
}

FSBox MFSSceneNode::BoxAt(const FSQuaternion& orientation, const FSFixedVector& position) const {
    const FSBox* model = GetModel();
    if (!model) return FSBox::Empty();
    return TransformBox(*model, ToRowMatrix(orientation, position));
}

FSBox MFSSceneNode::GetWorldBox() const {
    return BoxAt(orientation_, position_);
}

FSBox MFSSceneNode::GetPreviousWorldBox() const {
    return BoxAt(previousOrientation_, previousPosition_);
}

FSBox MFSSceneNode::GetSweptBox() const {
    FSBox box = GetWorldBox();
    // Across a cell border the previous box lies in another cell's coordinates.
    if (cell_ == previousCell_) box.Unite(GetPreviousWorldBox());
    return box;
}

void MFSSceneNode::UpdateTree(CFSScene& scene, const FSFrame& frame) {
    Update(scene, frame);
    // By index: an update may add children.
    for (size_t i = 0; i < children_.size();) {
        children_[i]->UpdateTree(scene, frame);
        if (children_[i]->IsRemoved()) {
            std::unique_ptr<MFSSceneNode> dead = std::move(children_[i]);
            children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(i));
            dead.reset();
        } else {
            ++i;
        }
    }
}

void MFSSceneNode::DrawTree(CFSScene& scene) {
    glPushMatrix();
    Draw(scene);
    for (size_t i = 0; i < children_.size(); ++i)
        children_[i]->DrawTree(scene);
    glPopMatrix();
}

void MFSSceneNode::Move(const FSFixedVector& position) {
    previousPosition_ = position_;
    previousCell_ = cell_;
    Place(position);
}

void MFSSceneNode::Place(const FSFixedVector& position) {
    position_ = position;
    WrapIntoCell(position_, cell_);
}

void MFSSceneNode::SavePosition() {
    previousPosition_ = position_;
    previousCell_ = cell_;
}

void MFSSceneNode::UpdateAxes() {
    axisY_ = ToFixed(::Rotate(orientation_, FSVector(0.0f, 1.0f, 0.0f)));
    axisZ_ = ToFixed(::Rotate(orientation_, FSVector(0.0f, 0.0f, 1.0f)));
}

void MFSSceneNode::SetOrientation(const FSQuaternion& orientation) {
    orientation_ = orientation;
    UpdateAxes();
}

void MFSSceneNode::Rotate(const FSVector& axis, float radians) {
    orientation_ = orientation_ * FromAxisAngle(axis, radians);
    UpdateAxes();
}

void MFSSceneNode::LookAlong(const FSVector& direction) {
    SetOrientation(LookAlongQuaternion(direction));
}

void MFSSceneNode::LookAlong(const FSVector& direction, const FSVector& second) {
    SetOrientation(LookAlongQuaternion(direction, second));
}

void MFSSceneNode::SetMoveableObject(std::unique_ptr<MFSProperty> object) {
    moveable_ = std::move(object);
}

void MFSSceneNode::SetSecondAttachment(std::unique_ptr<MFSProperty> attachment) {
    second_ = std::move(attachment);
}

void MFSSceneNode::SetProperty(std::unique_ptr<MFSProperty> property) {
    property_ = std::move(property);
}

void MFSSceneNode::SetController(std::unique_ptr<MFSNodeController> controller) {
    controller_ = std::move(controller);
}

void MFSSceneNode::Notify() {
    if (controller_) controller_->OnNotify(*this);
}

MFSSceneNode* MFSSceneNode::AddChild(std::unique_ptr<MFSSceneNode> child) {
    if (!child) return nullptr;
    children_.push_back(std::move(child));
    return children_.back().get();
}

void MFSSceneNode::AddDependent(MFSSceneNode* node) {
    if (!node || node == this) return;
    if (std::find(dependents_.begin(), dependents_.end(), node) != dependents_.end()) return;
    dependents_.push_back(node);
    node->owners_.push_back(this);
}

void MFSSceneNode::ForgetDependent(MFSSceneNode* node) {
    dependents_.erase(std::remove(dependents_.begin(), dependents_.end(), node), dependents_.end());
}

void MFSSceneNode::TellDependents() {
    // A copy: a dependent's handler may remove nodes, which must not disturb this walk.
    const std::vector<MFSSceneNode*> dependents = dependents_;
    for (MFSSceneNode* dependent : dependents) {
        if (std::find(dependents_.begin(), dependents_.end(), dependent) == dependents_.end()) continue;
        if (dependent->cullingStandIn_ == this) dependent->cullingStandIn_ = nullptr;
        dependent->OnOwnerRemoved(*this);
    }
}

void MFSSceneNode::Remove() {
    removed_ = 1;
    TellDependents();
}

void MFSSceneNode::UpdateTerrainTile(const MFSTileMap& terrain) {
    terrainTile_ = terrain.TileOf(position_, cell_);
}

void MFSSceneNode::SetCullingStandIn(MFSSceneNode* node) {
    if (node == this) node = nullptr;
    cullingStandIn_ = node;
    if (node) node->AddDependent(this);
}
