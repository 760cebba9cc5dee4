#pragma once
// The device screen and its message queue, as the rest of the game sees them.
//
// The device is a 240 x 320 portrait screen written as 16-bit 5-6-5 pixels (row 0 at the
// top). BeginDraw/EndDraw hand out that frame buffer, as the pocket computer's direct
// display access did; EndDraw shows the frame. Any thread may draw (the loading screen is
// drawn by a second thread while the main thread builds a flight); a lock makes each
// BeginDraw..EndDraw pair exclusive.
//
// Window messages become FSEvents in a queue. Stylus points arrive in device portrait
// coordinates; the shell turns them into screen coordinates for the orientation in force.
// The five application buttons arrive as hot-key events (codes 193-197), one when the
// button goes down and one when it comes up.
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

enum class FSEventType {
    StylusDown,
    StylusUp,
    StylusMove,
    Activate,    // code 1: the window became the foreground window, 0: it lost it
    HotKey,      // code 193-197: application button 1-5 went down or up
    Quit,        // the window was closed: the main loop ends
    Text,        // while text input is on: code is a typed printable ASCII character
    TextKey,     // while text input is on: code is an FSTextKey
    Wheel,       // the mouse wheel: code is +1 per notch away from the player, -1 toward
    Screenshot,  // the player asked for a picture of the screen (F12)
};

// The editing keys of typed text.
enum FSTextKey : int { kTextBackspace = 1, kTextLeft = 2, kTextRight = 3, kTextEnter = 4, kTextEscape = 5 };

struct FSEvent {
    FSEventType type = FSEventType::Quit;
    int x = 0;  // device coordinates for stylus events
    int y = 0;
    int code = 0;
    // Set by PostEvent: the stretch of keyboard focus the event arrived in (see FocusEpoch);
    // 0 for an event handed to the shell directly.
    uint32_t focusEpoch = 0;
};

// An analog stick as the player holds it: a game controller or a flight stick. Axes run
// -1..1 after the dead zone, 0 at its edge: x to the right, y toward the player (the stick
// pulled back), twist to the right. The throttle is where the lever sits, 0 idle .. 1 full,
// and below 0 until the lever has moved since the device came (so plugging a device in
// does not move the engine).
struct FSStick {
    bool present = false;
    bool gameController = false;  // a game controller; otherwise a joystick
    float x = 0.0f;
    float y = 0.0f;
    float twist = 0.0f;
    float throttle = -1.0f;
    std::string name;  // the device's own name; "" when none
};

// Virtual-key codes of the pad, as the input's orientation tables name them.
enum : int {
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVkAction = 134,
    kHotKeyButton1 = 193,
};

class MFSDisplay {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 320;
    static constexpr int kPixels = kWidth * kHeight;

    MFSDisplay();
    virtual ~MFSDisplay();
    MFSDisplay(const MFSDisplay&) = delete;
    MFSDisplay& operator=(const MFSDisplay&) = delete;

    // Frame buffer access; EndDraw shows what was drawn.
    uint16_t* BeginDraw();
    void EndDraw();

    // Which way up the picture is held: 0 portrait, 1 and 2 the two landscape ways.
    void SetOrientation(int orientation);
    int Orientation() const { return orientation_.load(); }

    // Message queue. PostEvent may be called from any thread; consecutive stylus moves
    // are merged so a fast mouse cannot flood the one-message-per-pass main loop.
    bool PeekEvent();
    bool GetEvent(FSEvent& event);
    void PostEvent(const FSEvent& event);

    // Foreground state (the window has keyboard focus). Each change starts a new focus
    // epoch: a button message posted before the focus last changed belongs to a press that
    // the change has already let go of.
    bool HasFocus() const { return focus_.load(); }
    void SetFocus(bool focus);
    uint32_t FocusEpoch() const { return focusEpoch_.load(); }

