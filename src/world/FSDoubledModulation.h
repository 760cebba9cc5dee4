#pragma once
// A texture stage that multiplies the texture by what comes into the stage and doubles the
// product (GL_COMBINE, MODULATE, RGB scale 2); alpha is the plain product. A texel or a
// colour of 0.5 then leaves the other as it is, so it can lighten as well as darken: the
// sky box toward the camera's haze, the ground's detail over its own texture. On unit 0
// what comes in is the primary colour, on unit 1 the result of unit 0.
//
// A scope guard for the active texture unit: its environment is put back when it ends.
#include <GLES/gl.h>

class FSDoubledModulation {
public:
    FSDoubledModulation();
    ~FSDoubledModulation();
    FSDoubledModulation(const FSDoubledModulation&) = delete;
    FSDoubledModulation& operator=(const FSDoubledModulation&) = delete;

    static constexpr int kSettings = 11;

private:
    GLint saved_[kSettings] = {};
    GLfloat scale_ = 1.0f;
};
