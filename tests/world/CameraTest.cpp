#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/FSDisplay.h"
#include "platform/FSGLSurface.h"
#include "world/FSAtmosphere.h"
#include "world/FSCamera.h"
#include "world/FSSineTable.h"
#include "world/WorldTestNodes.h"

using world_test::F;

namespace {

double D(FSFixed v) {
    return v / 65536.0;
}

// Where a camera-relative point lands on the upright picture of an alignment: through
// projection × view to the 240 × 320 render image (top row first), then turned as the
// display turns the device frame.
struct PicturePoint {
    double x, y;
    bool visible;
};

PicturePoint Project(const CFSCamera& camera, const FSFixedVector& point, int alignment) {
    const FSFixedMatrix& v = camera.ViewMatrix();
    const FSFixedMatrix& p = camera.ProjectionMatrix();
    double eye[4] = {0, 0, 0, 1};
    for (int r = 0; r < 3; ++r)
        eye[r] = D(v.At(r, 0)) * D(point.x) + D(v.At(r, 1)) * D(point.y) + D(v.At(r, 2)) * D(point.z);
    double clip[4];
    for (int r = 0; r < 4; ++r) {
        clip[r] = 0;
        for (int c = 0; c < 4; ++c)
            clip[r] += D(p.At(r, c)) * eye[c];
    }
    const double nx = clip[0] / clip[3], ny = clip[1] / clip[3];
    const double dx = (nx + 1.0) * 0.5 * 240.0, dy = (1.0 - ny) * 0.5 * 320.0;
    // Device point to picture point (platform::PictureToDevice in continuous coordinates).
    PicturePoint out{dx, dy, clip[3] > 0 && std::fabs(nx) <= 1 && std::fabs(ny) <= 1};
    if (alignment == 1) out = {320.0 - dy, dx, out.visible};
    if (alignment == 2) out = {dy, 240.0 - dx, out.visible};
    return out;
}

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(32, 32));
    }
    CFSGLSurface surface_;
    SineTable sine_;
};

TEST_F(CameraTest, EachAlignmentShowsUpAtTheTopAndRightOnTheRight) {
    for (int alignment = 0; alignment < 3; ++alignment) {
        CFSCamera camera(&sine_);
        // Portrait uses height / width, the turned pictures width / height, as the engine does.
        camera.SetPerspectiveMatrix(60.0f, alignment == 0 ? 320.0f / 240.0f : 0.75f, 0.001f, 40.0f);
        // Looking north-east and a little down from 2 km up.
        const FSFixedVector eye{F(1), F(2), F(3)};
        const FSFixedVector target{F(6), F(1.5), F(-2)};
        camera.LookAt(eye, target, {0, kFixedOne, 0}, alignment);
        const FSFixedVector ahead = target - eye;
        const PicturePoint centre = Project(camera, ahead, alignment);
        const double width = alignment == 0 ? 240.0 : 320.0;
        const double height = alignment == 0 ? 320.0 : 240.0;
        EXPECT_TRUE(centre.visible) << alignment;
        EXPECT_NEAR(centre.x, width / 2, 0.5) << alignment;
        EXPECT_NEAR(centre.y, height / 2, 0.5) << alignment;

        const PicturePoint above = Project(camera, ahead + FSFixedVector{0, F(1), 0}, alignment);
        EXPECT_TRUE(above.visible) << alignment;
        EXPECT_LT(above.y, centre.y - 10) << alignment;
        EXPECT_NEAR(above.x, centre.x, 2.0) << alignment;

        // World right of the view (forward × up) shows on the right.
        const FSFixedVector right = Cross(Normalise(ahead), FSFixedVector{0, kFixedOne, 0});
        const PicturePoint toRight = Project(camera, ahead + right, alignment);
        EXPECT_GT(toRight.x, centre.x + 10) << alignment;
        EXPECT_NEAR(toRight.y, centre.y, 2.0) << alignment;

        // The view matrix is a pure rotation: orthonormal rows, no translation.
        const FSFixedMatrix& v = camera.ViewMatrix();
        for (int r = 0; r < 3; ++r) {
            const FSFixedVector row{v.At(r, 0), v.At(r, 1), v.At(r, 2)};
            EXPECT_NEAR(D(Length(row)), 1.0, 1e-3);
            EXPECT_EQ(v.At(r, 3), 0);
        }
        EXPECT_EQ(v.At(3, 3), kFixedOne);
    }
}

