#include "app/FSShell.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/FSAnalogInput.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSRunStats.h"
#include "app/FSScreenshot.h"
#include "app/FSSettingsFile.h"
#include "app/FSSplash.h"
#include "hud/FSTouchpad.h"
#include "platform/FSClock.h"
#include "platform/FSThread.h"
#include "resources/FSTextureCache.h"
#include "world/FSGridCollisionDetector.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

namespace {

// How long a notice (where a screenshot went) stays over the picture: three seconds of
// passes. Passes, not the clock, because a replay puts back the clock of its recording.
constexpr int kNoticePasses = 3 * kPacedFramesPerSecond;

uint32_t ReadLE32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

CFSShell::CFSShell(MFSDisplay& display, FSShellParts parts) : display_(display), parts_(std::move(parts)) {}

CFSShell::~CFSShell() {
    Shutdown();
}

int CFSShell::Start() {
    context_ = GetApplicationContext();
    context_->display = &display_;
    ShowSplash();

    if (parts_.makeMenu) menu_ = parts_.makeMenu();
    std::string why;
    context_->engine = CFSEngine::Create(*context_, menu_.get(), why);
    if (!context_->engine) {
        // Running on without a 3-D display would only fail later and more obscurely.
        display_.ShowMessage("Aerovant", "Unable to start the 3-D display: " + why);
        menu_.reset();
        ended_ = true;
        exitStatus_ = 1;
        return exitStatus_;
    }

    context_->sceneRoot = std::make_unique<CFSScene>(&context_->sineTable);
    // The scene draws the route's terrain first, when one is loaded.
    InstallTerrainHooks(*context_->sceneRoot, context_->terrain, context_->video, context_->game);
    // The collision grid forgets every node the scene deletes, and starts afresh with it.
    CFSApplicationContext* context = context_;
    context_->sceneRoot->hooks.forgetNode = [context](MFSSceneNode& node) {
        if (context->collisionDetector) context->collisionDetector->Remove(&node);
    };
    context_->sceneRoot->hooks.resetCollisions = [context](const FSBox& worldBox) {
        if (context->engine) {
            context->engine->ResetCollisions(worldBox);
        } else {
            // At shutdown the controller clears the scene after the engine has gone: an
            // empty grid that nothing asks any more.
            context->collisionDetector = std::make_unique<CFSGridCollisionDetector>(worldBox);
        }
    };
    if (parts_.makeController) context_->gameController = parts_.makeController();
    if (!context_->input) context_->input = std::make_unique<CFSInput>(kActionCount);
    CFSInput& input = *context_->input;
    input.SetKeySource(&display_);
    // Until the settings file supplies bindings, the factory ones hold; without a file
    // everything keeps its defaults until the first save writes one.
    input.ResetToDefaults();
    ReadSettings();
    // After the bindings are in: the file's bindings come enabled.
    input.EnableActionSet(kActionSetMenu);
    DeriveRenderSize(context_->video);
    DeriveControlGains(context_->game);
    context_->appliedVideo = context_->video;
    context_->appliedGame = context_->game;

    input.SetOrientation(2);
    context_->engine->AttachController();
    context_->menuOrientation = 2;
    display_.SetOrientation(ScreenOrientation());
    display_.SetKeyTable(input.CurrentKeyTable());
    if (menu_) menu_->UpdateAndDraw(1);
    if (context_->runStats) context_->runStats->NoteFirstMenuFrame();
    context_->engine->SetState(Menu);
    windowFullScreen_ = display_.FullScreen();
    started_ = true;
    paceStart_ = platform::TickCount();
    paceFrames_ = 0;
    return 0;
}

void CFSShell::ShowSplash() {
    // A BMP: file header (pixel offset at byte 10), then the info header (width at 4,
    // height at 8, bits per pixel at 14). The rows are copied as stored.
    const unsigned char* bmp = kSplashBitmap;
    const uint32_t size = kSplashBitmapSize;
    if (size < 54 || bmp[0] != 'B' || bmp[1] != 'M') return;
    const uint32_t offset = ReadLE32(bmp + 10);
    const int32_t width = static_cast<int32_t>(ReadLE32(bmp + 18));
    const int32_t height = static_cast<int32_t>(ReadLE32(bmp + 22));
    const uint32_t bits = bmp[28] | (bmp[29] << 8);
    const uint64_t bytes =
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height < 0 ? -height : height) * (bits / 8);
    if (bytes != MFSDisplay::kPixels * 2u || offset > size || size - offset < bytes) return;
    uint16_t* frame = display_.BeginDraw();
    std::memcpy(frame, bmp + offset, bytes);
    display_.EndDraw();
}

