// What contacts do, in the whole game: the aircraft wrecking a building and itself, debris
// burning out on the ground, gates touched and passed, smoke trails, crashes with and
// without a jet, and nodes put back onto the ground.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "flight/FSFragment.h"
#include "game/CSPAircraft.h"
#include "game/CSPContactResponses.h"
#include "game/MSPProperty.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"
#include "testflight/CSPTestFlight.h"
#include "world/FSDamageable.h"
#include "world/FSMeshedNode.h"
#include "world/FSParticlesSystem.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"
#include "world/FSTerrainModel.h"
#include "world/RecordingDetector.h"

namespace {

// A gate whose frame the test touches or not.
class TestGate : public CFSMeshedNode {
public:
    TestGate() : CFSMeshedNode(nullptr, std::string()) {
        SetProperty(std::make_unique<MSPProperty>(kPropertyObstacle));
    }
    bool CheckHit(MFSSceneNode&) override { return frameTouched; }

    bool frameTouched = false;
};

constexpr uint32_t kSmokeBurstColour = 0x7AAAAA, kSparkColour = 0x9FEFFF, kTrailColour = 0x222222;

// The test flight's world (the valley, the Cessna parked on the strip) held still, with the
// contact responses wired to a recording detector and a list of reports.
class ContactResponsesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.Start(), 0);
        game.StartFlight();
        game.Pass(2);
        ASSERT_NE(game.controller->Flight(), nullptr);
        context = &game.shell->Context();
        context->moveObjects = context->detectCollisions = 0;
        aircraft = game.controller->Flight()->Node();
        terrain = context->terrain->model.get();
        responses = std::make_unique<CSPContactResponses>(
            *context->engine, [this] { return &detector; },
            [this](MFSSceneNode* node) { reports.push_back(node); }, [this] { return ticks; });
        responses->SetPlayer(aircraft, false);
    }

    // Forgets what was made and reported so far.
    void Mark() {
        baseline = context->sceneRoot->Nodes().size();
        reports.clear();
        detector.inserted.clear();
    }
    // The nodes of type T made since the mark.
    template <class T>
    std::vector<T*> Made() const {
        std::vector<T*> made;
        const auto& nodes = context->sceneRoot->Nodes();
        for (size_t i = baseline; i < nodes.size(); ++i) {
            if (T* node = dynamic_cast<T*>(nodes[i].get())) made.push_back(node);
        }
        return made;
    }
    // The colours of the particle systems made since the mark.
    std::vector<uint32_t> Colours() const {
        std::vector<uint32_t> colours;
        for (const CFSParticlesSystem* system : Made<CFSParticlesSystem>())
            colours.push_back(system->Colour());
        return colours;
    }

    // A cube (side in km) 20 m beside the aircraft, with a damage property when health is
    // above 0, and moving when mass is above 0.
    CFSMeshedNode* Cube(float side, float threshold, float health, float mass = 0.0f) {
        CFSMeshedNode* node = context->engine->CreateMeshedNode("cube.obj", "red.png");
        node->FitToSize({FloatToFixed(side), FloatToFixed(side), FloatToFixed(side)});
        node->SetCell(aircraft->GetCell());
        node->Place(aircraft->GetPosition() + FSFixedVector{FloatToFixed(0.02f), 0, 0});
        node->SavePosition();
        if (health > 0.0f)
            node->SetSecondAttachment(std::make_unique<MFSDamageable>(threshold, health, health, 1.0f));
        if (mass > 0.0f)
            node->SetMoveableObject(
                std::make_unique<FSFragment>(*node, FSVector(), mass, context->sineTable));
        return node;
    }
    // A building as the routes make them, and debris as shattering makes it.
    CFSMeshedNode* Building() { return Cube(0.02f, 100.0f, 100000.0f); }
    CFSMeshedNode* Debris() {
        CFSMeshedNode* node = Cube(0.003f, 4.0f, 4.0f, 50.0f);
        DamageOf(*node)->noShatter = 1;
        return node;
    }
    float HeightAboveGround(const MFSSceneNode& node) const {
        return FixedToFloat(terrain->HeightAboveAt(node.GetPosition(), node.GetCell()));
    }
    // Puts the node at height (km) above the ground under it.
    void Lift(MFSSceneNode& node, float height) {
        FSFixedVector at = node.GetPosition();
        at.y += FloatToFixed(height) - terrain->HeightAboveAt(at, node.GetCell());
        node.Place(at);
    }

    testing_support::HeadlessTestGame game;
    CFSApplicationContext* context = nullptr;
    CFSMeshedNode* aircraft = nullptr;
    CFSTerrainModel* terrain = nullptr;
    world_test::RecordingDetector detector;
    std::vector<MFSSceneNode*> reports;
    uint32_t ticks = 4711;
    std::unique_ptr<CSPContactResponses> responses;
    size_t baseline = 0;
};

