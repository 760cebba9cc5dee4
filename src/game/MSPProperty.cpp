#include "game/MSPProperty.h"

#include "world/FSSceneNode.h"

int32_t PropertyKindOf(const MFSSceneNode& node) {
    const MSPProperty* property = node.GetPropertyAs<MSPProperty>();
    return property ? property->Kind() : 0;
}
