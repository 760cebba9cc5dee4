// The sky model's colours, the day cycle's clear colour and sunlight, the choice of the
// time of day; the camera's view, projection, planes and sky colours, and the scene drawn
// through it into a real GLES surface for every screen alignment.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/FSDisplay.h"
#include "resources/FSPixels.h"
#include "world/FSCamera.h"
#include "world/FSDayTime.h"
#include "world/FSNodeDrawing.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/FSSkyColour.h"
#include "world/FSSkyModel.h"
#include "world/PictureTestSupport.h"

using world_test::Box;
using world_test::F;
using world_test::TestNode;

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kLowestFogZenith = 1.3089969f;  // 75° from the zenith

void ExpectColour(const FSFixedColour& actual, const FSFixedColour& expected, FSFixed tolerance,
                  const std::string& where) {
    EXPECT_NEAR(actual.r, expected.r, tolerance) << where;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << where;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << where;
}

float Brightness(const FSSkyColour& c) {
    return c.r + c.g + c.b;
}

TEST(DayCycle, EachQuarterStartsOnItsKeyAndTheFastQuartersHoldTheNextKey) {
    for (int k = 0; k < kDayKeys; ++k) {
        const FSFixedColour from = DayKeyColour(k), to = DayKeyColour(k + 1);
        const std::string where = "quarter " + std::to_string(k);
        ExpectColour(DayCycleColour(0.25f * k), from, 0, where);
        ExpectColour(DayCycleColour(3.0f + 0.25f * k), from, 2, where);  // days later, the same time
        // Quarters 0 and 2 are half-way at a third and reach the next key at two thirds,
        // then hold it; quarters 1 and 3 change evenly.
        const bool fast = k % 2 == 0;
        const FSFixedColour mid = {(from.r + to.r) / 2, (from.g + to.g) / 2, (from.b + to.b) / 2};
        ExpectColour(DayCycleColour(0.25f * k + 0.25f * (fast ? 1.0f / 3 : 0.5f)), mid, 8, where);
        if (fast) {
            for (float part : {0.667f, 0.999f})
                ExpectColour(DayCycleColour(0.25f * k + 0.25f * part), to, 8, where);
        }
    }
    ExpectColour(DayCycleColour(0.99999f), DayKeyColour(0), 32, "end of day");
    ExpectColour(DayCycleColour(NAN), DayKeyColour(0), 0, "not a number");
}

TEST(DayCycle, SunlightFallsTenDegreesUpFromTheSunsSideOfTheSky) {
    CFSSkyModel sky;
    sky.SetTurbidity(3.0f);
    for (float azimuth : {-kPi / 2, 0.0f, 1.3f, kPi}) {
        sky.SetSun(1.2f, azimuth);
        const FSFixedVector s = SunLightDirection(azimuth);
        EXPECT_NEAR(Length(s), kFixedOne, 8);
        EXPECT_NEAR(FixedToFloat(s.y), std::sin(10.0f * kPi / 180.0f), 1e-3f);
        // The light comes from the sun's side of the sky: the horizon is brighter there
        // than opposite, and alike on either side of it.
        const float light = std::atan2(FixedToFloat(s.z), FixedToFloat(s.x));
        auto horizon = [&sky](float phi) { return Brightness(sky.SkyColour(1.3f, phi)); };
        EXPECT_GT(horizon(light), horizon(light + kPi) + 0.1f) << azimuth;
        for (float d : {0.3f, 0.8f, 1.5f})
            EXPECT_NEAR(horizon(light + d), horizon(light - d), 2e-3f) << azimuth << " " << d;
    }
    // The morning sun is in the east (−z), the evening sun in the west (+z).
    EXPECT_LT(SunLightDirection(SunPosition(kDayTimeMorning).azimuth).z, 0);
    EXPECT_GT(SunLightDirection(SunPosition(kDayTimeEvening).azimuth).z, 0);
    // Whitening: 0.6 for a camera without a turn; less when its axis points at the sun.
    const FSFixedVector sun = SunLightDirection(0.0f);
    EXPECT_NEAR(SunWhitening(sun, FSQuaternion::Identity()), FloatToFixed(0.6f), 2);
    const FSQuaternion towardSun{0.0f, FixedToFloat(sun.x), FixedToFloat(sun.y), FixedToFloat(sun.z)};
    EXPECT_NEAR(SunWhitening(sun, towardSun), FloatToFixed(0.6f * (1.0f - 1.0f / kPi)), 40);
    ExpectColour(Whiten({0, kFixedOne / 2, kFixedOne}, kFixedOne / 2),
                 {kFixedOne / 2, FloatToFixed(0.75f), kFixedOne}, 1, "whitened");
}

