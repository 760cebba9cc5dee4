// A font's "config.txt" over its glyph strips, then text measured and drawn with it in
// every direction.
#include <map>
#include <vector>

#include "FuzzSupport.h"
#include "hud/FSFont.h"

namespace {

// The game font's real strips, and two small made ones a damaged text may name.
const std::map<std::string, FSBitmap>& Strips() {
    static const std::map<std::string, FSBitmap> strips = [] {
        std::map<std::string, FSBitmap> made;
        const std::string archive = MakeDataPath("data/fonts.zip");
        for (const char* name : {"font.bmp", "font_mask.bmp"})
            if (FSBitmapHandle bitmap = LoadBitmap(archive, std::string("game_font/") + name, true))
                made[name] = *bitmap;
        FSBitmap tiny;
        tiny.width = 5;
        tiny.height = 4;
        tiny.rowBytes = 6;
        tiny.bitsPerPixel = 8;
        tiny.storage.assign(12, 0x0100);
        made["tiny.bmp"] = tiny;
        if (FSBitmapHandle colour = CreateBitmap565(3, 3)) made["colour.bmp"] = *colour;
        return made;
    }();
    return strips;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::Text(data, size);
    // The config, then after a line "--" the text to draw.
    const size_t split = input.find("\n--\n");
    const std::string_view config = input.substr(0, split);
    const std::string_view text =
        split == std::string_view::npos ? "Aerovant 1.0 ~\xe9" : input.substr(split + 4);
    CFSFont font;
    const auto images = [](const std::string& name) -> FSBitmapHandle {
        const auto found = Strips().find(name);
        return found == Strips().end() ? nullptr : std::make_unique<FSBitmap>(found->second);
    };
    if (!font.LoadFontText(config, images, 4, 1, 0)) return 0;
    font.TextSize(text);
    font.LineWidth(text, 1);
    static std::vector<uint16_t> screen(240 * 320);
    for (int alignment = 0; alignment < 3; ++alignment)
        for (int direction = 0; direction < 4; ++direction)
            DrawText(font, screen.data(), alignment, direction, direction % 3, {100 - 60 * direction, 30},
                     0xFFFF, text);
    return 0;
}
