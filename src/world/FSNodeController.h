#pragma once
// A companion object a scene node owns and pokes through MFSSceneNode::Notify(): game code
// attaches one to react to a node's events without subclassing the node. Deleted with the
// node (before its children).
class MFSSceneNode;

class MFSNodeController {
public:
    // Called by Notify() of the node that owns this companion.
    virtual void OnNotify(MFSSceneNode& node) = 0;
    virtual ~MFSNodeController() = default;
};
