#pragma once
// A flight stick made in software (SDL's virtual joystick): tools and tests plug it in,
// move it and pull it out as a player would a real one, and the game sees it through the
// same device events. It needs SDL's joystick support started (the window does that).
#include <string>

struct _SDL_Joystick;

class CFSVirtualStick {
public:
    // Plugs in a stick with four axes (x, y, lever, twist) and four buttons; IsPlugged says
    // whether that worked (with the reason in error).
    explicit CFSVirtualStick(std::string& error);
    // Pulls it out.
    ~CFSVirtualStick();
    CFSVirtualStick(const CFSVirtualStick&) = delete;
    CFSVirtualStick& operator=(const CFSVirtualStick&) = delete;

    bool IsPlugged() const { return index_ >= 0; }
    // Axis 0 x (-1 left), 1 y (-1 forward), 2 the lever (-1 forward: full), 3 the twist;
    // value -1..1.
    void SetAxis(int axis, float value);

private:
    int index_ = -1;
    _SDL_Joystick* joystick_ = nullptr;  // our own hold on the device, to move it
};
