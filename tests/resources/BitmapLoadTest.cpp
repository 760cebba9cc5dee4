// Loading BMP pictures and masks written by ImageMagick, read through an archive encrypted
// with the game's password, and BMP files damaged on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "resources/FSBitmap.h"
#include "support/FileSuite.h"
#include "support/ImageTestFiles.h"
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
// The bytes with the 32-bit little-endian field at offset at set to value.
std::vector<uint8_t> Changed(std::vector<uint8_t> bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
}

FSBitmapHandle Decode(const std::vector<uint8_t>& bytes) {
    return DecodeBitmap(bytes.data(), bytes.size());
}

// The six colours, top row first, in a 3 x 2 picture of 16 bits with rows of 4 pixels.
void ExpectSixColours(const FSBitmapHandle& b) {
    ASSERT_TRUE(b);
    EXPECT_EQ(std::make_tuple(b->width, b->height, b->bitsPerPixel, b->Stride(), b->rowBytes),
              std::make_tuple(3, 2, 16, 4, 8));
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(b->Pixels()[x], kTopRow[x]) << x;
        EXPECT_EQ(b->Pixels()[4 + x], kBottomRow[x]) << x;
    }
}

class BitmapLoading : public testing_support::FileSuite<BitmapLoading> {
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
                 RunShell("mkdir -p " + ShellQuote(folder_ + "controls/messagebox")) &&
                 Convert(folder_, six + " -define bmp:subtype=RGB565 controls/messagebox/window.bmp") &&
                 ZipWithPassword(folder_, folder_ + "menu.zip",
                                 "picture565.bmp picture565v3.bmp picture555.bmp picture24.bmp "
                                 "twocolours.bmp ramp_mask.bmp ramp_rle.bmp controls/messagebox/window.bmp");
    }
    static FSBitmapHandle Load(const std::string& member, bool flip = true) {
        return LoadBitmap(folder_ + "menu.zip", member, flip);
    }
    static std::vector<uint8_t> File(const std::string& name) { return ReadBytes(folder_ + name); }
};

TEST_F(BitmapLoading, Reads16BitPicturesAs565TopRowFirstWithRowsPaddedToEvenWidth) {
    for (const char* member :
         {"picture565.bmp", "picture565v3.bmp", "picture555.bmp", "controls/messagebox/window.bmp"}) {
        SCOPED_TRACE(member);
        ExpectSixColours(Load(member));
    }
    // Without the flip the file's order, bottom row first, stays.
    FSBitmapHandle unflipped = Load("picture565.bmp", false);
    ASSERT_TRUE(unflipped);
    EXPECT_EQ(std::vector<uint16_t>(unflipped->Pixels(), unflipped->Pixels() + 3),
              std::vector<uint16_t>(kBottomRow, kBottomRow + 3));
    // The same picture stored top row first, marked by a negative height, is read the right way up.
    std::vector<uint8_t> file = Changed(File("picture565v3.bmp"), 22, static_cast<uint32_t>(-2));
    std::rotate(file.begin() + U32(file, 10), file.begin() + U32(file, 10) + 8, file.end());
    ExpectSixColours(Decode(file));
}

TEST_F(BitmapLoading, Reads8BitMasksWithRowsPaddedToFourBytesAndKeepsThePalette) {
    FSBitmapHandle mask = Load("ramp_mask.bmp");
    ASSERT_TRUE(mask);
    EXPECT_EQ(std::make_tuple(mask->width, mask->height, mask->bitsPerPixel, mask->Stride(), mask->rowBytes),
              std::make_tuple(6, 4, 8, 8, 8));
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 6; ++i) {
            const uint8_t index = mask->Bytes()[j * 8 + i];
            ASSERT_LT(index, mask->palette.size());
            const uint32_t colour = mask->palette[index];
            EXPECT_NEAR(static_cast<int>(colour & 0xFF), (255 * (i + 6 * j) + 11) / 23, 1) << i << "," << j;
            EXPECT_EQ(colour & 0xFF, (colour >> 8) & 0xFF);
        }
    }
}

TEST_F(BitmapLoading, RefusesOtherDepthsCompressionMissingMembersAndHeadersThatDoNotFitTheirData) {
    for (const char* member : {"picture24.bmp", "twocolours.bmp", "ramp_rle.bmp", "no_such_picture.bmp"})
        EXPECT_FALSE(Load(member)) << member;
    EXPECT_FALSE(LoadBitmap(folder_ + "no_such_archive.zip", "picture565.bmp"));

    const std::vector<uint8_t> good = File("picture565v3.bmp");
    ASSERT_TRUE(Decode(good));
    // Every truncation: the header or the rows no longer fit.
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(DecodeBitmap(good.data(), length)) << length;
    // No signature, pixels past the end or inside the header, a third row that is not there,
    // wider rows than stored, widths and heights out of range, the old core header, a header
    // longer than the file, compressed 16-bit, colour masks of no layout the game reads.
    const std::pair<size_t, uint32_t> changes[] = {{0, 0},
                                                   {10, static_cast<uint32_t>(good.size() + 1)},
                                                   {10, 20},
                                                   {22, 3},
                                                   {18, 5},
                                                   {18, 0},
                                                   {18, 0xFFFFFFFDu},
                                                   {18, 0x7FFFFFFF},
                                                   {22, 0x80000000u},
                                                   {22, 0x7FFFFFFF},
                                                   {14, 12},
                                                   {14, 0xFFFFFFF0u},
                                                   {30, 1}};
    for (const auto& [at, value] : changes)
        EXPECT_FALSE(Decode(Changed(good, at, value))) << at << " = " << value;
    EXPECT_FALSE(Decode(Changed(File("picture565.bmp"), 54, 0xF000)));  // the red mask in the header

    // An 8-bit file whose palette would run into the pixels or has too many colours; 16
    // colours declared fit, and are kept.
    const std::vector<uint8_t> mask = File("ramp_mask.bmp");
    EXPECT_FALSE(Decode(Changed(mask, 10, 54 + 16)));
    EXPECT_FALSE(Decode(Changed(mask, 46, 300)));
    FSBitmapHandle few = Decode(Changed(mask, 46, 16));
    ASSERT_TRUE(few);
    EXPECT_EQ(few->palette.size(), 16u);
}

TEST(Bitmap, CreatesEmpty565PicturesOfEvenStride) {
    FSBitmapHandle bitmap = CreateBitmap565(3, 2);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(std::make_tuple(bitmap->Stride(), bitmap->rowBytes, bitmap->bitsPerPixel),
              std::make_tuple(4, 8, 16));
    EXPECT_EQ(std::vector<uint16_t>(bitmap->Pixels(), bitmap->Pixels() + 8), std::vector<uint16_t>(8, 0));
    EXPECT_FALSE(CreateBitmap565(0, 5));
    EXPECT_FALSE(CreateBitmap565(5, -1));
    EXPECT_FALSE(CreateBitmap565(0x7FFFFFFF, 0x7FFFFFFF));
}

}  // namespace
