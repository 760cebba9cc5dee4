#pragma once
// The loading screen: after the player chose to fly, the last menu picture fades to a fifth
// of its brightness, the loading title appears turned the way the flight will be held, and
// an altimeter's five wheels roll while the flight is built. The screen writes the device
// frame itself (the loading thread draws it while the main thread builds the flight), so
// its draw never asks the menu to show the buffer.
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "menu/MSPStylusMenuState.h"

class CSPMenuStateLoading : public MSPStylusMenuState {
public:
    static constexpr uint32_t kFadeMilliseconds = 500;
    static constexpr int kWheels = 5;

    // startFlight builds and starts the flight (it returns once the flight flies); called
    // when the fade has ended.
    explicit CSPMenuStateLoading(std::function<void()> startFlight);

    void Activate(int number, int flag) override;
    int HandleAction(int) override { return 0; }
    int Draw(int redraw) override;
    // Builds and starts the flight once the fade has ended.
    void AfterDraw() override;
    void Forward() override {}
    void Back() override {}
    void Load(MenuResources& resources, int flag) override;
    void Unload() override;

    // The wheels' picture offsets for a time on the altimeter (milliseconds) and a menu
    // orientation: the figures strip holds a digit every 14.3 rows.
    static void WheelOffsets(int32_t elapsed, int orientation, int offsets[kWheels]);
    bool Fading() const { return fading_; }
    const std::vector<uint16_t>& Snapshot() const { return snapshot_; }

private:
    // The screen buffer into the snapshot, laid out as the device shows it.
    void TakeSnapshot();
    void EndFade();
    void DrawAltimeter(bool full);
    void ShowSnapshot();

    std::function<void()> startFlight_;
    std::vector<uint16_t> snapshot_;  // 240 x 320, device layout
    FSBitmapHandle title_, body_, bodyMask_, figures_;
    uint32_t fadeStart_ = 0;
    uint32_t altimeterStart_ = 0;
    bool fading_ = false;
    bool first_ = false;
    std::atomic<bool> startPending_{false};
    int offsets_[kWheels] = {-1, -1, -1, -1, -1};
};
