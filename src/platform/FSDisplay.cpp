#include "platform/FSDisplay.h"

#include <cstdio>
#include <cstring>

namespace {
// The display that messages go to, if one is open.
std::atomic<MFSDisplay*> gOpenDisplay{nullptr};
}  // namespace

MFSDisplay::MFSDisplay() : frame_(kPixels, 0), lastFrame_(kPixels, 0) {
    // Orientation 2 is where the game starts (the menu is landscape).
    static const int kOrientation2[10] = {134, 38, 40, 39, 37, 196, 195, 194, 193, 197};
    SetKeyTable(kOrientation2);
    gOpenDisplay.store(this);
}

MFSDisplay::~MFSDisplay() {
    MFSDisplay* self = this;
    gOpenDisplay.compare_exchange_strong(self, nullptr);
}

uint16_t* MFSDisplay::BeginDraw() {
    frameLock_.lock();
    return frame_.data();
}

void MFSDisplay::EndDraw() {
    std::memcpy(lastFrame_.data(), frame_.data(), kPixels * sizeof(uint16_t));
    ++frameCount_;
    ShowLocked();
    frameLock_.unlock();
}

void MFSDisplay::ShowLocked() {
    if (overlay_.empty()) {
        Show(frame_.data(), orientation_.load());
        return;
    }
    composed_.resize(kPixels);
    for (int i = 0; i < kPixels; ++i)
        composed_[i] = overlay_[i] == kOverlayClear ? frame_[i] : overlay_[i];
    Show(composed_.data(), orientation_.load());
}

void MFSDisplay::SetOverlay(std::vector<uint16_t> overlay) {
    std::lock_guard<std::mutex> hold(frameLock_);
    if (!overlay.empty() && overlay.size() != static_cast<size_t>(kPixels)) return;
    overlay_ = std::move(overlay);
    if (overlay_.empty()) composed_ = {};
    // The last frame again, with or without the overlay: an idle menu draws nothing new.
    if (frameCount_ > 0) ShowLocked();
}

bool MFSDisplay::HasOverlay() const {
    std::lock_guard<std::mutex> hold(frameLock_);
    return !overlay_.empty();
}

void MFSDisplay::SetOrientation(int orientation) {
    if (orientation >= 0 && orientation <= 2) orientation_.store(orientation);
}

bool MFSDisplay::PeekEvent() {
    std::lock_guard<std::mutex> hold(eventLock_);
    return !events_.empty();
}

bool MFSDisplay::GetEvent(FSEvent& event) {
    std::lock_guard<std::mutex> hold(eventLock_);
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void MFSDisplay::PostEvent(const FSEvent& event) {
    FSEvent stamped = event;
    stamped.focusEpoch = focusEpoch_.load();
    std::lock_guard<std::mutex> hold(eventLock_);
    if (event.type == FSEventType::StylusMove && !events_.empty() &&
        events_.back().type == FSEventType::StylusMove) {
        events_.back() = stamped;
        return;
    }
    events_.push_back(stamped);
}

void MFSDisplay::SetFocus(bool focus) {
    if (focus_.exchange(focus) != focus) ++focusEpoch_;
}

void MFSDisplay::SetKeyTable(const int table[10]) {
    for (int i = 0; i < 10; ++i)
        keyTable_[i].store(table[i]);
}

void MFSDisplay::SetPadKey(int index, bool down) {
    if (index < 0 || index >= 5) return;
    pad_[index].store(down);
    if (down) padTapped_[index].store(true);
}

void MFSDisplay::ReleaseKeys() {
    for (int i = 0; i < 5; ++i) {
        pad_[i].store(false);
        padTapped_[i].store(false);
    }
}

bool MFSDisplay::IsVirtualKeyDown(int virtualKey) const {
    bool down = false;
    for (int i = 0; i < 5; ++i) {
        if (keyTable_[i].load() == virtualKey) {
            const bool tapped = padTapped_[i].exchange(false);
            down = down || pad_[i].load() || tapped;
        }
    }
    return down;
}

int MFSDisplay::HotKeyOfState(int index) const {
    return (index >= 5 && index <= 9) ? keyTable_[index].load() : 0;
}

FSStick MFSDisplay::Stick() const {
    std::lock_guard<std::mutex> hold(stickLock_);
    return stick_;
}

void MFSDisplay::SetStick(const FSStick& stick) {
    std::lock_guard<std::mutex> hold(stickLock_);
    stick_ = stick;
}

void MFSDisplay::ShowMessage(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

std::vector<uint16_t> MFSDisplay::LastFrame() const {
    std::lock_guard<std::mutex> hold(frameLock_);
    return lastFrame_;
}

uint64_t MFSDisplay::FrameCount() const {
    std::lock_guard<std::mutex> hold(frameLock_);
    return frameCount_;
}

namespace platform {

void PictureToDevice(int orientation, int px, int py, int& dx, int& dy) {
    switch (orientation) {
        case 1:  // the shell maps device (x, y) to (320 - y, x)
            dx = py;
            dy = MFSDisplay::kHeight - px;
            break;
        case 2:  // the shell maps device (x, y) to (y, 240 - x)
            dx = MFSDisplay::kWidth - py;
            dy = px;
            break;
        default:
            dx = px;
            dy = py;
            break;
    }
}

void DeviceToPicture(int orientation, const uint16_t* device, uint16_t* picture) {
    const int w = MFSDisplay::kWidth;
    const int h = MFSDisplay::kHeight;
    if (orientation == 1) {
        // Picture (X, Y), 320 wide, shows device pixel (Y, 319 - X).
        for (int y = 0; y < w; ++y) {
            uint16_t* out = picture + y * h;
            for (int x = 0; x < h; ++x)
                out[x] = device[(h - 1 - x) * w + y];
        }
    } else if (orientation == 2) {
        // Picture (X, Y), 320 wide, shows device pixel (239 - Y, X).
        for (int y = 0; y < w; ++y) {
            uint16_t* out = picture + y * h;
            const uint16_t* column = device + (w - 1 - y);
            for (int x = 0; x < h; ++x)
                out[x] = column[x * w];
        }
    } else {
        std::memcpy(picture, device, sizeof(uint16_t) * w * h);
    }
}

void PostHotKey(MFSDisplay& display, int code) {
    FSEvent e;
    e.type = FSEventType::HotKey;
    e.code = code;
    display.PostEvent(e);
}

void ShowMessageBox(const std::string& caption, const std::string& text) {
    if (MFSDisplay* display = gOpenDisplay.load()) {
        display->ShowMessage(caption, text);
    } else {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
}

}  // namespace platform
