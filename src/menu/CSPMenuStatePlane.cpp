#include "menu/CSPMenuStatePlane.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "app/FSApplicationContext.h"
#include "app/FSMenu.h"
#include "media/FSVideoPlayer.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"
#include "platform/FSThread.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

// The description box and the width its lines may take (inside the margins, beside the bar).
constexpr FSClipRect kTextBox{180, 43, 310, 235};
constexpr int kMargin = 5;
constexpr int kTextWidth = kTextBox.right - kTextBox.left - 13 - 2 * kMargin;

const char* const kAircraftNames[CSPMenuStatePlane::kAircraftCount] = {
    "Cessna 172R", "Sukhoi Su-29", "L-29 Delfin", "L-13 Blanik", "Fokker"};
const char* const kClipNames[CSPMenuStatePlane::kAircraftCount] = {"Cessna172R", "Su29", "L29", "L13",
                                                                   "Fokker"};

// The wait between frames when the clip does not give its rate, and the limits of any wait.
constexpr uint32_t kDefaultFrameMs = 83;
constexpr uint32_t kShortestFrameMs = 20;
constexpr uint32_t kLongestFrameMs = 200;
constexpr uint32_t kIdleMs = 100;

}  // namespace

CSPMenuStatePlane::CSPMenuStatePlane(MFSMenu& menu) : MSPStylusMenuState(4, true, true, true), menu_(menu) {}

CSPMenuStatePlane::~CSPMenuStatePlane() {
    if (MenuResources* r = Resources()) {
        std::lock_guard<std::recursive_mutex> hold(r->pictureLock);
        r->videoPass = nullptr;
    }
}

std::string CSPMenuStatePlane::ClipMember(int type) {
    if (type < 0 || type >= kAircraftCount) return {};
    return std::string("video/") + kClipNames[type] + ".avi";
}

std::string CSPMenuStatePlane::StillMember(int type) {
    if (type < 0 || type >= kAircraftCount) return {};
    return std::string("video/") + kClipNames[type] + ".bmp";
}

std::string CSPMenuStatePlane::AircraftDescription(int type) {
    char member[32];
    std::snprintf(member, sizeof member, "Aircraft%d.txt", type + 1);
    return ReadDescriptionText(MakeDataPath("data\\aircrafts.zip"), member);
}

void CSPMenuStatePlane::Load(MenuResources& r, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_plane/plane.bmp");
    list_ = std::make_unique<CSPTextListCtrl>();
    list_->Init(r.Screen(), {kClipAt.x, kClipAt.y + kClipSize.h + 12}, kClipSize.w, &r.listFont,
                {std::begin(kAircraftNames), std::end(kAircraftNames)}, false);
    list_->SetSelected(GetApplicationContext()->chosenAircraft);
    text_ = std::make_unique<CSPTextCtrl>();
    text_->Init(r.Screen(), &r.mainFont, kTextBox, {kMargin, kMargin, kMargin, kMargin}, false, true);
    shown_ = -1;
    const CFSApplicationContext* context = GetApplicationContext();
    {
        std::lock_guard<std::recursive_mutex> hold(r.pictureLock);
        if (context->clipDecoderReady && !player_)
            player_ = CFSVideoPlayer::Create(&context->clipDecoder, CFSVideoPlayer::kClipWidth,
                                             CFSVideoPlayer::kClipHeight, CFSVideoPlayer::kClipBlockSize);
        r.videoPass = [this] { return VideoPass(); };
    }
    ShowChoice();
    StartVideoThread(true);
}

void CSPMenuStatePlane::StartVideoThread(bool run) {
    CFSApplicationContext* context = GetApplicationContext();
    context->videoThreadRunning = run ? 1 : 0;
    if (!context->videoThread) return;
    if (run)
        context->videoThread->Resume();
    else
        context->videoThread->Suspend();
}

void CSPMenuStatePlane::Leave(int next, int argument) {
    StopAircraftClip();
    StartVideoThread(false);
    MSPStylusMenuState::Leave(next, argument);
}

