#include "menu/CSPMenuStateControlsSettings.h"

#include <algorithm>

#include "app/FSAnalogInput.h"
#include "app/FSApplicationContext.h"
#include "app/FSInput.h"
#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"

namespace {

constexpr FSClipRect kListArea{26, 56, 300, 216};
constexpr FSClipRect kDefaultsRow{25, 224, 184, 233};
constexpr int kFirstRowY = 62;
constexpr int kRowPitch = 15;
constexpr int kLowestRowY = 200;
constexpr int kScrollerUnit = 16;
constexpr int kKeysRight = 296;  // keys right-aligned, so long chords fit
// Which device steers: a line between the title and the list's column heads.
constexpr FSPoint kDeviceLine{kListArea.left + 6, 28};
constexpr FSClipRect kDeviceClip{kListArea.left, 26, 316, 40};
constexpr uint16_t kYellow = 0xFFE0;
constexpr uint16_t kWhite = 0xFFFF;

struct RowInfo {
    const char* name;
    int action;
};
constexpr RowInfo kRowInfo[CSPMenuStateControlsSettings::kRows] = {
    {"ailerons left", kActionAileronsLeft},
    {"ailerons right", kActionAileronsRight},
    {"elevators up", kActionElevatorsUp},
    {"elevators down", kActionElevatorsDown},
    {"throttle less", kActionThrottleLess},
    {"throttle more", kActionThrottleMore},
    {"rudders left", kActionRuddersLeft},
    {"rudders right", kActionRuddersRight},
    {"flaps on/off", kActionFlaps},
    {"break", kActionBrake},
    {"instructor on/off", kActionInstructor},
    {"autopilot on/off", kActionAutopilot},
    {"look around view", kActionLookAround},
    {"change view", kActionChangeView},
    {"map on/off", kActionMap},
    {"back to menu", kActionBackToMenu},
};
constexpr int kPairs[][2] = {
    {kActionElevatorsUp, kActionElevatorsUpReleased},
    {kActionElevatorsDown, kActionElevatorsDownReleased},
    {kActionAileronsLeft, kActionAileronsLeftReleased},
    {kActionAileronsRight, kActionAileronsRightReleased},
    {kActionRuddersLeft, kActionRuddersLeftReleased},
    {kActionRuddersRight, kActionRuddersRightReleased},
    {kActionBrake, kActionBrakeReleased},
};

// The name of a key state as the player's keyboard shows it: the five buttons are the
// number keys, which follow the orientation of the menu the chord was pressed in.
std::string KeyName(int32_t key, int orientation) {
    static const char* const kPad[] = {"enter", "left", "right", "up", "down"};
    if (key >= 0 && key < 5) return kPad[key];
    if (key >= 5 && key < 10) {
        const int button = CFSInput::KeyTable(orientation)[key] - kHotKeyButton1;
        if (button >= 0 && button < 5) return std::to_string(button + 1);
    }
    if (key >= kStateStylusPressed && key <= kStateStylusMoved) return "stylus";
    return "unknown";
}

// Release actions (and going back to the menu) fire when their keys are let go.
int32_t ModeOf(int action) {
    return (action >= kActionAileronsLeftReleased && action <= kActionBrakeReleased) ||
                   action == kActionBackToMenu
               ? 1
               : 0;
}

}  // namespace

CSPMenuStateControlsSettings::CSPMenuStateControlsSettings(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 13, 9, "states/state_controls/controls.bmp", true) {}

int CSPMenuStateControlsSettings::RowAction(int row) {
    return row >= 0 && row < kRows ? kRowInfo[row].action : -1;
}

const char* CSPMenuStateControlsSettings::RowName(int row) {
    return row >= 0 && row < kRows ? kRowInfo[row].name : "";
}

int CSPMenuStateControlsSettings::PairedAction(int action) {
    for (const auto& pair : kPairs) {
        if (pair[0] == action) return pair[1];
        if (pair[1] == action) return pair[0];
    }
    return -1;
}

std::string CSPMenuStateControlsSettings::ChordName(const std::vector<int32_t>& keys, int orientation) {
    std::string name;
    // Buttons first: "5 + left" reads as the chord is pressed.
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        name += (name.empty() ? "" : " + ") + KeyName(*it, orientation);
    return name;
}

