// The camera's matrices, planes and sky colours, and the scene drawn through it into a
// real GLES surface for every screen alignment.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/FSDisplay.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPixels.h"
#include "support/TestSupport.h"
#include "world/FSAtmosphere.h"
#include "world/FSCamera.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/WorldTestNodes.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;
using world_test::F;

namespace {

double D(FSFixed v) {
    return v / 65536.0;
}

void ExpectRotationRows(const FSFixedMatrix& v) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(D(Length(FSFixedVector{v.At(r, 0), v.At(r, 1), v.At(r, 2)})), 1.0, 1e-3) << r;
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

// Where up and right show on screen for each alignment is checked on real pixels below.
TEST_F(CameraTest, TheViewIsAPureRotationThatNeverCollapses) {
    for (int alignment = 0; alignment < 3; ++alignment) {
        CFSCamera camera(&sine_);
        camera.LookAt({F(1), F(2), F(3)}, {F(6), F(1.5), F(-2)}, {0, kFixedOne, 0}, alignment);
        const FSFixedMatrix& v = camera.ViewMatrix();
        ExpectRotationRows(v);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(v.At(r, 3), 0);
        EXPECT_EQ(v.At(3, 3), kFixedOne);
    }
    // Up along the view and the eye on the target do not collapse the view.
    CFSCamera camera;
    camera.LookAt({0, F(10), 0}, {0, 0, 0}, {0, kFixedOne, 0}, 0);  // straight down, up parallel
    ExpectRotationRows(camera.ViewMatrix());
    const FSFixedMatrix before = camera.ViewMatrix();
    camera.LookAt({F(1), F(1), F(1)}, {F(1), F(1), F(1)}, {0, kFixedOne, 0}, 0);
    EXPECT_TRUE(std::equal(before.m, before.m + 16, camera.ViewMatrix().m));
    EXPECT_EQ(camera.Eye(), (FSFixedVector{F(1), F(1), F(1)}));
}

TEST_F(CameraTest, ProjectionMatrixIsTheStandardFrustumBoundedByItsPlanes) {
    CFSCamera camera;
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.5f, 40.0f);
    const FSFixedMatrix& p = camera.ProjectionMatrix();
    const double top = 0.5 * std::tan(3.14159265358979 / 6), right = top * 0.75;
    EXPECT_NEAR(D(p.At(0, 0)), 0.5 / right, 1e-4);
    EXPECT_NEAR(D(p.At(1, 1)), 0.5 / top, 1e-4);
    EXPECT_NEAR(D(p.At(2, 2)), -40.5 / 39.5, 1e-4);
    EXPECT_NEAR(D(p.At(2, 3)), -40.0 / 39.5, 1e-4);
    EXPECT_EQ(p.At(3, 2), -kFixedOne);
    EXPECT_EQ(p.At(3, 3), 0);
    EXPECT_EQ(p.At(0, 2), 0);
    // glFrustumx form: the same matrix in GL.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    camera.SetPerspective(60.0f, 0.75f, 0.5f, 40.0f);
    GLfixed gl[16];
    glGetFixedv(GL_PROJECTION_MATRIX, gl);
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(gl[i], p.m[i], 32) << i;  // GL rounds through floats

    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.LookAt({0, F(5), 0}, {0, F(5), F(-1)}, {0, kFixedOne, 0}, 0);  // along −z
    camera.ExtractPlanes();
    const FSPlane* planes = camera.Planes();
    for (int i = 0; i < kFrustumPlanes; ++i) {
        EXPECT_NEAR(D(Length(FSFixedVector{planes[i].a, planes[i].b, planes[i].c})), 1.0, 1e-3) << i;
        EXPECT_GT(planes[i].Distance({0, 0, F(-5)}), 0) << i;  // straight ahead is inside all
    }
    // Left, right, bottom, top, near (behind the eye) and far.
    const FSFixedVector outside[] = {{F(-10), 0, F(-5)}, {F(10), 0, F(-5)}, {0, F(-10), F(-5)},
                                     {0, F(10), F(-5)},  {0, 0, F(1)},      {0, 0, F(-60)}};
    for (int i = 0; i < kFrustumPlanes; ++i)
        EXPECT_LT(planes[i].Distance(outside[i]), 0) << i;
    EXPECT_GT(planes[5].Distance({0, 0, F(-35)}), 0);
}