int CFSShell::ScreenOrientation() const {
    if (!context_) return 2;
    const int state = context_->engine ? context_->engine->State() : Idle;
    return (state == Menu || state == Idle) ? context_->menuOrientation : context_->game.screenAlign;
}

void CFSShell::EndLoop(int status) {
    ended_ = true;
    exitStatus_ = status;
}

bool CFSShell::RunPass() {
    if (ended_ || !started_) return false;
    CFSEngine& engine = *context_->engine;
    CFSInput& input = *context_->input;
    CFSFlightRecorder& recorder = context_->recorder;
    // A recorded or replayed flight reads one time the whole pass.
    recorder.BeginPass(*context_);
    const bool running = RunPassSteps(engine, input);
    recorder.EndPass();
    if (!running) {
        // Quitting ends the flight's recording where it stands.
        if (context_->gameController) context_->gameController->Quitting();
        return false;
    }
    recorder.RunDeferred();
    // A replayed flight whose recording has run out leaves (its end was never reached).
    if (recorder.PlaybackRanOut() && engine.State() != Menu) engine.DispatchAction(kActionBackToMenu);
    if (recorder.Playing() && engine.State() == Menu) recorder.StopPlayback(*context_);
    return true;
}

bool CFSShell::RunPassSteps(CFSEngine& engine, CFSInput& input) {
    CFSFlightRecorder& recorder = context_->recorder;
    // 1. At most one message per pass.
    FSEvent event;
    if (display_.GetEvent(event)) {
        if (event.type == FSEventType::Quit) {
            EndLoop(0);
            return false;
        }
        HandleEvent(event);
    }
    FollowFullScreen();

    // 2-3. Follow the foreground.
    const bool foreground = display_.HasFocus();
    if (!foreground && !suspended_) Suspend();
    if (foreground && suspended_) Resume();

    if (!suspended_) {
        // The picture and the pad follow the orientation in force.
        display_.SetOrientation(ScreenOrientation());
        display_.SetKeyTable(input.CurrentKeyTable());
        CopyStickToFrame(display_.Stick(), context_->game.joystickSensitivity, context_->frame);
        input.Poll();
        const auto toEngine = [&engine](int action) { return engine.DispatchAction(action); };
        // A replay takes its stylus point, stick and actions from the recording.
        recorder.AfterPoll(*context_, toEngine);
        if (!input.IsCapturing()) {
            input.EvaluateAll(platform::TickCount());
            input.Dispatch([&engine, &recorder](int action) {
                // During a replay the player's keys do not steer; back still leaves.
                if (!recorder.Playing()) return engine.DispatchAction(action);
                if (action != kActionBackToMenu && action != kActionBack) return 0;
                return engine.DispatchAction(kActionBackToMenu);
            });
        } else if (input.CaptureStep()) {
            if (engine.DispatchAction(-1) != 0) {
                EndLoop(0);
                return false;
            }
        }
        const int state = engine.State();
        if (state == Quit) {
            EndLoop(0);
            return false;
        }
        if (state != Menu && state != Idle) {
            engine.RenderFrame();
        } else if (menu_) {
            menu_->UpdateAndDraw(0);
        }
        if (context_->runStats) context_->runStats->NotePass(state == Flying);
    }
    UpdateNotice();
    return true;
}