bool CSPMenuStateControlsSettings::ChordUsable(const std::vector<int32_t>& keys) {
    if (keys.empty()) return false;
    int stylus = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] < 0 || keys[i] >= kKeyStateCount) return false;
        if (std::count(keys.begin(), keys.end(), keys[i]) != 1) return false;
        if (keys[i] >= kStateStylusPressed) ++stylus;
    }
    return stylus <= 1;
}

CFSInput* CSPMenuStateControlsSettings::Input() {
    return GetApplicationContext()->input.get();
}

void CSPMenuStateControlsSettings::LoadControls(MenuResources& r) {
    selectBar_ = LoadBitmap(MakeDataPath("data\\menu.zip"), "states/state_controls/controls_select_bar.bmp");
    scroller_.Init(r.Screen(), {kListArea.right + 2, kListArea.top}, 160, 1);
    scroller_.SetRange(0.0f, static_cast<float>((kRows - 1) * kScrollerUnit));
    scroller_.SetStep(static_cast<float>(kScrollerUnit));
}

void CSPMenuStateControlsSettings::ReadSettings() {
    onDefaults_ = false;
    captureOnRelease_ = false;
    capturingRow_ = -1;
    SelectRow(0);
}

void CSPMenuStateControlsSettings::Leave(int next, int argument) {
    // A capture still running ends on its own; its chord is then no longer wanted.
    capturingRow_ = -1;
    CSPSettingsStateBase::Leave(next, argument);
}

int CSPMenuStateControlsSettings::ScrollOffset() const {
    const int below = kFirstRowY + kRowPitch * row_ - kLowestRowY;
    return below <= 0 ? 0 : (below + kRowPitch - 1) / kRowPitch * kRowPitch;
}

void CSPMenuStateControlsSettings::SelectRow(int row) {
    row_ = std::clamp(row, 0, kRows - 1);
    scroller_.SetValue(static_cast<float>(row_ * kScrollerUnit));
}

void CSPMenuStateControlsSettings::MoveFocus(int step) {
    if (onDefaults_) {
        onDefaults_ = false;
        SelectRow(step < 0 ? kRows - 1 : 0);
    } else if ((step < 0 && row_ == 0) || (step > 0 && row_ == kRows - 1)) {
        onDefaults_ = true;
    } else {
        SelectRow(row_ + step);
    }
}

void CSPMenuStateControlsSettings::StartCapture() {
    CFSInput* input = Input();
    if (!input || input->IsCapturing() || capturingRow_ >= 0) return;
    captured_.clear();
    capturingRow_ = row_;
    input->StartCapture(&captured_);
}

void CSPMenuStateControlsSettings::FinishCapture() {
    CFSInput* input = Input();
    if (capturingRow_ < 0 || !input || input->IsCapturing()) return;
    const int row = capturingRow_;
    capturingRow_ = -1;
    if (ChordUsable(captured_)) {
        Rebind(row, captured_);
        return;
    }
    ShowMessage(std::string("Not a chord you can hold.\n\"") + RowName(row) + "\" keeps\n" +
                ChordName(input->KeysOf(RowAction(row)), GetApplicationContext()->menuOrientation) + ".");
}

void CSPMenuStateControlsSettings::Rebind(int row, const std::vector<int32_t>& keys) {
    CFSInput* input = Input();
    const int action = RowAction(row);
    const int paired = PairedAction(action);
    std::vector<FSBindingRecord> records = input->ExportBindings();
    for (int a : {action, paired}) {
        if (a < 0) continue;
        auto it = std::find_if(records.begin(), records.end(),
                               [a](const FSBindingRecord& r) { return r.action == a; });
        if (it == records.end()) {
            records.push_back(FSBindingRecord{a, ModeOf(a), 0, keys});
            continue;
        }
        it->keys = keys;
    }
    input->ReplaceBindings(records);
    // Replacing the bindings enables them all: the menu keeps its own set.
    input->EnableActionSet(kActionSetMenu);
}

void CSPMenuStateControlsSettings::Forward() {
    if (onDefaults_)
        RestoreDefaults();
    else
        StartCapture();
}

void CSPMenuStateControlsSettings::RestoreDefaults() {
    if (CFSInput* input = Input()) {
        input->ResetToDefaults();
        input->EnableActionSet(kActionSetMenu);
    }
}

