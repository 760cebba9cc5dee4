#include "platform/FSStickReader.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace {

// How far the throttle lever must leave where it sat when the device came before it counts
// as moved (a resting axis jitters by a few hundredths).
constexpr float kThrottleMoved = 0.05f;

// The flight stick's buttons after the trigger, as the key states they press: the shift
// of the chords, the map, change view, the instructor, back (the order of the game
// controller's X, Y, left and right shoulder and B).
constexpr int kJoystickButtonStates[] = {9, 5, 7, 6, 8};

// Screen direction (0 action, 1 left, 2 right, 3 up, 4 down) of a controller button, or -1.
int PadIndexOfButton(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return 0;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return 1;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return 2;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return 3;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return 4;
        default:
            return -1;
    }
}

// The key state (5-9) a controller button presses, or -1.
int StateOfControllerButton(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_B:
            return 8;  // back
        case SDL_CONTROLLER_BUTTON_X:
            return 9;  // the shift button of the chords
        case SDL_CONTROLLER_BUTTON_Y:
            return 5;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            return 7;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return 6;
        default:
            return -1;
    }
}

}  // namespace

using platform::PostHotKey;

namespace platform {

float AxisFraction(int raw) {
    return std::clamp(static_cast<float>(raw) / 32767.0f, -1.0f, 1.0f);
}

float AxialDeadZone(float value, float dead) {
    const float size = std::fabs(value);
    if (size <= dead || dead >= 1.0f) return 0.0f;
    const float live = std::min((size - dead) / (1.0f - dead), 1.0f);
    return value < 0.0f ? -live : live;
}

void RadialDeadZone(float& x, float& y, float dead) {
    const float distance = std::hypot(x, y);
    if (distance <= dead || dead >= 1.0f) {
        x = 0.0f;
        y = 0.0f;
        return;
    }
    const float scale = AxialDeadZone(distance, dead) / distance;
    x *= scale;
    y *= scale;
}

}  // namespace platform

struct CFSStickReader::Device {
    ~Device() {
        if (pad) {
            SDL_GameControllerClose(pad);  // closes its joystick too
        } else if (joystick) {
            SDL_JoystickClose(joystick);
        }
    }

    // The throttle lever, 0..1, where the device's axes put it now.
    float Lever() const {
        if (pad) {
            const int rise = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) -
                             SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
            return (platform::AxisFraction(rise) + 1.0f) * 0.5f;
        }
        if (SDL_JoystickNumAxes(joystick) < 3) return -1.0f;
        // Pushed forward (negative) is full.
        return (1.0f - platform::AxisFraction(SDL_JoystickGetAxis(joystick, 2))) * 0.5f;
    }

    SDL_GameController* pad = nullptr;
    SDL_Joystick* joystick = nullptr;  // the controller's own when pad is set
    SDL_JoystickID instance = -1;
    uint64_t connection = 0;
    float throttleRest = -1.0f;
    bool throttleMoved = false;
};

CFSStickReader::CFSStickReader() = default;
CFSStickReader::~CFSStickReader() = default;

CFSStickReader::Device* CFSStickReader::Find(int32_t instance) const {
    for (const auto& d : devices_)
        if (d->instance == instance) return d.get();
    return nullptr;
}

CFSStickReader::Device* CFSStickReader::Current() const {
    Device* newest = nullptr;
    for (const auto& d : devices_)
        if (!newest || d->connection > newest->connection) newest = d.get();
    return newest;
}

