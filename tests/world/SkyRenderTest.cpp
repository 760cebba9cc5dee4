// The sky and the flat scenery drawn for real through a headless GLES context.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPixels.h"
#include "resources/FSTextureCache.h"
#include "world/FSBillboardNode.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSDayTime.h"
#include "world/FSFlyThroughEffect.h"
#include "world/FSInverseCone.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/FSSkyBox.h"
#include "world/WorldTestNodes.h"
#include "resources/FSArchive.h"

using world_test::F;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr float kPi = 3.14159265f;
constexpr uint32_t kMagenta = 0xFF00FF;

struct Rgb {
    int r, g, b;
};
Rgb Channels(uint32_t p) {
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

// A GL surface with the game's projection, a scene and the textures archive.
class SkyRender : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(kWidth, kHeight));
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        scene_.Camera().SetPerspective(60.0f, static_cast<float>(kWidth) / kHeight, 0.001f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_FOG);
        glEnable(GL_LIGHTING);
    }

    // Looks from 0.8 km up toward azimuth (atan2(z, x)) and elevation (radians).
    void Look(float azimuth, float elevation) {
        const FSFixedVector eye = {0, F(0.8), 0};
        const FSFixedVector target = {FloatToFixed(std::cos(azimuth) * std::cos(elevation)),
                                      FloatToFixed(0.8f + std::sin(elevation)),
                                      FloatToFixed(std::sin(azimuth) * std::cos(elevation))};
        const bool vertical = std::fabs(elevation) > 1.5f;
        scene_.Camera().LookAt(
            eye, target, vertical ? FSFixedVector{0, 0, -kFixedOne} : FSFixedVector{0, kFixedOne, 0}, 0);
    }

    void Clear(uint32_t colour) {
        glClearColorx(FixedFromInt((colour >> 16) & 0xFF) / 255, FixedFromInt((colour >> 8) & 0xFF) / 255,
                      FixedFromInt(colour & 0xFF) / 255, kFixedOne);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    std::vector<uint32_t> Read() {
        surface_.WaitGL();
        std::vector<uint32_t> pixels(kWidth * kHeight);
        surface_.ReadPixels(pixels.data());
        for (uint32_t& p : pixels)
            p &= 0xFFFFFF;  // the top byte is not part of the picture
        return pixels;
    }

    CFSGLSurface surface_;
    SineTable sine_;
    CFSScene scene_{&sine_};
};

