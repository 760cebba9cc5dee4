#include "platform/FSSdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/FSGLSurface.h"
#include "platform/FSStickReader.h"
#include "platform/FSWindowIcon.h"
#include "platform/FSWindowPresenter.h"

struct CFSSdlDisplay::Window {
    Window(CFSSdlDisplay& display, int windowScale) : owner(display), scale(windowScale) {}
    ~Window() {
        presenter.reset();  // its renderer before the window
        if (window) SDL_DestroyWindow(window);
    }

    // The window and the way the picture reaches it; false when either cannot be made.
    bool Create();
    // Shows the last frame (turned upright first when it is new).
    void Present(bool newFrame);
    // Fits the window to the picture of the orientation (0 portrait, 1 and 2 landscape).
    void SetOrientation(int o);
    // Fills the screen or goes back to a window of the picture's size.
    void SetFullScreen(bool on);
    // Tells the display the integer scale the picture is shown at now.
    void NoteScale();

    CFSSdlDisplay& owner;
    // Turns one SDL event into the display's events and key states; repaint is set when
    // the window needs its picture again.
    void HandleEvent(const SDL_Event& ev, MFSDisplay& display, bool& repaint);

    int scale;
    SDL_Window* window = nullptr;
    std::unique_ptr<CFSWindowPresenter> presenter;
    CFSStickReader sticks;  // game controllers and flight sticks
    int orientation = -1;
    bool fullScreen = false;
    bool mouseDown = false;
    std::vector<uint16_t> frame = std::vector<uint16_t>(kPixels, 0);
    std::vector<uint16_t> picture = std::vector<uint16_t>(kPixels, 0);
    bool haveFrame = false;

private:
    void HandleKey(const SDL_KeyboardEvent& key, MFSDisplay& display);
    // The stylus at a point of the picture, or at the mouse's point in the window.
    void PostStylus(MFSDisplay& display, FSEventType type, int px, int py) const;
    void PostMouse(MFSDisplay& display, FSEventType type, int x, int y) const;
};

std::unique_ptr<CFSSdlDisplay> CFSSdlDisplay::Open(int scale, std::string& error, bool fullScreen) {
    // The window's renderer may load the GL libraries first.
    CFSGLSurface::PrepareRasterizer();
    std::unique_ptr<CFSSdlDisplay> display(new CFSSdlDisplay(scale < 1 ? 1 : scale, fullScreen));
    std::unique_lock<std::mutex> hold(display->lock_);
    display->thread_ = std::thread([d = display.get()] { d->WindowThread(); });
    display->ready_.wait(hold, [&] { return display->started_ || display->startFailed_; });
    if (display->startFailed_) {
        error = display->startError_;
        hold.unlock();
        display->thread_.join();
        return nullptr;
    }
    return display;
}

CFSSdlDisplay::CFSSdlDisplay(int scale, bool fullScreen)
    : scale_(scale), startFullScreen_(fullScreen), mailbox_(kPixels, 0) {}

CFSSdlDisplay::~CFSSdlDisplay() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        quit_ = true;
    }
    if (wakeEvent_ != 0) {
        SDL_Event wake{};
        wake.type = wakeEvent_;
        SDL_PushEvent(&wake);
    }
    if (thread_.joinable()) thread_.join();
}

void CFSSdlDisplay::Show(const uint16_t* frame, int orientation) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        std::memcpy(mailbox_.data(), frame, kPixels * sizeof(uint16_t));
        frameOrientation_ = orientation;
        frameWaiting_ = true;
    }
    SDL_Event wake{};
    wake.type = wakeEvent_;
    SDL_PushEvent(&wake);  // thread-safe; wakes the window thread out of its wait
}

void CFSSdlDisplay::Minimise() {
    std::lock_guard<std::mutex> hold(lock_);
    minimiseWanted_ = true;
}

