#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FSGLSurface.h"
#include "support/TestSupport.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;

namespace {

GLfixed X(float v) {
    return static_cast<GLfixed>(v * 65536.0f);
}

TEST(GLSurface, RendersAFixedPointTriangleHeadlessAndReadsItBackTopRowFirst) {
    std::string why;
    ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
    CFSGLSurface surface;
    ASSERT_TRUE(surface.Create(64, 48));
    EXPECT_TRUE(surface.IsReady());

    glViewport(0, 0, 64, 48);
    glClearColorx(0, 0, X(1.0f), X(1.0f));  // blue
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A red triangle over the top half of the picture only (GL's y points up).
    const GLfixed triangle[] = {X(-1.0f), 0, 0, X(1.0f), 0, 0, 0, X(1.0f), 0};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FIXED, 0, triangle);
    glColor4x(X(1.0f), 0, 0, X(1.0f));
    glDrawArrays(GL_TRIANGLES, 0, 3);
    surface.WaitGL();

    std::vector<uint32_t> pixels(64 * 48, 0xDEADBEEF);
    surface.ReadPixels(pixels.data());
    // Row 0 is the top of the picture: the triangle's apex region is there.
    EXPECT_EQ(pixels[2 * 64 + 32] & 0xFFFFFF, 0xFF0000u);   // near the apex: red
    EXPECT_EQ(pixels[2 * 64 + 2] & 0xFFFFFF, 0x0000FFu);    // top corner: blue
    EXPECT_EQ(pixels[45 * 64 + 32] & 0xFFFFFF, 0x0000FFu);  // bottom half: blue
    EXPECT_EQ(pixels[22 * 64 + 32] & 0xFFFFFF, 0xFF0000u);  // just above the middle: red

    surface.Destroy();
    EXPECT_FALSE(surface.IsReady());
    surface.ReadPixels(pixels.data());  // harmless without a surface
}

TEST(GLSurface, RefusesAnEmptySize) {
    CFSGLSurface surface;
    EXPECT_FALSE(surface.Create(0, 10));
    EXPECT_FALSE(surface.IsReady());
}

}  // namespace
