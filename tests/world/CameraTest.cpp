// The camera's view, projection, planes and sky colours, and the scene drawn through it
// into a real GLES surface for every screen alignment.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/FSDisplay.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPixels.h"
#include "support/TestSupport.h"
#include "world/FSCamera.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/WorldTestNodes.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;
using world_test::F;

namespace {

constexpr float kLowestFogZenith = 1.3089969f;  // 75° from the zenith

void ExpectRotationRows(const FSFixedMatrix& v) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(Length(FSFixedVector{v.At(r, 0), v.At(r, 1), v.At(r, 2)}), kFixedOne, 66) << r;
}

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(240, 320));
    }
    CFSGLSurface surface_;
    SineTable sine_;
};

TEST_F(CameraTest, TheViewIsAPureRotationTheProjectionTheLibrarysFrustumAndThePlanesBoundTheView) {
    CFSCamera camera;
    for (int alignment = 0; alignment < 3; ++alignment) {
        camera.LookAt({F(1), F(2), F(3)}, {F(6), F(1.5), F(-2)}, {0, kFixedOne, 0}, alignment);
        ExpectRotationRows(camera.ViewMatrix());
    }
    // Up along the view, and the eye on the target, do not collapse the view.
    camera.LookAt({0, F(10), 0}, {0, 0, 0}, {0, kFixedOne, 0}, 0);
    ExpectRotationRows(camera.ViewMatrix());
    const FSFixedMatrix before = camera.ViewMatrix();
    camera.LookAt({F(1), F(1), F(1)}, {F(1), F(1), F(1)}, {0, kFixedOne, 0}, 0);
    EXPECT_TRUE(std::equal(before.m, before.m + 16, camera.ViewMatrix().m));

    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.5f, 40.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    camera.SetPerspective(60.0f, 0.75f, 0.5f, 40.0f);
    GLfixed gl[16];
    glGetFixedv(GL_PROJECTION_MATRIX, gl);
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(gl[i], camera.ProjectionMatrix().m[i], 32) << i;  // GL rounds through floats
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.LookAt({0, F(5), 0}, {0, F(5), F(-1)}, {0, kFixedOne, 0}, 0);  // along −z
    camera.ExtractPlanes();
    // Straight ahead is inside all six; left, right, bottom, top, behind the eye and beyond
    // 40 km each lie outside one.
    const FSFixedVector outside[] = {{F(-10), 0, F(-5)}, {F(10), 0, F(-5)}, {0, F(-10), F(-5)},
                                     {0, F(10), F(-5)},  {0, 0, F(1)},      {0, 0, F(-60)}};
    for (int i = 0; i < kFrustumPlanes; ++i) {
        const FSPlane& plane = camera.Planes()[i];
        EXPECT_NEAR(Length(FSFixedVector{plane.a, plane.b, plane.c}), kFixedOne, 66) << i;
        EXPECT_TRUE(plane.Distance({0, 0, F(-5)}) > 0 && plane.Distance(outside[i]) < 0) << i;
    }
}

TEST_F(CameraTest, SphereTestReportsOutsideInsideAndStraddledPlanes) {
    CFSCamera camera;
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.LookAt({0, 0, 0}, {0, 0, F(-1)}, {0, kFixedOne, 0}, 0);
    camera.ExtractTerrainPlanes(camera.ViewMatrix());
    int last = -1;
    EXPECT_EQ(camera.TestSphere({0, 0, F(-10)}, F(1), 0x3F, last), 0);             // wholly inside
    EXPECT_EQ(camera.TestSphere({F(-4.3), 0, F(-10)}, F(1), 0x3F, last), 1 << 0);  // straddles the left
    EXPECT_EQ(camera.TestSphere({F(-4.3), 0, F(-10)}, F(1), 0x3E, last), 0);       // left not asked for
    EXPECT_EQ(last, -1);
    EXPECT_EQ(camera.TestSphere({F(30), 0, F(-10)}, F(1), 0x3F, last), kSphereOutside);
    EXPECT_EQ(last, 1);  // rejected by the right plane, which is tried first next time
    EXPECT_EQ(camera.TestSphere({F(30), 0, F(-10)}, F(1), 0, last), kSphereOutside);
    // Relative positions wrap around the world.
    camera.SetCell({3, 0});
    camera.LookAt({F(29), F(2), F(-29)}, {F(20), F(2), F(-29)}, {0, kFixedOne, 0}, 0);
    EXPECT_EQ(camera.RelativePosition({F(-29), F(3), F(29)}, FSCell{0, 3}),
              (FSFixedVector{F(2), F(1), F(-2)}));
}

