#pragma once
// Turns the pad, the five application buttons and the stylus into numbered actions.
//
// Once per main-loop pass the input samples 13 key states, evaluates every binding (a
// chord of key states, a firing mode and a repeat interval) and hands each action that
// fires to the engine. Key states follow the screen orientation so that "up" on the pad
// always means up on the picture.
#include <cstdint>
#include <functional>
#include <vector>

#include "base/FSActions.h"

class MFSDisplay;

constexpr int kKeyStateCount = 13;
// Key state indices: 0 action key, 1-4 left/right/up/down, 5-9 buttons 1-5, then the
// three stylus latches.
enum : int { kStateStylusPressed = 10, kStateStylusReleased = 11, kStateStylusMoved = 12 };

// A binding as the settings file stores it.
struct FSBindingRecord {
    int32_t action = -1;
    int32_t mode = 0;      // 0 fires while held, 1 fires on release
    int32_t interval = 0;  // repeat interval in milliseconds
    std::vector<int32_t> keys;

    bool operator==(const FSBindingRecord& o) const {
        return action == o.action && mode == o.mode && interval == o.interval && keys == o.keys;
    }
};

// The three sets of enabled actions: 0 menu, 1 flight, 2 paused flight (the map view).
enum FSActionSet : int { kActionSetMenu = 0, kActionSetFlight = 1, kActionSetPaused = 2 };

class CFSInput {
public:
    explicit CFSInput(int actionCount);

    // Where the pad keys are read (null: all pad keys up).
    void SetKeySource(const MFSDisplay* display) { keySource_ = display; }

    // 0, 1 or 2 selects that orientation's key table; any value clears the key states.
    void SetOrientation(int orientation);
    // Virtual keys of states 0-4 and hot keys of states 5-9 for an orientation (0-2).
    static const int* KeyTable(int orientation);
    const int* CurrentKeyTable() const { return keyTable_; }

    // Samples the key states; the stylus latches are read and cleared.
    void Poll();
    // Called by the window procedure.
    void LatchStylus(int index, uint8_t value);
    void SetButtonToggle(int button, uint8_t value);

    // Works out the action state of every binding at tick now.
    void EvaluateAll(uint32_t now);
    // Sends the actions that fire to send: longest firing chords first, and only chords
    // as long as the first one sent, so "button 5 + left" wins over "left".
    void Dispatch(const std::function<int(int)>& send);

    void EnableAll(uint8_t flag);
    void EnableAction(int index, uint8_t flag);
    // Disables every action, then enables those of the set.
    void EnableActionSet(int set);

    void SetBinding(int index, const std::vector<int32_t>& keys, int32_t mode, int32_t interval);
    void ResetToDefaults();
    // The bindings of a settings file replace all others; a file that has none keeps the
    // factory bindings, so the game can always be flown.
    void ReplaceBindings(const std::vector<FSBindingRecord>& records);
    std::vector<FSBindingRecord> ExportBindings() const;
    std::vector<int32_t> KeysOf(int index) const;

    // Chord capture for the controls screen.
    void StartCapture(std::vector<int32_t>* target);
    bool CaptureStep();
    int IsCapturing() const { return captureMode_; }

    uint8_t KeyState(int index) const { return current_[index]; }
    uint8_t ActionState(int binding) const { return actionStates_[binding]; }
    int BindingCount() const { return static_cast<int>(bindings_.size()); }

private:
    struct Binding {
        int32_t action = -1;
        int32_t interval = 0;
        int32_t mode = 0;
        std::vector<int32_t> keys;
        uint8_t enabled = 0;
        uint8_t heldLastTime = 0;
        uint32_t lastFiring = 0;
        // Release mode: a longer chord holding these keys fired while they were held, so
        // letting them go is not this action (5 + 1 looks around; 1 alone goes back).
        uint8_t taken = 0;
    };

    uint8_t Evaluate(Binding& binding, uint32_t now) const;
    // Marks the held release-mode bindings whose chords lie inside keys as taken.
    void TakeShorterReleases(const std::vector<int32_t>& keys);
    void RebuildOrder();

    const MFSDisplay* keySource_ = nullptr;
    uint8_t current_[kKeyStateCount] = {};
    uint8_t previous_[kKeyStateCount] = {};
    // Keys held when the enabled set changed: they fire nothing in the new set until let
    // go (the action key that started a flight from the menu must not turn on the
    // autopilot as it is still held in flight).
    uint8_t stale_[kKeyStateCount] = {};
    uint8_t stylusLatches_[3] = {};
    uint8_t buttonToggles_[5] = {};
    const int* keyTable_;
    std::vector<Binding> bindings_;
    std::vector<int> order_;   // binding indices sorted by key count, stable
    uint32_t generation_ = 0;  // grows whenever the bindings change
    std::vector<uint8_t> actionStates_;
    int captureMode_ = 0;
    std::vector<int32_t>* captureTarget_ = nullptr;
    int captureArmed_ = 0;
};