void CFSSdlDisplay::ShowMessage(const std::string& caption, const std::string& text) {
    MFSDisplay::ShowMessage(caption, text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

void CFSSdlDisplay::ShowMessageWithoutWindow(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    // Without a desktop this fails at once and the line above is all there is.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

namespace {

// Screen direction (0 action, 1 left, 2 right, 3 up, 4 down) of a keyboard key, or -1.
int PadIndexOfKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            return 0;
        case SDLK_LEFT:
            return 1;
        case SDLK_RIGHT:
            return 2;
        case SDLK_UP:
            return 3;
        case SDLK_DOWN:
            return 4;
        default:
            return -1;
    }
}

// The game's icon on the window (task bars, window switchers); a window without it works.
void SetWindowIcon(SDL_Window* window) {
    // SDL copies the pixels into the window's icon; the surface only lends them.
    void* pixels = const_cast<unsigned char*>(kWindowIconPixels);
    const std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> icon(
        SDL_CreateRGBSurfaceWithFormatFrom(pixels, kWindowIconSide, kWindowIconSide, 32, kWindowIconSide * 4,
                                           SDL_PIXELFORMAT_RGBA32),
        &SDL_FreeSurface);
    if (icon) SDL_SetWindowIcon(window, icon.get());
}

}  // namespace

using platform::PostHotKey;

bool CFSSdlDisplay::Window::Create() {
    window = SDL_CreateWindow("Aerovant", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 320 * scale,
                              240 * scale, SDL_WINDOW_SHOWN);
    if (!window) return false;
    SetWindowIcon(window);
    presenter = std::make_unique<CFSWindowPresenter>();
    return presenter->Create(window);
}

void CFSSdlDisplay::Window::Present(bool newFrame) {
    if (!haveFrame) return;
    if (newFrame) {
        platform::DeviceToPicture(orientation, frame.data(), picture.data());
    } else {
        presenter->Invalidate();
    }
    presenter->Present(picture.data());
}

void CFSSdlDisplay::Window::SetOrientation(int o) {
    if (o == orientation) return;
    orientation = o;
    const int lw = o == 0 ? kWidth : kHeight;
    const int lh = o == 0 ? kHeight : kWidth;
    presenter->SetPictureSize(lw, lh);
    if (!fullScreen) SDL_SetWindowSize(window, lw * scale, lh * scale);
    NoteScale();
}

void CFSSdlDisplay::Window::SetFullScreen(bool on) {
    if (SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    fullScreen = on;
    owner.NoteFullScreen(on);
    if (!on && orientation >= 0) {
        // Back to the window's own size for the picture.
        const int o = orientation;
        orientation = -1;
        SetOrientation(o);
    }
    NoteScale();
}

void CFSSdlDisplay::Window::NoteScale() {
    owner.NotePictureScale(presenter->Scale());
}

void CFSSdlDisplay::Window::PostMouse(MFSDisplay& display, FSEventType type, int x, int y) const {
    int px = 0;
    int py = 0;
    presenter->WindowToPicture(x, y, px, py);
    PostStylus(display, type, px, py);
}

void CFSSdlDisplay::Window::PostStylus(MFSDisplay& display, FSEventType type, int px, int py) const {
    FSEvent e;
    e.type = type;
    platform::PictureToDevice(orientation < 0 ? 2 : orientation, px, py, e.x, e.y);
    display.PostEvent(e);
}

namespace {

// The editing key of a keyboard key while text is typed, or 0.
int TextKeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_BACKSPACE:
            return kTextBackspace;
        case SDLK_LEFT:
            return kTextLeft;
        case SDLK_RIGHT:
            return kTextRight;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return kTextEnter;
        case SDLK_ESCAPE:
            return kTextEscape;
        default:
            return 0;
    }
}

void PostTyped(MFSDisplay& display, FSEventType type, int code) {
    FSEvent e;
    e.type = type;
    e.code = code;
    display.PostEvent(e);
}

}  // namespace

void CFSSdlDisplay::Window::HandleKey(const SDL_KeyboardEvent& event, MFSDisplay& display) {
    const bool down = event.type == SDL_KEYDOWN;
    const SDL_Keycode key = event.keysym.sym;
    // The window's own keys work everywhere, typing a name included, and press nothing in
    // the game: F11 and Alt+Enter fill the screen or leave it, F12 takes a picture.
    const bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    if (key == SDLK_F11 || ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && alt)) {
        if (down && !event.repeat) SetFullScreen(!fullScreen);
        return;
    }
    if (key == SDLK_F12) {
        if (down && !event.repeat) PostTyped(display, FSEventType::Screenshot, 0);
        return;
    }
    if (display.TextInput()) {
        // Typing a name: the keys type, and press nothing else.
        if (down && TextKeyOf(key) != 0) PostTyped(display, FSEventType::TextKey, TextKeyOf(key));
        return;
    }
    const int padKey = PadIndexOfKey(key);
    if (padKey >= 0) {
        display.SetPadKey(padKey, down);
    } else if (event.repeat) {
        // auto-repeat of a button is not a new press
    } else if (key >= SDLK_1 && key <= SDLK_5) {
        PostHotKey(display, kHotKeyButton1 + static_cast<int>(key - SDLK_1));
    } else if (key == SDLK_ESCAPE || key == SDLK_BACKSPACE) {
        PostHotKey(display, display.BackHotKey());
    }
}

