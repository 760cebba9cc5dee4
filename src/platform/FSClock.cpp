#include "platform/FSClock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace platform {
namespace {

std::atomic<bool> gVirtual{false};
std::atomic<uint32_t> gVirtualNow{0};
std::atomic<std::thread::id> gOwner{};
std::atomic<bool> gHeld{false};
std::atomic<uint32_t> gHeldTick{0};
std::atomic<std::thread::id> gHolder{};

uint32_t RealTicks() {
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now();
    // Start at 1000 rather than 0 so "tick 0" never means "not set yet" by accident.
    return 1000u + static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}

}  // namespace

uint32_t TickCount() {
    if (gHeld.load() && std::this_thread::get_id() == gHolder.load()) return gHeldTick.load();
    return gVirtual.load() ? gVirtualNow.load() : RealTicks();
}

void Sleep(uint32_t ms) {
    if (gVirtual.load()) {
        if (std::this_thread::get_id() == gOwner.load()) {
            gVirtualNow.fetch_add(ms);
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<uint32_t>(ms, 2u)));
        }
        return;
    }
    if (ms == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

void UseVirtualClock(uint32_t startTick) {
    gVirtualNow.store(startTick);
    gOwner.store(std::this_thread::get_id());
    gVirtual.store(true);
}

void UseRealClock() {
    gVirtual.store(false);
}

bool IsVirtualClock() {
    return gVirtual.load();
}

void AdvanceVirtualClock(uint32_t ms) {
    gVirtualNow.fetch_add(ms);
}

void HoldTickCount(uint32_t tick) {
    gHeldTick.store(tick);
    gHolder.store(std::this_thread::get_id());
    gHeld.store(true);
}

void ReleaseTickCount() {
    gHeld.store(false);
}

}  // namespace platform