TEST_F(SkyRender, TheSkyBoxFillsEveryViewWithSkyForEachTimeOfDay) {
    // Smooth filtering, so a jump between neighbouring pixels can only be a seam.
    const int quality = GetApplicationContext()->video.texturesQuality;
    GetApplicationContext()->video.texturesQuality = 1;
    CFSTextureCache cache(MakeDataPath("data\\textures.zip"));
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeNight; ++dayTime) {
        const std::string folder = SkyBoxFolder(dayTime);
        CFSSkyBox box;
        ASSERT_TRUE(box.Load(folder, &cache)) << folder;
        EXPECT_EQ(box.FaceTexture(2), box.FaceTexture(3));  // the bottom reuses the top picture
        EXPECT_EQ(box.FaceMember(4), folder + "/front.png");
        const FSSunPosition sun = SunPosition(dayTime);
        scene_.Camera().Sky().SetSun(sun.zenith, sun.azimuth);

        double brightness[8] = {};
        for (int view = 0; view < 11; ++view) {
            // Eight headings at the horizon, two looking up across face edges, one straight up.
            const float azimuth = view < 8 ? view * kPi / 4 : (view == 8 ? kPi / 4 : -kPi / 4);
            const float elevation = view < 8 ? 0.35f : (view < 10 ? 0.8f : kPi / 2);
            Look(azimuth, elevation);
            Clear(kMagenta);
            box.Draw(scene_.Camera());
            const std::vector<uint32_t> pixels = Read();
            int holes = 0, jumps = 0;
            double sum = 0;
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    const uint32_t p = pixels[y * kWidth + x];
                    if (p == kMagenta) ++holes;
                    const Rgb c = Channels(p);
                    sum += c.r + c.g + c.b;
                    if (x > 0 && dayTime != kDayTimeNight) {  // stars are meant to be sharp
                        const Rgb l = Channels(pixels[y * kWidth + x - 1]);
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
        if (dayTime == kDayTimeMorning) {
            EXPECT_GT(brightness[6], brightness[2] + 10);
        } else if (dayTime == kDayTimeEvening) {
            EXPECT_GT(brightness[2], brightness[6] + 10);
        } else if (dayTime == kDayTimeNoon) {
            EXPECT_GT(brightness[0], brightness[4] + 10);
        }

        // Looking at the horizon, the box shows the camera's fog colour there.
        if (dayTime != kDayTimeNight) {
            for (int view = 0; view < 8; ++view) {
                Look(view * kPi / 4, 0.0f);
                Clear(kMagenta);
                box.Draw(scene_.Camera());
                const Rgb c = Channels(Read()[(kHeight / 2) * kWidth + kWidth / 2]);
                const FSSkyColour fog = scene_.Camera().FogColour();
                EXPECT_NEAR(c.r, fog.r * 255, 3) << folder << " heading " << view;
                EXPECT_NEAR(c.g, fog.g * 255, 3) << folder << " heading " << view;
                EXPECT_NEAR(c.b, fog.b * 255, 3) << folder << " heading " << view;
            }
        }
        box.Unload(&cache);
        EXPECT_EQ(box.FaceTexture(0), 0u);
    }
    EXPECT_EQ(cache.Count(), 0u);
    GetApplicationContext()->video.texturesQuality = quality;
}

TEST_F(SkyRender, TheSkyBoxLeavesTheStateAsItFoundIt) {
    CFSTextureCache cache(MakeDataPath("data\\textures.zip"));
    CFSSkyBox box;
    ASSERT_TRUE(box.Load(SkyBoxFolder(kDayTimeNoon), &cache));
    Look(0.0f, 0.2f);
    GLfixed before[16], after[16];
    glGetFixedv(GL_MODELVIEW_MATRIX, before);
    box.Draw(scene_.Camera());
    glGetFixedv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_TRUE);
    // It writes no depth: something drawn after it, however far, is not hidden.
    Look(0.0f, 0.0f);
    glClear(GL_DEPTH_BUFFER_BIT);
    box.Draw(scene_.Camera());
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glLoadMatrixx(scene_.Camera().ViewMatrix().m);
    // A red square 60 km ahead, beyond the box's faces.
    const GLfixed corners[] = {F(60), F(-5), F(-5), F(60), F(-5), F(5),
                               F(60), F(5),  F(-5), F(60), F(5),  F(5)};
    glColor4x(kFixedOne, 0, 0, kFixedOne);
    glDisable(GL_CULL_FACE);
    glVertexPointer(3, GL_FIXED, 0, corners);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    const Rgb centre = Channels(Read()[(kHeight / 2) * kWidth + kWidth / 2]);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 0);
    // Without textures (nothing loaded) it draws nothing at all.
    CFSSkyBox empty;
    Clear(kMagenta);
    empty.Draw(scene_.Camera());
    EXPECT_EQ(Read()[0], kMagenta);
    box.Unload(&cache);
}

