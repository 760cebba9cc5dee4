#pragma once
// The input's actions that reach an aircraft's HandleCommand during a flight, named for
// what they do to it. A key press fires its code on every main-loop pass while held; the
// release codes fire once when the key's chord is let go. The pad's "up" key drives
// "elevators up" (12), which lowers the nose: pushing the pad away is pushing a stick.
#include "base/FSActions.h"

enum FSFlightCommand : int {
    kCommandElevatorDown = kActionElevatorsUp,
    kCommandElevatorUp = kActionElevatorsDown,
    kCommandAileronLeft = kActionAileronsLeft,
    kCommandAileronRight = kActionAileronsRight,
    kCommandRudderLeft = kActionRuddersLeft,
    kCommandRudderRight = kActionRuddersRight,
    kCommandBrakes = kActionBrake,  // held: brakes on (game aircraft)
    kCommandAileronLeftReleased = kActionAileronsLeftReleased,
    kCommandAileronRightReleased = kActionAileronsRightReleased,
    kCommandElevatorDownReleased = kActionElevatorsUpReleased,
    kCommandElevatorUpReleased = kActionElevatorsDownReleased,
    kCommandRudderLeftReleased = kActionRuddersLeftReleased,
    kCommandRudderRightReleased = kActionRuddersRightReleased,
    kCommandBrakesReleased = kActionBrakeReleased,  // game aircraft
    kCommandFlapsToggle = kActionFlaps,             // game aircraft
    kCommandInstructorToggle = kActionInstructor,   // game aircraft
    kCommandAutopilotToggle = kActionAutopilot,
    kCommandLookAroundToggle = kActionLookAround,
    kCommandThrottleLess = kActionThrottleLess,
    kCommandThrottleMore = kActionThrottleMore,
    kCommandStylusLifted = kActionStylusReleased,
    kCommandStylusPressed = kActionStylusPressed,
    kCommandStylusMoved = kActionStylusMoved,
};
