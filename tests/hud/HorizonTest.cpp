// The artificial horizon drawn for real through a headless GL surface and read back.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "hud/FSArtificialHorizon.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPixels.h"

namespace {

constexpr int kSize = 48;
constexpr float kPi = 3.14159265f;

class Horizon : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(120, 160));
        glViewport(0, 0, 120, 160);
        block_ = CreateBitmap565(kSize, kSize);
    }
    // The window as the player sees it in the alignment's upright screen: true where sky.
    bool SkyAt(int alignment, int x, int y) const {
        int bx = x, by = y;  // the block is in frame-buffer orientation
        if (alignment == 1) bx = y, by = kSize - 1 - x;
        if (alignment == 2) bx = kSize - 1 - y, by = x;
        const uint16_t p = block_->Pixels()[by * block_->Stride() + bx];
        return (p & 0x1F) > ((p >> 11) & 0x1F) + 3;  // bluer than red
    }
    // The first upright row of the column that is ground.
    int HorizonRow(int alignment, int x) const {
        for (int y = 0; y < kSize; ++y)
            if (!SkyAt(alignment, x, y)) return y;
        return kSize;
    }
    void Paint(float pitch, float bank, int alignment) {
        horizon_.SetAttitude(pitch, bank);
        ASSERT_TRUE(PaintHorizon(horizon_, alignment, 0, 0, 120, 160, *block_));
    }

    CFSGLSurface surface_;
    FSBitmapHandle block_;
    CFSArtificialHorizon horizon_{kSize / 2.0f, kSize / 2.0f, kSize / 2.0f, CFSArtificialHorizon::kSky,
                                  CFSArtificialHorizon::kGround};
};

TEST_F(Horizon, AttitudeIsKeptAsRollAboutLevelAndAPitchOffset) {
    const struct {
        float pitch, bank;
        double roll, offset;  // degrees, pixels
    } cases[] = {
        {0.0f, 0.0f, 180.0, 0.0},     {0.0f, kPi, 0.0, 0.0},        {0.0f, -kPi, 0.0, 0.0},
        {0.0f, 3.0f * kPi, 0.0, 0.0}, {kPi / 2, 0.0f, 180.0, 24.0}, {-kPi / 4, kPi / 2, 270.0, -12.0},
    };
    for (const auto& c : cases) {
        horizon_.SetAttitude(c.pitch, c.bank);
        const double roll = std::fmod(horizon_.Roll() / 65536.0, 360.0);
        EXPECT_NEAR(roll, c.roll, 0.01) << c.pitch << " " << c.bank;
        EXPECT_NEAR(horizon_.Offset() / 65536.0, c.offset, 0.01) << c.pitch << " " << c.bank;
    }
    const int32_t before = horizon_.Roll();
    horizon_.SetAttitude(NAN, 0.3f);
    EXPECT_EQ(horizon_.Roll(), before);
}

TEST_F(Horizon, SkyStandsUpInEveryOrientationAndTheLineTiltsAndSinksWithTheAttitude) {
    for (int alignment : {0, 1, 2}) {
        Paint(0.0f, 0.0f, alignment);
        EXPECT_TRUE(SkyAt(alignment, kSize / 2, 2)) << alignment;
        EXPECT_FALSE(SkyAt(alignment, kSize / 2, kSize - 3)) << alignment;
        EXPECT_NEAR(HorizonRow(alignment, 4), kSize / 2, 1) << alignment;
        EXPECT_NEAR(HorizonRow(alignment, kSize - 5), kSize / 2, 1) << alignment;

        // The nose up 30 degrees: the line sinks by a third of the half-size, showing more sky.
        Paint(kPi / 6, 0.0f, alignment);
        EXPECT_NEAR(HorizonRow(alignment, kSize / 2), kSize / 2 + 8, 1) << alignment;

        // Banked one way the line tilts, banked the other way it tilts the other way.
        Paint(0.0f, 0.5f, alignment);
        const int leftUp = HorizonRow(alignment, 4), rightUp = HorizonRow(alignment, kSize - 5);
        Paint(0.0f, -0.5f, alignment);
        EXPECT_NEAR(HorizonRow(alignment, 4), rightUp, 1) << alignment;
        EXPECT_NEAR(HorizonRow(alignment, kSize - 5), leftUp, 1) << alignment;
        EXPECT_GT(std::abs(leftUp - rightUp), 15) << alignment;

        // Upside down the ground is above.
        Paint(0.0f, kPi, alignment);
        EXPECT_FALSE(SkyAt(alignment, kSize / 2, 2)) << alignment;
    }
}

TEST_F(Horizon, TheCornerPassLeavesTheSurfaceStateAndRefusesABlockTooLarge) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glScissor(0, 0, 120, 160);
    Paint(0.1f, 0.2f, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[2], 120);
    EXPECT_EQ(box[3], 160);

    FSBitmapHandle wide = CreateBitmap565(200, 20);
    wide->Pixels()[0] = 0x1234;
    EXPECT_FALSE(PaintHorizon(horizon_, 0, 1, 0, 120, 160, *wide));
    EXPECT_EQ(wide->Pixels()[0], 0x1234);
}

}  // namespace
