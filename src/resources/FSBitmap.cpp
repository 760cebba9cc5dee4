// Reading BMP files into bitmaps, and making empty ones.
#include "resources/FSBitmap.h"

#include <cstring>

#include "resources/FSArchive.h"

namespace {

// File header (14 bytes) then the info header; offsets below are from the file start.
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;  // the oldest header with the fields we read
constexpr uint32_t kRgb = 0;            // uncompressed; 16-bit pixels are then 5-5-5
constexpr uint32_t kBitFields = 3;      // uncompressed, channel masks given
// No picture of the game comes near this; a bigger buffer is refused rather than made.
constexpr uint64_t kLargestBitmapBytes = uint64_t{1} << 28;

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t ReadS32(const uint8_t* p) {
    const uint32_t u = ReadU32(p);
    int32_t s;
    std::memcpy(&s, &u, sizeof s);
    return s;
}

enum class PixelLayout { Rgb565, Rgb555, Indexed8, Unsupported };

// Which 16-bit layout the header describes. Masks follow the 40-byte header, or sit inside
// the longer headers at the same place; some writers declare bit fields and then leave
// the masks out, and those files are 5-6-5.
PixelLayout SixteenBitLayout(const uint8_t* bytes, uint32_t infoSize, uint32_t pixelOffset,
                             uint32_t compression) {
    if (compression == kRgb) return PixelLayout::Rgb555;
    if (compression != kBitFields) return PixelLayout::Unsupported;
    const size_t masks = kFileHeaderSize + kInfoHeaderSize;
    if (infoSize < kInfoHeaderSize + 12 && pixelOffset < masks + 12) return PixelLayout::Rgb565;
    const uint32_t red = ReadU32(bytes + masks);
    const uint32_t green = ReadU32(bytes + masks + 4);
    const uint32_t blue = ReadU32(bytes + masks + 8);
    if (red == 0xF800 && green == 0x07E0 && blue == 0x001F) return PixelLayout::Rgb565;
    if (red == 0x7C00 && green == 0x03E0 && blue == 0x001F) return PixelLayout::Rgb555;
    return PixelLayout::Unsupported;
}

void ConvertRow555To565(uint16_t* row, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t p = row[i];
        const uint32_t green5 = (p >> 5) & 31u;
        row[i] =
            static_cast<uint16_t>(((p & 0x7C00u) << 1) | (((green5 << 1) | (green5 >> 4)) << 5) | (p & 31u));
    }
}

}  // namespace

FSBitmapHandle DecodeBitmap(const uint8_t* bytes, size_t size, bool flip) {
    if (!bytes || size < kFileHeaderSize + kInfoHeaderSize) return nullptr;
    if (bytes[0] != 'B' || bytes[1] != 'M') return nullptr;
    const uint32_t pixelOffset = ReadU32(bytes + 10);
    const uint32_t infoSize = ReadU32(bytes + 14);
    if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize) return nullptr;
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > size) return nullptr;

    const uint8_t* info = bytes + kFileHeaderSize;
    const int32_t width = ReadS32(info + 4);
    const int32_t storedHeight = ReadS32(info + 8);
    const uint16_t bitCount = ReadU16(info + 14);
    const uint32_t compression = ReadU32(info + 16);
    const uint32_t coloursUsed = ReadU32(info + 32);
    // A negative height marks a file stored top row first.
    if (width <= 0 || storedHeight == 0 || storedHeight == INT32_MIN) return nullptr;
    const bool bottomUp = storedHeight > 0;
    const int32_t height = bottomUp ? storedHeight : -storedHeight;

    PixelLayout layout = PixelLayout::Unsupported;
    std::vector<uint32_t> palette;
    if (bitCount == 16) {
        layout = SixteenBitLayout(bytes, infoSize, pixelOffset, compression);
    } else if (bitCount == 8 && compression == kRgb) {
        const uint32_t colours = coloursUsed == 0 ? 256 : coloursUsed;
        if (colours > 256) return nullptr;
        const size_t table = kFileHeaderSize + infoSize;
        if (table + size_t{4} * colours > pixelOffset) return nullptr;  // the palette runs into the pixels
        palette.resize(colours);
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t* entry = bytes + table + 4 * i;  // blue, green, red, unused
            palette[i] = (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
        }
        layout = PixelLayout::Indexed8;
    }
    if (layout == PixelLayout::Unsupported) return nullptr;

    // Every row of the file, and of the bitmap, is padded to a multiple of 4 bytes.
    const uint64_t rowBytes = ((uint64_t{static_cast<uint32_t>(width)} * bitCount + 31) / 32) * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    if (pixelBytes > kLargestBitmapBytes || pixelBytes > size - pixelOffset) return nullptr;

    auto bitmap = std::make_unique<FSBitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->rowBytes = static_cast<int32_t>(rowBytes);
    bitmap->bitsPerPixel = bitCount;
    bitmap->palette = std::move(palette);
    bitmap->storage.assign(static_cast<size_t>((pixelBytes + 1) / 2), 0);

    // Picture row p (0 at the top) is file row h - 1 - p of a bottom-up file, row p of a
    // top-down one; the bitmap keeps it at row p with flip, at row h - 1 - p without.
    // The file's little-endian words are copied as they are: the host is little-endian.
    uint8_t* out = bitmap->Bytes();
    const uint8_t* pixels = bytes + pixelOffset;
    for (int32_t row = 0; row < height; ++row) {
        const int32_t pictureRow = flip ? row : height - 1 - row;
        const int32_t fileRow = bottomUp ? height - 1 - pictureRow : pictureRow;
        uint8_t* target = out + static_cast<size_t>(row) * rowBytes;
        std::memcpy(target, pixels + static_cast<size_t>(fileRow) * rowBytes, static_cast<size_t>(rowBytes));
    }
    if (layout == PixelLayout::Rgb555) {
        for (int32_t row = 0; row < height; ++row) {
            ConvertRow555To565(bitmap->Pixels() + static_cast<size_t>(row) * (rowBytes / 2), width);
        }
    }
    return bitmap;
}

FSBitmapHandle LoadBitmap(const std::string& archivePath, const std::string& memberName, bool flip) {
    const FSMemoryBlock block = ReadArchiveMember(archivePath, memberName);
    if (!block) return nullptr;
    return DecodeBitmap(block.data.get(), block.size, flip);
}

FSBitmapHandle CreateBitmap565(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} + 1) & ~uint64_t{1};
    const uint64_t bytes = stride * 2 * static_cast<uint32_t>(height);
    if (bytes > kLargestBitmapBytes) return nullptr;
    auto bitmap = std::make_unique<FSBitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->rowBytes = static_cast<int32_t>(stride * 2);
    bitmap->bitsPerPixel = 16;
    bitmap->storage.assign(static_cast<size_t>(bytes / 2), 0);
    return bitmap;
}
