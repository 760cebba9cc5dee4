// The tools' picture writers, read back by the game's own decoders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "resources/FSBitmap.h"
#include "resources/FSPng.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

TEST(ImageFiles, GreyPngsDecodeAsGreyWithTheTopRowLast) {
    std::vector<uint8_t> grey(4 * 2);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<uint8_t>(i * 30);
    const std::vector<uint8_t> png = EncodeGreyPng(grey, 4, 2);
    FSPngImage image;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), image));
    ASSERT_EQ(std::vector<int>({image.width, image.height, image.channels}), std::vector<int>({4, 2, 3}));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.pixels[3 * (4 + x)], grey[x]);  // the first row comes last
        EXPECT_EQ(image.pixels[3 * x + 2], grey[4 + x]);
    }
    EXPECT_TRUE(EncodeGreyPng(grey, 3, 2).empty());  // size and bytes disagree
}

// What the build renders (the icon, by rsvg-convert) and the game draws is read back as RGBA;
// a damaged or foreign file is refused.
TEST(ImageFiles, PngFilesReadBackAsRgbaAndDamagedOnesAreRefused) {
    const std::string folder = testing_support::MakeTempFolder("pngread");
    Canvas canvas(3, 2);
    for (int i = 0; i < 6; ++i)
        canvas.At(i % 3, i / 3) = {uint8_t(i * 40), uint8_t(255 - i), uint8_t(i), uint8_t(i * 50)};
    const std::vector<uint8_t> png = EncodePng(canvas, true);
    ASSERT_TRUE(WriteFile(folder + "ours.png", png));
    ASSERT_TRUE(
        WriteFile(folder + "half.png", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)));
    image_test_files::WriteText(folder + "empty.png", "");
    image_test_files::WriteText(folder + "text.png", "not a picture at all");
    // A picture ImageMagick wrote, when it is there.
    int status = 0;
    testing_support::RunCommand("convert -size 2x2 xc:'#4080c0' png24:" + folder + "im.png", status);
    const bool magick = status == 0;
    const struct {
        const char* file;
        bool read;
        int width, height;
        std::vector<uint8_t> first;  // the top left pixel
    } kFiles[] = {
        {"ours.png", true, 3, 2, {0, 255, 0, 0}},
        {"im.png", magick, 2, 2, {64, 128, 192, 255}},
        {"half.png", false, 0, 0, {}},
        {"empty.png", false, 0, 0, {}},
        {"text.png", false, 0, 0, {}},
        {"missing.png", false, 0, 0, {}},
    };
    for (const auto& file : kFiles) {
        SCOPED_TRACE(file.file);
        int width = 0, height = 0;
        std::vector<uint8_t> rgba;
        ASSERT_EQ(ReadPngRgba(folder + file.file, width, height, rgba), file.read);
        if (!file.read) continue;
        EXPECT_EQ(std::vector<int>({width, height}), std::vector<int>({file.width, file.height}));
        ASSERT_EQ(rgba.size(), size_t(width * height * 4));
        EXPECT_EQ(std::vector<uint8_t>(rgba.begin(), rgba.begin() + 4), file.first);
    }
    image_test_files::RemoveTempFolder(folder);
}

TEST(ImageFiles, ColourAndMaskBmpsLoadTopRowFirstWhateverTheirRowOrder) {
    // Three pixels wide, so both kinds of row need padding.
    const std::vector<uint16_t> colour = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x1234};
    for (bool topDown : {false, true}) {
        const std::vector<uint8_t> bmp = Encode565Bmp(colour, 3, 2, topDown);
        const FSBitmapHandle picture = DecodeBitmap(bmp.data(), bmp.size());
        ASSERT_TRUE(picture) << topDown;
        ASSERT_EQ(std::vector<int>({picture->width, picture->height, picture->bitsPerPixel}),
                  std::vector<int>({3, 2, 16}));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(picture->Pixels()[(i / 3) * picture->Stride() + i % 3], colour[i])
                << topDown << " " << i;
    }
    const std::vector<uint8_t> alpha = {0, 128, 255, 7, 8, 9};
    const std::vector<uint8_t> bmp = EncodeMaskBmp(alpha, 3, 2);
    const FSBitmapHandle mask = DecodeBitmap(bmp.data(), bmp.size());
    ASSERT_TRUE(mask);
    ASSERT_EQ(std::vector<int>({mask->width, mask->height, mask->bitsPerPixel}), std::vector<int>({3, 2, 8}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(mask->Bytes()[(i / 3) * mask->rowBytes + i % 3], alpha[i]) << i;
    // A grey palette, so the mask also looks right in a viewer.
    ASSERT_EQ(mask->palette.size(), 256u);
    EXPECT_EQ(mask->palette[128], 0x808080u);
}

TEST(ImageFiles, PicturesOf565PixelsSpanTheWholeColourRange) {
    const uint16_t pixels[] = {To565({255, 255, 255, 255}), To565({255, 0, 0, 255}), 0x0000,
                               To565({8, 4, 8, 255})};
    const Canvas canvas = CanvasFrom565(pixels, 2, 2);
    std::vector<int> channels;
    for (int i = 0; i < 4; ++i)
        channels.insert(channels.end(),
                        {canvas.At(i % 2, i / 2).r, canvas.At(i % 2, i / 2).g, canvas.At(i % 2, i / 2).b});
    EXPECT_EQ(channels, std::vector<int>({255, 255, 255, 255, 0, 0, 0, 0, 0, 8, 4, 8}));
}

}  // namespace
