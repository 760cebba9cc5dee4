#pragma once
// The 38 actions the input makes of the pad, the buttons and the stylus, by number. The
// menus, the flight and the map view each enable their own set. Quoted names are those the
// controls screen shows. Each held flight control has a release action of its own bound to
// the same chord (12 with 21, 13 with 22, 14 with 19, 15 with 20, 16 with 23, 17 with 24,
// 18 with 25).
enum FSAction : int {
    kActionNone = -1,
    kActionSelect = 0,
    kActionBack = 1,
    // Menu moves, once and then every 300 ms while held.
    kActionLeft = 2,
    kActionRight = 3,
    kActionUp = 4,
    kActionDown = 5,
    // The same moves on every pass while held (sliders, scrolling).
    kActionLeftHeld = 6,
    kActionRightHeld = 7,
    kActionUpHeld = 8,
    kActionDownHeld = 9,
    // The map view's camera distance.
    kActionMapCameraNearer = 10,
    kActionMapCameraFarther = 11,
    kActionElevatorsUp = 12,  // "elevators up": the pad's up key, which lowers the nose
    kActionElevatorsDown = 13,
    kActionAileronsLeft = 14,
    kActionAileronsRight = 15,
    kActionRuddersLeft = 16,
    kActionRuddersRight = 17,
    kActionBrake = 18,  // "break"
    kActionAileronsLeftReleased = 19,
    kActionAileronsRightReleased = 20,
    kActionElevatorsUpReleased = 21,
    kActionElevatorsDownReleased = 22,
    kActionRuddersLeftReleased = 23,
    kActionRuddersRightReleased = 24,
    kActionBrakeReleased = 25,
    kActionFlaps = 26,
    kActionInstructor = 27,
    kActionAutopilot = 28,
    kActionMap = 29,
    kActionBackToMenu = 30,
    kActionChangeView = 31,
    kActionLookAround = 32,
    kActionThrottleLess = 33,
    kActionThrottleMore = 34,
    kActionStylusReleased = 35,
    kActionStylusPressed = 36,
    kActionStylusMoved = 37,
};

inline constexpr int kActionCount = 38;
