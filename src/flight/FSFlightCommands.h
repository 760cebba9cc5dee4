#pragma once
// The input's action codes that reach an aircraft's HandleCommand during a flight. A key
// press fires its code on every main-loop pass while held; the release codes fire once
// when the key's chord is let go. The pad's "up" key drives code 12 and "down" code 13, so
// pushing the pad away lowers the nose, as a stick does.
enum FSFlightCommand : int {
    kCommandElevatorDown = 12,
    kCommandElevatorUp = 13,
    kCommandAileronLeft = 14,
    kCommandAileronRight = 15,
    kCommandRudderLeft = 16,
    kCommandRudderRight = 17,
    kCommandBrakes = 18,  // held: brakes on (game aircraft)
    kCommandAileronLeftReleased = 19,
    kCommandAileronRightReleased = 20,
    kCommandElevatorDownReleased = 21,
    kCommandElevatorUpReleased = 22,
    kCommandRudderLeftReleased = 23,
    kCommandRudderRightReleased = 24,
    kCommandBrakesReleased = 25,    // game aircraft
    kCommandFlapsToggle = 26,       // game aircraft
    kCommandInstructorToggle = 27,  // game aircraft
    kCommandAutopilotToggle = 28,
    kCommandLookAroundToggle = 32,
    kCommandThrottleLess = 33,
    kCommandThrottleMore = 34,
    kCommandStylusLifted = 35,
    kCommandStylusPressed = 36,
    kCommandStylusMoved = 37,
};