TEST_F(CameraTest, FogAndClearColourComeFromTheSkyInTheViewingDirection) {
    CFSCamera camera(&sine_);
    camera.SetLightDirection({0, F(0.6), F(0.8)});
    camera.Sky().SetSun(1.2f, 0.5f);
    CFSSkyModel reference(&sine_);
    reference.SetSun(1.2f, 0.5f);
    reference.SetTurbidity(6.0f);
    // At sea level (and below) the air is thickest: turbidity 6. Looking along +z at the
    // horizon: the sky 75° from the zenith at azimuth 90°; straight down the same height.
    camera.LookAt({0, F(-1), 0}, {0, F(-1), F(1)}, {0, kFixedOne, 0}, 0);
    EXPECT_FLOAT_EQ(camera.Sky().Turbidity(), 6.0f);
    const FSSkyColour fog = camera.FogColour(),
                      expected = reference.SkyColour(kLowestFogZenith, 3.14159265f / 2);
    EXPECT_TRUE(std::fabs(fog.r - expected.r) < 1e-4f && std::fabs(fog.b - expected.b) < 1e-4f);
    EXPECT_NEAR(camera.Ambient().g, 0.1f * fog.g, 1e-6f);
    GLfixed clear[4], fogGL[4];
    glGetFixedv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFixedv(GL_FOG_COLOR, fogGL);
    EXPECT_TRUE(std::abs(clear[0] - FloatToFixed(fog.r)) < 300 &&
                std::abs(fogGL[2] - FloatToFixed(fog.b)) < 300);
    EXPECT_EQ(clear[3], kFixedOne);
    camera.LookAt({0, 0, 0}, {0, F(-1), 0}, {0, 0, -kFixedOne}, 0);
    EXPECT_NEAR(camera.FogColour().g, reference.SkyColour(kLowestFogZenith, 0.0f).g, 1e-4f);
    // Above 40 km there is no air: a clear sky; between, the haze thins with height.
    for (const auto& [height, low, high] : {std::tuple{45.0, 2.0f, 2.0f}, {3.0, 4.0f, 6.0f}}) {
        camera.LookAt({0, F(height), 0}, {F(1), F(height), 0}, {0, kFixedOne, 0}, 0);
        EXPECT_TRUE(camera.Sky().Turbidity() >= low && camera.Sky().Turbidity() <= high) << height;
    }
    // Light 0 is a directional light along the light direction, in world axes.
    camera.LookAt({0, 0, 0}, {0, 0, F(-1)}, {0, kFixedOne, 0}, 0);  // view = identity rotation
    GLfixed position[4];
    glGetLightxv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_TRUE(std::abs(position[1] - F(0.6)) < 8 && std::abs(position[2] - F(0.8)) < 8 && position[3] == 0);
}

