#pragma once
// Small concrete nodes for the world tests: a node with an optional model box that counts
// its updates and draws and can remove itself or others while updating, and the smallest
// real drawing node.
#include <GLES/gl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "world/FSNodeDrawing.h"
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
    void Draw(CFSScene& /*scene*/) override {
        ++draws;
        Log("draw");
    }

    std::optional<FSBox> model;
    std::optional<FSFixedVector> scaled;
    std::function<void(CFSScene&)> onUpdate;
    std::vector<MFSSceneNode*> ownerCalls;
    bool removeWithOwner = false;         // like a propeller
    bool removeWhenOwnerDeleted = false;  // only at the owner's deletion
    int updates = 0;
    int draws = 0;
    uint32_t lastTime = 0;

private:
    void Log(const std::string& what) {
        if (log_) log_->push_back(what + " " + name_);
    }

    std::string name_;
    std::vector<std::string>* log_;
};

// A flat square facing the node's −z, in one colour, drawn camera-relative with the node's
// orientation.
class ColouredSquare : public MFSSceneNode {
public:
    ColouredSquare(float r, float g, float b, float halfSize) : colour_{r, g, b}, half_(halfSize) {
        SetVisible(true);
        box_ = FSBox::FromCorners({F(-halfSize), F(-halfSize), 0}, {F(halfSize), F(halfSize), 0});
    }
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector&) override {}
    const FSBox* GetModel() const override { return &box_; }
    void Update(CFSScene&, const FSFrame&) override {}
    void Draw(CFSScene& scene) override {
        TranslateRotateQuaternion({}, scene.Camera().RelativePosition(*this), GetOrientation());
        const GLfixed h = F(half_);
        const GLfixed corners[] = {-h, -h, 0, h, -h, 0, -h, h, 0, h, h, 0};
        glColor4x(F(colour_[0]), F(colour_[1]), F(colour_[2]), kFixedOne);
        glVertexPointer(3, GL_FIXED, 0, corners);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }

private:
    float colour_[3];
    float half_;
    FSBox box_;
};

}  // namespace world_test
