#include "world/FSSavedGLState.h"

#include "world/FSFixed.h"

namespace {

const GLenum kCapabilityList[] = {GL_TEXTURE_2D, GL_LIGHTING,   GL_FOG,        GL_BLEND,
                                  GL_CULL_FACE,  GL_DEPTH_TEST, GL_ALPHA_TEST, GL_COLOR_MATERIAL};
const GLenum kArrayList[] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY};

void Switch(GLenum capability, bool on) {
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

void SwitchClient(GLenum array, bool on) {
    if (on)
        glEnableClientState(array);
    else
        glDisableClientState(array);
}

}  // namespace

FSSavedGLState::FSSavedGLState() {
    static_assert(sizeof(kCapabilityList) / sizeof(kCapabilityList[0]) == kCapabilities, "capability list");
    static_assert(sizeof(kArrayList) / sizeof(kArrayList[0]) == kArrays, "array list");
    for (int i = 0; i < kCapabilities; ++i)
        capability_[i] = glIsEnabled(kCapabilityList[i]);
    for (int i = 0; i < kArrays; ++i)
        array_[i] = glIsEnabled(kArrayList[i]);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask_);
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel_);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureEnvironment_);
    glGetIntegerv(GL_BLEND_SRC, &blendSource_);
    glGetIntegerv(GL_BLEND_DST, &blendDestination_);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture_);
    glGetFloatv(GL_CURRENT_COLOR, colour_);
}

FSSavedGLState::~FSSavedGLState() {
    for (int i = 0; i < kCapabilities; ++i)
        Switch(kCapabilityList[i], capability_[i] == GL_TRUE);
    for (int i = 0; i < kArrays; ++i)
        SwitchClient(kArrayList[i], array_[i] == GL_TRUE);
    glDepthMask(depthMask_);
    glShadeModel(static_cast<GLenum>(shadeModel_));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureEnvironment_);
    glBlendFunc(static_cast<GLenum>(blendSource_), static_cast<GLenum>(blendDestination_));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture_));
    glColor4f(colour_[0], colour_[1], colour_[2], colour_[3]);
}

void FSSavedGLState::Set(GLenum capability, bool on) {
    Switch(capability, on);
}

void FSSavedGLState::SetClient(GLenum array, bool on) {
    SwitchClient(array, on);
}

void DrawTranslucentTextured(GLuint texture, const GLfixed* vertices, const GLfixed* texCoords, GLenum mode,
                             GLsizei count, const GLubyte* indices, const FSTranslucentLook& look) {
    FSSavedGLState saved;
    FSSavedGLState::Set(GL_TEXTURE_2D, true);
    FSSavedGLState::Set(GL_LIGHTING, false);
    FSSavedGLState::Set(GL_BLEND, true);
    if (!look.keepCulling) FSSavedGLState::Set(GL_CULL_FACE, false);
    if (!look.keepAlphaTest) FSSavedGLState::Set(GL_ALPHA_TEST, false);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4x(look.tint.r, look.tint.g, look.tint.b, kFixedOne);
    FSSavedGLState::SetClient(GL_VERTEX_ARRAY, true);
    FSSavedGLState::SetClient(GL_TEXTURE_COORD_ARRAY, true);
    FSSavedGLState::SetClient(GL_NORMAL_ARRAY, false);
    FSSavedGLState::SetClient(GL_COLOR_ARRAY, false);
    glBindTexture(GL_TEXTURE_2D, texture);
    glVertexPointer(3, GL_FIXED, 0, vertices);
    glTexCoordPointer(2, GL_FIXED, 0, texCoords);
    glDrawElements(mode, count, GL_UNSIGNED_BYTE, indices);
}