// A 4 × 4 atlas of 16 × 16 cells: cell k is opaque in its right half in a colour of its
// own, and fully transparent in its left half.
GLuint MakeAtlas() {
    std::vector<uint8_t> texels(64 * 64 * 4);
    for (int y = 0; y < 64; ++y) {  // y = 0 is v = 0, the bottom
        for (int x = 0; x < 64; ++x) {
            const int k = (x / 16) * 4 + (y / 16);
            uint8_t* t = &texels[(y * 64 + x) * 4];
            t[0] = static_cast<uint8_t>(k * 16);
            t[1] = static_cast<uint8_t>(255 - k * 16);
            t[2] = 40;
            t[3] = (x % 16) >= 8 ? 255 : 0;
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

TEST_F(SkyRender, ATreeShowsItsAtlasCellAndLetsTheBackgroundThroughItsClearParts) {
    const GLuint atlas = MakeAtlas();
    glDisable(GL_FOG);  // trees are fogged like everything else; here the colours must stay pure
    Look(0.0f, 0.0f);   // along +x from 0.8 km up
    glLoadMatrixx(scene_.Camera().ViewMatrix().m);
    for (int variant : {5, 15, 0}) {
        auto tree = std::make_unique<CFSBillboardNode>(F(0.4), F(0.2), "", variant);
        tree->SetTexture(atlas);
        tree->Place({F(2), F(0.6), 0});  // 2 km ahead, standing 0.2 below the eye
        Clear(0x0000FF);
        tree->Draw(scene_);
        const std::vector<uint32_t> pixels = Read();
        // The picture's left half (clear) and right half (the cell's colour), seen
        // unmirrored on screen.
        int cellColour = 0, background = 0, other = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const Rgb c = Channels(pixels[y * kWidth + x]);
                if (c.r == variant * 16 && c.g == 255 - variant * 16 && c.b == 40) {
                    ++cellColour;
                    EXPECT_GT(x, kWidth / 2 - 2) << variant;  // only right of the tree's axis
                } else if (c.r == 0 && c.g == 0 && c.b == 255) {
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
        EXPECT_EQ(Channels(pixels[(kHeight / 2 - 10) * kWidth + kWidth / 2 - 6]).b, 255);
    }
    // The drawing leaves lighting, depth writes and culling as they were.
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glDeleteTextures(1, &atlas);
}

// A white texture with full alpha, standing in for the cloud pictures.
GLuint WhiteTexture() {
    const std::vector<uint8_t> texels(4 * 4 * 4, 255);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

int CountWhite(const std::vector<uint32_t>& pixels) {
    int n = 0;
    for (uint32_t p : pixels)
        n += p == 0xFFFFFF;
    return n;
}

TEST_F(SkyRender, CloudsShowFromEverySideAndTheLayerStandsAheadOfTheEye) {
    const GLuint white = WhiteTexture();
    glDisable(GL_FOG);
    CFSCloudNode cloud(F(3), F(1), "");
    cloud.SetTexture(white);
    cloud.Place({0, F(0.8), 0});
    cloud.SetVisible(true);
    // Seen from eight sides and from above, 6 km away.
    for (int side = 0; side < 9; ++side) {
        const float a = side * kPi / 4;
        const FSFixedVector eye =
            side < 8 ? FSFixedVector{FloatToFixed(-6 * std::cos(a)), F(0.8), FloatToFixed(-6 * std::sin(a))}
                     : FSFixedVector{0, F(6.8), 0};
        scene_.Camera().LookAt(eye, {0, F(0.8), 0},
                               side < 8 ? FSFixedVector{0, kFixedOne, 0} : FSFixedVector{0, 0, -kFixedOne},
                               0);
        Clear(0x000000);
        glLoadMatrixx(scene_.Camera().ViewMatrix().m);
        cloud.Draw(scene_);
        EXPECT_GT(CountWhite(Read()), 1500) << side;
    }
    glDeleteTextures(1, &white);

    // The layer: re-centred on the camera, so straight ahead at the horizon the curtain
    // fills the lower sky.
    const GLuint white2 = WhiteTexture();
    TFSClouds layer("", F(40), F(10), 0);
    layer.SetTexture(white2);
    scene_.Camera().LookAt({F(3), F(0.8), F(-4)}, {F(13), F(0.8), F(-4)}, {0, kFixedOne, 0}, 0);
    layer.Update(scene_, {0});
    Clear(0x000000);
    glLoadMatrixx(scene_.Camera().ViewMatrix().m);
    layer.Draw(scene_);
    const std::vector<uint32_t> pixels = Read();
    // From 1.1° below the horizon (the ground under the curtain at 40 km) to 12.9° above.
    EXPECT_EQ(pixels[(kHeight / 2) * kWidth + kWidth / 2], 0xFFFFFFu);
    EXPECT_EQ(pixels[111 * kWidth + 5], 0xFFFFFFu);           // 10° up, at the left edge
    EXPECT_EQ(pixels[111 * kWidth + kWidth - 5], 0xFFFFFFu);  // and the right
    EXPECT_EQ(pixels[2 * kWidth + kWidth / 2], 0u);           // above the curtain's top
    EXPECT_EQ(pixels[200 * kWidth + kWidth / 2], 0u);         // below its foot
    glDeleteTextures(1, &white2);
}

TEST_F(SkyRender, TheFlameGlowsBehindItsOwner) {
    auto owner = std::make_unique<world_test::TestNode>("jet");
    owner->model = FSBox::FromCorners({F(-0.5), F(-1), F(-0.5)}, {F(0.5), F(1), F(0.5)});
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));  // nose along +x
    owner->Place({F(3), F(0.8), 0});
    TFSInverseCone flame(owner.get(), sine_);
    glDisable(GL_FOG);  // the flame is fogged with the rest of the world; here its own colours count
    // Seen from the side, from 3 km to the south (−z): the flame lies left of the owner.
    scene_.Camera().LookAt({F(3), F(0.8), F(-3)}, {F(3), F(0.8), 0}, {0, kFixedOne, 0}, 0);
    int brightest = 0;
    for (uint32_t t = 0; t < 200; t += 20) {  // wait for a long flicker
        flame.Update(scene_, {t});
        if (flame.FlickerLength() > flame.Length() / 2) break;
    }
    ASSERT_GT(flame.FlickerLength(), flame.Length() / 2);
    Clear(0x000000);
    glLoadMatrixx(scene_.Camera().ViewMatrix().m);
    flame.Draw(scene_);
    const std::vector<uint32_t> pixels = Read();
    int lit = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb c = Channels(pixels[y * kWidth + x]);
            if (c.r > 40) {
                ++lit;
                EXPECT_GE(c.r, c.g);  // white-yellow to orange: red leads
                EXPECT_GE(c.g, c.b);
                brightest = std::max(brightest, c.r);
            }
        }
    }
    EXPECT_GT(lit, 100);
    EXPECT_GT(brightest, 200);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
}

TEST_F(SkyRender, FlyingIntoACloudWhitensTheConvertedPicture) {
    // A dark scene: a night clear colour.
    Clear(0x101828);
    const std::vector<uint32_t> picture = Read();
    CFSFlyThroughEffect effect;
    ASSERT_TRUE(effect.LoadCloudImage(MakeDataPath("data\\textures.zip")));
    FSCloudZone zone;
    zone.outer = FSBox::FromCorners({F(50), 0, F(50)}, {F(70), F(5), F(70)});
    zone.inner = FSBox::FromCorners({F(55), F(1), F(55)}, {F(65), F(4), F(65)});
    effect.AddZone(zone);
    effect.UpdateAt({F(60), F(2), F(60)});
    ASSERT_EQ(effect.State(), CFSFlyThroughEffect::kInside);
    std::vector<uint16_t> plain(picture.size()), clouded(picture.size());
    ConvertTo565(plain.data(), picture.data(), static_cast<int>(picture.size()));
    effect.Convert(clouded.data(), picture.data(), kWidth, kHeight, 12.0f);
    auto luma = [](const std::vector<uint16_t>& p) {
        double sum = 0;
        for (uint16_t v : p)
            sum += (v >> 11) / 31.0 + ((v >> 5) & 63) / 63.0 + (v & 31) / 31.0;
        return sum / (3.0 * p.size());
    };
    EXPECT_GT(luma(clouded), luma(plain) + 0.3);
    // Inside, the zone's own cloud is not drawn; outside it is, at the zone's centre.
    const GLuint white = WhiteTexture();
    effect.ClearZones();
    zone.texture = white;
    effect.AddZone(zone);
    effect.UpdateAt({F(60), F(2), F(60)});
    scene_.Camera().SetCell({0, 0});
    // From terrain (20, 2.5, 28) toward the zone's centre at (60, 2.5, 60).
    scene_.Camera().LookAt({F(-10), F(2.5), F(-2)}, {F(30), F(2.5), F(30)}, {0, kFixedOne, 0}, 0);
    glDisable(GL_FOG);
    Clear(0x000000);
    glLoadMatrixx(scene_.Camera().ViewMatrix().m);
    effect.Draw(scene_.Camera());
    EXPECT_EQ(CountWhite(Read()), 0);
    effect.UpdateAt({F(20), F(2), F(28)});
    ASSERT_EQ(effect.State(), 0);
    Clear(0x000000);
    effect.Draw(scene_.Camera());
    EXPECT_GT(CountWhite(Read()), 1000);
    glDeleteTextures(1, &white);
}

}  // namespace
