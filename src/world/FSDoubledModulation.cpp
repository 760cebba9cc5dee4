#include "world/FSDoubledModulation.h"

namespace {

// texture × incoming for colour and alpha; the settings the other drawings leave at their
// defaults except the mode.
const GLenum kNames[FSDoubledModulation::kSettings] = {
    GL_TEXTURE_ENV_MODE, GL_COMBINE_RGB,    GL_COMBINE_ALPHA, GL_SRC0_RGB,
    GL_SRC1_RGB,         GL_SRC0_ALPHA,     GL_SRC1_ALPHA,    GL_OPERAND0_RGB,
    GL_OPERAND1_RGB,     GL_OPERAND0_ALPHA, GL_OPERAND1_ALPHA};
const GLint kValues[FSDoubledModulation::kSettings] = {GL_COMBINE,   GL_MODULATE,  GL_MODULATE, GL_TEXTURE,
                                                       GL_PREVIOUS,  GL_TEXTURE,   GL_PREVIOUS, GL_SRC_COLOR,
                                                       GL_SRC_COLOR, GL_SRC_ALPHA, GL_SRC_ALPHA};

}  // namespace

FSDoubledModulation::FSDoubledModulation() {
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_RGB_SCALE, &scale_);
    for (int i = 0; i < kSettings; ++i) {
        glGetTexEnviv(GL_TEXTURE_ENV, kNames[i], &saved_[i]);
        glTexEnvi(GL_TEXTURE_ENV, kNames[i], kValues[i]);
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 2.0f);
}

FSDoubledModulation::~FSDoubledModulation() {
    for (int i = 0; i < kSettings; ++i)
        glTexEnvi(GL_TEXTURE_ENV, kNames[i], saved_[i]);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, scale_);
}