void CFSShell::FollowFullScreen() {
    // Only a change the player made counts: a display without a window says "not full
    // screen" and must not overwrite the player's choice. A replay flies with the settings
    // of its recording: the change is kept once the player's own are back.
    const bool fullScreen = display_.FullScreen();
    if (fullScreen == windowFullScreen_ || context_->recorder.Playing()) return;
    windowFullScreen_ = fullScreen;
    context_->fullScreen = fullScreen ? 1 : 0;
    WriteSettings();
}

void CFSShell::TakeScreenshot() {
    std::string why;
    const std::string folder = ScreenshotFolder();
    const std::string path = SaveScreenshot(display_, folder, std::time(nullptr), why);
    if (path.empty()) {
        std::fprintf(stderr, "Aerovant: no screenshot: %s\n", why.c_str());
        ShowNotice({"No screenshot:", why});
        return;
    }
    std::printf("Aerovant: screenshot %s\n", path.c_str());
    std::fflush(stdout);
    // The folder the short way, as the player knows it, and the file's own name.
    std::string shown = folder;
    if (const char* home = std::getenv("HOME");
        home && *home && shown.compare(0, std::strlen(home), home) == 0)
        shown = "~" + shown.substr(std::strlen(home));
    ShowNotice({"Screenshot saved in " + shown, path.substr(path.find_last_of('/') + 1)});
}

void CFSShell::ShowNotice(std::vector<std::string> lines) {
    notice_ = std::move(lines);
    noticePasses_ = kNoticePasses;
    noticeOrientation_ = -1;
    UpdateNotice();
}

void CFSShell::UpdateNotice() {
    if (notice_.empty()) return;
    if (--noticePasses_ <= 0 || !context_->mainFont) {
        notice_.clear();
        display_.SetOverlay({});
        return;
    }
    const int orientation = ScreenOrientation();
    if (orientation == noticeOrientation_) return;
    noticeOrientation_ = orientation;
    display_.SetOverlay(MakeNoticeOverlay(*context_->mainFont, orientation, notice_));
}

int CFSShell::Run() {
    // The loop holds 60 frames per second by sleeping: without a cap it would burn a core
    // and, above 72 frames per second, the time scale would bottom out and game time
    // would run fast. The k-th pass is due at start + k * 1000 / 60 ms.
    while (RunPass()) {
        ++paceFrames_;
        const uint32_t now = platform::TickCount();
        uint32_t due = paceStart_ + static_cast<uint32_t>(uint64_t{paceFrames_} * 1000u / kFramesPerSecond);
        // A replay keeps the pace it was flown at; the sixty passes count afresh after it.
        if (context_ && context_->recorder.NextPassDue(now, due)) {
            paceStart_ = now;
            paceFrames_ = 0;
        }
        const int32_t wait = static_cast<int32_t>(due - now);
        if (wait > 0) {
            // Never long: a window that sleeps stops answering.
            platform::Sleep(static_cast<uint32_t>(std::min(wait, 250)));
        } else {
            platform::Sleep(0);
            if (wait < -100) {
                // Far behind (a flight was being built): start counting afresh.
                paceStart_ = now;
                paceFrames_ = 0;
            }
        }
    }
    return exitStatus_;
}

