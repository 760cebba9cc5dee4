#pragma once
// A collision detector that files nothing and finds nothing: it only remembers the nodes it
// was given, so a test can see what the game files for collisions.
#include <vector>

#include "world/FSCollisionDetector.h"

namespace world_test {

class RecordingDetector : public MFSCollisionDetector {
public:
    void Insert(MFSSceneNode* node) override { inserted.push_back(node); }
    void Unused() override {}
    void Detect() override {}
    void Remove(MFSSceneNode*) override {}
    int32_t GetTestCount() const override { return 0; }

    std::vector<MFSSceneNode*> inserted;  // in the order given, nulls included
};

}  // namespace world_test
