#include "menu/CSPMenuStateAudioSettings.h"

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSGameController.h"
#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

namespace {

constexpr FSClipRect kLabels[2] = {{51, 73, 152, 84}, {51, 117, 152, 128}};
// Each slider lies in the dark strip under its label.
constexpr int kSliderX = 48;
constexpr int kSliderBelowLabel = 18;
constexpr int kSliderLength = 234;

}  // namespace

CSPMenuStateAudioSettings::CSPMenuStateAudioSettings(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 10, 9, "states/state_audio/audio.bmp", true) {}

void CSPMenuStateAudioSettings::LoadControls(MenuResources& resources) {
    for (int i = 0; i < 2; ++i)
        sliders_[i].Init(resources.Screen(), {kSliderX, kLabels[i].top + kSliderBelowLabel}, kSliderLength, 0,
                         MenuResources::kSliderStep);
    focus_ = 0;
}

void CSPMenuStateAudioSettings::ReadSettings() {
    const CFSApplicationContext* context = GetApplicationContext();
    if (!context->engine) return;
    sliders_[0].SetValue(context->engine->musicVolume / 255.0f);
    sliders_[1].SetValue(context->engine->soundVolume / 255.0f);
}

void CSPMenuStateAudioSettings::Apply(int slider) {
    CFSApplicationContext* context = GetApplicationContext();
    const int volume = static_cast<int>(sliders_[slider].Value() * 255.0f);
    if (context->gameController) {
        if (slider == 0)
            context->gameController->SetMusicVolume(volume);
        else
            context->gameController->SetSoundVolume(volume);
    }
    // The engine keeps the volumes the settings file saves, whichever controller runs.
    if (context->engine) (slider == 0 ? context->engine->musicVolume : context->engine->soundVolume) = volume;
}

int CSPMenuStateAudioSettings::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    const FSPoint stylus = StylusPoint();
    if (HandleSharedAction(action, stylus)) return 1;
    if (action == kActionUp || action == kActionDown) {
        focus_ = 1 - focus_;
        return 1;
    }
    if (action == kActionStylusPressed) {
        for (int i = 0; i < 2; ++i) {
            const FSClipRect& r = kLabels[i];
            if (menu_drawing::Inside(stylus, r.left, r.top, r.right, r.bottom) || sliders_[i].HitTest(stylus))
                focus_ = i;
        }
    }
    const int changed = sliders_[focus_].HandleAction(action);
    if (changed) Apply(focus_);
    return changed;
}

int CSPMenuStateAudioSettings::Draw(int redraw) {
    bool box = false;
    const int drawn = DrawFrame(redraw, box);
    if (!drawn || box) return drawn;
    for (auto& slider : sliders_)
        slider.Draw();
    DrawPointer({kLabels[focus_].left - 17, kLabels[focus_].top - 2});
    return drawn;
}
