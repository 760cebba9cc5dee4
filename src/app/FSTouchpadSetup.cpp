#include "app/FSTouchpadSetup.h"

#include <memory>

#include "app/FSApplicationContext.h"
#include "hud/FSTouchpad.h"
#include "resources/FSArchive.h"

namespace {

// Each flight orientation's pad: the lower right quarter of the portrait screen, and the
// lower half of the landscape screen's side the thumb reaches (left in orientation 1,
// right in 2). The dead zone is a quarter of the pad's width and height.
struct Placement {
    FSPoint origin;
    FSSize size;
    FSSize deadZone;
};
constexpr Placement kPlacements[CFSTouchpad::kAlignments] = {
    {{120, 160}, {120, 160}, {30, 40}},
    {{0, 120}, {160, 120}, {40, 30}},
    {{160, 120}, {160, 120}, {40, 30}},
};

}  // namespace

bool PrepareTouchpad(CFSApplicationContext& context) {
    if (context.game.touchscreenScheme == 0) {
        context.touchpad.reset();
        return false;
    }
    if (!context.touchpad) context.touchpad = std::make_unique<CFSTouchpad>();
    for (int alignment = 0; alignment < CFSTouchpad::kAlignments; ++alignment) {
        const Placement& p = kPlacements[alignment];
        context.touchpad->SetTouchpadRect(alignment, p.origin, p.size, p.deadZone);
    }
    return context.touchpad->LoadImages(MakeDataPath("data\\huds.zip"));
}
