#include "platform/FSVirtualStick.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

CFSVirtualStick::CFSVirtualStick(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        error = SDL_GetError();
        return;
    }
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 4, 4, 0);
    if (index_ >= 0) joystick_ = SDL_JoystickOpen(index_);
    if (!joystick_) {
        error = SDL_GetError();
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
        index_ = -1;
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
}

CFSVirtualStick::~CFSVirtualStick() {
    if (index_ < 0) return;
    SDL_JoystickClose(joystick_);
    SDL_JoystickDetachVirtual(index_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void CFSVirtualStick::SetAxis(int axis, float value) {
    if (!joystick_) return;
    const float v = std::clamp(value, -1.0f, 1.0f);
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(std::lround(v * 32767.0f)));
}
