#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"
#include "resources/FSArchive.h"

namespace {

using namespace archive_test;

const std::string kTextures = MakeDataPath("data\\textures.zip");

struct Picture {
    int width = 0, height = 0;
    bool fileHasAlpha = false;
    std::vector<uint8_t> rgba;  // always expanded to RGBA, row 0 at the top
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

bool DecodePng(const std::vector<uint8_t>& bytes, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.fileHasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

bool PowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

TEST(TextureData, EveryTextureIsAPowerOfTwoPng) {
    struct Expected {
        const char* name;
        int size;
        bool alpha;
    };
    for (const Expected& e : {Expected{"particle.png", 32, true}, Expected{"avia.png", 64, true},
                              Expected{"red.png", 32, false}, Expected{"blue.png", 32, false}}) {
        Picture picture;
        ASSERT_TRUE(DecodePng(MemberBytes(kTextures, e.name), picture)) << e.name;
        EXPECT_EQ(picture.width, e.size) << e.name;
        EXPECT_EQ(picture.height, e.size) << e.name;
        EXPECT_TRUE(PowerOfTwo(picture.width) && PowerOfTwo(picture.height)) << e.name;
        EXPECT_EQ(picture.fileHasAlpha, e.alpha) << e.name;
    }
}

TEST(TextureData, TheParticleIsASoftRoundWhiteSprite) {
    Picture p;
    ASSERT_TRUE(DecodePng(MemberBytes(kTextures, "particle.png"), p));
    const int c = p.width / 2;
    EXPECT_GT(p.At(c, c)[3], 240);
    for (int corner : {0, p.width - 1}) {
        EXPECT_EQ(p.At(corner, 0)[3], 0);
        EXPECT_EQ(p.At(corner, p.height - 1)[3], 0);
    }
    // Alpha falls steadily from the centre outwards, the same in every direction.
    for (int r = 1; r < c; ++r) {
        EXPECT_LE(p.At(c + r, c)[3], p.At(c + r - 1, c)[3]) << r;
        EXPECT_EQ(p.At(c + r - 1, c)[3], p.At(c, c + r - 1)[3]) << r;
    }
    // White everywhere, so particles take their colour from the particle system alone.
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
        EXPECT_EQ(p.rgba[i] & p.rgba[i + 1] & p.rgba[i + 2], 255);
    }
}

TEST(TextureData, TheHorizonOverlayReadsTheSameFromBothEdges) {
    Picture p;
    ASSERT_TRUE(DecodePng(MemberBytes(kTextures, "avia.png"), p));
    int clear = 0, lit = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* texel = p.At(x, y);
            // White texels: alpha 0 leaves the plain sky or ground colour under the blend.
            EXPECT_EQ(texel[0] & texel[1] & texel[2], 255);
            clear += texel[3] == 0;
            lit += texel[3] == 255;
            // The same picture serves the sky half and the ground half, one turned over.
            EXPECT_NEAR(texel[3], p.At(x, p.height - 1 - y)[3], 2) << x << "," << y;
            EXPECT_NEAR(texel[3], p.At(p.width - 1 - x, y)[3], 2) << x << "," << y;
        }
    }
    EXPECT_GT(clear, p.width * p.height / 2);
    EXPECT_GT(lit, 2 * p.width);  // at least the horizon line along both edges
}

TEST(TextureData, GateTexturesAreRedAndBlue) {
    auto average = [](const std::string& name) {
        Picture p;
        EXPECT_TRUE(DecodePng(MemberBytes(kTextures, name), p)) << name;
        double sum[3] = {0, 0, 0};
        for (size_t i = 0; i < p.rgba.size(); i += 4) {
            for (int k = 0; k < 3; ++k)
                sum[k] += p.rgba[i + k];
        }
        const double n = p.rgba.size() / 4.0;
        return std::vector<double>{sum[0] / n, sum[1] / n, sum[2] / n};
    };
    const std::vector<double> red = average("red.png"), blue = average("blue.png");
    ASSERT_EQ(red.size(), 3u);
    ASSERT_EQ(blue.size(), 3u);
    EXPECT_GT(red[0], 1.8 * red[1]);
    EXPECT_GT(red[0], 1.8 * red[2]);
    EXPECT_GT(blue[2], 1.8 * blue[0]);
    EXPECT_GT(blue[2], blue[1]);
    EXPECT_GT(red[0], 180);  // bright
    EXPECT_GT(blue[2], 180);
}

}  // namespace
