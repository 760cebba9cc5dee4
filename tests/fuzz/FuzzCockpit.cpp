// A cockpit layout over the real panel pictures, loaded in each orientation and drawn:
// copies, masks and the horizon window, wherever the text puts them.
#include <map>
#include <vector>

#include "FuzzSupport.h"
#include "hud/FSCockpit.h"

namespace {

const std::map<std::string, FSBitmap>& Panels() {
    static const std::map<std::string, FSBitmap> panels = [] {
        std::map<std::string, FSBitmap> made;
        // Small stand-ins for the panels, under their names: the clipping is the same.
        for (const char* name : {"panel_portrait.bmp", "panel_landscape.bmp"})
            if (FSBitmapHandle panel = CreateBitmap565(40 + static_cast<int>(made.size()) * 8, 56))
                made[name] = *panel;
        for (const char* name : {"panel_portrait_mask.bmp", "panel_landscape_mask.bmp"}) {
            FSBitmap mask;
            mask.width = 44;
            mask.height = 50;
            mask.rowBytes = 44;
            mask.bitsPerPixel = 8;
            mask.storage.assign(44 * 50 / 2, 0xFF00);
            made[name] = mask;
        }
        if (FSBitmapHandle small = CreateBitmap565(7, 5)) made["small.bmp"] = *small;
        return made;
    }();
    return panels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int alignment = fuzz::TakeChoice(data, size, 4);
    CFSCockpit cockpit;
    cockpit.LoadLayout(
        fuzz::Text(data, size),
        [](const std::string& name) -> FSBitmapHandle {
            const auto found = Panels().find(name);
            return found == Panels().end() ? nullptr : std::make_unique<FSBitmap>(found->second);
        },
        alignment);
    static std::vector<uint16_t> frame(240 * 320);
    for (const bool high : {false, true})
        cockpit.DrawCockpit(frame.data(), 0, high, [](FSBitmap& block) {
            std::fill(block.storage.begin(), block.storage.end(), 0x001F);
        });
    return 0;
}
