#include "app/FSFlightRecorder.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <utility>
#include <vector>

#include "app/FSApplicationContext.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"

namespace {

// The number of a recording's file name ("flight-000042-….replay"), or 0 for any other file.
uint32_t FileNumber(const std::string& name) {
    constexpr size_t kDigits = 6;
    const std::string prefix = "flight-", suffix = ".replay";
    if (name.size() < prefix.size() + kDigits + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    uint32_t number = 0;
    size_t i = prefix.size();
    for (; i < name.size() && i < prefix.size() + 9 && name[i] >= '0' && name[i] <= '9'; ++i)
        number = number * 10 + static_cast<uint32_t>(name[i] - '0');
    return i >= prefix.size() + kDigits ? number : 0;
}

// The stylus point and the stick, which the frame values and a recorded pass name alike.
template <class From, class To>
void CopyFrameInputs(const From& from, To& to) {
    to.stylusX = from.stylusX;
    to.stylusY = from.stylusY;
    to.analogActive = from.analogActive;
    to.analogRoll = from.analogRoll;
    to.analogPitch = from.analogPitch;
    to.analogRudder = from.analogRudder;
    to.analogThrottle = from.analogThrottle;
}

}  // namespace

std::string ReplayFolder() {
    return platform::PlayerFolder() + "replays/";
}

std::string SaveRecordingInFolder(const FSFlightRecording& recording, const std::string& folder, int keep) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(folder, error);
    std::vector<std::pair<uint32_t, fs::path>> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const uint32_t number = FileNumber(it->path().filename().string());
        if (number > 0) files.emplace_back(number, it->path());
    }
    std::sort(files.begin(), files.end());
    const uint32_t number = files.empty() ? 1 : files.back().first + 1;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::snprintf(name, sizeof name, "flight-%06u-%04d%02d%02d-%02d%02d%02d.replay", number,
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec);
    const std::string path = (fs::path(folder) / name).string();
    const std::vector<uint8_t> bytes = EncodeRecording(recording);
    if (!platform::WriteFileAtomically(path, bytes.data(), bytes.size())) {
        std::fprintf(stderr, "Aerovant: could not save the flight's recording to %s\n", path.c_str());
        return {};
    }
    files.emplace_back(number, path);
    // The oldest go, so that the newest keep stay.
    for (size_t i = 0; i + static_cast<size_t>(std::max(keep, 1)) < files.size(); ++i)
        fs::remove(files[i].second, error);
    return path;
}

uint32_t CFSFlightRecorder::BeginFlight(CFSApplicationContext& context, int route, int aircraft) {
    if (mode_ == Mode::Playing) {
        next_ = 0;
        finished_ = false;
        platform::HoldTickCount(playing_->startTick);
        return playing_->seed;
    }
    // The first flight of a run flies with the generators' own start (1); each later one
    // with the next seed of a sequence, so the weather and the effects vary between flights.
    const uint32_t seed = nextSeed_;
    nextSeed_ = nextSeed_ * 1103515245u + 12345u;
    if (recording_) EndFlight(FSReplayResult());
    recording_ = std::make_unique<FSFlightRecording>();
    FSFlightRecording& r = *recording_;
    r.route = route;
    r.aircraft = aircraft;
    r.seed = seed;
    platform::ReleaseTickCount();
    r.startTick = platform::TickCount();
    r.creationTick = context.creationTick;
    r.video = context.video;
    r.game = context.game;
    r.routeBlock = context.route;
    platform::HoldTickCount(r.startTick);
    pending_ = FSReplayPass();
    passBegun_ = false;
    mode_ = Mode::Recording;
    return seed;
}

void CFSFlightRecorder::EndFlight(const FSReplayResult& result) {
    if (mode_ == Mode::Playing) {
        finished_ = true;
        return;
    }
    if (mode_ != Mode::Recording || !recording_) return;
    if (passBegun_) {
        // The pass the flight ended in is the recording's last.
        if (recording_->passes.size() < kMaxReplayPasses) recording_->passes.push_back(std::move(pending_));
        pending_ = FSReplayPass();
        passBegun_ = false;
    }
    recording_->result = result;
    last_ = std::shared_ptr<const FSFlightRecording>(std::move(recording_));
    mode_ = Mode::Idle;
    lastFile_ = SaveRecordingInFolder(*last_, ReplayFolder());
}

