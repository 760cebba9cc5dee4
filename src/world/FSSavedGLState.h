#pragma once
// The fixed-function state that the sky, cloud, billboard and flame drawing change,
// remembered when a drawing starts and put back when it ends. Each of those drawings sets
// up exactly what it needs (blending, no lighting, no depth writes, ...) and leaves the
// state as it found it, so the order in which nodes are drawn never changes how the next
// one looks (a meshed node drawn after a tree keeps its lighting, "myst" fog survives the
// sky box). Needs a current GL context; use it as a scope guard around one drawing.
#include <GLES/gl.h>

#include "world/FSSkyColour.h"

class FSSavedGLState {
public:
    FSSavedGLState();
    ~FSSavedGLState();
    FSSavedGLState(const FSSavedGLState&) = delete;
    FSSavedGLState& operator=(const FSSavedGLState&) = delete;

    // Switches a capability (GL_BLEND, GL_LIGHTING, ...) or client array (GL_COLOR_ARRAY,
    // ...) on or off; the destructor puts back what was there before.
    static void Set(GLenum capability, bool on);
    static void SetClient(GLenum array, bool on);

private:
    static constexpr int kCapabilities = 8;
    static constexpr int kArrays = 4;
    GLboolean capability_[kCapabilities] = {};
    GLboolean array_[kArrays] = {};
    GLboolean depthMask_ = GL_TRUE;
    GLint shadeModel_ = GL_SMOOTH;
    GLint textureEnvironment_ = GL_MODULATE;
    GLint blendSource_ = GL_ONE;
    GLint blendDestination_ = GL_ZERO;
    GLint boundTexture_ = 0;
    GLfloat colour_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// How DrawTranslucentTextured draws: modulated by tint (16.16 red, green, blue; white
// shows the picture as it is, the daylight dims it at night); back faces too unless
// keepCulling; alpha testing switched off unless keepAlphaTest.
struct FSTranslucentLook {
    FSFixedColour tint{kFixedOne, kFixedOne, kFixedOne};
    bool keepCulling = false;
    bool keepAlphaTest = false;
};

// Draws textured, unlit geometry blended over the picture by its alpha, without writing
// depth: the look of the cloud layer, clouds and tree billboards. Vertices are 3 and
// texture coordinates 2 GLfixed values per point, drawn as count indices in mode. The
// state is put back afterwards.
void DrawTranslucentTextured(GLuint texture, const GLfixed* vertices, const GLfixed* texCoords, GLenum mode,
                             GLsizei count, const GLubyte* indices, const FSTranslucentLook& look = {});
