// The sky box, billboards, the cloud layer, single clouds, the jet flame, and the cloud
// zones flown through (state, factor and the clouding of the picture): as scene nodes and
// effects, and drawn for real through a headless GLES context.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "resources/FSPixels.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "world/FSBillboardNode.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSDayTime.h"
#include "world/FSFlyThroughEffect.h"
#include "world/FSInverseCone.h"
#include "world/FSSineTable.h"
#include "world/FSSkyBox.h"
#include "world/FSSkyColour.h"
#include "world/PictureTestSupport.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;
using world_test::Box;
using world_test::F;
using world_test::Rgb;
using world_test::TestNode;

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint32_t kMagenta = 0xFF00FF;

class Wind : public MFSProperty {};  // the route's wind oscillator, as far as the layer asks

// An owner 2 km wide, 1 high and 5 long (−2 .. 3 along its nose).
std::unique_ptr<TestNode> Owner(const FSBox& model = Box(-1, -2, -0.5, 1, 3, 0.5)) {
    auto owner = std::make_unique<TestNode>("owner");
    owner->model = model;
    return owner;
}

// A texture of size × size texels from a function of (x, y), y = 0 being v = 0.
template <class Texel>
GLuint MakeTexture(int size, Texel texel) {
    std::vector<uint8_t> texels(static_cast<size_t>(size) * size * 4);
    for (int i = 0; i < size * size; ++i)
        texel(i % size, i / size, &texels[static_cast<size_t>(i) * 4]);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texture;
}

TEST(FlatNodes, BillboardsScaleWithTheirBoxAndCloudsPickRandomWindowsNearTheCentre) {
    // Variants pick a cell of the 4 × 4 atlas (drawn below); any other the whole picture.
    for (const FSAtlasCell& c : {AtlasCell(-1), AtlasCell(16)})
        EXPECT_TRUE(c.u0 == 0 && c.v0 == 0 && c.u1 == kFixedOne && c.v1 == kFixedOne);
    CFSBillboardNode tree(F(0.02), F(0.005), nullptr, "trees/trees.png", 5);
    tree.Scale({F(2), F(3), F(5)});  // height by y, half-width by x, and the box with them
    EXPECT_TRUE(std::abs(tree.Height() - F(0.06)) <= 2 && std::abs(tree.HalfWidth() - F(0.01)) <= 2);
    const FSFixed w = tree.HalfWidth();
    EXPECT_EQ(*tree.GetModel(), FSBox::FromCorners({-w, 0, -w}, {w, tree.Height(), w}));
    std::srand(77);
    CFSCloudNode cloud(F(4), F(1.5), nullptr, "clouds/cloud.png");
    EXPECT_FALSE(cloud.IsVisible());  // the route loader shows it once placed
    std::set<FSFixed> lefts;
    for (int k = 0; k < FSCloudShape::kQuads; ++k) {
        const FSTextureWindow& w = cloud.Window(k);
        const FSFixed left = std::min(w.u0, w.u1), right = std::max(w.u0, w.u1);
        lefts.insert(left);
        EXPECT_TRUE(left >= 0 && left <= 3276 && right <= kFixedOne && right >= kFixedOne - 3276 &&
                    w.v0 >= 0 && w.v0 <= 2316 && w.v1 >= kFixedOne - 2316);
    }
    EXPECT_GT(lefts.size(), 1u);
    // Width by x, height by y; the box holds the cloud however its puffs turn.
    cloud.Scale({F(0.5), F(2), F(1)});
    EXPECT_TRUE(cloud.Width() == F(2) && cloud.Height() == F(3));
    EXPECT_TRUE(Contains(*cloud.GetModel(), Box(-1, -1.5, -1, 1, 1.5, 1)));
}