void CSPMenuStatePlane::Unload() {
    if (MenuResources* r = Resources()) {
        std::lock_guard<std::recursive_mutex> hold(r->pictureLock);
        r->videoPass = nullptr;
        player_.reset();
        still_.reset();
    }
    background_.reset();
    list_.reset();
    text_.reset();
}

void CSPMenuStatePlane::PlayAircraftClip(int type) {
    MenuResources* r = Resources();
    if (!r) return;
    std::lock_guard<std::recursive_mutex> hold(r->pictureLock);
    still_ = menu_screens::LoadMenuPicture(StillMember(type));
    if (!player_) return;
    player_->Close(0);
    // The first picture is there at once, before the thread's first pass.
    if (player_->Open(MakeDataPath("data\\menu.zip"), ClipMember(type), 0)) player_->NextFrame();
}

void CSPMenuStatePlane::StopAircraftClip() {
    MenuResources* r = Resources();
    if (!r) return;
    std::lock_guard<std::recursive_mutex> hold(r->pictureLock);
    if (player_) player_->Close(0);
}

bool CSPMenuStatePlane::ClipPlaying() const {
    return player_ && player_->IsOpen();
}

uint32_t CSPMenuStatePlane::VideoPass() {
    if (!ClipPlaying()) return kIdleMs;
    if (player_->NextFrame() == -1) {
        player_->Rewind();
        player_->NextFrame();
    }
    DrawClip();
    frameReady_.store(true);
    const uint32_t frameMs = player_->FrameMicroseconds() / 1000;
    return frameMs == 0 ? kDefaultFrameMs : std::clamp(frameMs, kShortestFrameMs, kLongestFrameMs);
}

void CSPMenuStatePlane::DrawClip() {
    MenuResources* r = Resources();
    if (!r) return;
    const FSSize screenSize{MenuResources::kWidth, MenuResources::kHeight};
    if (ClipPlaying()) {
        // The frame's last row is left out, as the device did.
        const FSSize frameSize{player_->FrameWidth(), player_->FrameHeight() + 1};
        const FSSize copySize{std::min(frameSize.w, kClipSize.w), std::min(frameSize.h - 2, kClipSize.h - 1)};
        CopyPixels(r->Screen(), kClipAt, screenSize, player_->FramePixels(), {0, 0}, frameSize, copySize, 0);
    } else if (still_ && still_->width <= kClipSize.w && still_->height <= kClipSize.h) {
        BlitBitmap(r->Screen(), kClipAt, screenSize, still_.get(), 0);
    }
}

void CSPMenuStatePlane::ShowChoice() {
    if (!list_ || list_->Selected() == shown_) return;
    shown_ = list_->Selected();
    const MenuResources* r = Resources();
    const std::string text = AircraftDescription(shown_);
    text_->SetText(r ? menu_screens::WrapText(r->mainFont, text, kTextWidth) : text);
    PlayAircraftClip(shown_);
}

int CSPMenuStatePlane::HandleAction(int action) {
    if (!list_) return 0;
    if (HandleSharedAction(action, menu_screens::Stylus())) return 1;
    const int used = list_->HandleAction(action) | text_->HandleAction(action);
    ShowChoice();
    return used;
}

void CSPMenuStatePlane::Forward() {
    if (list_) GetApplicationContext()->chosenAircraft = list_->Selected();
    menu_.SwitchScreen(5, 0);
}

void CSPMenuStatePlane::Back() {
    menu_.SwitchScreen(2, 0);
}

int CSPMenuStatePlane::Draw(int redraw) {
    if (!list_) return 0;
    MenuResources* r = Resources();
    if (!r) return 0;
    std::lock_guard<std::recursive_mutex> hold(r->pictureLock);
    if (!DrawBackground(redraw, background_.get())) {
        // A frame the video thread drew is shown without composing the screen again.
        return frameReady_.exchange(false) ? 1 : 0;
    }
    frameReady_.store(false);
    if (ClipPlaying() || still_) DrawClip();
    list_->Draw();
    text_->Draw();
    return 1;
}
