// The controls side of CFSAircraft: the actuators (slots 7-18), the pilot aids (slots
// 24-25) and the command dispatch (slot 26).
//
// TO BE WRITTEN WITH THE CONTROLS: apart from the throttle, the bodies below are
// placeholders that change nothing, so that the force model (which runs the pilot aids
// and the held controls at the start of every sub-step) can already fly. The controls
// replace them; each actuator then clamps its control, writes its plates through
// WriteAilerons / WriteElevator / WriteRudder and sets its flags.
#include "flight/FSAircraft.h"

void CFSAircraft::ApplyStick(float /*rollInput*/, float /*pitchInput*/) {}
void CFSAircraft::AileronLeft() {}
void CFSAircraft::AileronRight() {}
void CFSAircraft::CentreAileron() {}
void CFSAircraft::ElevatorUp() {}
void CFSAircraft::ElevatorDown() {}
void CFSAircraft::CentreElevator() {}
void CFSAircraft::RudderLeft() {}
void CFSAircraft::RudderRight() {}
void CFSAircraft::CentreRudder() {}

void CFSAircraft::ThrottleUp() {
    if (autopilot) return;
    throttle += throttleStep;
    if (throttle > throttleMax) throttle = throttleMax;
}

void CFSAircraft::ThrottleDown() {
    if (autopilot) return;
    throttle -= throttleStep;
    if (throttle < throttleMin) throttle = throttleMin;
}

void CFSAircraft::AutopilotStep() {}
void CFSAircraft::LevellerStep() {}

bool CFSAircraft::HandleCommand(int /*code*/, int /*parameter*/) {
    return false;
}