TEST(CloudLayer, FollowsTheCameraFacesAlongTheViewAndDriftsWithTheWind) {
    SineTable sine;
    CFSScene scene(&sine);
    CFSCamera& camera = scene.Camera();
    auto* layer = scene.Add(std::make_unique<TFSClouds>(nullptr, "clouds/layer.png"));
    // Along +x, then on into the next cell turned to +z: the layer follows and the picture
    // scrolls on by half a repeat; looking straight down keeps the last facing.
    const std::tuple<FSCell, FSFixedVector, FSFixedVector, FSFixed> views[] = {
        {{2, 1}, {F(12), F(3), F(-7)}, {F(1), 0, 0}, 0},
        {{3, 1}, {F(-25), F(4), F(2)}, {0, 0, F(1)}, kFixedOne / 2},
        {{3, 1}, {F(-25), F(4), F(2)}, {0, -F(1), 0}, kFixedOne / 2}};
    for (const auto& [cell, eye, along, scroll] : views) {
        camera.SetCell(cell);
        camera.SetView(eye, eye + along,
                       along.y != 0 ? FSFixedVector{0, 0, -kFixedOne} : FSFixedVector{0, kFixedOne, 0}, 0);
        scene.Update({100});
        EXPECT_TRUE(layer->GetCell() == cell && layer->GetPosition() == (FSFixedVector{eye.x, 0, eye.z}));
        EXPECT_NEAR(layer->GetAxisZ().z, cell.column == 2 ? 0 : kFixedOne, 16);
        EXPECT_NEAR(layer->ScrollOffset(), scroll, 4);
    }
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.ExtractPlanes();
    EXPECT_FALSE(camera.IsCulled(*layer));  // whatever the view
    // With the wind (a moveable object) the layer's push along its facing drifts it, and
    // it is re-centred on the camera.
    layer->SetMoveableObject(std::make_unique<Wind>());
    scene.Update({400});
    const FSFixed before = layer->ScrollOffset();
    layer->Move(layer->GetPosition() + FSFixedVector{0, 0, F(0.25)});
    scene.Update({500});
    EXPECT_NEAR(layer->ScrollOffset() - before, F(0.25), 16);
    EXPECT_EQ(layer->GetPosition(), (FSFixedVector{F(-25), 0, F(2)}));
}

TEST(InverseCone, TakesItsSizeFromTheOwnerFollowsItsTailFlickersAndGoesWithIt) {
    SineTable sine;
    CFSScene scene(&sine);
    TestNode* owner = scene.Add(Owner());
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));  // nose along +x, up along +y
    owner->SetCell({1, 2});
    owner->Place({F(5), F(2), F(-3)});
    auto* cone = static_cast<TFSInverseCone*>(owner->AddChild(std::make_unique<TFSInverseCone>(owner, sine)));
    // 0.4 × half of 1 wide and 0.6 × half of 5 long.
    EXPECT_TRUE(std::abs(cone->Radius() - F(0.2)) <= 4 && std::abs(cone->Length() - F(1.5)) <= 4);
    // Behind the owner by |0.6 × −2|, moved by the "Jet" line's placement along its axes
    // (y × z is +z).
    cone->SetPlacement(F(0.5), F(0.25), F(-0.125));
    scene.Update({1000});
    EXPECT_EQ(cone->GetCell(), (FSCell{1, 2}));
    for (const auto& [axis, at] : {std::pair{0, 5 - 1.2 + 0.5}, {1, 2.25}, {2, -3 - 0.125}})
        EXPECT_NEAR(cone->GetPosition()[axis], F(at), 8) << axis;
    // The same frame time gives the same flicker; frame by frame (16 ms apart) it jumps
    // about over the whole length.
    const FSFixed first = cone->FlickerLength();
    scene.Update({1000});
    EXPECT_EQ(cone->FlickerLength(), first);
    std::set<FSFixed> lengths;
    for (uint32_t frame = 1; frame <= 200; ++frame) {
        scene.Update({1000 + 16 * frame});
        lengths.insert(cone->FlickerLength());
    }
    EXPECT_GT(lengths.size(), 180u);
    EXPECT_TRUE(*lengths.begin() < cone->Length() / 10 && *lengths.rbegin() > cone->Length() * 9 / 10 &&
                *lengths.rbegin() <= cone->Length());
    // Removed with its owner; an owner deleted first (a flight torn down) is forgotten.
    TFSInverseCone* root = scene.Add(std::make_unique<TFSInverseCone>(owner, sine));
    owner->Remove();
    EXPECT_TRUE(root->IsRemoved());
    auto lost = Owner();
    TFSInverseCone* orphan = scene.Add(std::make_unique<TFSInverseCone>(lost.get(), sine));
    lost.reset();
    EXPECT_TRUE(orphan->IsRemoved() && orphan->Owner() == nullptr);
    orphan->Update(scene, {30});
    orphan->Draw(scene);
    scene.Update({40});
    EXPECT_TRUE(scene.Nodes().empty());
    TestNode bare;  // an owner without a model gives a flame of no size
    EXPECT_EQ(TFSInverseCone(&bare, sine).Length(), 0);
}

