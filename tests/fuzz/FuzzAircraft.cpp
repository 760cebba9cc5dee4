// An aircraft description loaded into a fresh aircraft: the plates, the engine, the
// controls' limits and the trim worked out from them.
#include <memory>

#include "FuzzSupport.h"
#include "flight/FSAircraft.h"
#include "support/AircraftTestData.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace {

class BareNode : public MFSSceneNode {
public:
    BareNode() : MFSSceneNode(kNodePlain) {}
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) override {}
    void Draw(CFSScene& /*scene*/) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const SineTable sine;
    static const aircraft_test::ControlSettings settings;
    BareNode node;
    node.Place({0, FixedFromInt(6), 0});
    node.SavePosition();
    CFSAircraft aircraft(node, FSVector(0.0f, 0.0f, -0.05f), sine);
    aircraft.SetControlSettings(settings.game, settings.frame);
    aircraft.LoadDescription(fuzz::TextBlock(data, size));
    return 0;
}
