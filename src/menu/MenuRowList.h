#pragma once
// The selectable rows of a menu screen: each has a label rectangle (edges included) and a
// point where the pointer marks it. Up and down move the selection round the enabled rows;
// a stylus press selects a row and, once kActivationDelayMs have passed, activates it.
#include <cstdint>
#include <vector>

#include "hud/FSFont.h"
#include "resources/FSBitmap.h"

class MenuResources;

struct MenuRow {
    FSClipRect rect;  // left, top, right, bottom, all inclusive
    FSPoint pointer;
    bool enabled = true;
};

class MenuRowList {
public:
    static constexpr uint32_t kActivationDelayMs = 100;

    explicit MenuRowList(std::vector<MenuRow> items) : items_(std::move(items)) {}

    int Selected() const { return selected_; }
    // Ignored for a row that does not exist or is disabled.
    void Select(int index);
    void SetEnabled(int index, bool enabled);
    // One step up (-1) or down (+1), round the ends, over the disabled rows.
    void Move(int step);
    // The enabled row whose rectangle holds the point, or -1.
    int ItemAt(FSPoint point) const;
    // A press: selects the row under the point and remembers when; the row or -1.
    int Press(FSPoint point, uint32_t now);
    // The pressed row once its delay has passed (then forgotten), else -1.
    int TakeDue(uint32_t now);
    // Up and down move round the rows (forgetting a press), a stylus press on a row selects
    // it; 1 when the action was one of these.
    int HandleAction(int action, FSPoint stylus, uint32_t now);
    void Disarm() { pressed_ = -1; }
    const MenuRow& At(int index) const { return items_[static_cast<size_t>(index)]; }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Pending() const { return pressed_ >= 0; }
    void DrawPointer(MenuResources& resources) const;

private:
    std::vector<MenuRow> items_;
    int selected_ = 0;
    int pressed_ = -1;
    uint32_t pressedAt_ = 0;
};
