#include "hud/FSArtificialHorizon.h"

#include <GLES/gl.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerRadian = 57.29578;
constexpr float kFixed = 65536.0f;

GLfixed Fixed(float v) {
    return static_cast<GLfixed>(std::lround(v * kFixed));
}

// The screen's up in the 3-D surface for each alignment, as a turn about the view axis:
// the landscape screens stand a quarter turn either way on the portrait surface.
GLfixed AlignmentAngle(int alignment) {
    switch (alignment) {
        case 1:
            return 90 * 65536;
        case 2:
            return -90 * 65536;
        default:
            return 0;
    }
}

void SetColour(const FSHorizonColour& c) {
    glColor4x(Fixed(c.r), Fixed(c.g), Fixed(c.b), Fixed(c.a));
}

// Everything the horizon pass changes, taken before and put back after.
class GLStateKeeper {
public:
    GLStateKeeper() {
        glGetIntegerv(GL_SCISSOR_BOX, scissor_);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_);
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunc_);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &texEnv_);
        for (size_t i = 0; i < kCaps; ++i)
            enabled_[i] = glIsEnabled(kCapList[i]);
        for (size_t i = 0; i < kArrays; ++i)
            arrays_[i] = glIsEnabled(kArrayList[i]);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~GLStateKeeper() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        for (size_t i = 0; i < kCaps; ++i)
            enabled_[i] ? glEnable(kCapList[i]) : glDisable(kCapList[i]);
        for (size_t i = 0; i < kArrays; ++i)
            arrays_[i] ? glEnableClientState(kArrayList[i]) : glDisableClientState(kArrayList[i]);
        glScissor(scissor_[0], scissor_[1], scissor_[2], scissor_[3]);
        glClearColor(clear_[0], clear_[1], clear_[2], clear_[3]);
        glDepthFunc(static_cast<GLenum>(depthFunc_));
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, texEnv_);
        glColor4x(65536, 65536, 65536, 65536);
    }
    GLStateKeeper(const GLStateKeeper&) = delete;
    GLStateKeeper& operator=(const GLStateKeeper&) = delete;

private:
    static constexpr size_t kCaps = 7;
    static constexpr GLenum kCapList[kCaps] = {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_LIGHTING, GL_FOG,
                                               GL_BLEND,        GL_TEXTURE_2D, GL_CULL_FACE};
    static constexpr size_t kArrays = 4;
    static constexpr GLenum kArrayList[kArrays] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY,
                                                   GL_TEXTURE_COORD_ARRAY};
    GLint scissor_[4] = {0, 0, 0, 0};
    GLfloat clear_[4] = {0, 0, 0, 0};
    GLint depthFunc_ = GL_LEQUAL;
    GLint texEnv_ = GL_MODULATE;
    GLboolean enabled_[kCaps] = {};
    GLboolean arrays_[kArrays] = {};
};

}  // namespace

CFSArtificialHorizon::CFSArtificialHorizon(float centreX, float centreY, float halfSize, FSHorizonColour sky,
                                           FSHorizonColour ground)
    : centreX_(Fixed(centreX)),
      centreY_(Fixed(centreY)),
      half_(Fixed(halfSize)),
      sky_(sky),
      ground_(ground) {}

void CFSArtificialHorizon::SetAttitude(float pitch, float bank) {
    if (!std::isfinite(pitch) || !std::isfinite(bank)) return;
    // Folded into one turn however far the bank lies beyond it.
    double roll = std::fmod(static_cast<double>(bank) + kPi, 2.0 * kPi);
    if (roll < 0.0) roll += 2.0 * kPi;
    roll_ = static_cast<int32_t>(std::lround(roll * kDegreesPerRadian * 65536.0));
    const double degrees = std::fmod(static_cast<double>(pitch) * kDegreesPerRadian, 360.0);
    offset_ = static_cast<int32_t>(std::lround(half_ * degrees * 0.011111111));
}

void CFSArtificialHorizon::Draw(int alignment, int quality, uint32_t texture) const {
    const GLfixed s = half_;
    const GLfixed square[] = {-s, -s, 0, s, -s, 0, s, s, 0, -s, s, 0};
    const GLfixed corners[] = {0, 0, 65536, 0, 65536, 65536, 0, 65536};
    const GLubyte triangles[] = {0, 1, 2, 0, 2, 3};
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FIXED, 0, square);
    glTexCoordPointer(2, GL_FIXED, 0, corners);

    glMatrixMode(GL_MODELVIEW);
    glTranslatex(centreX_, centreY_, 0);
    // Level flight keeps the sky up; the horizon line turns against the bank, as the
    // world does seen from the seat, and sinks as the nose rises.
    glRotatex(AlignmentAngle(alignment) - roll_ + 180 * 65536, 0, 0, 65536);
    glTranslatex(0, -offset_, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_ALWAYS);

    const bool textured = quality != 0 && texture != 0;
    const auto drawHalf = [&](const FSHorizonColour& colour) {
        glDisable(GL_TEXTURE_2D);
        SetColour(colour);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, triangles);
        if (!textured) return;
        glEnable(GL_TEXTURE_2D);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, triangles);
    };
    if (textured) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_SRC_ALPHA);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    glTranslatex(0, s, 0);
    drawHalf(sky_);
    glTranslatex(0, -2 * s, 0);
    drawHalf(ground_);
    if (textured) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glDisable(GL_BLEND);
    }
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LIGHTING);
}

bool PaintHorizon(const CFSArtificialHorizon& horizon, int alignment, int quality, uint32_t texture,
                  int surfaceWidth, int surfaceHeight, FSBitmap& block) {
    const int w = block.width, h = block.height;
    if (block.bitsPerPixel != 16 || w <= 0 || h <= 0 || w > surfaceWidth || h > surfaceHeight) return false;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    {
        const GLStateKeeper keeper;
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, w, h);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthox(0, surfaceWidth * 65536, 0, surfaceHeight * 65536, -65536, 65536);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColorx(0, 0, 0, 65536);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        horizon.Draw(alignment, quality, texture);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    // GL's first row is the bottom one; the block starts at the top. Bytes R, G, B, A.
    const int32_t stride = block.Stride();
    for (int row = 0; row < h; ++row) {
        const uint32_t* in = pixels.data() + static_cast<size_t>(h - 1 - row) * w;
        uint16_t* out = block.Pixels() + static_cast<size_t>(row) * stride;
        for (int x = 0; x < w; ++x) {
            const uint32_t p = in[x];
            out[x] = static_cast<uint16_t>(((p & 0xF8u) << 8) | ((p >> 5) & 0x07E0u) | ((p >> 19) & 0x1Fu));
        }
    }
    return true;
}
