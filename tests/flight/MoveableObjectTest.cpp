// The rigid body every moving object is: sub-steps, semi-implicit Euler in 16.16 with the
// motion below the unit carried on, rotation in the body frame, the guards against a
// broken force model, and the collision response.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "FlightTestSupport.h"
#include "flight/FSFragment.h"
#include "flight/FSMoveableObject.h"

using flight_test::BareNode;
using flight_test::Near;

namespace {

// A moveable object whose force and torque the test sets, recording its force
// computations: the sub-step each saw and the node's x position then.
class Probe : public MFSMoveableObject {
public:
    Probe(MFSSceneNode& node, const FSVector& velocity, float mass, const SineTable& sine)
        : MFSMoveableObject(node, velocity, mass, sine) {
        subStepping = true;
    }
    void ComputeForces() override {
        subSteps.push_back(subStep);
        seenX.push_back(GetNode().GetPosition().x);
        force = appliedForce;
        torque = appliedTorque;
    }
    FSVector appliedForce;
    FSVector appliedTorque;
    std::vector<float> subSteps;
    std::vector<FSFixed> seenX;
};

TEST(MoveableObject, DividesAStepIntoSubStepsOfAtLeastATwentiethOfASecond) {
    struct Case {
        float seconds;
        bool dividable;
        int count;
        float length;
    };
    // 0.15 s: three sub-steps; 0.099 s: one (lengths stay within 0.05 .. 0.1 s); without
    // dividing, one step of the whole length.
    for (const Case c :
         {Case{0.2f, true, 4, 0.05f}, Case{0.04f, true, 1, 0.04f}, Case{0.8f, true, 16, 0.05f},
          Case{0.15f, true, 3, 0.05f}, Case{0.099f, true, 1, 0.099f}, Case{0.8f, false, 1, 0.8f}}) {
        const FSSubSteps steps = MFSMoveableObject::SubStepsFor(c.seconds, c.dividable);
        EXPECT_EQ(steps.count, c.count) << c.seconds;
        EXPECT_FLOAT_EQ(steps.length, c.length) << c.seconds;
    }
    SineTable sine;
    BareNode node;
    Probe probe(node, FSVector(), 1.0f, sine);
    probe.Integrate(0.2f);
    EXPECT_EQ(probe.subSteps, (std::vector<float>{0.05f, 0.05f, 0.05f, 0.05f}));
    // No step, a negative one, not-a-number or infinity: nothing happens.
    probe.subSteps.clear();
    for (const float bad :
         {0.0f, -0.2f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        probe.Integrate(bad);
    EXPECT_TRUE(probe.subSteps.empty());
}

TEST(MoveableObject, MovesWithTheNewVelocityAndOnlyAtTheEndOfTheStep) {
    SineTable sine;
    BareNode node;
    node.Place({FloatToFixed(1.0f), FloatToFixed(6.0f), 0});
    // 2 kg pushed along world x with 0.2 kN: 0.1 km/s² for 0.04 s (one sub-step).
    Probe probe(node, FSVector(0.05f, 0.0f, 0.0f), 2.0f, sine);
    probe.appliedForce = FSVector(0.2f, 0.0f, 0.0f);
    probe.Integrate(0.04f);
    EXPECT_FLOAT_EQ(probe.GetVelocity().x, 0.054f);
    // Semi-implicit: the position moved with the new velocity, in 16.16.
    const FSFixed expected =
        FloatToFixed(1.0f) + FixedMul(FloatToFixed(probe.GetVelocity().x), FloatToFixed(0.04f));
    EXPECT_EQ(node.GetPosition().x, expected);
    EXPECT_EQ(node.GetPreviousPosition().x, FloatToFixed(1.0f));

    // Within a step the node stays put until the last sub-step.
    BareNode other;
    Probe watched(other, FSVector(0.1f, 0.0f, 0.0f), 1.0f, sine);
    watched.Integrate(0.2f);
    EXPECT_EQ(watched.seenX, (std::vector<FSFixed>{0, 0, 0, 0}));
    EXPECT_NEAR(FixedToFloat(other.GetPosition().x), 0.02f, 1e-4f);
}

TEST(MoveableObject, CarriesMotionBelowTheFixedPointUnitOnToTheNextStep) {
    // 0.1 m/s up and 1 cm/s down in steps of 0.06 s move a fraction of the 16.16 unit (1.5
    // cm) each, which used to be lost (no climb) or rounded to a unit (a sink of 25 cm/s).
    SineTable sine;
    for (const float climb : {1e-4f, -1e-5f}) {
        BareNode node;
        Probe probe(node, FSVector(0.0f, climb, 0.0f), 1.0f, sine);
        for (int i = 0; i < 100; ++i)
            probe.Integrate(0.06f);
        EXPECT_NEAR(FixedToFloat(node.GetPosition().y), climb * 6.0f, 2e-5f) << climb;
    }
}

TEST(MoveableObject, TurnsInTheBodyFrameUnlessAnInertiaIsZeroAndWithoutMassKeepsItsVelocity) {
    SineTable sine;
    for (int zeroAxis = -1; zeroAxis < 3; ++zeroAxis) {
        // Level toward world −z; a torque about body x raises the nose: 0.5 rad/s² for 0.2 s.
        BareNode node;
        node.LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        const FSQuaternion before = node.GetOrientation();
        Probe probe(node, FSVector(), 1.0f, sine);
        FSVector inertia(2.0f, 2.0f, 2.0f);
        if (zeroAxis >= 0) inertia[zeroAxis] = 0.0f;
        probe.SetInertia(inertia);
        probe.appliedTorque = FSVector(1.0f, 0.0f, 0.0f);
        probe.Integrate(0.2f);
        EXPECT_EQ(node.GetPreviousOrientation(), before);
        EXPECT_FLOAT_EQ(probe.GetAngularVelocity().x, zeroAxis < 0 ? 0.1f : 0.0f) << zeroAxis;
        // Four sub-steps at 0.025, 0.05, 0.075 and 0.1 rad/s: 0.0125 rad nose up.
        const float pitched = zeroAxis < 0 ? 0.0125f : 0.0f;
        EXPECT_TRUE(
            Near(ToFloat(node.GetAxisY()), FSVector(0.0f, std::sin(pitched), -std::cos(pitched)), 2e-4f));
    }
    // An angular velocity given from outside (nose-wheel steering) still turns the node, and
    // thousands of turns leave a unit orientation.
    BareNode node;
    Probe wheel(node, FSVector(), 1.0f, sine);
    wheel.SetAngularVelocity(FSVector(0.0f, 0.0f, 0.5f));
    wheel.Integrate(0.2f);
    EXPECT_NEAR(ToFloat(node.GetAxisY()).x, -std::sin(0.1f), 1e-3f);
    wheel.SetInertia(FSVector(1.0f, 1.0f, 1.0f));
    wheel.SetAngularVelocity(FSVector(0.3f, 1.1f, -0.7f));
    for (int i = 0; i < 5000; ++i)
        wheel.Integrate(0.2f);
    const FSQuaternion q = node.GetOrientation();
    EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0f, 1e-5f);
    // Without mass a force does nothing.
    Probe massless(node, FSVector(0.01f, 0.0f, 0.0f), 0.0f, sine);
    massless.appliedForce = FSVector(5.0f, 5.0f, 5.0f);
    massless.Integrate(0.2f);
    EXPECT_EQ(massless.GetVelocity(), FSVector(0.01f, 0.0f, 0.0f));
}

TEST(MoveableObject, AForceModelThatBreaksDownStopsTheObjectInsteadOfSpreadingNaN) {
    SineTable sine;
    BareNode node;
    node.Place({FloatToFixed(2.0f), FloatToFixed(7.0f), FloatToFixed(-3.0f)});
    Probe probe(node, FSVector(0.1f, 0.0f, 0.0f), 1.0f, sine);
    probe.SetInertia(FSVector(2e-6f, 2e-6f, 2e-6f));
    probe.appliedForce = FSVector(std::numeric_limits<float>::infinity(), 0.0f, 0.0f);
    probe.appliedTorque = FSVector(3e38f, 0.0f, 0.0f);
    probe.Integrate(0.2f);
    EXPECT_EQ(probe.GetVelocity(), FSVector());
    EXPECT_EQ(probe.GetAngularVelocity(), FSVector());
    EXPECT_EQ(node.GetPosition().x, FloatToFixed(2.0f));
    EXPECT_EQ(node.GetOrientation(), FSQuaternion::Identity());
}

TEST(MoveableObject, AFragmentFliesStraightInOneStepAndBouncesOnTheAxesOfAHit) {
    SineTable sine;
    BareNode node;
    node.Place({0, FloatToFixed(3.0f), 0});
    FSFragment fragment(node, FSVector(0.1f, -0.05f, 0.0f), 2.5f, sine);
    for (int i = 0; i < 10; ++i)
        fragment.Integrate(0.2f);
    EXPECT_EQ(fragment.GetSubStep(), 0.2f);
    EXPECT_EQ(fragment.GetVelocity(), FSVector(0.1f, -0.05f, 0.0f));
    EXPECT_TRUE(Near(ToFloat(node.GetPosition()), FSVector(0.2f, 2.9f, 0.0f), 1e-3f));
    EXPECT_EQ(node.GetOrientation(), FSQuaternion::Identity());
    fragment.SetAngularVelocity(FSVector(1.0f, 1.0f, 1.0f));
    fragment.Stop();
    EXPECT_EQ(fragment.GetVelocity() + fragment.GetAngularVelocity(), FSVector());

    struct Hit {
        const char* what;
        FSVector nose, velocity;
        FSFixedVector pushBack;
        FSVector bounced, noseAfter;
    };
    // Across x the x velocity and the nose reverse; from above (push-back y > 0) the
    // object falls back nose down; landing on top (y < 0) ends the vertical motion and
    // levels the nose, along world x when it pointed straight down.
    for (const Hit& h :
         {Hit{"wall", {1, 0, 0}, {0.05f, 0, 0.01f}, {100, 0, 0}, {-0.05f, 0, 0.01f}, {-1, 0, 0}},
          Hit{"ceiling",
              {0, 0.6f, -0.8f},
              {0, 0.02f, -0.03f},
              {0, 50, 0},
              {0, -0.02f, -0.03f},
              {0, -0.6f, -0.8f}},
          Hit{"roof", {0, -0.6f, -0.8f}, {0, -0.02f, -0.03f}, {0, -50, 0}, {0, 0, -0.03f}, {0, 0, -1}},
          Hit{"roof, nose down", {0, -1, 0}, {0, -0.02f, 0}, {0, -50, 0}, {0, 0, 0}, {1, 0, 0}}}) {
        const FSFixedVector at{kFixedOne, kFixedOne, kFixedOne};
        node.Place(at);
        node.LookAlong(h.nose, FSVector(0.0f, 1.0f, 0.0f));
        fragment.SetVelocity(h.velocity);
        fragment.OnCollision(h.pushBack);
        EXPECT_EQ(node.GetPosition(), at - h.pushBack) << h.what;
        EXPECT_EQ(node.GetPreviousPosition(), at) << h.what;
        EXPECT_EQ(fragment.GetVelocity(), h.bounced) << h.what;
        EXPECT_TRUE(Near(ToFloat(node.GetAxisY()), h.noseAfter, 1e-3f)) << h.what;
    }
}

}  // namespace