void CFSStickReader::Open(int deviceIndex, bool gameController) {
    if (Find(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;  // both add events came
    auto device = std::make_unique<Device>();
    if (gameController) {
        device->pad = SDL_GameControllerOpen(deviceIndex);
        if (device->pad) device->joystick = SDL_GameControllerGetJoystick(device->pad);
    } else {
        device->joystick = SDL_JoystickOpen(deviceIndex);
    }
    if (!device->joystick) return;  // gone again already, or refused
    device->instance = SDL_JoystickInstanceID(device->joystick);
    device->connection = ++connections_;
    device->throttleRest = device->Lever();
    devices_.push_back(std::move(device));
}

void CFSStickReader::Close(int32_t instance) {
    devices_.erase(std::remove_if(devices_.begin(), devices_.end(),
                                  [instance](const auto& d) { return d->instance == instance; }),
                   devices_.end());
}

FSStick CFSStickReader::Read() const {
    FSStick stick;
    Device* d = Current();
    if (!d) return stick;
    stick.present = true;
    stick.gameController = d->pad != nullptr;
    const char* name = d->pad ? SDL_GameControllerName(d->pad) : SDL_JoystickName(d->joystick);
    stick.name = name ? name : "";
    if (d->pad) {
        stick.x = platform::AxisFraction(SDL_GameControllerGetAxis(d->pad, SDL_CONTROLLER_AXIS_LEFTX));
        stick.y = platform::AxisFraction(SDL_GameControllerGetAxis(d->pad, SDL_CONTROLLER_AXIS_LEFTY));
        stick.twist = platform::AxisFraction(SDL_GameControllerGetAxis(d->pad, SDL_CONTROLLER_AXIS_RIGHTX));
    } else {
        const int axes = SDL_JoystickNumAxes(d->joystick);
        if (axes > 0) stick.x = platform::AxisFraction(SDL_JoystickGetAxis(d->joystick, 0));
        if (axes > 1) stick.y = platform::AxisFraction(SDL_JoystickGetAxis(d->joystick, 1));
        if (axes > 3) stick.twist = platform::AxisFraction(SDL_JoystickGetAxis(d->joystick, 3));
    }
    platform::RadialDeadZone(stick.x, stick.y, platform::kStickDeadZone);
    stick.twist = platform::AxialDeadZone(stick.twist, platform::kStickDeadZone);
    const float lever = d->Lever();
    if (lever >= 0.0f && !d->throttleMoved && std::fabs(lever - d->throttleRest) > kThrottleMoved)
        d->throttleMoved = true;
    stick.throttle = d->throttleMoved ? lever : -1.0f;
    return stick;
}

void CFSStickReader::HandleControllerButton(int button, bool down, MFSDisplay& display) const {
    const int padKey = PadIndexOfButton(button);
    const int state = StateOfControllerButton(button);
    if (padKey >= 0) {
        display.SetPadKey(padKey, down);
    } else if (state == 8) {
        PostHotKey(display, display.BackHotKey());
    } else if (state >= 0) {
        PostHotKey(display, display.HotKeyOfState(state));
    }
}

void CFSStickReader::HandleJoystickButton(int button, bool down, MFSDisplay& display) const {
    if (button == 0) {
        display.SetPadKey(0, down);  // the trigger is the action key
    } else if (button <= static_cast<int>(sizeof kJoystickButtonStates / sizeof kJoystickButtonStates[0])) {
        const int state = kJoystickButtonStates[button - 1];
        PostHotKey(display, state == 8 ? display.BackHotKey() : display.HotKeyOfState(state));
    }
}

void CFSStickReader::HandleHat(int value, MFSDisplay& display) const {
    display.SetPadKey(1, (value & SDL_HAT_LEFT) != 0);
    display.SetPadKey(2, (value & SDL_HAT_RIGHT) != 0);
    display.SetPadKey(3, (value & SDL_HAT_UP) != 0);
    display.SetPadKey(4, (value & SDL_HAT_DOWN) != 0);
}

bool CFSStickReader::HandleEvent(const SDL_Event& ev, MFSDisplay& display) {
    // A game controller's joystick sends its raw events too: those are the controller's.
    const auto joystickOnly = [this](SDL_JoystickID id) {
        const Device* d = Find(id);
        return d && !d->pad;
    };
    switch (ev.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Open(ev.cdevice.which, true);
            break;
        case SDL_JOYDEVICEADDED:
            if (!SDL_IsGameController(ev.jdevice.which)) Open(ev.jdevice.which, false);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_JOYDEVICEREMOVED:
            Close(ev.type == SDL_JOYDEVICEREMOVED ? ev.jdevice.which : ev.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            HandleControllerButton(ev.cbutton.button, ev.type == SDL_CONTROLLERBUTTONDOWN, display);
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (joystickOnly(ev.jbutton.which))
                HandleJoystickButton(ev.jbutton.button, ev.type == SDL_JOYBUTTONDOWN, display);
            break;
        case SDL_JOYHATMOTION:
            if (joystickOnly(ev.jhat.which) && ev.jhat.hat == 0) HandleHat(ev.jhat.value, display);
            break;
        case SDL_CONTROLLERAXISMOTION:
        case SDL_JOYAXISMOTION:
            break;
        default:
            return false;
    }
    display.SetStick(Read());
    return true;
}