void CFSShell::HandleEvent(const FSEvent& event) {
    if (!context_) return;
    CFSInput* input = context_->input.get();
    switch (event.type) {
        case FSEventType::StylusDown:
        case FSEventType::StylusUp:
        case FSEventType::StylusMove: {
            // Device point to screen point for the orientation in force.
            int x = event.x;
            int y = event.y;
            switch (ScreenOrientation()) {
                case 1:
                    x = MFSDisplay::kHeight - event.y;
                    y = event.x;
                    break;
                case 2:
                    x = event.y;
                    y = MFSDisplay::kWidth - event.x;
                    break;
                default:
                    break;
            }
            context_->frame.stylusX = x;
            context_->frame.stylusY = y;
            const int latch = event.type == FSEventType::StylusDown ? kStateStylusPressed
                              : event.type == FSEventType::StylusUp ? kStateStylusReleased
                                                                    : kStateStylusMoved;
            if (input) input->LatchStylus(latch, 1);
            break;
        }
        case FSEventType::Activate:
            if (event.code != 0 && suspended_) {
                Resume();
            } else if (event.code == 0 && !suspended_) {
                Suspend();
            }
            break;
        case FSEventType::HotKey: {
            // Each press arrives twice, down then up; the toggle tells which this is. A
            // message from before the focus last changed is stale: losing the focus let go
            // of every button, and its press or release must not turn the toggle again.
            const int button = event.code - kHotKeyButton1;
            const bool current =
                display_.HasFocus() && (event.focusEpoch == 0 || event.focusEpoch == display_.FocusEpoch());
            if (current && input && button >= 0 && button < 5) {
                input->SetButtonToggle(button, hotKeyToggles_[button]);
                hotKeyToggles_[button] ^= 1;
            }
            break;
        }
        case FSEventType::Quit:
            EndLoop(0);
            break;
        case FSEventType::Screenshot:
            TakeScreenshot();
            break;
        case FSEventType::Text:
        case FSEventType::TextKey:
        case FSEventType::Wheel:
            // Typing and the wheel serve the menu only.
            if (menu_ && context_->engine && context_->engine->State() == Menu) {
                if (event.type == FSEventType::Text) menu_->TypeCharacter(static_cast<char>(event.code));
                if (event.type == FSEventType::TextKey) menu_->TypeKey(event.code);
                if (event.type == FSEventType::Wheel) menu_->Wheel(event.code);
            }
            break;
    }
}

void CFSShell::Suspend() {
    suspended_ = 1;
    // Whatever is let go while the window is away never reaches us (a button's key-up
    // queued before the focus left is dropped), so everything counts as released now and
    // each button's next event is a press.
    for (int button = 0; button < 5; ++button) {
        hotKeyToggles_[button] = 1;
        if (context_->input) context_->input->SetButtonToggle(button, 0);
    }
    display_.ReleaseKeys();
    // Leaves a running flight for the menu, keeping it resumable.
    if (context_->gameController) context_->gameController->HandleAction(kActionBackToMenu);
    // Then silence: leaving the flight has just started the menu music.
    if (context_->engine) context_->engine->Sounds().StopAll();
    if (context_->loadingThread && context_->loadingThreadRunning) context_->loadingThread->Suspend();
    if (context_->videoThread && context_->videoThreadRunning) context_->videoThread->Suspend();
}

void CFSShell::Resume() {
    suspended_ = 0;
    if (context_->gameController) context_->gameController->ResumeSounds();
    if (menu_) menu_->UpdateAndDraw(1);
    if (context_->loadingThread && context_->loadingThreadRunning) context_->loadingThread->Resume();
    if (context_->videoThread && context_->videoThreadRunning) context_->videoThread->Resume();
}

void CFSShell::Shutdown() {
    if (!context_) return;
    // The menu goes first; then the context's objects in a fixed order: textures,
    // engine, controller, touch pad, collision detector, scene root, input. Each is destroyed
    // exactly once.
    menu_.reset();
    context_->texturesArchive.clear();
    context_->textureCache.reset();  // while the engine's GL context still exists
    context_->meshLoader.reset();
    context_->mainFont = nullptr;
    context_->engine.reset();
    context_->gameController.reset();
    context_->touchpad.reset();
    // Before the scene root: it lists scene nodes.
    context_->collisionDetector.reset();
    context_->playerAircraft = nullptr;
    context_->sceneRoot.reset();
    context_->terrain.reset();
    context_->input.reset();
    context_->display = nullptr;
    context_ = nullptr;
    started_ = false;
    ended_ = true;
}
