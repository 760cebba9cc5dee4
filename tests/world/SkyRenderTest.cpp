// The sky and the flat scenery drawn for real through a headless GLES context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "world/FSBillboardNode.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSDayTime.h"
#include "world/FSFlyThroughEffect.h"
#include "world/FSInverseCone.h"
#include "world/FSSineTable.h"
#include "world/FSSkyBox.h"
#include "world/PartsTestSupport.h"

using world_test::Channels;
using world_test::F;
using world_test::Rgb;

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint32_t kMagenta = 0xFF00FF;

// The picture with fog, lighting and back-face culling on, as in a flight.
class SkyRender : public world_test::PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        glEnable(GL_CULL_FACE);
        glEnable(GL_FOG);
        glEnable(GL_LIGHTING);
    }
    // Looks from 0.8 km up toward azimuth (atan2(z, x)) and elevation (radians).
    void LookToward(float azimuth, float elevation) {
        const FSFixedVector target = {FloatToFixed(std::cos(azimuth) * std::cos(elevation)),
                                      FloatToFixed(0.8f + std::sin(elevation)),
                                      FloatToFixed(std::sin(azimuth) * std::cos(elevation))};
        const bool vertical = std::fabs(elevation) > 1.5f;
        scene.Camera().LookAt({0, F(0.8), 0}, target,
                              vertical ? FSFixedVector{0, 0, -kFixedOne} : FSFixedVector{0, kFixedOne, 0}, 0);
    }
    // Looks from eye at target, clears to black and loads the camera's view for drawing.
    void Face(const FSFixedVector& eye, const FSFixedVector& target, bool vertical = false) {
        scene.Camera().LookAt(eye, target,
                              vertical ? FSFixedVector{0, 0, -kFixedOne} : FSFixedVector{0, kFixedOne, 0}, 0);
        Clear(0);
        glLoadMatrixx(scene.Camera().ViewMatrix().m);
    }

    int CountWhite() const {
        int n = 0;
        for (uint32_t p : pixels)
            n += p == 0xFFFFFF;
        return n;
    }

    SineTable sine_;
};

TEST_F(SkyRender, TheSkyBoxFillsEveryViewWithSkyForEachTimeOfDay) {
    // Smooth filtering, so a jump between neighbouring pixels can only be a seam.
    CFSTextureCache cache(MakeDataPath("data\\textures.zip"));
    cache.SetQuality(1);
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeNight; ++dayTime) {
        const std::string folder = SkyBoxFolder(dayTime);
        CFSSkyBox box;
        ASSERT_TRUE(box.Load(folder, &cache)) << folder;
        EXPECT_EQ(box.FaceTexture(2), box.FaceTexture(3));  // the bottom reuses the top picture
        EXPECT_EQ(box.FaceMember(4), folder + "/front.png");
        const FSSunPosition sun = SunPosition(dayTime);
        scene.Camera().Sky().SetSun(sun.zenith, sun.azimuth);

        double brightness[8] = {};
        for (int view = 0; view < 11; ++view) {
            // Eight headings at the horizon, two looking up across face edges, one straight up.
            const float azimuth = view < 8 ? view * kPi / 4 : (view == 8 ? kPi / 4 : -kPi / 4);
            LookToward(azimuth, view < 8 ? 0.35f : (view < 10 ? 0.8f : kPi / 2));
            Clear(kMagenta);
            box.Draw(scene.Camera());
            Read();
            int holes = 0, jumps = 0;
            double sum = 0;
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    holes += Pixel(x, y) == kMagenta;
                    const Rgb c = At(x, y);
                    sum += c.r + c.g + c.b;
                    if (x > 0 && dayTime != kDayTimeNight) {  // stars are meant to be sharp
                        const Rgb l = At(x - 1, y);
                        if (std::abs(c.r - l.r) + std::abs(c.g - l.g) + std::abs(c.b - l.b) > 30) ++jumps;
                    }
                }
            }
            EXPECT_EQ(holes, 0) << folder << " view " << view;
            // No seam at the faces' edges: a seam would be a sharp line across the picture,
            // while the softest cloud edges may give a stray sharp pixel.
            EXPECT_LE(jumps, 5) << folder << " view " << view;
            const double mean = sum / (3.0 * kWidth * kHeight);
            if (view < 8) brightness[view] = mean;
            if (dayTime == kDayTimeNight)
                EXPECT_LT(mean, 40) << view;
            else
                EXPECT_GT(mean, 90) << folder << " view " << view;
        }
        // The sun stands where the sky model has it: east (−z) in the morning, west (+z)
        // in the evening, south (+x) at noon.
        if (dayTime != kDayTimeNight) {
            const int sunward = dayTime == kDayTimeMorning ? 6 : (dayTime == kDayTimeEvening ? 2 : 0);
            EXPECT_GT(brightness[sunward], brightness[(sunward + 4) % 8] + 10) << folder;
        }
        // Looking at the horizon, the box shows the camera's fog colour there.
        for (int view = 0; view < 8 && dayTime != kDayTimeNight; ++view) {
            LookToward(view * kPi / 4, 0.0f);
            Clear(kMagenta);
            box.Draw(scene.Camera());
            Read();
            const Rgb c = At(kWidth / 2, kHeight / 2);
            const FSSkyColour fog = scene.Camera().FogColour();
            EXPECT_NEAR(c.r, fog.r * 255, 3) << folder << " heading " << view;
            EXPECT_NEAR(c.g, fog.g * 255, 3) << folder << " heading " << view;
            EXPECT_NEAR(c.b, fog.b * 255, 3) << folder << " heading " << view;
        }
        box.Unload(&cache);
        EXPECT_EQ(box.FaceTexture(0), 0u);
    }
    EXPECT_EQ(cache.Count(), 0u);
}

