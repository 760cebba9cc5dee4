#pragma once
// Game controllers and flight sticks: the devices that come and go, their buttons pressed
// onto the pad and the application buttons, and their axes read as one FSStick.
//
// Devices may be plugged in and out at any time; the one connected last is in use, and
// when it goes the newest of those left takes over. A device SDL knows as a game
// controller is opened as one (its buttons and axes by their standard names); any other
// joystick is taken as a flight stick (axis 0/1 the stick, axis 2 the throttle lever,
// axis 3 the twist, button 0 the trigger, a hat as the pad).
//
// Game controller: the left stick steers (x roll, y pitch), the right stick's x is the
// rudder, and the triggers are the throttle lever: right trigger minus left trigger, so
// the lever sits at half with both let go, the right trigger pushes it to full and the
// left one to idle. The shoulders keep their buttons (change view and the instructor,
// throttle with the shift button), which is why the rudder lies on the right stick.
//
// Only the SDL window thread (or a test driving SDL itself) calls it.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/FSDisplay.h"

union SDL_Event;

namespace platform {
// The dead zone of the sticks, as a fraction of their travel.
constexpr float kStickDeadZone = 0.15f;
// A raw SDL axis value (-32768..32767) as -1..1.
float AxisFraction(int raw);
// One axis through the dead zone: 0 inside it, rescaled so its edge is 0 and the end 1.
float AxialDeadZone(float value, float dead);
// A stick's two axes through a round dead zone: the direction is kept, the distance from
// the centre rescaled as AxialDeadZone does it (and held to 1).
void RadialDeadZone(float& x, float& y, float dead);
}  // namespace platform

class CFSStickReader {
public:
    CFSStickReader();
    ~CFSStickReader();
    CFSStickReader(const CFSStickReader&) = delete;
    CFSStickReader& operator=(const CFSStickReader&) = delete;

    // One SDL event: devices added and removed, buttons and hats pressed onto the display's
    // pad keys and application buttons. After any event of a device the display's stick is
    // brought up to date. False when the event was none of the reader's.
    bool HandleEvent(const SDL_Event& event, MFSDisplay& display);
    // The stick as the device in use holds it now (not present without one).
    FSStick Read() const;
    int DeviceCount() const { return static_cast<int>(devices_.size()); }

private:
    struct Device;

    void Open(int deviceIndex, bool gameController);
    void Close(int32_t instance);
    Device* Find(int32_t instance) const;
    Device* Current() const;
    void HandleControllerButton(int button, bool down, MFSDisplay& display) const;
    void HandleJoystickButton(int button, bool down, MFSDisplay& display) const;
    void HandleHat(int value, MFSDisplay& display) const;

    std::vector<std::unique_ptr<Device>> devices_;
    uint64_t connections_ = 0;  // counts the devices opened: the newest has the highest
};
