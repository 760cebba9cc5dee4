// Loading BMP pictures and masks written by ImageMagick, read through an archive encrypted
// with the game's password, and BMP files damaged on purpose.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ImageTestFiles.h"
#include "resources/FSBitmap.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

// 3 x 2: red, green, blue over white, black, yellow.
const char kSixColours[] =
    "-size 1x1 xc:red xc:lime xc:blue +append \\( xc:white xc:black xc:yellow +append \\) -append";
const uint16_t kTopRow[3] = {0xF800, 0x07E0, 0x001F};
const uint16_t kBottomRow[3] = {0xFFFF, 0x0000, 0xFFE0};
// 6 x 4 greys, pixel (i, j) = (i + 6 j) / 23 of white: 24 values, so ImageMagick keeps 8 bits.
const char kGreyRamp[] = "-size 6x4 xc: -fx '(i+j*6)/23' -type Palette -depth 8";

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

FSBitmapHandle Decode(const std::vector<uint8_t>& bytes, bool flip = true) {
    return DecodeBitmap(bytes.data(), bytes.size(), flip);
}

uint16_t At(const FSBitmap& b, int x, int y) {
    return b.Pixels()[y * b.Stride() + x];
}

class BitmapLoading : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("bitmaps");
        const std::string six = kSixColours;
        const std::string ramp = kGreyRamp;
        ready_ = Convert(folder_, six + " -define bmp:subtype=RGB565 picture565.bmp") &&
                 Convert(folder_, six + " -define bmp:subtype=RGB565 BMP3:picture565v3.bmp") &&
                 Convert(folder_, six + " -define bmp:subtype=RGB555 picture555.bmp") &&
                 Convert(folder_, six + " -type truecolor BMP3:picture24.bmp") &&
                 Convert(folder_, "-size 3x2 xc:red xc:blue -append -type Palette BMP3:twocolours.bmp") &&
                 Convert(folder_, ramp + " -compress none BMP3:ramp_mask.bmp") &&
                 Convert(folder_, ramp + " -compress RLE BMP3:ramp_rle.bmp") &&
                 RunShell("mkdir -p " + ShellQuote(folder_ + "controls/messagebox") + " && cp " +
                          ShellQuote(folder_ + "picture565.bmp") + " " +
                          ShellQuote(folder_ + "controls/messagebox/window.bmp")) &&
                 ZipWithPassword(folder_, folder_ + "menu.zip",
                                 "picture565.bmp picture565v3.bmp picture555.bmp picture24.bmp "
                                 "twocolours.bmp ramp_mask.bmp ramp_rle.bmp controls/messagebox/window.bmp");
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "ImageMagick or zip failed in " << folder_; }

    static FSBitmapHandle Load(const std::string& member, bool flip = true) {
        return LoadBitmap(folder_ + "menu.zip", member, flip);
    }
    static std::vector<uint8_t> File(const std::string& name) { return ReadBytes(folder_ + name); }

    static std::string folder_;
    static bool ready_;
};
std::string BitmapLoading::folder_;
bool BitmapLoading::ready_ = false;

TEST_F(BitmapLoading, Reads16BitPicturesAs565TopRowFirstWithRowsPaddedToEvenWidth) {
    for (const char* member :
         {"picture565.bmp", "picture565v3.bmp", "picture555.bmp", "controls/messagebox/window.bmp"}) {
        SCOPED_TRACE(member);
        FSBitmapHandle bitmap = Load(member);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width, 3);
        EXPECT_EQ(bitmap->height, 2);
        EXPECT_EQ(bitmap->bitsPerPixel, 16);
        EXPECT_EQ(bitmap->Stride(), 4);
        EXPECT_EQ(bitmap->rowBytes, 8);
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(At(*bitmap, x, 0), kTopRow[x]) << x;
            EXPECT_EQ(At(*bitmap, x, 1), kBottomRow[x]) << x;
        }
    }
    // The file stores the bottom row first: its last stored row is the bitmap's first.
    const std::vector<uint8_t> file = File("picture565v3.bmp");
    FSBitmapHandle bitmap = Decode(file);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(std::memcmp(bitmap->Bytes(), file.data() + U32(file, 10) + 8, 8), 0);
    // Without the flip the file's order stays.
    FSBitmapHandle unflipped = Load("picture565.bmp", false);
    ASSERT_TRUE(unflipped);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(At(*unflipped, x, 0), kBottomRow[x]);
}

TEST_F(BitmapLoading, ReadsTopDownFilesTheRightWayUp) {
    // The same picture stored top row first, marked by a negative height.
    std::vector<uint8_t> file = File("picture565v3.bmp");
    const uint32_t offset = U32(file, 10);
    PutU32(file, 22, static_cast<uint32_t>(-2));
    std::vector<uint8_t> rows(file.begin() + offset, file.end());
    std::copy(rows.begin() + 8, rows.begin() + 16, file.begin() + offset);
    std::copy(rows.begin(), rows.begin() + 8, file.begin() + offset + 8);
    FSBitmapHandle bitmap = Decode(file);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->height, 2);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(At(*bitmap, x, 0), kTopRow[x]);
        EXPECT_EQ(At(*bitmap, x, 1), kBottomRow[x]);
    }
}

