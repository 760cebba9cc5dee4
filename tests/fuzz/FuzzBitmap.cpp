// A BMP picture (menus, cockpits, fonts) decoded either way up and blitted, keyed and
// masked onto a small screen.
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "resources/FSBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool flip = fuzz::TakeChoice(data, size, 2) == 1;
    FSBitmapHandle bitmap = DecodeBitmap(data, size, flip);
    if (!bitmap) return 0;
    // Whatever loads describes exactly the pixels it holds: rows padded to four bytes that
    // hold their pixels, and storage for every row.
    if (bitmap->width <= 0 || bitmap->height <= 0 || bitmap->rowBytes % 4 != 0) __builtin_trap();
    if (int64_t{bitmap->rowBytes} * 8 < int64_t{bitmap->width} * bitmap->bitsPerPixel) __builtin_trap();
    if (bitmap->storage.size() * 2 < static_cast<size_t>(bitmap->rowBytes) * bitmap->height) __builtin_trap();
    std::vector<uint16_t> screen(48 * 40);
    const FSSize screenSize{48, 40};
    if (bitmap->bitsPerPixel == 16) {
        for (int transform = 0; transform < 4; ++transform) {
            BlitBitmap(screen.data(), {-3, 5}, screenSize, bitmap.get(), transform);
            BlitBitmapKeyed(screen.data(), {7, -2}, screenSize, bitmap.get(), transform, 0xF81F);
            BlitMasked(screen.data(), {1, 1}, screenSize, bitmap.get(), bitmap.get(), transform);
        }
    } else if (bitmap->bitsPerPixel == 8) {
        FillMaskedRect(screen.data(), {2, 3}, screenSize, bitmap.get(), {1, 1}, {30, 30}, 0x07E0, 0);
    }
    return 0;
}