int CSPMenuStateControlsSettings::HandleAction(int action) {
    if (capturingRow_ >= 0) {
        FinishCapture();
        if (MessageOpen()) return 1;  // the refusal is read before anything else
    }
    if (MessageAction(action)) return 1;
    const FSPoint stylus = StylusPoint();
    if (HandleSharedAction(action, stylus)) return 1;
    switch (action) {
        case kActionUp:
        case kActionDown:
            MoveFocus(action == kActionUp ? -1 : 1);
            return 1;
        case kActionUpHeld:
        case kActionDownHeld:
            return 0;
        default:
            break;
    }
    if (action == kActionStylusReleased && captureOnRelease_) {
        captureOnRelease_ = false;
        StartCapture();
        return 1;
    }
    if (action == kActionStylusPressed) {
        if (menu_drawing::Inside(stylus, kDefaultsRow.left, kDefaultsRow.top, kDefaultsRow.right,
                                 kDefaultsRow.bottom)) {
            onDefaults_ = true;
            RestoreDefaults();
            return 1;
        }
        if (menu_drawing::Inside(stylus, kListArea.left, kListArea.top, kListArea.right, kListArea.bottom)) {
            onDefaults_ = false;
            const int row = (stylus.y - (kFirstRowY - ScrollOffset()) + 4) / kRowPitch;
            if (capturingRow_ < 0 && row >= 0 && row < kRows) {
                SelectRow(row);
                captureOnRelease_ = true;
            }
            return 1;
        }
    }
    if (action == kActionStylusPressed || action == kActionStylusReleased || action == kActionStylusMoved) {
        if (scroller_.HandleAction(action)) {
            row_ = std::clamp(static_cast<int>(scroller_.Value()) / kScrollerUnit, 0, kRows - 1);
            onDefaults_ = false;
            return 1;
        }
    }
    return 0;
}

void CSPMenuStateControlsSettings::DrawRows(MenuResources& r) {
    uint16_t* screen = r.Screen();
    const FSClipRect clip{kListArea.left, kListArea.top, kListArea.right + 1, kListArea.bottom + 1};
    const CFSInput* input = Input();
    const int orientation = GetApplicationContext()->menuOrientation;
    const int offset = ScrollOffset();
    for (int row = 0; row < kRows; ++row) {
        const int y = kFirstRowY + kRowPitch * row - offset;
        if (y + kRowPitch < kListArea.top || y > kListArea.bottom) continue;
        if (row == row_ && !onDefaults_ && selectBar_)
            menu_drawing::DrawKeyed(screen, {kListArea.left, y - 3}, selectBar_.get(), {0, 0},
                                    menu_drawing::SizeOf(selectBar_.get()), 0, 0);
        // Without the bar picture the selected row shows in yellow.
        const uint16_t colour = row == row_ && !onDefaults_ && !selectBar_ ? kYellow : kWhite;
        menu_drawing::Text(screen, &r.scoresFont, kJustifyLeft, {kListArea.left + 6, y}, colour, RowName(row),
                           clip);
        const std::string keys = row == capturingRow_ ? "[press keys]"
                                 : input              ? ChordName(input->KeysOf(RowAction(row)), orientation)
                                                      : std::string();
        menu_drawing::Text(screen, &r.scoresFont, kJustifyRight, {kKeysRight, y}, colour,
                           keys.empty() ? "unknown" : keys, clip);
    }
    menu_drawing::Text(screen, &r.scoresFont, kJustifyLeft, kDeviceLine, kWhite, deviceShown_, kDeviceClip);
    if (onDefaults_ && selectBar_)
        menu_drawing::DrawKeyed(screen, {kDefaultsRow.left, kDefaultsRow.top - 2}, selectBar_.get(), {0, 0},
                                {kDefaultsRow.right - kDefaultsRow.left + 1, selectBar_->height}, 0, 0);
    else if (onDefaults_)
        DrawPointer({kDefaultsRow.left - 17, kDefaultsRow.top - 2});
}

int CSPMenuStateControlsSettings::Draw(int redraw) {
    FinishCapture();
    bool box = false;
    // The stick in use, or the keyboard and mouse without one.
    const MFSDisplay* display = GetApplicationContext()->display;
    const std::string device = ControlDeviceText(display ? display->Stick() : FSStick());
    const bool deviceChanged = device != deviceShown_;
    deviceShown_ = device;
    // The capture row changes without an action: draw it afresh while it runs.
    const int drawn = DrawFrame(redraw || capturingRow_ >= 0 || deviceChanged, box);
    if (!drawn || box) return drawn;
    DrawRows(*Resources());
    scroller_.Draw();
    return drawn;
}