// The picture with fog, lighting and back-face culling on, as in a flight.
class SkyRender : public world_test::PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        for (GLenum state : {GL_CULL_FACE, GL_FOG, GL_LIGHTING})
            glEnable(state);
    }
    // Looks from eye toward azimuth (atan2(z, x)) and elevation (radians), clears, draws
    // and reads the picture back.
    template <class Drawing>
    void Shoot(float azimuth, float elevation, const FSFixedVector& eye, uint32_t clear, Drawing draw) {
        const FSFixedVector along = {FloatToFixed(std::cos(azimuth) * std::cos(elevation)),
                                     FloatToFixed(std::sin(elevation)),
                                     FloatToFixed(std::sin(azimuth) * std::cos(elevation))};
        const bool vertical = std::fabs(elevation) > 1.5f;
        scene.Camera().LookAt(eye, eye + along,
                              vertical ? FSFixedVector{0, 0, -kFixedOne} : FSFixedVector{0, kFixedOne, 0}, 0);
        Clear(clear);
        glLoadMatrixx(scene.Camera().ViewMatrix().m);
        draw();
        Read();
    }
    int CountWhite() const {
        return Count([](const Rgb& c) { return c.r + c.g + c.b == 765; });
    }

    const FSFixedVector eye_{0, F(0.8), 0};
    SineTable sine_;
};

// (That it writes no depth and keeps the view shows in the engine's frames: the ground
// drawn after it.)
TEST_F(SkyRender, TheSkyBoxFillsEveryViewWithoutSeamsShowsTheSunWhereTheLightIsAndKeepsTheState) {
    textures->SetQuality(1);  // smooth filtering: a jump between neighbouring pixels is a seam
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeNight; ++dayTime) {
        const std::string folder = SkyBoxFolder(dayTime);
        CFSSkyBox box;
        ASSERT_TRUE(box.Load(folder, textures.get())) << folder;
        // The bottom reuses the top picture.
        EXPECT_TRUE(box.FaceTexture(2) == box.FaceTexture(3) && box.FaceMember(4) == folder + "/front.png");
        const FSSunPosition sun = SunPosition(dayTime);
        scene.Camera().Sky().SetSun(sun.zenith, sun.azimuth);
        const bool night = dayTime == kDayTimeNight;
        double brightness[8] = {};
        // Eight headings just above the horizon, two looking up across face edges, one up.
        for (int view = 0; view < 11; ++view) {
            Shoot(view < 8 ? view * kPi / 4 : (view == 8 ? kPi / 4 : -kPi / 4),
                  view < 8 ? 0.35f : (view < 10 ? 0.8f : kPi / 2), eye_, kMagenta, [&] {
                      box.Draw(scene.Camera());
                      EXPECT_TRUE(glIsEnabled(GL_FOG) && glIsEnabled(GL_LIGHTING) &&
                                  glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_NORMAL_ARRAY));
                  });
            // Dithered to the screen's levels, the sky shows no bands there (pixels blown
            // out to the top level in a channel, the rims of the sun's glare, left out).
            const auto level = [&](int x, int y) {
                const uint16_t p = Pack565(Pixel(x, y));
                const bool blown = Red5(p) == 31 || Green6(p) == 63 || Blue5(p) == 31;
                return blown ? 0x10000 + y * kWidth + x : static_cast<int>(p);
            };
            EXPECT_EQ(testing_support::BandEdges(kWidth, kHeight, level), 0) << folder << " view " << view;
            int holes = 0, jumps = 0;
            double sum = 0;
            for (int i = 0; i < kWidth * kHeight; ++i) {
                const Rgb c = world_test::Channels(pixels[i]),
                          l = world_test::Channels(pixels[i - (i % kWidth > 0)]);
                holes += pixels[i] == kMagenta;
                sum += c.r + c.g + c.b;
                // Stars are meant to be sharp; by day the softest cloud edges may give a
                // stray sharp pixel, a seam a whole line.
                if (!night && std::abs(c.r - l.r) + std::abs(c.g - l.g) + std::abs(c.b - l.b) > 30) ++jumps;
            }
            const double mean = sum / (3.0 * kWidth * kHeight);
            if (view < 8) brightness[view] = mean;
            EXPECT_TRUE(holes == 0 && jumps <= 5 && (night ? mean < 40 : mean > 90))
                << folder << " view " << view << ": " << holes << " holes, " << jumps << " jumps, mean "
                << mean;
        }
        // The heading toward the sunlight is brighter by far than the opposite one, and at
        // the horizon the box shows the camera's fog colour.
        const FSFixedVector light = SunLightDirection(sun.azimuth);
        const long sunward =
            std::lround(std::atan2(FixedToFloat(light.z), FixedToFloat(light.x)) / (kPi / 4)) + 8;
        EXPECT_TRUE(night || brightness[sunward % 8] > brightness[(sunward + 4) % 8] + 10) << folder;
        // Just above the horizon the box has the fog's colour (in the mean of its grain)
        // at any height, though it is painted for the haze 800 m above the sea.
        for (const float height : {0.1f, 0.8f, 3.0f, 8.0f}) {
            const FSFixedVector aboveSea = {eye_.x, F(height) + kSeaLevel, eye_.z};
            for (int view = 0; view < 8 && !night; ++view) {
                Shoot(view * kPi / 4, 0.0f, aboveSea, 0, [&] { box.Draw(scene.Camera()); });
                int sum[3] = {};
                for (int y = kHeight / 2 - 12; y < kHeight / 2 - 4; ++y)
                    for (int x = kWidth / 2 - 4; x < kWidth / 2 + 4; ++x) {
                        const Rgb c = At(x, y);
                        sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
                    }
                const Rgb mean = {sum[0] / 64, sum[1] / 64, sum[2] / 64};
                EXPECT_TRUE(world_test::Near(mean, FogRgb(), 3))
                    << folder << " " << height << " km, heading " << view << ": " << mean.r << " " << mean.g
                    << " " << mean.b << " for " << FogRgb().r << " " << FogRgb().g << " " << FogRgb().b;
            }
        }
        box.Unload(textures.get());  // while GL is current
        EXPECT_TRUE(box.FaceTexture(0) == 0 && textures->Count() == 0u) << folder;
    }
}

