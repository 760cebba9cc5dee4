#include "app/FSInput.h"

#include <algorithm>
#include <cstring>

#include "platform/FSDisplay.h"

namespace {

// Which virtual key feeds states 0-4 and which application button (hot-key code) feeds
// states 5-9, per orientation, so that each pad direction keeps its on-screen meaning.
const int kKeyTables[3][10] = {
    {134, 37, 39, 38, 40, 196, 195, 194, 193, 197},
    {134, 40, 38, 37, 39, 193, 194, 195, 196, 197},
    {134, 38, 40, 39, 37, 196, 195, 194, 193, 197},
};

struct DefaultBinding {
    int keys[2];
    int keyCount;
    int mode;
    int interval;
};

// The factory bindings, one per action. Button 5 (state 9) is the shift key of the chords.
const DefaultBinding kDefaults[kActionCount] = {
    {{0}, 1, 0, 300},  {{8}, 1, 0, 300},    {{1}, 1, 0, 300},    {{2}, 1, 0, 300},  {{3}, 1, 0, 300},
    {{4}, 1, 0, 300},  {{1}, 1, 0, 0},      {{2}, 1, 0, 0},      {{3}, 1, 0, 0},    {{4}, 1, 0, 0},
    {{7}, 1, 0, 0},    {{6}, 1, 0, 0},      {{3}, 1, 0, 0},      {{4}, 1, 0, 0},    {{1}, 1, 0, 0},
    {{2}, 1, 0, 0},    {{1, 9}, 2, 0, 0},   {{2, 9}, 2, 0, 0},   {{0, 9}, 2, 0, 0}, {{1}, 1, 1, 0},
    {{2}, 1, 1, 0},    {{3}, 1, 1, 0},      {{4}, 1, 1, 0},      {{1, 9}, 2, 1, 0}, {{2, 9}, 2, 1, 0},
    {{0, 9}, 2, 1, 0}, {{5, 9}, 2, 0, 300}, {{6}, 1, 0, 300},    {{0}, 1, 0, 500},  {{5}, 1, 0, 500},
    {{8}, 1, 1, 0},    {{7}, 1, 0, 300},    {{8, 9}, 2, 0, 300}, {{7, 9}, 2, 0, 0}, {{6, 9}, 2, 0, 0},
    {{11}, 1, 0, 0},   {{10}, 1, 0, 0},     {{12}, 1, 0, 0},
};

}  // namespace

CFSInput::CFSInput(int actionCount) : keyTable_(kKeyTables[2]) {
    bindings_.resize(static_cast<size_t>(std::max(actionCount, 0)));
    actionStates_.assign(bindings_.size(), 0);
    RebuildOrder();
}

const int* CFSInput::KeyTable(int orientation) {
    return kKeyTables[(orientation >= 0 && orientation <= 2) ? orientation : 2];
}

void CFSInput::SetOrientation(int orientation) {
    if (orientation >= 0 && orientation <= 2) keyTable_ = kKeyTables[orientation];
    std::memset(current_, 0, sizeof current_);
    std::memset(previous_, 0, sizeof previous_);
}

void CFSInput::Poll() {
    std::memcpy(previous_, current_, sizeof current_);
    for (int i = 0; i < 5; ++i) {
        current_[i] = (keySource_ && keySource_->IsVirtualKeyDown(keyTable_[i])) ? 1 : 0;
    }
    for (int i = 5; i < 10; ++i) {
        const int button = keyTable_[i] - kHotKeyButton1;
        current_[i] = (button >= 0 && button < 5) ? buttonToggles_[button] : 0;
    }
    for (int i = 0; i < 3; ++i) {
        current_[kStateStylusPressed + i] = stylusLatches_[i];
        stylusLatches_[i] = 0;
    }
    for (int i = 0; i < kKeyStateCount; ++i)
        stale_[i] = stale_[i] && current_[i];
}

void CFSInput::LatchStylus(int index, uint8_t value) {
    if (index >= kStateStylusPressed && index <= kStateStylusMoved)
        stylusLatches_[index - kStateStylusPressed] = value;
}

void CFSInput::SetButtonToggle(int button, uint8_t value) {
    if (button >= 0 && button < 5) buttonToggles_[button] = value;
}

