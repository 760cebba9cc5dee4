#pragma once
// The concrete node of the world tests: an optional model box, counted updates and draws,
// and hooks that may remove itself or others while updating, or draw something real.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resources/FSArchive.h"
#include "world/FSScene.h"
#include "world/FSSceneNode.h"

namespace world_test {

inline FSFixed F(double v) {
    return DoubleToFixed(v);
}
// The box between two corners, and the cube of a half side about the origin, in km.
inline FSBox Box(double x0, double y0, double z0, double x1, double y1, double z1) {
    return FSBox::FromCorners({F(x0), F(y0), F(z0)}, {F(x1), F(y1), F(z1)});
}
inline FSBox Cube(double half) {
    return Box(-half, -half, -half, half, half, half);
}
// The game's terrains archive.
inline std::string TerrainsArchive() {
    return MakeDataPath("data\\terrains.zip");
}

class TestNode : public MFSSceneNode {
public:
    explicit TestNode(std::string name = "", std::vector<std::string>* log = nullptr)
        : MFSSceneNode(kNodePlain), name_(std::move(name)), log_(log) {
        SetVisible(true);
    }
    ~TestNode() override { Log("delete"); }

    const std::string& Name() const { return name_; }
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& factors) override {
        scaled = factors;
        if (model)
            *model = FSBox::FromCorners(ScaleEach(model->min, factors), ScaleEach(model->max, factors));
    }
    const FSBox* GetModel() const override { return model ? &*model : nullptr; }
    void OnOwnerRemoved(MFSSceneNode& owner) override {
        ownerCalls.push_back(&owner);
        if (removeWithOwner || (removeWhenOwnerDeleted && owner.IsBeingDeleted())) Remove();
    }
    void Update(CFSScene& scene, const FSFrame& frame) override {
        ++updates;
        lastTime = frame.time;
        Log("update");
        if (onUpdate) onUpdate(scene);
    }
    void Draw(CFSScene& scene) override {
        ++draws;
        Log("draw");
        if (onDraw) onDraw(scene);
    }

    std::optional<FSBox> model;
    std::optional<FSFixedVector> scaled;
    std::function<void(CFSScene&)> onUpdate, onDraw;
    std::vector<MFSSceneNode*> ownerCalls;
    bool removeWithOwner = false;         // like a propeller
    bool removeWhenOwnerDeleted = false;  // only at the owner's deletion
    int updates = 0;
    int draws = 0;
    uint32_t lastTime = 0;  // the time of the last update's frame

private:
    void Log(const std::string& what) {
        if (log_) log_->push_back(what + " " + name_);
    }

    std::string name_;
    std::vector<std::string>* log_;
};

}  // namespace world_test
