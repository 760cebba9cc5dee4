#pragma once
// The video quality presets the video screen sets as a whole, and the ranges of the
// settings the menu screens offer (the settings file accepts nothing outside them).
#include <cstdint>

#include "base/FSSettingsBlocks.h"

constexpr int kVideoPresetCount = 3;

// Sets every field a preset holds (resolution, aspect, visibility range, the qualities but
// the shadows', sky) and derives the render size again. False, with the block unchanged,
// for a preset outside 0 .. kVideoPresetCount - 1.
bool ApplyVideoPreset(FSVideoBlock& video, int preset);

// The preset whose fields all equal the block's, or -1 when the block is a custom mix.
// The shadows quality and the render size take no part.
int MatchVideoPreset(const FSVideoBlock& video);

// A closed range of a setting as the menu screens offer it.
template <class T>
struct FSSettingRange {
    T low;
    T high;
    bool Holds(T value) const { return value >= low && value <= high; }
};

// The control sensitivities of the game screen.
constexpr FSSettingRange<float> kJoystickSensitivityRange{0.05f, 0.15f};
constexpr FSSettingRange<float> kXySensitivityRange{-3.0f, 3.0f};
constexpr FSSettingRange<float> kTouchscreenSensitivityRange{0.0f, 0.1f};

// A sensitivity for a slider position 0..1 (clamped), and the slider position that shows it.
float SensitivityFromSlider(const FSSettingRange<float>& range, float slider);
float SliderFromSensitivity(const FSSettingRange<float>& range, float sensitivity);
