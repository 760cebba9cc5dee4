#include "menu/CSPMenuStateVideoAdvancedSettings.h"

#include <algorithm>
#include <cstdio>

#include "app/FSApplicationContext.h"
#include "base/FSActions.h"
#include "hud/FSFont.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

namespace {

constexpr int kTop = 36;
constexpr int kPitch = 19;
constexpr int kLabelRight = 142;
constexpr int kSizeLine = 10;  // the render size, under the screen size label
constexpr int kControlX = 150;
constexpr int kLength = 135;
constexpr int kListLength = 100;
constexpr uint16_t kWhite = 0xFFFF;
const char* const kLabels[] = {"resolution",       "screen size",      "visibility range", "terrain quality",
                               "textures quality", "lighting quality", "shadows quality",  "effects quality",
                               "objects quality",  "show sky"};

int RowTop(int row) {
    using Row = CSPMenuStateVideoAdvancedSettings::Row;
    return kTop + kPitch * row + (row > Row::kScreenSize ? kSizeLine : 0);
}

}  // namespace

CSPMenuStateVideoAdvancedSettings::CSPMenuStateVideoAdvancedSettings(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 12, 11, "states/state_video/advanced_video.bmp", true) {}

void CSPMenuStateVideoAdvancedSettings::LoadControls(MenuResources& r) {
    uint16_t* screen = r.Screen();
    resolution_.Init(screen, {kControlX, RowTop(kResolution)}, kListLength, &r.listFont,
                     {"120x160", "240x320"}, false);
    screenSize_.Init(screen, {kControlX, RowTop(kScreenSize)}, kLength, 0, MenuResources::kSliderStep);
    visibility_.Init(screen, {kControlX, RowTop(kVisibility)}, kLength, 0, MenuResources::kSliderStep);
    for (int i = 0; i < 6; ++i)
        qualities_[i].Init(screen, {kControlX, RowTop(kTerrain + i)}, kLength, 0,
                           kTerrain + i == kTextures ? 2 : 3);
    sky_.Init(screen, {kControlX, RowTop(kSky)});
    focus_ = 0;
}

MSPMenuCtrls& CSPMenuStateVideoAdvancedSettings::Control(int row) {
    switch (row) {
        case kResolution:
            return resolution_;
        case kScreenSize:
            return screenSize_;
        case kVisibility:
            return visibility_;
        case kSky:
            return sky_;
        default:
            return qualities_[static_cast<size_t>(row - kTerrain)];
    }
}

void CSPMenuStateVideoAdvancedSettings::ReadSettings() {
    const FSVideoBlock& v = GetApplicationContext()->video;
    // The list holds the two fixed sizes; the scaled size shows as the full one.
    resolution_.SetSelected(std::clamp(v.resolution, 0, 1));
    screenSize_.SetValue((v.screenAspect - 0.25f) / 0.75f);
    visibility_.SetValue((static_cast<float>(v.visibilityRange) - 33.0f) / 32.0f);
    const int levels[6] = {v.terrainQuality, v.texturesQuality, v.lightingQuality,
                           v.shadowsQuality, v.effectsQuality,  v.objectsQuality};
    for (int i = 0; i < 6; ++i)
        qualities_[i].SetIndex(levels[i]);
    sky_.SetState(v.sky ? CSPCheckCtrl::kOn : CSPCheckCtrl::kOff);
}

FSVideoBlock CSPMenuStateVideoAdvancedSettings::Edited(FSVideoBlock v) {
    // The size scaled by the screen size slider shows as the full size and stays scaled.
    if (!(v.resolution == 2 && resolution_.Selected() == 1)) v.resolution = resolution_.Selected();
    v.screenAspect = ScreenAspectFor(screenSize_.Value());
    v.visibilityRange = VisibilityRangeFor(visibility_.Value());
    v.terrainQuality = qualities_[0].Index();
    v.texturesQuality = qualities_[1].Index();
    v.lightingQuality = qualities_[2].Index();
    v.shadowsQuality = qualities_[3].Index();
    v.effectsQuality = qualities_[4].Index();
    v.objectsQuality = qualities_[5].Index();
    v.sky = sky_.State() == CSPCheckCtrl::kOn ? 1 : 0;
    DeriveRenderSize(v);
    return v;
}

void CSPMenuStateVideoAdvancedSettings::StoreSettings() {
    // The applied copy the controller compares with stays as it is, so the next flight
    // sees what changed here.
    FSVideoBlock& video = GetApplicationContext()->video;
    video = Edited(video);
}

int CSPMenuStateVideoAdvancedSettings::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    const FSPoint stylus = StylusPoint();
    if (HandleSharedAction(action, stylus)) return 1;
    if (action == kActionUp || action == kActionDown) {
        focus_ = (focus_ + (action == kActionUp ? kRowCount - 1 : 1)) % kRowCount;
        return 1;
    }
    if (action == kActionStylusPressed) {
        for (int row = 0; row < kRowCount; ++row) {
            const bool onLabel =
                menu_drawing::Inside(stylus, 0, RowTop(row), kLabelRight, RowTop(row + 1) - 2);
            if (onLabel || Control(row).HitTest(stylus)) focus_ = row;
        }
    }
    return Control(focus_).HandleAction(action);
}

int CSPMenuStateVideoAdvancedSettings::Draw(int redraw) {
    bool box = false;
    const int drawn = DrawFrame(redraw, box);
    if (!drawn || box) return drawn;
    MenuResources& r = *Resources();
    uint16_t* screen = r.Screen();
    for (int row = 0; row < kRowCount; ++row) {
        const uint16_t colour = row == focus_ ? 0xFFE0 : kWhite;  // the focused row in yellow
        menu_drawing::Text(screen, &r.linksFont, kJustifyRight, {kLabelRight, RowTop(row)}, colour,
                           kLabels[row]);
        Control(row).Draw();
    }
    const FSVideoBlock preview = Edited(GetApplicationContext()->video);
    char size[32];
    std::snprintf(size, sizeof size, "%d x %d", preview.renderWidth, preview.renderHeight);
    menu_drawing::Text(screen, &r.mainFont, kJustifyRight, {kLabelRight, RowTop(kScreenSize) + kSizeLine},
                       kWhite, size);
    return drawn;
}
