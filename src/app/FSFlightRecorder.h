#pragma once
// The flight recorder: records every flight from its build to its end, keeps the last
// twenty as files, and plays one back.
//
// While recording or playing, each main-loop pass reads one time (held at the pass's
// start), and the flight's random generators start from the recording's seed. A played
// flight takes its time, time scale, stylus point, stick and actions from the recording;
// the player's own keys only leave it. The game tells the recorder when a flight is built
// (BeginFlight) and when it ends (EndFlight); the shell calls the pass steps.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/FSFlightRecording.h"

class CFSApplicationContext;

class CFSFlightRecorder {
public:
    enum class Mode { Idle, Recording, Playing };

    // How many recordings the "replays" folder keeps.
    static constexpr int kKeptFiles = 20;

    Mode GetMode() const { return mode_; }
    bool Recording() const { return mode_ == Mode::Recording; }
    bool Playing() const { return mode_ == Mode::Playing; }

    // The flight is being built (route, aircraft and the context's settings in force): the
    // seed it flies with. Recording: a fresh one, the time held from here. Playing: the
    // recording's, at its time.
    uint32_t BeginFlight(CFSApplicationContext& context, int route, int aircraft);
    // The flight ended (result); while recording, the file is written. Playing: the passes
    // that are left (none, normally) no longer steer.
    void EndFlight(const FSReplayResult& result);

    // Playback of a recording from the next flight build on: the context takes the
    // recording's settings (its own come back when the playback stops).
    void StartPlayback(std::shared_ptr<const FSFlightRecording> recording, CFSApplicationContext& context);
    // The player's settings back, the time released.
    void StopPlayback(CFSApplicationContext& context);
    // True once a played flight has used all its passes without having finished.
    bool PlaybackRanOut() const { return playing_ && next_ >= playing_->passes.size() && !finished_; }
    const FSFlightRecording* Played() const { return playing_.get(); }

    // The shell's steps of a pass: at its start, after the input was polled (the frame's
    // stylus point and stick), and at its end.
    void BeginPass(CFSApplicationContext& context);
    void AfterPoll(CFSApplicationContext& context, const std::function<int(int)>& dispatch);
    void EndPass();
    // An action the engine hands to the flight.
    void NoteAction(int action);
    // When the next played pass is due on the running clock (now), so that a replay in the
    // window keeps the recorded pace; false when no played pass is next. A replay that has
    // fallen far behind (a slow machine) is not hurried: its pace starts again from now.
    bool NextPassDue(uint32_t now, uint32_t& due);

    // Something to do once the pass is over (a replay asked for in the finish view).
    void Defer(std::function<void()> work) { deferred_ = std::move(work); }
    void RunDeferred();

    // The last flight recorded in this run, and where it was written ("" if nowhere).
    std::shared_ptr<const FSFlightRecording> LastRecording() const { return last_; }
    const std::string& LastFile() const { return lastFile_; }

private:
    void SaveLast();

    Mode mode_ = Mode::Idle;
    bool passBegun_ = false;  // this pass is being recorded or played
    bool finished_ = false;
    uint32_t nextSeed_ = 1;
    std::unique_ptr<FSFlightRecording> recording_;
    FSReplayPass pending_;
    std::shared_ptr<const FSFlightRecording> last_;
    std::string lastFile_;
    std::shared_ptr<const FSFlightRecording> playing_;
    size_t next_ = 0;
    uint32_t paceStart_ = 0;  // the running clock when the first played pass began
    FSVideoBlock savedVideo_;
    FSGameBlock savedGame_;
    FSRouteBlock savedRoute_;
    uint32_t savedCreationTick_ = 0;
    std::function<void()> deferred_;
};

// "replays/" in the player-file folder.
std::string ReplayFolder();
// Writes the recording as the next numbered file of folder ("flight-000042-20261208-0145.replay"),
// then deletes all but the newest keep; the path written, or "" (with why on stderr).
std::string SaveRecordingInFolder(const FSFlightRecording& recording, const std::string& folder,
                                  int keep = CFSFlightRecorder::kKeptFiles);
