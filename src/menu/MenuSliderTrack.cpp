#include "menu/MenuSliderTrack.h"

#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

using namespace menu_drawing;

namespace menu_slider {

FSSize SliderSize(int length, int orientation) {
    const MenuResources* r = MenuResources::Current();
    const FSSize knob = r ? SizeOf(r->pointer.image.get()) : FSSize{};
    if (orientation == 0) return {length, knob.h};
    if (orientation == 1) return {knob.w, length};
    return {};
}

void DrawTrack(uint16_t* screen, const MenuResources& r, FSPoint position, int length) {
    StretchColumn(screen, {position.x + 8, position.y}, r.sliderLine.image.get(), r.sliderLine.mask.get(), 0,
                  length - 15);
    const FSBitmap* cap = r.sliderPointBorder.image.get();
    const FSBitmap* capMask = r.sliderPointBorder.mask.get();
    if (!capMask) return;
    DrawMasked(screen, {position.x - 1, position.y}, cap, capMask, 0);
    DrawMasked(screen, {position.x + length - 7, position.y}, cap, capMask, 2);
}

void DrawKnob(uint16_t* screen, const MenuResources& r, int x, int top) {
    if (r.pointer.mask) DrawMasked(screen, {x, top - 3}, r.pointer.image.get(), r.pointer.mask.get());
}

}  // namespace menu_slider