uint8_t CFSInput::Evaluate(Binding& binding, uint32_t now) const {
    if (!binding.enabled) return 0;
    bool all = true;
    for (int32_t key : binding.keys) {
        if (key < 0 || key >= kKeyStateCount || !current_[key] || stale_[key]) {
            all = false;
            break;
        }
    }
    if (binding.mode == 0) {
        if (!all) return 0;
        if (binding.interval == 0) return 1;
        if (now - binding.lastFiring < static_cast<uint32_t>(binding.interval)) return 0;
        binding.lastFiring = now;
        return 1;
    }
    if (all || binding.heldLastTime != 1) {
        if (all && binding.heldLastTime != 1) binding.taken = 0;  // a fresh press
        binding.heldLastTime = all ? 1 : 0;
        return 0;
    }
    // The chord was complete at the last evaluation and has just been let go.
    binding.heldLastTime = 0;
    if (binding.taken) {
        binding.taken = 0;
        return 0;
    }
    if (binding.interval != 0 && now - binding.lastFiring < static_cast<uint32_t>(binding.interval)) return 0;
    binding.lastFiring = now;
    return 1;
}

void CFSInput::EvaluateAll(uint32_t now) {
    for (size_t i = 0; i < bindings_.size(); ++i)
        actionStates_[i] = Evaluate(bindings_[i], now);
}

void CFSInput::Dispatch(const std::function<int(int)>& send) {
    // An action may change the bindings while we walk them (the controls screen rebinds,
    // the controller switches the enabled set): walk a copy of the order, and stop once the
    // bindings have been rebuilt, since the states evaluated belong to the old ones.
    const std::vector<int> order = order_;
    const uint32_t generation = generation_;
    int dispatchedKeyCount = -1;
    for (auto it = order.rbegin(); it != order.rend() && generation == generation_; ++it) {
        const Binding& binding = bindings_[static_cast<size_t>(*it)];
        const int keyCount = static_cast<int>(binding.keys.size());
        if (binding.action == -1 || !binding.enabled || keyCount < 1 ||
            !actionStates_[static_cast<size_t>(*it)]) {
            continue;
        }
        if (dispatchedKeyCount != -1 && dispatchedKeyCount != keyCount) continue;
        dispatchedKeyCount = keyCount;
        TakeShorterReleases(binding.keys);
        send(binding.action);
    }
}

void CFSInput::TakeShorterReleases(const std::vector<int32_t>& keys) {
    for (Binding& other : bindings_) {
        if (other.mode != 1 || other.keys.empty() || other.keys.size() >= keys.size() || !other.heldLastTime)
            continue;
        const bool inside = std::all_of(other.keys.begin(), other.keys.end(), [&keys](int32_t key) {
            return std::find(keys.begin(), keys.end(), key) != keys.end();
        });
        if (inside) other.taken = 1;
    }
}

void CFSInput::EnableAll(uint8_t flag) {
    for (Binding& binding : bindings_)
        binding.enabled = flag;
}

void CFSInput::EnableAction(int index, uint8_t flag) {
    if (index >= 0 && index < static_cast<int>(bindings_.size()))
        bindings_[static_cast<size_t>(index)].enabled = flag;
}

void CFSInput::EnableActionSet(int set) {
    static const std::vector<int> kSets[3] = {
        {kActionSelect, kActionBack, kActionUp, kActionDown, kActionUpHeld, kActionDownHeld, kActionLeft,
         kActionLeftHeld, kActionRight, kActionRightHeld, kActionStylusPressed, kActionStylusReleased,
         kActionStylusMoved},
        {kActionElevatorsUp,    kActionElevatorsUpReleased,
         kActionElevatorsDown,  kActionElevatorsDownReleased,
         kActionAileronsLeft,   kActionAileronsLeftReleased,
         kActionAileronsRight,  kActionAileronsRightReleased,
         kActionRuddersLeft,    kActionRuddersLeftReleased,
         kActionRuddersRight,   kActionRuddersRightReleased,
         kActionBrake,          kActionBrakeReleased,
         kActionFlaps,          kActionInstructor,
         kActionAutopilot,      kActionMap,
         kActionChangeView,     kActionLookAround,
         kActionThrottleLess,   kActionThrottleMore,
         kActionBackToMenu,     kActionStylusPressed,
         kActionStylusReleased, kActionStylusMoved},
        // The map view: no stylus actions.
        {kActionElevatorsUp, kActionElevatorsUpReleased, kActionElevatorsDown, kActionElevatorsDownReleased,
         kActionAileronsLeft, kActionAileronsLeftReleased, kActionAileronsRight, kActionAileronsRightReleased,
         kActionMapCameraFarther, kActionMapCameraNearer, kActionMap, kActionBackToMenu},
    };
    EnableAll(0);
    for (int i = 0; i < kStateStylusPressed; ++i)
        stale_[i] = current_[i];
    if (set < 0 || set > 2) return;
    for (int action : kSets[set])
        EnableAction(action, 1);
}

