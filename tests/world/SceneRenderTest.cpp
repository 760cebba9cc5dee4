#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/FSDisplay.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPixels.h"
#include "support/TestSupport.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/WorldTestNodes.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;
using world_test::ColouredSquare;
using world_test::F;

namespace {

struct Centroid {
    double x = 0, y = 0;
    int count = 0;
};

// Centre of the pixels of one pure colour on the upright picture.
template <class Match>
Centroid Find(const std::vector<uint16_t>& picture, int width, Match match) {
    Centroid c;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (!match(picture[i])) continue;
        c.x += static_cast<double>(i % width);
        c.y += static_cast<double>(i / width);
        ++c.count;
    }
    if (c.count > 0) {
        c.x /= c.count;
        c.y /= c.count;
    }
    return c;
}

bool IsRed(uint16_t p) {
    return Red5(p) >= 28 && Green6(p) < 8 && Blue5(p) < 4;
}
bool IsGreen(uint16_t p) {
    return Green6(p) >= 56 && Red5(p) < 4 && Blue5(p) < 4;
}
bool IsBlue(uint16_t p) {
    return Blue5(p) >= 28 && Red5(p) < 4 && Green6(p) < 8;
}

ColouredSquare* AddSquare(CFSScene& scene, float r, float g, float b, FSCell cell, FSFixedVector at) {
    auto square = std::make_unique<ColouredSquare>(r, g, b, 0.2f);
    square->SetCell(cell);
    square->Place(at);
    // The square's face (its z axis) turns toward −x, where the camera stands.
    square->SetOrientation(FromAxisAngle(FSVector(0, 1, 0), -3.14159265f / 2));
    return scene.Add(std::move(square));
}

// The real camera and scene path into a real GLES surface: squares placed in the next
// cell 3 km ahead of a camera near the cell's edge, drawn camera-relative, read back and
// turned upright as the display shows them for each "screengame_align".
TEST(SceneRendering, DrawsNodesCameraRelativeAndUprightForEveryAlignment) {
    std::string why;
    ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
    for (int alignment = 0; alignment < 3; ++alignment) {
        CFSGLSurface surface;
        ASSERT_TRUE(surface.Create(240, 320));
        glViewport(0, 0, 240, 320);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glDisable(GL_FOG);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glEnableClientState(GL_VERTEX_ARRAY);

        SineTable sine;
        CFSScene scene(&sine);
        CFSCamera& camera = scene.Camera();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        camera.SetPerspective(60.0f, 240.0f / 320.0f, 0.001f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        camera.SetPerspectiveMatrix(60.0f, alignment == 0 ? 320.0f / 240.0f : 240.0f / 320.0f, 0.001f, 40.0f);

        // Eye at x = 28 in column 2, looking along +x (right of the view is +z).
        camera.SetCell({2, 1});
        camera.LookAt({F(28), F(1), 0}, {F(38), F(1), 0}, {0, kFixedOne, 0}, alignment);
        glClearColorx(0, 0, 0, kFixedOne);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        // World x 151 against the eye's 148: −29 in column 3.
        AddSquare(scene, 1, 0, 0, {3, 1}, {F(-29), F(1), 0});
        AddSquare(scene, 0, 1, 0, {3, 1}, {F(-29), F(1.8), 0});     // above
        AddSquare(scene, 0, 0, 1, {3, 1}, {F(-29), F(1), F(0.8)});  // to the right
        AddSquare(scene, 1, 1, 1, {2, 1}, {F(20), F(1), 0});        // behind: culled
        int32_t culled = -1;
        scene.Draw(true, nullptr, culled);
        EXPECT_EQ(culled, 1) << alignment;
        surface.WaitGL();

        std::vector<uint32_t> pixels(240 * 320);
        surface.ReadPixels(pixels.data());
        std::vector<uint16_t> device(240 * 320), picture(240 * 320);
        ConvertTo565(device.data(), pixels.data(), 240 * 320);
        platform::DeviceToPicture(alignment, device.data(), picture.data());
        const int width = alignment == 0 ? 240 : 320;
        const int height = alignment == 0 ? 320 : 240;

        const Centroid red = Find(picture, width, IsRed);
        const Centroid green = Find(picture, width, IsGreen);
        const Centroid blue = Find(picture, width, IsBlue);
        ASSERT_GT(red.count, 100) << alignment;
        ASSERT_GT(green.count, 100) << alignment;
        ASSERT_GT(blue.count, 100) << alignment;
        EXPECT_NEAR(red.x, width / 2.0, 2.0) << alignment;
        EXPECT_NEAR(red.y, height / 2.0, 2.0) << alignment;
        EXPECT_LT(green.y, red.y - 20) << alignment;  // up is up
        EXPECT_NEAR(green.x, red.x, 2.0) << alignment;
        EXPECT_GT(blue.x, red.x + 20) << alignment;  // right is right
        EXPECT_NEAR(blue.y, red.y, 2.0) << alignment;
        // The square behind the camera is nowhere.
        const Centroid white = Find(picture, width, [](uint16_t p) { return p == 0xFFFF; });
        EXPECT_EQ(white.count, 0) << alignment;
    }
}

}  // namespace