// The real camera and scene path: squares placed in the next cell 3 km ahead of a camera
// near the cell's edge, drawn camera-relative, read back and turned upright as the
// display shows them for each "screengame_align".
TEST_F(CameraTest, TheSceneDrawsNodesCameraRelativeAndUprightForEveryAlignment) {
    glViewport(0, 0, 240, 320);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (int alignment = 0; alignment < 3; ++alignment) {
        CFSScene scene(&sine_);
        CFSCamera& camera = scene.Camera();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        camera.SetPerspective(60.0f, 240.0f / 320.0f, 0.001f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        camera.SetPerspectiveMatrix(60.0f, alignment == 0 ? 320.0f / 240.0f : 240.0f / 320.0f, 0.001f, 40.0f);
        camera.SetCell({2, 1});  // eye at x = 28 in column 2, looking along +x (right is +z)
        camera.LookAt({F(28), F(1), 0}, {F(38), F(1), 0}, {0, kFixedOne, 0}, alignment);
        glClearColorx(0, 0, 0, kFixedOne);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        // World x 151 against the eye's 148: −29 in column 3. Then one above, one to the
        // right, and one behind that is culled.
        const struct {
            float r, g, b;
            FSCell cell;
            FSFixedVector at;
        } squares[] = {{1, 0, 0, {3, 1}, {F(-29), F(1), 0}},
                       {0, 1, 0, {3, 1}, {F(-29), F(1.8), 0}},
                       {0, 0, 1, {3, 1}, {F(-29), F(1), F(0.8)}},
                       {1, 1, 1, {2, 1}, {F(20), F(1), 0}}};
        for (const auto& s : squares) {
            auto square = std::make_unique<world_test::ColouredSquare>(s.r, s.g, s.b, 0.2f);
            square->SetCell(s.cell);
            square->Place(s.at);
            square->SetOrientation(FromAxisAngle(FSVector(0, 1, 0), -3.14159265f / 2));  // facing −x
            scene.Add(std::move(square));
        }
        int32_t culled = -1;
        scene.Draw(true, nullptr, culled);
        EXPECT_EQ(culled, 1) << alignment;
        surface_.WaitGL();
        std::vector<uint32_t> pixels(240 * 320);
        surface_.ReadPixels(pixels.data());
        std::vector<uint16_t> device(240 * 320), picture(240 * 320);
        ConvertTo565(device.data(), pixels.data(), 240 * 320);
        platform::DeviceToPicture(alignment, device.data(), picture.data());
        const int width = alignment == 0 ? 240 : 320, height = alignment == 0 ? 320 : 240;
        // Centre of the pixels of one pure colour on the upright picture (each channel 0 or 1).
        auto level = [](int v, int full) { return v >= full * 7 / 8 ? 1 : v < full / 8 ? 0 : -1; };
        auto centre = [&](int r, int g, int b) {
            double x = 0, y = 0;
            int count = 0;
            for (size_t i = 0; i < picture.size(); ++i) {
                const uint16_t p = picture[i];
                if (level(Red5(p), 31) != r || level(Green6(p), 63) != g || level(Blue5(p), 31) != b)
                    continue;
                x += static_cast<double>(i % width);
                y += static_cast<double>(i / width);
                ++count;
            }
            return std::tuple{count, count ? x / count : 0.0, count ? y / count : 0.0};
        };
        const auto [reds, redX, redY] = centre(1, 0, 0);
        const auto [greens, greenX, greenY] = centre(0, 1, 0);
        const auto [blues, blueX, blueY] = centre(0, 0, 1);
        ASSERT_GT(std::min({reds, greens, blues}), 100) << alignment;
        EXPECT_NEAR(redX, width / 2.0, 2.0) << alignment;
        EXPECT_NEAR(redY, height / 2.0, 2.0) << alignment;
        EXPECT_LT(greenY, redY - 20) << alignment;  // up is up
        EXPECT_NEAR(greenX, redX, 2.0) << alignment;
        EXPECT_GT(blueX, redX + 20) << alignment;  // right is right
        EXPECT_NEAR(blueY, redY, 2.0) << alignment;
        EXPECT_EQ(std::get<0>(centre(1, 1, 1)), 0) << alignment;  // the square behind is nowhere
    }
}

}  // namespace
