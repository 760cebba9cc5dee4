#pragma once
// The analog stick on its way into a flight: the display's stick, shaped by the "joystick
// sensitivity" setting, becomes the frame's analog values once a main-loop pass.
#include <string>

#include "base/FSSettingsBlocks.h"
#include "platform/FSDisplay.h"

// One stick axis (-1..1) through the sensitivity curve. The middle of the setting's range
// (0.1) leaves the axis as it is; above it the stick answers more strongly near the centre,
// below it more gently, and full deflection stays full deflection at any setting:
// out = v × (k + (1 − k) × v²) with k = sensitivity / 0.1, held to 0.5..1.5.
float StickResponse(float axis, float sensitivity);

// The frame's analog values from the stick: active while a device is there; roll the
// stick's x, pitch its y (pulled back is nose up), rudder its twist, each through the
// curve; throttle the lever as it is (below 0 until it has moved).
void CopyStickToFrame(const FSStick& stick, float sensitivity, FSFrameValues& frame);

// What the controls screen says is in use: "Controller: <name>", "Joystick: <name>" or
// "Keyboard and mouse".
std::string ControlDeviceText(const FSStick& stick);