TEST_F(ContactResponsesTest, TheAircraftFlyingIntoABuildingShattersBothAndItsReportEndsTheFlight) {
    CFSMeshedNode* building = Building();
    Mark();
    CSPAircraft& flight = *aircraft->GetMoveableAs<CSPAircraft>();
    flight.SetVelocity(FSVector(0.05f, 0.0f, 0.0f));
    responses->Collision(building, aircraft);
    // Both reported, the building first: the aircraft's report ends the flight.
    EXPECT_EQ(reports, (std::vector<MFSSceneNode*>{building, aircraft}));
    EXPECT_TRUE(building->IsRemoved() && aircraft->IsRemoved());
    // Four pieces each, filed for contacts, and no burst. Each is debris that never
    // shatters again; the aircraft's fly on with it, weighing a quarter of it.
    ASSERT_EQ(detector.inserted.size(), 8u);
    EXPECT_EQ(Made<CFSMeshedNode>().size(), 8u);
    EXPECT_TRUE(Colours().empty());
    for (size_t k = 0; k < 8; ++k) {
        const MFSSceneNode& piece = *detector.inserted[k];
        const auto* fragment = piece.GetMoveableAs<FSFragment>();
        const MFSDamageable* damage = DamageOf(piece);
        ASSERT_TRUE(fragment && damage);
        EXPECT_TRUE(damage->threshold == 4.0f && damage->health == 4.0f && damage->noShatter &&
                    !damage->smoking);
        // Thrown outward into its own quarter: x side −, −, +, +; z side −, +, −, +.
        const FSVector thrown = fragment->GetVelocity() - (k < 4 ? FSVector() : flight.GetVelocity());
        EXPECT_TRUE(thrown.x * (k % 4 < 2 ? -1 : 1) >= 0.0f && thrown.z * (k % 2 ? 1 : -1) >= 0.0f) << k;
        EXPECT_EQ(fragment->GetMass(), k < 4 ? 1.0f : flight.GetMass() * 0.25f);
    }
    // A removed node takes no further contact.
    reports.clear();
    responses->Collision(building, aircraft);
    responses->GroundContact(aircraft, terrain);
    EXPECT_TRUE(reports.empty());
}

TEST_F(ContactResponsesTest, PieceSizesFollowTheSeedAlone) {
    const auto sizes = [this](uint32_t seed) {
        ticks = seed;
        Mark();
        responses->Shatter(*Building(), false);
        std::vector<FSFixedVector> made;
        for (const MFSSceneNode* piece : detector.inserted)
            made.push_back(piece->GetModel()->max - piece->GetModel()->min);
        return made;
    };
    const std::vector<FSFixedVector> first = sizes(7);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(sizes(7), first);
    EXPECT_NE(sizes(8), first);
}