// Behind what is drawn, the box fills only the pixels left empty since the clear, and
// leaves the depth test as it found it.
TEST_F(SkyRender, BehindTheGroundTheSkyBoxFillsOnlyTheEmptyPixels) {
    CFSSkyBox box;
    ASSERT_TRUE(box.Load(SkyBoxFolder(kDayTimeNoon), textures.get()));
    const GLfixed ground[] = {-F(1), -F(1), -F(2), F(1), -F(1), -F(2), -F(1), 0, -F(2), F(1), 0, -F(2)};
    Shoot(0.0f, 0.0f, eye_, kMagenta, [&] {
        for (GLenum state : {GL_TEXTURE_2D, GL_LIGHTING, GL_FOG})
            glDisable(state);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glPushMatrix();
        glLoadIdentity();
        glColor4x(0, 0, kFixedOne, kFixedOne);
        glVertexPointer(3, GL_FIXED, 0, ground);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);  // the lower half, 2 km ahead of the eye
        glPopMatrix();
        box.Draw(scene.Camera(), true);
    });
    EXPECT_EQ(Pixel(kWidth / 2, kHeight * 3 / 4), 0x0000FFu);
    EXPECT_EQ(Count([](const Rgb& c) { return c.r == 255 && c.g == 0 && c.b == 255; }), 0);
    GLint function = 0;
    GLfixed range[2] = {};
    glGetIntegerv(GL_DEPTH_FUNC, &function);
    glGetFixedv(GL_DEPTH_RANGE, range);
    EXPECT_TRUE(function == GL_LESS && range[0] == 0 && range[1] == kFixedOne);
    box.Unload(textures.get());
}