TEST_F(SkyRender, TheSkyBoxLeavesTheStateAsItFoundIt) {
    CFSTextureCache cache(MakeDataPath("data\\textures.zip"));
    CFSSkyBox box;
    ASSERT_TRUE(box.Load(SkyBoxFolder(kDayTimeNoon), &cache));
    LookToward(0.0f, 0.2f);
    GLfixed before[16], after[16];
    glGetFixedv(GL_MODELVIEW_MATRIX, before);
    box.Draw(scene.Camera());
    glGetFixedv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(before, before + 16, after));
    for (GLenum state : {GL_FOG, GL_LIGHTING, GL_DEPTH_TEST, GL_NORMAL_ARRAY})
        EXPECT_TRUE(glIsEnabled(state)) << state;
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_TRUE);
    // It writes no depth: a red square 60 km ahead, beyond the box's faces, is not hidden.
    LookToward(0.0f, 0.0f);
    glClear(GL_DEPTH_BUFFER_BIT);
    box.Draw(scene.Camera());
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glLoadMatrixx(scene.Camera().ViewMatrix().m);
    const GLfixed corners[] = {F(60), F(-5), F(-5), F(60), F(-5), F(5),
                               F(60), F(5),  F(-5), F(60), F(5),  F(5)};
    glColor4x(kFixedOne, 0, 0, kFixedOne);
    glVertexPointer(3, GL_FIXED, 0, corners);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    Read();
    EXPECT_EQ(Pixel(kWidth / 2, kHeight / 2), 0xFF0000u);
    // Without textures (nothing loaded) it draws nothing at all.
    CFSSkyBox empty;
    Clear(kMagenta);
    empty.Draw(scene.Camera());
    Read();
    EXPECT_EQ(Pixel(0, 0), kMagenta);
    box.Unload(&cache);
}

// A texture of size × size texels from a function of (x, y), y = 0 being v = 0.
template <class Texel>
GLuint MakeTexture(int size, Texel texel) {
    std::vector<uint8_t> texels(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            texel(x, y, &texels[(static_cast<size_t>(y) * size + x) * 4]);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

// A white texture with full alpha, standing in for the cloud pictures.
GLuint WhiteTexture() {
    return MakeTexture(4, [](int, int, uint8_t* t) { t[0] = t[1] = t[2] = t[3] = 255; });
}

TEST_F(SkyRender, ATreeShowsItsAtlasCellAndLetsTheBackgroundThroughItsClearParts) {
    // A 4 × 4 atlas of 16 × 16 cells: cell k is opaque in its right half in a colour of its
    // own, and fully transparent in its left half.
    const GLuint atlas = MakeTexture(64, [](int x, int y, uint8_t* t) {
        const int k = (x / 16) * 4 + (y / 16);
        t[0] = static_cast<uint8_t>(k * 16);
        t[1] = static_cast<uint8_t>(255 - k * 16);
        t[2] = 40;
        t[3] = (x % 16) >= 8 ? 255 : 0;
    });
    glDisable(GL_FOG);       // trees are fogged like everything else; here the colours must stay pure
    LookToward(0.0f, 0.0f);  // along +x from 0.8 km up
    glLoadMatrixx(scene.Camera().ViewMatrix().m);
    for (int variant : {5, 15, 0}) {
        auto tree = std::make_unique<CFSBillboardNode>(F(0.4), F(0.2), nullptr, "", variant);
        tree->SetTexture(atlas);
        tree->Place({F(2), F(0.6), 0});  // 2 km ahead, standing 0.2 below the eye
        Clear(0x0000FF);
        tree->Draw(scene);
        Read();
        // The picture's left half (clear) and right half (the cell's colour), seen
        // unmirrored on screen.
        int cellColour = 0, background = 0, other = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const Rgb c = At(x, y);
                if (c.r == variant * 16 && c.g == 255 - variant * 16 && c.b == 40) {
                    ++cellColour;
                    EXPECT_GT(x, kWidth / 2 - 2) << variant;  // only right of the tree's axis
                } else if (Pixel(x, y) == 0x0000FF) {
                    ++background;
                } else {
                    ++other;
                }
            }
        }
        EXPECT_GT(cellColour, 500) << variant;
        EXPECT_GT(background, kWidth * kHeight / 2) << variant;
        EXPECT_LT(other, 200) << variant;  // no other cell bleeds in
        // The tree's clear half leaves the background right beside it.
        EXPECT_EQ(At(kWidth / 2 - 6, kHeight / 2 - 10).b, 255);
    }
    // The drawing leaves lighting, depth writes and culling as they were.
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glDeleteTextures(1, &atlas);
}