TEST_F(ContactResponsesTest, GroundContactPutsNodesOnTheGroundAndHurtsThem) {
    const struct {
        const char* name;
        float threshold, health;  // health 0: no damage property
        float height;             // km above the ground when the contact comes
        std::vector<uint32_t> bursts;
    } cases[] = {
        // Debris takes the ground's 5.0 above its 4.0: an explosion, not four more pieces.
        {"debris", 4.0f, 4.0f, 0.0005f, {kSmokeBurstColour, kSparkColour}},
        {"debris sunk into the ground", 4.0f, 4.0f, -0.0008f, {kSmokeBurstColour, kSparkColour}},
        // Surviving, it starts smoking, once however often it touches.
        {"sturdy", 100.0f, 4.0f, 0.0004f, {kTrailColour}},
        {"without damage", 0.0f, 0.0f, -0.0003f, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Mark();
        CFSMeshedNode* node = Cube(0.003f, c.threshold, c.health, 50.0f);
        if (c.health > 0.0f) DamageOf(*node)->noShatter = 1;
        const bool destroyed = c.bursts.size() == 2;
        for (int contact = 0; contact < (destroyed ? 1 : 3); ++contact) {
            Lift(*node, c.height);
            responses->GroundContact(node, terrain);
            EXPECT_NEAR(HeightAboveGround(*node), 0.0f, 1e-5f);
        }
        EXPECT_EQ(node->IsRemoved(), destroyed);
        EXPECT_EQ(reports, std::vector<MFSSceneNode*>(destroyed ? 1 : 3, node));
        EXPECT_EQ(Colours(), c.bursts);
        EXPECT_TRUE(detector.inserted.empty());
    }
}

TEST_F(ContactResponsesTest, AGateBurstsWhenItsFrameIsTouchedAndIsReportedEitherWay) {
    for (const bool touched : {false, true}) {
        for (const bool gateMoves : {false, true}) {
            SCOPED_TRACE(testing::Message() << "touched " << touched << ", gate moves " << gateMoves);
            Mark();
            TestGate* gate = context->sceneRoot->Add(std::make_unique<TestGate>());
            gate->frameTouched = touched;
            gateMoves ? responses->Collision(aircraft, gate) : responses->Collision(gate, aircraft);
            EXPECT_EQ(reports, std::vector<MFSSceneNode*>{gate});
            EXPECT_EQ(gate->IsRemoved(), touched);
            EXPECT_EQ(Colours(), touched ? std::vector<uint32_t>{0xFFFFFF} : std::vector<uint32_t>{});
            EXPECT_FALSE(aircraft->IsRemoved());
            EXPECT_EQ(DamageOf(*aircraft)->health, DamageOf(*aircraft)->maxHealth);
        }
    }
}

TEST_F(ContactResponsesTest, RepeatedSurvivableHitsStartOneSmokeTrailEach) {
    // A building hit by a sturdy mover: 5.0 hurts neither, and each smokes from the first
    // hit on, the building in a rising column, the mover in a trail at rest behind it.
    CFSMeshedNode* building = Building();
    CFSMeshedNode* mover = Cube(0.003f, 100.0f, 4.0f, 50.0f);
    Mark();
    for (int hit = 0; hit < 3; ++hit)
        responses->Collision(building, mover);
    EXPECT_TRUE(reports.empty());
    const std::vector<CFSParticlesSystem*> systems = Made<CFSParticlesSystem>();
    ASSERT_EQ(systems.size(), 2u);
    EXPECT_TRUE(systems[0]->GetOwner() == building && systems[1]->GetOwner() == mover);
    for (CFSParticlesSystem* system : systems) {
        system->Update(*context->sceneRoot, FSFrame{});
        ASSERT_FALSE(system->Particles().empty());
        EXPECT_EQ(system->Particles()[0].velocity.y > 0, system == systems[0]);
    }
}

TEST_F(ContactResponsesTest, ACrashLeavesASmokingWreckAndOnlyAJetThrowsPieces) {
    for (const bool jet : {false, true}) {
        SCOPED_TRACE(jet ? "jet" : "no jet");
        // A Cessna on a 10 m box, airborne, then half a metre into the ground sinking at
        // 40 m/s.
        CFSMeshedNode* plane = Cube(0.01f, 0.0f, 0.0f);
        CSPAircraft& flight = CreateFlightAircraft(*plane, FSVector(), 0, context->sineTable);
        Lift(*plane, 0.02f);
        ASSERT_TRUE(flight.GroundContact(false));
        Lift(*plane, -0.0005f);
        flight.SetVelocity(FSVector(0.0f, -0.04f, 0.0f));
        Mark();
        responses->SetPlayer(plane, jet);
        responses->GroundContact(plane, terrain);
        EXPECT_TRUE(plane->IsRemoved());
        EXPECT_EQ(reports, std::vector<MFSSceneNode*>{plane});
        // The wreck: a smoking aircraft-sized box where it lies, as it lies, standing.
        const std::vector<CFSMeshedNode*> made = Made<CFSMeshedNode>();
        ASSERT_EQ(made.size(), jet ? 5u : 1u);
        const CFSMeshedNode& wreck = *made[0];
        EXPECT_EQ(wreck.GetMoveableObject(), nullptr);
        EXPECT_TRUE(wreck.GetPosition() == plane->GetPosition() && wreck.GetCell() == plane->GetCell());
        EXPECT_EQ(wreck.GetOrientation(), plane->GetOrientation());
        EXPECT_TRUE(plane->GetTexture() != 0 && wreck.GetTexture() == plane->GetTexture());
        EXPECT_NEAR(FixedToFloat(wreck.GetModel()->max.x - wreck.GetModel()->min.x), 0.01f, 1e-4f);
        ASSERT_EQ(Colours(), std::vector<uint32_t>{kTrailColour});
        EXPECT_EQ(Made<CFSParticlesSystem>()[0]->GetOwner(), &wreck);
        // With a jet the aircraft shatters into four pieces; without one it only vanishes.
        EXPECT_EQ(detector.inserted.size(), jet ? 4u : 0u);
    }
}

}  // namespace