TEST_F(SkyRender, ATreeShowsItsAtlasCellUnmirroredAndLetsTheBackgroundThroughItsClearParts) {
    // A 4 × 4 atlas of 16 × 16 cells: cell k is opaque in its right half in a colour of its
    // own, and fully transparent in its left half.
    const GLuint atlas = MakeTexture(64, [](int x, int y, uint8_t* t) {
        const int k = (x / 16) * 4 + (y / 16);
        const uint8_t texel[4] = {static_cast<uint8_t>(k * 16), static_cast<uint8_t>(255 - k * 16), 40,
                                  static_cast<uint8_t>((x % 16) >= 8 ? 255 : 0)};
        std::copy(texel, texel + 4, t);
    });
    glDisable(GL_FOG);  // trees are fogged like everything else; here the colours must stay pure
    for (int variant : {2, 12, 5}) {  // cell k: column k div 4, row k mod 4
        CFSBillboardNode tree(F(0.4), F(0.2), nullptr, "", variant);
        tree.SetTexture(atlas);
        tree.Place({F(2), F(0.6), 0});  // 2 km ahead, standing 0.2 below the eye
        Shoot(0.0f, 0.0f, eye_, 0x0000FF, [&] { tree.Draw(scene); });
        int cellColour = 0, leftOfAxis = 0, background = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const Rgb c = world_test::Channels(pixels[i]);
            const bool cell = c.r == variant * 16 && c.g == 255 - variant * 16 && c.b == 40;
            cellColour += cell;
            leftOfAxis += cell && i % kWidth < kWidth / 2 - 2;
            background += pixels[i] == 0x0000FF;
        }
        // No other cell bleeds in, and the clear half shows the background.
        EXPECT_TRUE(cellColour > 500 && leftOfAxis == 0 && cellColour + background > kWidth * kHeight - 200)
            << variant << ": " << cellColour << " " << leftOfAxis << " " << background;
        EXPECT_EQ(At(kWidth / 2 - 6, kHeight / 2 - 10).b, 255);
    }
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_CULL_FACE) && !glIsEnabled(GL_BLEND));
    glDeleteTextures(1, &atlas);
}

TEST_F(SkyRender, TheLayerFlamesAndZoneCloudsShowWhereTheyStand) {
    const GLuint white = MakeTexture(4, [](int, int, uint8_t* t) { std::fill(t, t + 4, 255); });
    glDisable(GL_FOG);
    // The layer is re-centred on the camera: straight ahead at the horizon the curtain
    // fills the sky from 1.1° below the horizon (its foot at 40 km) to 12.9° above.
    TFSClouds layer(nullptr, "", F(40), F(10), 0);
    layer.SetTexture(white);
    Shoot(0.0f, 0.0f, {F(3), F(0.8), F(-4)}, 0, [&] {
        layer.Update(scene, {0});
        layer.Draw(scene);
    });
    const std::tuple<int, int, bool> probes[] = {{kWidth / 2, kHeight / 2, true},
                                                 {5, 111, true},
                                                 {kWidth - 5, 111, true},
                                                 {kWidth / 2, 2, false},
                                                 {kWidth / 2, 200, false}};
    for (const auto& [x, y, covered] : probes)
        EXPECT_EQ(Pixel(x, y), covered ? 0xFFFFFFu : 0u) << x << "," << y;
    // Beyond the end of the fog it is no flat silhouette in the fog's colour: under a
    // bright sky it keeps a share of its own, and the fog is left as it was.
    glEnable(GL_FOG);
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogx(GL_FOG_START, F(8));
    glFogx(GL_FOG_END, F(20));
    Shoot(0.0f, 0.0f, {F(3), F(0.8), F(-4)}, 0, [&] { layer.Draw(scene); });
    const Rgb fog = FogRgb(), curtain = At(kWidth / 2, kHeight / 2);
    GLfixed end = 0;
    glGetFixedv(GL_FOG_END, &end);
    EXPECT_TRUE(curtain.r > fog.r + 10 && curtain.r < 250 && end == F(20))
        << curtain.r << " for the fog's " << fog.r;
    glDisable(GL_FOG);
    // A zone's cloud is drawn from outside the zone, not from within.
    CFSFlyThroughEffect effect;
    FSCloudZone zone;
    zone.outer = Box(50, 0, 50, 70, 5, 70);
    zone.inner = Box(55, 1, 55, 65, 4, 65);
    zone.texture = white;
    effect.AddZone(zone);
    for (const auto& [at, seen] :
         {std::pair{FSFixedVector{F(60), F(2), F(60)}, false}, {{F(20), F(2), F(28)}, true}}) {
        effect.UpdateAt(at);
        // From terrain (20, 2.5, 28) toward the zone.
        Shoot(std::atan2(32.0f, 40.0f), 0.0f, {F(-10), F(2.5), F(-2)}, 0,
              [&] { effect.Draw(scene.Camera()); });
        EXPECT_EQ(CountWhite() > 1000, seen);
    }
    glDeleteTextures(1, &white);
    // A jet's flame, seen from 3 km to the south, lies left of it, white-yellow to orange.
    std::unique_ptr<TestNode> jet = Owner(Box(-0.5, -1, -0.5, 0.5, 1, 0.5));
    jet->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));
    jet->Place({F(3), F(0.8), 0});
    TFSInverseCone flame(jet.get(), sine_);
    for (uint32_t t = 0; t < 200 && flame.FlickerLength() <= flame.Length() / 2; t += 20)
        flame.Update(scene, {t});  // a long flicker
    Shoot(kPi / 2, 0.0f, {F(3), F(0.8), F(-3)}, 0, [&] { flame.Draw(scene); });
    const int lit = Count([](const Rgb&c) { return c.r > 40; }),
              bright = Count([](const Rgb&c) { return c.r > 200; });
    const int redNotLeading = Count([](const Rgb& c) { return c.r > 40 && !(c.r >= c.g && c.g >= c.b); });
    EXPECT_TRUE(lit > 100 && bright > 0 && redNotLeading == 0)
        << lit << " " << bright << " " << redNotLeading;
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_COLOR_ARRAY));
}

