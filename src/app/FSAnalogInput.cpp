#include "app/FSAnalogInput.h"

#include <algorithm>

float StickResponse(float axis, float sensitivity) {
    const float v = std::clamp(axis, -1.0f, 1.0f);
    // Beyond 1.5 the curve would turn back before the end of the travel.
    const float k = std::clamp(sensitivity / 0.1f, 0.5f, 1.5f);
    return v * (k + (1.0f - k) * v * v);
}

void CopyStickToFrame(const FSStick& stick, float sensitivity, FSFrameValues& frame) {
    frame.analogActive = stick.present ? 1 : 0;
    frame.analogRoll = stick.present ? StickResponse(stick.x, sensitivity) : 0.0f;
    frame.analogPitch = stick.present ? StickResponse(stick.y, sensitivity) : 0.0f;
    frame.analogRudder = stick.present ? StickResponse(stick.twist, sensitivity) : 0.0f;
    frame.analogThrottle = stick.present ? std::min(stick.throttle, 1.0f) : -1.0f;
}

std::string ControlDeviceText(const FSStick& stick) {
    if (!stick.present) return "Keyboard and mouse";
    const std::string name = stick.name.empty() ? "unnamed" : stick.name;
    return (stick.gameController ? "Controller: " : "Joystick: ") + name;
}