TEST(DayTime, TheSettingPicksTheFolderAndAnyOtherValueEachWithEqualChance) {
    // (The folders are read by the sky box tests.)
    EXPECT_TRUE(SkyBoxFolder(0) == nullptr && SkyBoxFolder(5) == nullptr);
    std::mt19937 random(1234);
    auto draw = [&random] { return static_cast<int>(random() & 0x7FFFFFFF); };
    EXPECT_EQ(ChooseDayTime(kDayTimeEvening, draw), kDayTimeEvening);
    std::map<int, int> counts;
    for (int i = 0; i < 8000; ++i)
        ++counts[ChooseDayTime(i % 3 == 0 ? 0 : (i % 3 == 1 ? -1 : 99), draw)];
    ++counts[ChooseDayTime(0, [] { return -7; })];  // a source of negative values too
    ASSERT_EQ(counts.size(), 4u);
    for (const auto& [dayTime, count] : counts)
        EXPECT_TRUE(SkyBoxFolder(dayTime) && std::abs(count - 2000) < 150) << dayTime << ": " << count;
}

TEST(SkyModel, TheSkyIsBluestHighUpPalerAtTheHorizonAndBrightestAtTheSun) {
    SineTable sine;
    CFSSkyModel sky(&sine);
    sky.SetTurbidity(3.0f);
    sky.SetSun(0.3f, 0.0f);
    // A clear noon zenith is bluish white, and a low sun darkens it.
    EXPECT_TRUE(sky.ZenithX() > 0.2f && sky.ZenithX() < 0.33f) << sky.ZenithX();
    const float noonZenith = sky.ZenithLuminance();
    const FSSkyColour high = sky.SkyColour(0.6f, kPi), horizon = sky.SkyColour(1.3089969f, kPi);
    EXPECT_TRUE(high.b > high.g && high.g > high.r && high.b / high.r > horizon.b / horizon.r);
    EXPECT_GT(Brightness(sky.SkyColour(0.3f, 0.0f)), Brightness(high));
    for (float theta = 0.0f; theta <= 2.5f; theta += 0.1f) {
        for (float phi = -kPi; phi <= kPi; phi += 0.4f) {
            const FSSkyColour c = sky.SkyColour(theta, phi);
            for (float v : {c.r, c.g, c.b})
                ASSERT_TRUE(v >= 0.0f && v <= 1.0f) << theta << " " << phi;  // never NaN or beyond
        }
    }
    sky.SetSun(1.48f, 0.7f);  // 85° from the zenith: redder toward the sun, darker overhead
    EXPECT_LT(sky.ZenithLuminance(), noonZenith / 3);
    const FSSkyColour towardSun = sky.SkyColour(1.3f, 0.7f), zenith = sky.SkyColour(0.0f, 0.0f);
    EXPECT_GT(towardSun.r / towardSun.b, zenith.r / zenith.b);
    EXPECT_GT(Brightness(towardSun), Brightness(sky.SkyColour(1.3f, 0.7f + kPi)));
    // The fast sine gives the library's colours.
    CFSSkyModel slow;
    slow.SetTurbidity(3.0f);
    slow.SetSun(1.48f, 0.7f);
    for (float theta : {0.1f, 0.8f, 1.3f}) {
        const FSSkyColour fast = sky.SkyColour(theta, 0.4f), library = slow.SkyColour(theta, 0.4f);
        EXPECT_TRUE(std::fabs(fast.r - library.r) < 1e-3f && std::fabs(fast.b - library.b) < 1e-3f) << theta;
    }
}

void ExpectRotationRows(const FSFixedMatrix& v) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(Length(FSFixedVector{v.At(r, 0), v.At(r, 1), v.At(r, 2)}), kFixedOne, 66) << r;
}

class CameraTest : public world_test::PictureTest {
protected:
    SineTable sine_;
};