// A cloud 3 km wide and 1 high, 6 km away, its picture white below and red above: from
// every side, from above and below and with the view rolled, it shows one heap of about
// the same size (never an edge-on quad) with the red on top as the world's up goes, in
// the colour of the daylight.
TEST_F(SkyRender, ACloudShowsOneUprightHeapFromEverySideInTheDaylight) {
    const GLuint picture = MakeTexture(16, [](int, int y, uint8_t* t) {
        const uint8_t texel[4] = {255, static_cast<uint8_t>(y < 8 ? 255 : 0),
                                  static_cast<uint8_t>(y < 8 ? 255 : 0), 255};
        std::copy(texel, texel + 4, t);
    });
    glDisable(GL_FOG);
    CFSCloudNode cloud(F(3), F(1), nullptr, "");
    cloud.SetTexture(picture);
    cloud.SetVisible(true);
    int least = INT_MAX, most = 0;  // pixels covered from the level sides
    // Eight sides level, from 45° above, from straight above and below, and rolled a
    // quarter turn (world up toward the picture's right, as in the landscape alignments).
    const float elevations[] = {-kPi / 4, -kPi / 2, kPi / 2, 0.0f};
    for (int view = 0; view < 12; ++view) {
        const float a = view * kPi / 4, elevation = view < 8 ? 0.0f : elevations[view - 8];
        const FSFixedVector along = {FloatToFixed(6 * std::cos(a) * std::cos(elevation)),
                                     FloatToFixed(6 * std::sin(elevation)),
                                     FloatToFixed(6 * std::sin(a) * std::cos(elevation))};
        cloud.Place(eye_ + along);
        Shoot(a, elevation, eye_, 0, [&] {
            if (view == 11) scene.Camera().LookAt(eye_, eye_ + along, {0, 0, kFixedOne}, 0);
            glLoadMatrixx(scene.Camera().ViewMatrix().m);
            cloud.Draw(scene);
        });
        int white = 0, red = 0;
        double whiteAt = 0, redAt = 0;  // summed heights up the world, in pixels
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const Rgb p = world_test::Channels(pixels[i]);
            const double up = view == 11 ? i % kWidth : -(i / kWidth);
            if (p.r == 255) (p.g == 255 ? whiteAt : redAt) += up, ++(p.g == 255 ? white : red);
        }
        EXPECT_TRUE(white + red > 6000 && white + red < 24000) << view << ": " << white + red;
        if (view < 8) least = std::min(least, white + red), most = std::max(most, white + red);
        // Seen from straight above or below, up is anyone's guess.
        if (view != 9 && view != 10) {
            EXPECT_GT(redAt / red, whiteAt / white + 20) << view;
        }
    }
    EXPECT_LT(most, least * 11 / 10);
    scene.Camera().SetDaylight({F(0.3), F(0.35), F(0.5)});  // by night
    cloud.Place(eye_ + FSFixedVector{F(6), 0, 0});
    Shoot(0.0f, 0.0f, eye_, 0, [&] { cloud.Draw(scene); });
    EXPECT_TRUE(world_test::Near(At(kWidth / 2, kHeight / 2 + 5), Rgb{77, 89, 128}, 2));
    glDeleteTextures(1, &picture);
}

