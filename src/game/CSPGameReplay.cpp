// The flight recorder's side of the controller: each flight starts from a known seed, its
// end closes the recording, and a recording is flown again.
#include <cstdlib>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSSettingsFile.h"
#include "game/CSPGameController.h"
#include "platform/FSClock.h"
#include "world/FSRandom.h"
#include "world/FSSceneNode.h"

void CSPGameController::SeedFlight() {
    CFSApplicationContext& context = Context();
    // The clouds, the random time of day and weather (std::rand), the effects and the
    // drifting objects (the world's generator) all start from the flight's seed.
    const uint32_t seed = context.recorder.BeginFlight(context, routeNumber_, aircraftType_);
    std::srand(seed);
    WorldRandom().Seed(seed);
    context.randomSeed = seed;
}

void CSPGameController::EndRecording() {
    CFSFlightRecorder& recorder = Context().recorder;
    if (!recorder.Recording() && !recorder.Playing()) return;
    FSReplayResult result;
    result.finish = static_cast<int32_t>(finish_);
    result.seconds = clock_.Read(platform::TickCount());
    result.score = score_;
    // A flight left before its end stops where the aircraft is.
    const bool flying = finish_ == SPFinish::None && aircraft_;
    const FSCell& cell = flying ? aircraft_->GetCell() : lastCell_;
    const FSFixedVector& position = flying ? aircraft_->GetPosition() : lastPosition_;
    result.column = cell.column;
    result.row = cell.row;
    result.x = position.x;
    result.y = position.y;
    result.z = position.z;
    recorder.EndFlight(result);
}

void CSPGameController::AfterFinish() {
    // Only a flight recorded from its start offers its replay (a resumed one was not).
    CFSFlightRecorder& recorder = Context().recorder;
    replayOffered_ = recorder.Recording() ? 1 : 0;
    EndRecording();
    // Keys held as the flight ended fire nothing in the finish view until let go: the
    // action key flying the autopilot must not start a replay.
    SetInputActionSet(1);
    if (replayOffered_) {
        if (!status_.empty()) status_ += "\n";
        status_ += "Enter: replay";
    }
}

void CSPGameController::SaveSettingsAfterFlight() {
    // A replay flies with the recording's settings, which are not the player's.
    if (!Context().recorder.Playing()) WriteSettings();
}

void CSPGameController::Quitting() {
    if (!Context().recorder.Recording()) return;
    clock_.Stop(platform::TickCount());
    EndRecording();
}

void CSPGameController::EndReplay() {
    RecordPositions();
    // Torn down as a finished flight is, back to the menu; the recorder lets go of the
    // replay once the menu shows.
    view_ = kViewFinished;
    screenAfterFlight_ = 2;
    EndFlight();
}

bool CSPGameController::StartReplay(std::shared_ptr<const FSFlightRecording> recording, std::string& error) {
    if (!recording) {
        error = "there is no flight to replay";
        return false;
    }
    if (recording->route >= routeCount_) {
        error = "the recorded flight's route " + std::to_string(recording->route + 1) +
                " is not here (there are " + std::to_string(routeCount_) + ")";
        return false;
    }
    CFSApplicationContext& context = Context();
    if (!Engine()) {
        error = "the game is not running";
        return false;
    }
    StopFlightLoops();
    replayOffered_ = 0;
    // A flight left for the menu is not resumed by the replay: it is built anew.
    resumable_ = 0;
    context.recorder.StartPlayback(std::move(recording), context);
    routeNumber_ = context.recorder.Played()->route;
    aircraftType_ = context.recorder.Played()->aircraft;
    RunFlightStart();
    if (!aircraft_) {
        error = "the recorded flight could not be built";
        EndReplay();
        context.recorder.StopPlayback(context);
        return false;
    }
    return true;
}
