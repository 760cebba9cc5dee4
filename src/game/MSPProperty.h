#pragma once
// The game property of a scene node: what kind of object the node is to the game. A node
// holds at most one (its property slot, MFSSceneNode::SetProperty). The collision
// handling reads it to tell the player's aircraft and the gates from everything else.
#include <cstdint>

#include "world/FSProperty.h"

class MFSSceneNode;

enum SPPropertyKind : int32_t {
    kPropertyPlayerAircraft = 1,
    kPropertyObstacle = 2,  // a gate of the route
};

class MSPProperty : public MFSProperty {
public:
    explicit MSPProperty(int32_t kind) : kind_(kind) {}

    // The kind, writable in place.
    virtual int32_t& Value() { return kind_; }
    int32_t Kind() const { return kind_; }

private:
    int32_t kind_;
};

// The kind of the node's game property, or 0 when it has none.
int32_t PropertyKindOf(const MFSSceneNode& node);