TEST_F(CameraTest, TheDaysSkyColourObjectRunsTheDayFromItsFirstCallAndTurnsTheLight) {
    CFSCamera camera(&sine_);
    camera.Sky().SetSun(1.0f, 2.0f);
    CFSSkyColour sky(600.0f);
    const uint32_t start = 0xFFFFF000u;  // the tick count wraps during the day
    const FSFixed weight = SunWhitening(SunLightDirection(2.0f), FSQuaternion::Identity());
    ExpectColour(sky.UpdateClearColour(camera, start), Whiten(DayKeyColour(0), weight), 0, "first call");
    EXPECT_EQ(camera.LightDirection(), SunLightDirection(2.0f));
    // A quarter of the day later (150 s), across the wrap of the tick count.
    const FSFixedColour noon = sky.UpdateClearColour(camera, start + 150000u);
    ExpectColour(noon, Whiten(DayKeyColour(1), weight), 2, "quarter");
    GLfixed clear[4];
    glGetFixedv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_NEAR(clear[2], noon.b, 300);
    // A day of no length holds the first key instead of dividing by zero; Restart begins
    // the day again.
    CFSSkyColour still(0.0f);
    still.UpdateClearColour(camera, 5);
    ExpectColour(still.UpdateClearColour(camera, 900000), Whiten(DayKeyColour(0), weight), 0, "no length");
    sky.Restart();
    ExpectColour(sky.UpdateClearColour(camera, 42), Whiten(DayKeyColour(0), weight), 0, "restart");
}

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
    const FSSkyColour fog = camera.FogColour(), expected = reference.SkyColour(kLowestFogZenith, kPi / 2);
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
    for (GLenum state : {GL_TEXTURE_2D, GL_LIGHTING, GL_CULL_FACE})
        glDisable(state);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
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
        Clear(0);
        // Red at world x 151 against the eye's 148 (−29 in column 3), green above it, blue
        // to its right, and white behind the eye, which is culled.
        const std::tuple<float, float, float, FSCell, FSFixedVector> squares[] = {
            {1, 0, 0, {3, 1}, {F(-29), F(1), 0}},
            {0, 1, 0, {3, 1}, {F(-29), F(1.8), 0}},
            {0, 0, 1, {3, 1}, {F(-29), F(1), F(0.8)}},
            {1, 1, 1, {2, 1}, {F(20), F(1), 0}}};
        for (const auto& [r, g, b, cell, at] : squares) {
            // A flat square 0.4 km wide, turned to face −x, drawn camera-relative.
            TestNode* square = scene.Add(std::make_unique<TestNode>());
            square->model = Box(-0.2, -0.2, 0, 0.2, 0.2, 0);
            square->SetCell(cell);
            square->Place(at);
            square->SetOrientation(FromAxisAngle(FSVector(0, 1, 0), -kPi / 2));
            square->onDraw = [square, colour = std::array{F(r), F(g), F(b)}](CFSScene& s) {
                TranslateRotateQuaternion({}, s.Camera().RelativePosition(*square), square->GetOrientation());
                const GLfixed h = F(0.2), corners[] = {-h, -h, 0, h, -h, 0, -h, h, 0, h, h, 0};
                glColor4x(colour[0], colour[1], colour[2], kFixedOne);
                glVertexPointer(3, GL_FIXED, 0, corners);
                glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            };
        }
        int32_t culled = -1;
        scene.Draw(true, nullptr, culled);
        EXPECT_EQ(culled, 1) << alignment;
        Read();
        std::vector<uint16_t> device(240 * 320), picture(240 * 320);
        ConvertTo565(device.data(), pixels.data(), 240 * 320);
        platform::DeviceToPicture(alignment, device.data(), picture.data());
        // Centres of the red, green, blue and white pixels on the upright picture.
        const int width = alignment == 0 ? 240 : 320, height = 240 * 320 / width;
        const uint16_t colours[] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
        double x[4] = {}, y[4] = {};
        int count[4] = {};
        for (size_t i = 0; i < picture.size(); ++i) {
            for (int k = 0; k < 4; ++k) {
                if (picture[i] != colours[k]) continue;
                x[k] += static_cast<double>(i % width);
                y[k] += static_cast<double>(i / width);
                ++count[k];
            }
        }
        ASSERT_TRUE(count[0] > 100 && count[1] > 100 && count[2] > 100 && count[3] == 0) << alignment;
        for (int k = 0; k < 3; ++k) {
            x[k] /= count[k];
            y[k] /= count[k];
        }
        EXPECT_TRUE(std::fabs(x[0] - width / 2.0) < 2 && std::fabs(y[0] - height / 2.0) < 2) << alignment;
        EXPECT_TRUE(y[1] < y[0] - 20 && std::fabs(x[1] - x[0]) < 2) << alignment;  // up is up
        EXPECT_TRUE(x[2] > x[0] + 20 && std::fabs(y[2] - y[0]) < 2) << alignment;  // right is right
    }
}

}  // namespace