TEST_F(SkyRender, CloudsShowFromEverySideAndTheLayerStandsAheadOfTheEye) {
    const GLuint white = WhiteTexture();
    glDisable(GL_FOG);
    CFSCloudNode cloud(F(3), F(1), nullptr, "");
    cloud.SetTexture(white);
    cloud.Place({0, F(0.8), 0});
    cloud.SetVisible(true);
    // Seen from eight sides and from above, 6 km away.
    for (int side = 0; side < 9; ++side) {
        const float a = side * kPi / 4;
        Face(side < 8 ? FSFixedVector{FloatToFixed(-6 * std::cos(a)), F(0.8), FloatToFixed(-6 * std::sin(a))}
                      : FSFixedVector{0, F(6.8), 0},
             {0, F(0.8), 0}, side == 8);
        cloud.Draw(scene);
        Read();
        EXPECT_GT(CountWhite(), 1500) << side;
    }
    // The layer: re-centred on the camera, so straight ahead at the horizon the curtain
    // fills the lower sky.
    TFSClouds layer(nullptr, "", F(40), F(10), 0);
    layer.SetTexture(white);
    Face({F(3), F(0.8), F(-4)}, {F(13), F(0.8), F(-4)});
    layer.Update(scene, {0});
    layer.Draw(scene);
    Read();
    // From 1.1° below the horizon (the ground under the curtain at 40 km) to 12.9° above.
    EXPECT_EQ(Pixel(kWidth / 2, kHeight / 2), 0xFFFFFFu);
    EXPECT_EQ(Pixel(5, 111), 0xFFFFFFu);           // 10° up, at the left edge
    EXPECT_EQ(Pixel(kWidth - 5, 111), 0xFFFFFFu);  // and the right
    EXPECT_EQ(Pixel(kWidth / 2, 2), 0u);           // above the curtain's top
    EXPECT_EQ(Pixel(kWidth / 2, 200), 0u);         // below its foot
    glDeleteTextures(1, &white);
}

TEST_F(SkyRender, TheFlameGlowsBehindItsOwner) {
    auto owner = std::make_unique<world_test::TestNode>("jet");
    owner->model = FSBox::FromCorners({F(-0.5), F(-1), F(-0.5)}, {F(0.5), F(1), F(0.5)});
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));  // nose along +x
    owner->Place({F(3), F(0.8), 0});
    TFSInverseCone flame(owner.get(), sine_);
    glDisable(GL_FOG);  // the flame is fogged with the rest of the world; here its own colours count
    for (uint32_t t = 0; t < 200; t += 20) {  // wait for a long flicker
        flame.Update(scene, {t});
        if (flame.FlickerLength() > flame.Length() / 2) break;
    }
    ASSERT_GT(flame.FlickerLength(), flame.Length() / 2);
    // Seen from the side, from 3 km to the south (−z): the flame lies left of the owner.
    Face({F(3), F(0.8), F(-3)}, {F(3), F(0.8), 0});
    flame.Draw(scene);
    Read();
    int lit = 0, brightest = 0;
    for (uint32_t p : pixels) {
        const Rgb c = Channels(p);
        if (c.r <= 40) continue;
        ++lit;
        EXPECT_GE(c.r, c.g);  // white-yellow to orange: red leads
        EXPECT_GE(c.g, c.b);
        brightest = std::max(brightest, c.r);
    }
    EXPECT_GT(lit, 100);
    EXPECT_GT(brightest, 200);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
}

TEST_F(SkyRender, AFlyThroughZonesCloudIsDrawnOnlyFromOutside) {
    CFSFlyThroughEffect effect;
    FSCloudZone zone;
    zone.outer = FSBox::FromCorners({F(50), 0, F(50)}, {F(70), F(5), F(70)});
    zone.inner = FSBox::FromCorners({F(55), F(1), F(55)}, {F(65), F(4), F(65)});
    // Inside, the zone's own cloud is not drawn; outside it is, at the zone's centre.
    const GLuint white = WhiteTexture();
    zone.texture = white;
    effect.AddZone(zone);
    effect.UpdateAt({F(60), F(2), F(60)});
    glDisable(GL_FOG);
    // From terrain (20, 2.5, 28) toward the zone's centre at (60, 2.5, 60).
    Face({F(-10), F(2.5), F(-2)}, {F(30), F(2.5), F(30)});
    effect.Draw(scene.Camera());
    Read();
    EXPECT_EQ(CountWhite(), 0);
    effect.UpdateAt({F(20), F(2), F(28)});
    ASSERT_EQ(effect.State(), 0);
    Clear(0);
    effect.Draw(scene.Camera());
    Read();
    EXPECT_GT(CountWhite(), 1000);
    glDeleteTextures(1, &white);
}

}  // namespace