    // Pad keys. The platform reports which way the player pushed as seen on screen
    // (index 0 action, 1 left, 2 right, 3 up, 4 down); the key table (virtual keys of
    // key states 0-4 and hot keys of states 5-9 for the current orientation) says which
    // device key that is, so the input's own orientation remap gives back the same
    // direction.
    //
    // A press is latched until the key is next asked about, so a tap shorter than one
    // pass of the main loop still counts once.
    void SetKeyTable(const int table[10]);
    void SetPadKey(int index, bool down);
    // Lets go of every pad key, a tap not yet asked about included (the window lost the
    // keyboard: the key-ups will not come).
    void ReleaseKeys();
    bool IsVirtualKeyDown(int virtualKey) const;
    // The application button that means "back" in the current orientation (what Escape sends).
    int BackHotKey() const { return keyTable_[8].load(); }
    // The application button that feeds key state index (5-9) in the current orientation.
    int HotKeyOfState(int index) const;

    // The analog stick in use (the most recently connected device still there); any thread.
    FSStick Stick() const;
    void SetStick(const FSStick& stick);

    // Puts the window away (the menu's close button); nothing without a window.
    virtual void Minimise() {}
    // Whether the window fills the screen. The window's own keys (F11, Alt+Enter) turn it;
    // the game reads it back to keep the choice in its settings.
    bool FullScreen() const { return fullScreen_.load(); }
    // The integer scale the picture is shown at (1 without a window).
    int PictureScale() const { return pictureScale_.load(); }

    // A picture laid over every frame shown until it is taken away (an empty one): device
    // layout, kWidth x kHeight, where pixels of kOverlayClear let the frame show through.
    // The last frame is shown again at once with it, so an idle screen shows it too;
    // LastFrame stays the frame without it.
    static constexpr uint16_t kOverlayClear = 0xF81F;
    void SetOverlay(std::vector<uint16_t> overlay);
    bool HasOverlay() const;
    // While on, the keyboard types text (Text and TextKey events) instead of pressing the
    // pad and the buttons.
    void SetTextInput(bool on) { textInput_.store(on); }
    bool TextInput() const { return textInput_.load(); }

    // A message to the player: a dialog when a window exists, else one line on stderr.
    virtual void ShowMessage(const std::string& caption, const std::string& text);

    // The last frame shown (device layout) and how many frames were shown.
    std::vector<uint16_t> LastFrame() const;
    uint64_t FrameCount() const;

protected:
    // Shows the frame just drawn; called with the frame lock held.
    virtual void Show(const uint16_t* frame, int orientation) = 0;
    // For the window: the screen state it is in.
    void NoteFullScreen(bool on) { fullScreen_.store(on); }
    void NotePictureScale(int scale) { pictureScale_.store(scale < 1 ? 1 : scale); }

private:
    mutable std::mutex frameLock_;
    std::vector<uint16_t> frame_;
    std::vector<uint16_t> lastFrame_;
    std::vector<uint16_t> overlay_;  // empty: none
    std::vector<uint16_t> composed_;
    uint64_t frameCount_ = 0;
    void ShowLocked();

    std::mutex eventLock_;
    std::deque<FSEvent> events_;

    std::atomic<int> orientation_{2};
    std::atomic<bool> focus_{true};
    std::atomic<uint32_t> focusEpoch_{1};
    std::atomic<bool> textInput_{false};
    std::atomic<bool> fullScreen_{false};
    std::atomic<int> pictureScale_{1};
    std::atomic<bool> pad_[5]{};
    mutable std::atomic<bool> padTapped_[5]{};
    std::atomic<int> keyTable_[10]{};
    mutable std::mutex stickLock_;
    FSStick stick_;
};

namespace platform {
// Device point (portrait, 240 x 320) of a point on the upright picture of the given
// orientation (320 x 240 for orientations 1 and 2), and the reverse.
void PictureToDevice(int orientation, int px, int py, int& dx, int& dy);
// Turns a device frame into the upright picture for the orientation; picture must hold
// 240 x 320 pixels, laid out 240 wide (orientation 0) or 320 wide (1 and 2).
void DeviceToPicture(int orientation, const uint16_t* device, uint16_t* picture);

// An application button's message (one for the press, one for the release).
void PostHotKey(MFSDisplay& display, int code);

// One line on stderr, or a dialog through the display that is open.
void ShowMessageBox(const std::string& caption, const std::string& text);
}  // namespace platform
