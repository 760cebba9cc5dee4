// The particle, horizon and gate textures of textures.zip as the game decodes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const std::string kTextures = MakeDataPath("data\\textures.zip");

// Texel (x, y) counted from the top of the picture, with its alpha last.
struct Picture {
    FSPngImage image;
    explicit Picture(const char* name) : image(LoadPng(kTextures, name)) {}
    const uint8_t* At(int x, int y) const { return Texel(image, x, image.height - 1 - y); }
    int AlphaAt(int x, int y) const { return Alpha(image, x, image.height - 1 - y); }
};

TEST(TextureData, EveryTextureIsAPowerOfTwoPng) {
    struct Expected {
        const char* name;
        int size;
        bool alpha;
    };
    for (const Expected& e : {Expected{"particle.png", 32, true}, Expected{"avia.png", 64, true},
                              Expected{"red.png", 32, false}, Expected{"blue.png", 32, false}}) {
        const Picture p(e.name);
        EXPECT_EQ(p.image.width, e.size) << e.name;
        EXPECT_EQ(p.image.height, e.size) << e.name;
        EXPECT_EQ(p.image.channels, e.alpha ? 4 : 3) << e.name;
    }
}

TEST(TextureData, TheParticleIsASoftRoundWhiteSprite) {
    const Picture p("particle.png");
    const int c = p.image.width / 2, last = p.image.width - 1;
    ASSERT_EQ(p.image.channels, 4);
    EXPECT_GT(p.AlphaAt(c, c), 240);
    for (int corner : {0, last}) {
        EXPECT_EQ(p.AlphaAt(corner, 0), 0);
        EXPECT_EQ(p.AlphaAt(corner, last), 0);
    }
    // Alpha falls steadily from the centre outwards, the same in every direction.
    for (int r = 1; r < c; ++r) {
        EXPECT_LE(p.AlphaAt(c + r, c), p.AlphaAt(c + r - 1, c)) << r;
        EXPECT_EQ(p.AlphaAt(c + r - 1, c), p.AlphaAt(c, c + r - 1)) << r;
    }
    // White everywhere, so particles take their colour from the particle system alone.
    for (size_t i = 0; i < p.image.pixels.size(); i += 4)
        EXPECT_EQ(p.image.pixels[i] & p.image.pixels[i + 1] & p.image.pixels[i + 2], 255);
}

TEST(TextureData, TheHorizonOverlayReadsTheSameFromBothEdges) {
    const Picture p("avia.png");
    ASSERT_EQ(p.image.channels, 4);
    const int w = p.image.width, h = p.image.height;
    int clear = 0, lit = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // White texels: alpha 0 leaves the plain sky or ground colour under the blend.
            EXPECT_EQ(p.At(x, y)[0] & p.At(x, y)[1] & p.At(x, y)[2], 255);
            const int alpha = p.AlphaAt(x, y);
            clear += alpha == 0;
            lit += alpha == 255;
            // The same picture serves the sky half and the ground half, one turned over.
            EXPECT_NEAR(alpha, p.AlphaAt(x, h - 1 - y), 2) << x << "," << y;
            EXPECT_NEAR(alpha, p.AlphaAt(w - 1 - x, y), 2) << x << "," << y;
        }
    }
    EXPECT_GT(clear, w * h / 2);
    EXPECT_GT(lit, 2 * w);  // at least the horizon line along both edges
}

TEST(TextureData, GateTexturesAreRedAndBlue) {
    auto average = [](const char* name) {
        const Picture p(name);
        std::vector<double> sum(3, 0.0);
        for (size_t i = 0; i < p.image.pixels.size(); ++i)
            sum[i % 3] += p.image.pixels[i] * 3.0 / p.image.pixels.size();
        return sum;
    };
    const std::vector<double> red = average("red.png"), blue = average("blue.png");
    EXPECT_GT(red[0], 1.8 * red[1]);
    EXPECT_GT(red[0], 1.8 * red[2]);
    EXPECT_GT(blue[2], 1.8 * blue[0]);
    EXPECT_GT(blue[2], blue[1]);
    EXPECT_GT(red[0], 180);  // bright
    EXPECT_GT(blue[2], 180);
}

}  // namespace