TEST_F(CameraTest, SphereTestReportsOutsideInsideAndStraddledPlanes) {
    CFSCamera camera;
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.LookAt({0, 0, 0}, {0, 0, F(-1)}, {0, kFixedOne, 0}, 0);
    camera.ExtractTerrainPlanes(camera.ViewMatrix());
    int last = -1;
    EXPECT_EQ(camera.TestSphere({0, 0, F(-10)}, F(1), 0x3F, last), 0);  // wholly inside
    EXPECT_EQ(last, -1);
    // Straddling the left plane only.
    EXPECT_EQ(camera.TestSphere({F(-4.3), 0, F(-10)}, F(1), 0x3F, last), 1 << 0);
    // Only the masked planes are tested: with the left plane left out, the sphere is in.
    EXPECT_EQ(camera.TestSphere({F(-4.3), 0, F(-10)}, F(1), 0x3E, last), 0);
    // Wholly outside the right plane: rejected there, and that plane is remembered.
    EXPECT_EQ(camera.TestSphere({F(30), 0, F(-10)}, F(1), 0x3F, last), kSphereOutside);
    EXPECT_EQ(last, 1);
    // The remembered plane is tried first even when the mask leaves it out.
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
    // Eye at sea level, looking along +z at the horizon: turbidity 6 (hazy), the colour
    // 75° from the zenith at azimuth 90°.
    camera.LookAt({0, 0, 0}, {0, 0, F(1)}, {0, kFixedOne, 0}, 0);
    EXPECT_FLOAT_EQ(camera.Sky().Turbidity(), 6.0f);
    const FSSkyColour fog = camera.FogColour();
    const FSSkyColour expected = reference.SkyColour(1.3089969f, 3.14159265f / 2);
    EXPECT_NEAR(fog.r, expected.r, 1e-4f);
    EXPECT_NEAR(fog.b, expected.b, 1e-4f);
    EXPECT_NEAR(camera.Ambient().g, 0.1f * fog.g, 1e-6f);
    GLfixed clear[4], fogGL[4];
    glGetFixedv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFixedv(GL_FOG_COLOR, fogGL);
    EXPECT_NEAR(clear[0], FloatToFixed(fog.r), 300);
    EXPECT_NEAR(clear[2], FloatToFixed(fog.b), 300);
    EXPECT_NEAR(fogGL[1], FloatToFixed(fog.g), 300);
    EXPECT_EQ(clear[3], kFixedOne);
    // Looking straight down uses the colour 75° from the zenith, not the ground.
    camera.LookAt({0, 0, 0}, {0, F(-1), 0}, {0, 0, -kFixedOne}, 0);
    EXPECT_NEAR(camera.FogColour().g, reference.SkyColour(1.3089969f, 0.0f).g, 1e-4f);
    // 45 km up there is no air: a clear sky (turbidity 2).
    camera.LookAt({0, F(45), 0}, {F(1), F(45), 0}, {0, kFixedOne, 0}, 0);
    EXPECT_FLOAT_EQ(camera.Sky().Turbidity(), 2.0f);
    // 1 km up: 2 + 4 × the relative density there.
    camera.LookAt({0, F(1), 0}, {F(1), F(1), 0}, {0, kFixedOne, 0}, 0);
    EXPECT_NEAR(camera.Sky().Turbidity(), 2.0f + 4.0f * AirDensity(1000.0f) / AirDensity(0.0f), 1e-3f);
    // Light 0 is a directional light along the light direction, in world axes.
    GLfixed position[4];
    camera.LookAt({0, 0, 0}, {0, 0, F(-1)}, {0, kFixedOne, 0}, 0);  // view = identity rotation
    glGetLightxv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_NEAR(position[1], F(0.6), 8);
    EXPECT_NEAR(position[2], F(0.8), 8);
    EXPECT_EQ(position[3], 0);
}

// Centre of the pixels of one pure colour on the upright picture.
struct Centroid {
    double x = 0, y = 0;
    int count = 0;
};

template <class Match>
Centroid Find(const std::vector<uint16_t>& picture, int width, Match match) {
    Centroid c;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (!match(picture[i])) continue;
        c.x += static_cast<double>(i % width);
        c.y += static_cast<double>(i / width);
        ++c.count;
    }
    if (c.count > 0) c = {c.x / c.count, c.y / c.count, c.count};
    return c;
}

// The real camera and scene path: squares placed in the next cell 3 km ahead of a camera
// near the cell's edge, drawn camera-relative, read back and turned upright as the
// display shows them for each "screengame_align".
TEST_F(CameraTest, TheSceneDrawsNodesCameraRelativeAndUprightForEveryAlignment) {
    glViewport(0, 0, 240, 320);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
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
        // Eye at x = 28 in column 2, looking along +x (right of the view is +z).
        camera.SetCell({2, 1});
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
            // The square's face (its z axis) turns toward −x, where the camera stands.
            square->SetOrientation(FromAxisAngle(FSVector(0, 1, 0), -3.14159265f / 2));
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

        const Centroid red =
            Find(picture, width, [](uint16_t p) { return Red5(p) >= 28 && Green6(p) < 8 && Blue5(p) < 4; });
        const Centroid green =
            Find(picture, width, [](uint16_t p) { return Green6(p) >= 56 && Red5(p) < 4 && Blue5(p) < 4; });
        const Centroid blue =
            Find(picture, width, [](uint16_t p) { return Blue5(p) >= 28 && Red5(p) < 4 && Green6(p) < 8; });
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
        EXPECT_EQ(Find(picture, width, [](uint16_t p) { return p == 0xFFFF; }).count, 0) << alignment;
    }
}

}  // namespace
