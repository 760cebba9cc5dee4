#include "menu/MSPMenuState.h"

#include <algorithm>

#include "menu/MenuResources.h"

void MSPMenuState::Activate(int number, int flag) {
    number_ = number;
    if (attached_ && resources_) Load(*resources_, flag);
}

void MSPMenuState::Leave(int, int) {
    if (attached_) Unload();
}

void MSPMenuState::Load(MenuResources&, int) {}

void MSPMenuState::Attach(MenuResources& resources) {
    resources_ = &resources;
    attached_ = true;
}

int MSPMenuState::DrawBackground(int redraw, const FSBitmap* background) {
    if (!redraw || !resources_) return 0;
    uint16_t* screen = resources_->Screen();
    // A background of another size (or none) leaves the buffer black rather than reading
    // past the picture.
    if (background && background->bitsPerPixel == 16 && background->width == MenuResources::kWidth &&
        background->height == MenuResources::kHeight) {
        BlitBitmap(screen, {0, 0}, {MenuResources::kWidth, MenuResources::kHeight}, background, 0);
    } else {
        std::fill(resources_->screen.begin(), resources_->screen.end(), uint16_t{0});
    }
    DrawTitleButtons();
    return 1;
}