TEST_F(BitmapLoading, Reads8BitMasksWithRowsPaddedToFourBytesAndKeepsThePalette) {
    FSBitmapHandle mask = Load("ramp_mask.bmp");
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->width, 6);
    EXPECT_EQ(mask->height, 4);
    EXPECT_EQ(mask->bitsPerPixel, 8);
    EXPECT_EQ(mask->rowBytes, 8);
    EXPECT_EQ(mask->Stride(), 8);
    ASSERT_FALSE(mask->palette.empty());
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 6; ++i) {
            const uint8_t index = mask->Bytes()[j * 8 + i];
            ASSERT_LT(index, mask->palette.size());
            const uint32_t colour = mask->palette[index];
            const int expected = (255 * (i + 6 * j) + 11) / 23;
            EXPECT_NEAR(static_cast<int>(colour & 0xFF), expected, 1) << i << "," << j;
            EXPECT_EQ(colour & 0xFF, (colour >> 8) & 0xFF);
        }
    }
}

TEST_F(BitmapLoading, RefusesOtherDepthsCompressionAndMissingMembers) {
    EXPECT_FALSE(Load("picture24.bmp"));
    EXPECT_FALSE(Load("twocolours.bmp"));  // 1 bit per pixel
    EXPECT_FALSE(Load("ramp_rle.bmp"));
    EXPECT_FALSE(Load("no_such_picture.bmp"));
    EXPECT_FALSE(LoadBitmap(folder_ + "no_such_archive.zip", "picture565.bmp"));
}

TEST_F(BitmapLoading, RefusesHeadersThatDoNotFitTheirData) {
    const std::vector<uint8_t> good = File("picture565v3.bmp");
    ASSERT_TRUE(Decode(good));
    // Every truncation: the header or the rows no longer fit.
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(DecodeBitmap(good.data(), length)) << length;
    }
    auto changed = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        PutU32(bytes, at, value);
        return Decode(bytes);
    };
    std::vector<uint8_t> signature = good;
    signature[0] = 'X';
    EXPECT_FALSE(Decode(signature));
    EXPECT_FALSE(changed(10, static_cast<uint32_t>(good.size() + 1)));  // pixels past the end
    EXPECT_FALSE(changed(10, 20));                                      // pixels inside the header
    EXPECT_FALSE(changed(22, 3));                                       // a third row that is not there
    EXPECT_FALSE(changed(18, 5));                                       // wider rows than stored
    EXPECT_FALSE(changed(18, 0));
    EXPECT_FALSE(changed(18, static_cast<uint32_t>(-3)));
    EXPECT_FALSE(changed(18, 0x7FFFFFFF));
    EXPECT_FALSE(changed(22, 0x80000000u));
    EXPECT_FALSE(changed(22, 0x7FFFFFFF));
    EXPECT_FALSE(changed(14, 12));           // the old core header
    EXPECT_FALSE(changed(14, 0xFFFFFFF0u));  // a header longer than the file
    EXPECT_FALSE(changed(30, 1));            // compressed 16-bit

    // An 8-bit file whose palette would run into the pixels, or has too many colours.
    const std::vector<uint8_t> mask = File("ramp_mask.bmp");
    ASSERT_TRUE(Decode(mask));
    std::vector<uint8_t> shortPalette = mask;
    PutU32(shortPalette, 10, 54 + 16);
    EXPECT_FALSE(Decode(shortPalette));
    std::vector<uint8_t> manyColours = mask;
    PutU32(manyColours, 46, 300);
    EXPECT_FALSE(Decode(manyColours));
    std::vector<uint8_t> fewColours = mask;  // 16 colours declared: fits, and is kept
    PutU32(fewColours, 46, 16);
    FSBitmapHandle few = Decode(fewColours);
    ASSERT_TRUE(few);
    EXPECT_EQ(few->palette.size(), 16u);
}

TEST_F(BitmapLoading, SurvivesRandomDamageToTheHeaders) {
    for (const char* name : {"picture565.bmp", "ramp_mask.bmp"}) {
        const std::vector<uint8_t> good = File(name);
        std::mt19937 random(1234);
        for (int round = 0; round < 3000; ++round) {
            std::vector<uint8_t> bytes = good;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i) {
                bytes[random() % std::min<size_t>(bytes.size(), 70)] = static_cast<uint8_t>(random());
            }
            FSBitmapHandle bitmap = Decode(bytes);
            if (!bitmap) continue;
            // Whatever loads describes exactly the pixels it holds.
            EXPECT_GT(bitmap->width, 0);
            EXPECT_GT(bitmap->height, 0);
            EXPECT_GE(bitmap->rowBytes * 8, bitmap->width * bitmap->bitsPerPixel);
            EXPECT_EQ(bitmap->rowBytes % 4, 0);
            EXPECT_GE(bitmap->storage.size() * 2, static_cast<size_t>(bitmap->rowBytes) * bitmap->height);
        }
    }
}

TEST(Bitmap, CreatesEmpty565PicturesOfEvenStride) {
    FSBitmapHandle bitmap = CreateBitmap565(3, 2);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Stride(), 4);
    EXPECT_EQ(bitmap->rowBytes, 8);
    EXPECT_EQ(bitmap->bitsPerPixel, 16);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bitmap->Pixels()[i], 0);
    EXPECT_FALSE(CreateBitmap565(0, 5));
    EXPECT_FALSE(CreateBitmap565(5, -1));
    EXPECT_FALSE(CreateBitmap565(0x7FFFFFFF, 0x7FFFFFFF));
}

}  // namespace