void CFSInput::SetBinding(int index, const std::vector<int32_t>& keys, int32_t mode, int32_t interval) {
    if (index < 0 || index >= static_cast<int>(bindings_.size())) return;
    Binding& binding = bindings_[static_cast<size_t>(index)];
    binding.action = index;
    binding.keys = keys;
    binding.mode = mode;
    binding.interval = interval;
    binding.enabled = 1;
    binding.heldLastTime = 0;
    binding.lastFiring = 0;
    RebuildOrder();
}

void CFSInput::ResetToDefaults() {
    if (bindings_.size() < static_cast<size_t>(kActionCount)) bindings_.resize(kActionCount);
    actionStates_.assign(bindings_.size(), 0);
    for (int action = 0; action < kActionCount; ++action) {
        const DefaultBinding& d = kDefaults[action];
        SetBinding(action, std::vector<int32_t>(d.keys, d.keys + d.keyCount), d.mode, d.interval);
    }
}

void CFSInput::ReplaceBindings(const std::vector<FSBindingRecord>& records) {
    if (records.empty()) {
        ResetToDefaults();
        return;
    }
    bindings_.clear();
    for (const FSBindingRecord& record : records) {
        Binding binding;
        binding.action = record.action;
        binding.interval = record.interval;
        binding.mode = record.mode;
        binding.keys = record.keys;
        binding.enabled = 1;
        bindings_.push_back(std::move(binding));
    }
    actionStates_.assign(bindings_.size(), 0);
    RebuildOrder();
}

std::vector<FSBindingRecord> CFSInput::ExportBindings() const {
    std::vector<FSBindingRecord> records;
    records.reserve(bindings_.size());
    for (const Binding& binding : bindings_) {
        records.push_back({binding.action, binding.mode, binding.interval, binding.keys});
    }
    return records;
}

std::vector<int32_t> CFSInput::KeysOf(int index) const {
    if (index < 0 || index >= static_cast<int>(bindings_.size())) return {};
    return bindings_[static_cast<size_t>(index)].keys;
}

void CFSInput::RebuildOrder() {
    ++generation_;
    // Counting sort over the key counts: ascending, stable within equal counts.
    size_t maxCount = 0;
    for (const Binding& binding : bindings_)
        maxCount = std::max(maxCount, binding.keys.size());
    std::vector<size_t> start(maxCount + 2, 0);
    for (const Binding& binding : bindings_)
        ++start[binding.keys.size() + 1];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    order_.assign(bindings_.size(), 0);
    for (size_t i = 0; i < bindings_.size(); ++i)
        order_[start[bindings_[i].keys.size()]++] = static_cast<int>(i);
}

void CFSInput::StartCapture(std::vector<int32_t>* target) {
    captureMode_ = 1;
    captureArmed_ = 0;
    captureTarget_ = target;
}

bool CFSInput::CaptureStep() {
    int now = 0;
    int before = 0;
    for (int i = 0; i < kKeyStateCount; ++i) {
        now += current_[i];
        before += previous_[i];
    }
    if (before <= now) return false;
    if (!captureArmed_) {
        // This is the release that ends the tap which started the capture.
        captureArmed_ = 1;
        return false;
    }
    captureMode_ = 0;
    if (captureTarget_) {
        for (int i = 0; i < kKeyStateCount; ++i) {
            if (previous_[i]) captureTarget_->push_back(i);
        }
    }
    return true;
}