void CFSFlightRecorder::StartPlayback(std::shared_ptr<const FSFlightRecording> recording,
                                      CFSApplicationContext& context) {
    if (!recording) return;
    if (mode_ == Mode::Recording) EndFlight(FSReplayResult());
    if (mode_ != Mode::Playing) {
        savedVideo_ = context.video;
        savedGame_ = context.game;
        savedRoute_ = context.route;
        savedCreationTick_ = context.creationTick;
    }
    playing_ = std::move(recording);
    context.video = playing_->video;
    DeriveRenderSize(context.video);
    context.game = playing_->game;
    context.route = playing_->routeBlock;
    context.creationTick = playing_->creationTick;
    next_ = 0;
    finished_ = false;
    passBegun_ = false;
    mode_ = Mode::Playing;
}

void CFSFlightRecorder::StopPlayback(CFSApplicationContext& context) {
    if (mode_ != Mode::Playing) return;
    context.video = savedVideo_;
    context.game = savedGame_;
    context.route = savedRoute_;
    context.creationTick = savedCreationTick_;
    playing_.reset();
    mode_ = Mode::Idle;
    platform::ReleaseTickCount();
}

void CFSFlightRecorder::BeginPass(CFSApplicationContext& context) {
    platform::ReleaseTickCount();
    passBegun_ = false;
    FSFrameValues& frame = context.frame;
    if (mode_ == Mode::Recording) {
        pending_.tick = platform::TickCount();
        pending_.timeScale = frame.timeScale;
        pending_.timeScaleActive = frame.timeScaleActive;
        platform::HoldTickCount(pending_.tick);
        passBegun_ = true;
    } else if (mode_ == Mode::Playing && next_ < playing_->passes.size()) {
        if (next_ == 0) paceStart_ = platform::TickCount();
        const FSReplayPass& pass = playing_->passes[next_];
        platform::HoldTickCount(pass.tick);
        frame.timeScale = pass.timeScale;
        frame.timeScaleActive = pass.timeScaleActive;
        passBegun_ = true;
    }
}

void CFSFlightRecorder::AfterPoll(CFSApplicationContext& context, const std::function<int(int)>& dispatch) {
    if (!passBegun_) return;
    FSFrameValues& frame = context.frame;
    if (mode_ == Mode::Recording) {
        CopyFrameInputs(frame, pending_);
        return;
    }
    if (mode_ != Mode::Playing) return;
    // Held by value: an action may end the playback and let the recording go.
    const std::shared_ptr<const FSFlightRecording> playing = playing_;
    const FSReplayPass& pass = playing->passes[next_];
    CopyFrameInputs(pass, frame);
    for (uint8_t action : pass.actions) {
        if (mode_ != Mode::Playing) break;
        if (dispatch) dispatch(action);
    }
}

void CFSFlightRecorder::NoteAction(int action) {
    if (mode_ != Mode::Recording || action < 0 || action >= 256) return;
    if (pending_.actions.size() < kMaxReplayActionsPerPass)
        pending_.actions.push_back(static_cast<uint8_t>(action));
}

bool CFSFlightRecorder::NextPassDue(uint32_t now, uint32_t& due) {
    if (mode_ != Mode::Playing || next_ == 0 || next_ >= playing_->passes.size()) return false;
    const std::vector<FSReplayPass>& passes = playing_->passes;
    due = paceStart_ + (passes[next_].tick - passes[0].tick);
    if (static_cast<int32_t>(now - due) > 100) {
        paceStart_ += now - due;
        due = now;
    }
    // A long pause in the recording (the window was moved) passes in a quarter second.
    if (static_cast<int32_t>(due - now) > 250) {
        paceStart_ -= due - now - 250;
        due = now + 250;
    }
    return true;
}

void CFSFlightRecorder::EndPass() {
    if (passBegun_ && mode_ == Mode::Recording) {
        if (recording_->passes.size() < kMaxReplayPasses) recording_->passes.push_back(std::move(pending_));
        pending_ = FSReplayPass();
    } else if (passBegun_ && mode_ == Mode::Playing) {
        ++next_;
    }
    passBegun_ = false;
    platform::ReleaseTickCount();
}

void CFSFlightRecorder::RunDeferred() {
    std::function<void()> work = std::move(deferred_);
    deferred_ = nullptr;
    if (work) work();
    // A flight built here held its start time; the loop's pacing reads the running clock.
    platform::ReleaseTickCount();
}