void CFSSdlDisplay::Window::HandleEvent(const SDL_Event& ev, MFSDisplay& display, bool& repaint) {
    switch (ev.type) {
        case SDL_QUIT: {
            FSEvent e;
            e.type = FSEventType::Quit;
            display.PostEvent(e);
            break;
        }
        case SDL_WINDOWEVENT:
            if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                const bool gained = ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                display.SetFocus(gained);
                FSEvent e;
                e.type = FSEventType::Activate;
                e.code = gained ? 1 : 0;
                display.PostEvent(e);
                if (!gained) display.ReleaseKeys();
            } else if (ev.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                repaint = true;
                NoteScale();
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(ev.key, display);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (ev.button.button == SDL_BUTTON_LEFT && ev.button.which != SDL_TOUCH_MOUSEID) {
                mouseDown = ev.type == SDL_MOUSEBUTTONDOWN;
                PostMouse(display, mouseDown ? FSEventType::StylusDown : FSEventType::StylusUp, ev.button.x,
                          ev.button.y);
            } else if (ev.button.button == SDL_BUTTON_RIGHT && !display.TextInput()) {
                // The right button is "back", as Escape is: a mouse alone leaves a flight too.
                PostHotKey(display, display.BackHotKey());
            }
            break;
        case SDL_TEXTINPUT:
            if (display.TextInput()) {
                for (const char* c = ev.text.text; *c; ++c)
                    if (*c >= 32 && *c < 127) PostTyped(display, FSEventType::Text, *c);
            }
            break;
        case SDL_MOUSEWHEEL:
            if (ev.wheel.y != 0) {
                const int notches = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
                PostTyped(display, FSEventType::Wheel, notches);
            }
            break;
        case SDL_MOUSEMOTION:
            // A stylus cannot hover: only a drag is a move.
            if (mouseDown && ev.motion.which != SDL_TOUCH_MOUSEID) {
                PostMouse(display, FSEventType::StylusMove, ev.motion.x, ev.motion.y);
            }
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERUP:
        case SDL_FINGERMOTION: {
            const int lw = orientation == 0 ? kWidth : kHeight;
            const int lh = orientation == 0 ? kHeight : kWidth;
            const FSEventType type = ev.type == SDL_FINGERDOWN ? FSEventType::StylusDown
                                     : ev.type == SDL_FINGERUP ? FSEventType::StylusUp
                                                               : FSEventType::StylusMove;
            PostStylus(display, type, static_cast<int>(ev.tfinger.x * lw),
                       static_cast<int>(ev.tfinger.y * lh));
            break;
        }
        default:
            sticks.HandleEvent(ev, display);
            break;
    }
}

void CFSSdlDisplay::WindowThread() {
    auto fail = [this](const std::string& why) {
        std::lock_guard<std::mutex> hold(lock_);
        startFailed_ = true;
        startError_ = why;
        ready_.notify_all();
    };
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        const std::string why = SDL_GetError();
        SDL_TLSCleanup();
        fail(why);
        return;
    }
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);  // optional: no controller support is fine
    auto w = std::make_unique<Window>(*this, scale_);
    const bool created = w->Create();
    const uint32_t wake = SDL_RegisterEvents(1);
    if (!created || wake == static_cast<uint32_t>(-1)) {
        const std::string why = SDL_GetError();
        w.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER);
        SDL_TLSCleanup();
        fail(why);
        return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    {
        std::lock_guard<std::mutex> hold(lock_);
        wakeEvent_ = wake;
        started_ = true;
        ready_.notify_all();
    }
    w->SetOrientation(2);
    if (startFullScreen_) w->SetFullScreen(true);

    for (;;) {
        SDL_Event ev;
        bool got = SDL_WaitEventTimeout(&ev, 200) != 0;
        bool repaint = false;
        while (got) {
            w->HandleEvent(ev, *this, repaint);
            got = SDL_PollEvent(&ev) != 0;
        }

        bool quit;
        bool newFrame = false;
        bool minimise = false;
        int orientation = 2;
        {
            std::lock_guard<std::mutex> hold(lock_);
            quit = quit_;
            minimise = minimiseWanted_;
            minimiseWanted_ = false;
            if (frameWaiting_) {
                std::memcpy(w->frame.data(), mailbox_.data(), kPixels * sizeof(uint16_t));
                orientation = frameOrientation_;
                frameWaiting_ = false;
                newFrame = true;
            }
        }
        if (quit) break;
        if (minimise) SDL_MinimizeWindow(w->window);
        if (newFrame) {
            w->haveFrame = true;
            const bool turned = orientation != w->orientation;
            w->SetOrientation(orientation);
            w->Present(true);
            if (turned) repaint = true;
        } else if (repaint) {
            w->Present(false);
        }
    }
    w.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER);
    // The last user of SDL releases what it keeps for the whole library (hints and the like).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    // SDL keeps per-thread data (its error text) for threads it did not start itself.
    SDL_TLSCleanup();
}