// Outer 100..140 in x and z, 0..10 up; inner 110..130, 2..8.
FSCloudZone TestZone(uint32_t colour = 0xFFFFFF) {
    FSCloudZone zone;
    zone.outer = Box(100, 0, 100, 140, 10, 140);
    zone.inner = Box(110, 2, 110, 130, 8, 130);
    zone.mixColour = colour;
    return zone;
}

// The mean brightness (0..1) of a picture of one colour (x8r8g8b8) after the conversion.
double Clouded(const CFSFlyThroughEffect& effect, uint32_t colour, float seconds = 0.0f) {
    const std::vector<uint32_t> picture(240 * 320, colour);
    std::vector<uint16_t> out(picture.size());
    effect.Convert(out.data(), picture.data(), 240, 320, seconds);
    double sum = 0;
    for (uint16_t v : out)
        sum += Red5(v) / 31.0 + Green6(v) / 63.0 + Blue5(v) / 31.0;
    return sum / (3.0 * out.size());
}

TEST(FlyThrough, AZoneGivesStateOneInItsShellAndStateTwoInItsCoreAcrossTheSeamToo) {
    CFSFlyThroughEffect effect;
    effect.UpdateAt({F(120), F(5), F(120)});
    EXPECT_EQ(effect.State(), 0);  // no zones: never anything
    effect.AddZone(TestZone());
    FSCloudZone seam;  // a zone across the world's seam, and one holding the first
    seam.outer = Box(230, 0, 50, 250, 10, 70);
    seam.inner = Box(235, 2, 55, 245, 8, 65);
    effect.AddZone(seam);
    FSCloudZone wide = TestZone();
    wide.outer = Box(0, 0, 0, 200, 20, 200);
    EXPECT_EQ(effect.AddZone(wide), 2);
    // In the outer box, outside the inner one: state 1, factor 0..1 by the depth reached
    // from the face it was entered by; in the inner box state 2; the first zone wins.
    const std::tuple<double, double, double, int, int, float> points[] = {
        {205, 5, 120, 0, -1, 1.0f},      {105, 5, 120, 1, 0, 0.5f},
        {100, 5, 120, 1, 0, 0.0f},       {109, 5, 120, 1, 0, 0.9f},
        {120, 1, 120, 1, 0, 0.5f},       {120, 5, 120, 2, 0, 0.0f},
        {150, 5, 150, 1, 2, 50.0f / 70}, {3, 5, 60, 2, 1, 0.0f},
        {232, 5, 60, 1, 1, 0.4f}};  // 3 is 243 the other way round
    for (const auto& [x, y, z, state, zone, factor] : points) {
        effect.UpdateAt({F(x), F(y), F(z)});
        EXPECT_TRUE(effect.State() == state && effect.CurrentZone() == zone) << x << " " << y << " " << z;
        EXPECT_NEAR(effect.Factor(), factor, 1e-4f) << x << " " << y << " " << z;
    }
    // The player's node is taken at its terrain position: cell (2, 1), local (−30, 5, 29)
    // is (120, 5, 119), the core.
    world_test::TestNode player;
    player.SetCell({2, 1});
    player.Place({F(-30), F(5), F(29)});
    effect.Update(player);
    EXPECT_EQ(effect.State(), CFSFlyThroughEffect::kInside);
    effect.ClearZones();
    effect.Update(player);
    EXPECT_EQ(effect.State(), 0);
}