TEST_F(CameraTest, UpAlongTheViewAndEyeOnTargetDoNotCollapseTheView) {
    CFSCamera camera;
    camera.LookAt({0, F(10), 0}, {0, 0, 0}, {0, kFixedOne, 0}, 0);  // straight down, up parallel
    const FSFixedMatrix& v = camera.ViewMatrix();
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(D(Length(FSFixedVector{v.At(r, 0), v.At(r, 1), v.At(r, 2)})), 1.0, 1e-3);
    const FSFixedMatrix before = camera.ViewMatrix();
    camera.LookAt({F(1), F(1), F(1)}, {F(1), F(1), F(1)}, {0, kFixedOne, 0}, 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(camera.ViewMatrix().m[i], before.m[i]);
    EXPECT_EQ(camera.Eye(), (FSFixedVector{F(1), F(1), F(1)}));
}

TEST_F(CameraTest, ProjectionMatrixIsTheStandardFrustum) {
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
}

TEST_F(CameraTest, PlanesBoundTheFrustum) {
    CFSCamera camera;
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.LookAt({0, F(5), 0}, {0, F(5), F(-1)}, {0, kFixedOne, 0}, 0);  // along −z
    camera.ExtractPlanes();
    for (int i = 0; i < kFrustumPlanes; ++i) {
        const FSPlane& plane = camera.Planes()[i];
        EXPECT_NEAR(D(Length(FSFixedVector{plane.a, plane.b, plane.c})), 1.0, 1e-3) << i;
        EXPECT_GT(plane.Distance({0, 0, F(-5)}), 0) << i;  // straight ahead is inside all
    }
    const FSPlane* planes = camera.Planes();
    EXPECT_LT(planes[0].Distance({F(-10), 0, F(-5)}), 0);  // left
    EXPECT_LT(planes[1].Distance({F(10), 0, F(-5)}), 0);   // right
    EXPECT_LT(planes[2].Distance({0, F(-10), F(-5)}), 0);  // bottom
    EXPECT_LT(planes[3].Distance({0, F(10), F(-5)}), 0);   // top
    EXPECT_LT(planes[4].Distance({0, 0, F(1)}), 0);        // near: behind the eye
    EXPECT_LT(planes[5].Distance({0, 0, F(-60)}), 0);      // far
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
    const int mask = camera.TestSphere({F(-4.3), 0, F(-10)}, F(1), 0x3F, last);
    EXPECT_EQ(mask, 1 << 0);
    // Only the masked planes are tested: with the left plane left out, the sphere is in.
    EXPECT_EQ(camera.TestSphere({F(-4.3), 0, F(-10)}, F(1), 0x3E, last), 0);
    // Wholly outside the right plane: rejected there, and that plane is remembered.
    EXPECT_EQ(camera.TestSphere({F(30), 0, F(-10)}, F(1), 0x3F, last), kSphereOutside);
    EXPECT_EQ(last, 1);
    // The remembered plane is tried first even when the mask leaves it out.
    EXPECT_EQ(camera.TestSphere({F(30), 0, F(-10)}, F(1), 0, last), kSphereOutside);
}

TEST_F(CameraTest, RelativePositionsWrapAroundTheWorld) {
    CFSCamera camera;
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
    const FSSkyColour down = reference.SkyColour(1.3089969f, 0.0f);
    EXPECT_NEAR(camera.FogColour().g, down.g, 1e-4f);

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

}  // namespace
