#include "menu/MSPStylusMenuState.h"

#include "base/FSActions.h"
#include "menu/MenuResources.h"

namespace {

constexpr int32_t kTitleTop = 3;
constexpr int32_t kTitleGap = 2;
constexpr uint16_t kTitleKey = 0;  // black shows what lies below

}  // namespace

template <class Visit>
void MSPStylusMenuState::ForEachTitleButton(Visit visit) const {
    const MenuResources* r = Resources();
    if (!r) return;
    int32_t x = MenuResources::kWidth - 1;
    const struct {
        bool shown;
        TitleButton button;
        const FSBitmap* picture;
    } buttons[] = {{HasClose(), TitleButton::Close, r->close.get()},
                   {HasForward(), TitleButton::Forward, r->forward.get()},
                   {HasBack(), TitleButton::Back, r->backward.get()}};
    for (const auto& b : buttons) {
        if (!b.shown || !b.picture) continue;
        x -= b.picture->width + kTitleGap;
        if (visit(b.button, *b.picture, x)) return;
    }
}

MSPStylusMenuState::TitleButton MSPStylusMenuState::TitleButtonAt(FSPoint p) const {
    TitleButton hit = TitleButton::None;
    ForEachTitleButton([&](TitleButton button, const FSBitmap& picture, int32_t x) {
        if (p.x >= x && p.x <= x + picture.width && p.y >= kTitleTop && p.y <= kTitleTop + picture.height) {
            hit = button;
            return true;
        }
        return false;
    });
    return hit;
}

int MSPStylusMenuState::HandleSharedAction(int action, FSPoint stylus) {
    switch (action) {
        case kActionSelect:
            Forward();
            return 1;
        case kActionBack:
            Back();
            return 1;
        case kActionStylusReleased:
            switch (TitleButtonAt(stylus)) {
                case TitleButton::Close:
                    if (Resources() && Resources()->minimise) Resources()->minimise();
                    return 1;
                case TitleButton::Forward:
                    Forward();
                    return 1;
                case TitleButton::Back:
                    Back();
                    return 1;
                case TitleButton::None:
                    return 0;
            }
            return 0;
        default:
            return 0;
    }
}

void MSPStylusMenuState::DrawTitleButtons() {
    MenuResources* r = Resources();
    if (!r) return;
    ForEachTitleButton([&](TitleButton, const FSBitmap& picture, int32_t x) {
        BlitBitmapKeyed(r->Screen(), {x, kTitleTop}, {MenuResources::kWidth, MenuResources::kHeight},
                        &picture, 0, kTitleKey);
        return false;
    });
}