TEST(FlyThrough, ConvertCloudsThePictureTowardTheZoneColourByDensity) {
    CFSFlyThroughEffect effect;
    effect.AddZone(TestZone());
    const double dark = Clouded(effect, 0x203040);  // state 0: the plain conversion
    // State 2: full density turns the picture white, clear density leaves it as it was.
    effect.UpdateAt({F(120), F(5), F(120)});
    for (uint8_t density : {255, 0}) {
        ASSERT_TRUE(effect.SetCloudImage(256, 512, std::vector<uint8_t>(256 * 512, density)));
        EXPECT_TRUE(density ? Clouded(effect, 0x203040) > 0.97 : Clouded(effect, 0x203040) == dark)
            << density;
    }
    // A half-dense pattern: the thin fringe (factor 0.1) clouds less than the core and
    // than the even haze deeper in (factor 0.7).
    std::vector<uint8_t> stripes(256 * 512);
    for (size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = (i / 256) % 16 < 8 ? 200 : 40;
    ASSERT_TRUE(effect.SetCloudImage(256, 512, stripes));
    double luma[3];
    for (int k = 0; k < 3; ++k) {
        effect.UpdateAt({F(k == 0 ? 120 : (k == 1 ? 101 : 107)), F(5), F(120)});
        luma[k] = Clouded(effect, 0x203040);
    }
    EXPECT_TRUE(luma[1] > dark + 0.02 && luma[0] > luma[1] + 0.1 && luma[2] > luma[1] + 0.1);
}

TEST(FlyThrough, ConvertKeepsToItsRowsAndToleratesAnyDensityPictureSize) {
    CFSFlyThroughEffect effect;
    effect.AddZone(TestZone(0xFF0000));
    effect.UpdateAt({F(120), F(5), F(120)});
    const std::vector<uint32_t> black(120 * 160, 0);
    // Rows 40..59 (without a density picture the density is full), and from row 150 with
    // any count beyond the last row; the other rows are left alone.
    for (const auto& [first, count, last] : {std::tuple{40, 20, 59}, {150, 100, 159}, {150, INT_MAX, 159}}) {
        std::vector<uint16_t> out(black.size(), 0x1234);
        effect.Convert(out.data(), black.data(), 120, 160, 0.5f, first, count);
        for (int row = 0; row < 160; ++row) {
            const uint16_t p = out[static_cast<size_t>(row) * 120 + 7];
            ASSERT_TRUE(row >= first && row <= last ? Red5(p) >= 30 : p == 0x1234)
                << first << " " << count << " " << row;
        }
    }
    // A density picture smaller than the image repeats; wrong sizes are refused.
    EXPECT_FALSE(effect.SetCloudImage(3, 3, std::vector<uint8_t>(8, 255)) || effect.SetCloudImage(0, 5, {}));
    ASSERT_TRUE(effect.SetCloudImage(3, 2, {255, 0, 255, 0, 255, 0}));
    std::vector<uint16_t> out(black.size());
    for (float seconds : {0.0f, 1.7f, 250.0f, -3.0f})
        effect.Convert(out.data(), black.data(), 120, 160, seconds);
    effect.Convert(nullptr, black.data(), 120, 160, 0.0f);
    effect.Convert(out.data(), black.data(), 0, 160, 0.0f);
}

TEST(FlyThrough, TheDensityPictureComesFromTheTexturesArchive) {
    CFSFlyThroughEffect effect;
    ASSERT_TRUE(effect.LoadCloudImage(MakeDataPath("data\\textures.zip")));
    EXPECT_EQ(effect.ImageWidth(), 256);
    // Missing member, missing archive, a file that is no PNG: refused, the picture kept.
    const std::string folder = testing_support::MakeTempFolder("flythrough");
    ASSERT_TRUE(image_test_files::WriteText(folder + "/zone.png", "not a picture at all") &&
                image_test_files::RunShell("cd " + folder + " && zip -q bad.zip zone.png"));
    EXPECT_FALSE(effect.LoadCloudImage(MakeDataPath("data\\textures.zip"), "clouds/nothing.png") ||
                 effect.LoadCloudImage(MakeDataPath("data\\no-such-archive.zip")) ||
                 effect.LoadCloudImage(folder + "/bad.zip", "zone.png"));
    EXPECT_EQ(effect.ImageWidth(), 256);
    effect.AddZone(TestZone());  // Init forgets the picture and the zones
    effect.Init();
    EXPECT_TRUE(effect.ImageWidth() == 0 && effect.Zones().empty());
}

}  // namespace
