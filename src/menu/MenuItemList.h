#pragma once
// The item list of the settings and video screens: a label rectangle and a pointer point
// per item, a selected item that up and down move round, and a stylus press that selects
// an item and activates it once it has been held up for 100 ms (checked when drawing).
#include <cstdint>
#include <utility>
#include <vector>

#include "hud/FSFont.h"
#include "resources/FSBitmap.h"

class MenuItemList {
public:
    static constexpr uint32_t kActivationDelayMs = 100;

    struct Item {
        FSClipRect label;  // left, top, right, bottom, inclusive
        FSPoint pointer;
    };

    explicit MenuItemList(std::vector<Item> items) : items_(std::move(items)) {}

    int Selected() const { return selected_; }
    void Select(int item);
    const Item& At(int item) const { return items_[static_cast<size_t>(item)]; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Up and down (wrapping); a stylus press on a label selects it and arms its
    // activation. 1 when the action was one of these.
    int HandleAction(int action, FSPoint stylus, uint32_t now);
    // The armed item once its delay has passed (then disarmed), else -1.
    int Due(uint32_t now);
    void Disarm() { armed_ = false; }
    int ItemAt(FSPoint point) const;

private:
    std::vector<Item> items_;
    int selected_ = 0;
    bool armed_ = false;
    uint32_t pressed_ = 0;
};
