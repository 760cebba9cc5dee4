#include "menu/CSPMenuStateSettings.h"

#include "platform/FSClock.h"

namespace {

constexpr int kTargets[] = {10, 11, 13, 14};

}  // namespace

CSPMenuStateSettings::CSPMenuStateSettings(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 9, 0, "states/state_settings/settings.bmp", false),
      items_({{{54, 52, 106, 62}, {38, 50}},
              {{54, 96, 106, 106}, {38, 94}},
              {{54, 140, 135, 150}, {38, 138}},
              {{54, 184, 95, 194}, {38, 182}}}) {}

void CSPMenuStateSettings::Forward() {
    GoTo(kTargets[items_.Selected()]);
}

int CSPMenuStateSettings::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    if (HandleSharedAction(action, StylusPoint())) return 1;
    return items_.HandleAction(action, StylusPoint(), platform::TickCount());
}

int CSPMenuStateSettings::Draw(int redraw) {
    const int due = items_.TakeDue(platform::TickCount());
    if (due >= 0) {
        GoTo(kTargets[due]);
        return 0;
    }
    bool box = false;
    const int drawn = DrawFrame(redraw, box);
    if (drawn && !box) DrawPointer(items_.At(items_.Selected()).pointer);
    return drawn;
}
