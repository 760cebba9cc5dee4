#include "menu/CSPMenuStateVideoSettings.h"

#include "app/FSApplicationContext.h"
#include "app/FSSettingsPresets.h"
#include "base/FSActions.h"
#include "menu/MenuResources.h"
#include "platform/FSClock.h"

namespace {

constexpr int kDefaultVisibilityRange = 33;

}  // namespace

CSPMenuStateVideoSettings::CSPMenuStateVideoSettings(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 11, 9, "states/state_video/video.bmp", true),
      items_(
          {{{26, 68, 150, 77}, {9, 66}}, {{26, 100, 168, 110}, {9, 98}}, {{26, 119, 126, 128}, {9, 117}}}) {}

void CSPMenuStateVideoSettings::LoadControls(MenuResources& resources) {
    presets_.Init(resources.Screen(), {165, 66}, 135, &resources.listFont,
                  {"low", "medium", "high", "custom"}, false);
}

void CSPMenuStateVideoSettings::ReadSettings() {
    items_.Disarm();
    const int preset = MatchVideoPreset(GetApplicationContext()->video);
    presets_.SetSelected(preset < 0 ? kCustom : preset);
}

void CSPMenuStateVideoSettings::ActivateItem(int item) {
    if (item == 1) {
        GoTo(12);
    } else if (item == 2) {
        FSVideoBlock& video = GetApplicationContext()->video;
        ApplyVideoPreset(video, kMedium);
        video.sky = 1;
        video.visibilityRange = kDefaultVisibilityRange;
        ReadSettings();
    }
}

int CSPMenuStateVideoSettings::ListAction(int action) {
    const int before = presets_.Selected();
    if (!presets_.HandleAction(action)) return 0;
    // "custom" is what the settings are, never a choice.
    if (presets_.Selected() == kCustom) presets_.SetSelected(kHigh);
    const int chosen = presets_.Selected();
    if (chosen != before || before == kCustom) ApplyVideoPreset(GetApplicationContext()->video, chosen);
    return 1;
}

int CSPMenuStateVideoSettings::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    const FSPoint stylus = StylusPoint();
    if (HandleSharedAction(action, stylus)) return 1;
    if (items_.HandleAction(action, stylus, platform::TickCount())) return 1;
    if (action == kActionStylusPressed && presets_.HitTest(stylus)) items_.Select(0);
    return items_.Selected() == 0 ? ListAction(action) : 0;
}

int CSPMenuStateVideoSettings::Draw(int redraw) {
    const int due = items_.TakeDue(platform::TickCount());
    if (due > 0) {
        ActivateItem(due);
        if (due == 1) return 0;
        redraw = 1;
    }
    bool box = false;
    const int drawn = DrawFrame(redraw, box);
    if (!drawn || box) return drawn;
    presets_.Draw();
    DrawPointer(items_.At(items_.Selected()).pointer);
    return drawn;
}
