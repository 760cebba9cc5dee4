// Recorded flights fly again to the same end: a whole route flown by the scripted pilot on
// the uneven frame times of a window, replayed in the same process, and flights of two
// other routes with the map, the instructor and a dive, replayed through the program; the
// finish view's action key replays the flight just ended. A replay stores no score and
// records nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSFlightRecording.h"
#include "app/FSShell.h"
#include "base/FSActions.h"
#include "pilot/ScriptedPilot.h"
#include "platform/FSClock.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

int CountReplays(const std::string& player) {
    std::error_code error;
    int count = 0;
    for (fs::directory_iterator it(player + "replays", error), end; !error && it != end; it.increment(error))
        ++count;
    return count;
}

// The line without its pass count, and the end position apart.
struct Outcome {
    std::string line;
    FSHeadlessResult result;
};

Outcome Summary(const FSHeadlessResult& result) {
    const std::string line = result.Line();
    return {line.substr(0, line.find(" distance=")), result};
}

void ExpectSameEnd(const FSHeadlessResult& flown, const FSHeadlessResult& replayed) {
    EXPECT_EQ(Summary(replayed).line, Summary(flown).line);  // finish, time and score
    EXPECT_EQ(replayed.cell, flown.cell);
    const float metres =
        1000.0f * std::sqrt(std::pow(FixedToFloat(replayed.position.x - flown.position.x), 2.0f) +
                            std::pow(FixedToFloat(replayed.position.y - flown.position.y), 2.0f) +
                            std::pow(FixedToFloat(replayed.position.z - flown.position.z), 2.0f));
    EXPECT_LT(metres, 1.0f) << flown.Line() << "\n" << replayed.Line();
}

TEST(Replay, AWholeRouteFlownOnAWindowsUnevenFrameTimesEndsTheSameWhenReplayed) {
    FSHeadlessOptions options;
    options.route = 0;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("replay-route");
    FSHeadlessResult flown;
    std::string file;
    {
        CFSHeadlessRun run(options);
        ASSERT_EQ(run.Start(), 0);
        CSPScriptedPilot pilot;
        std::mt19937 steps(7);
        flown = run.Fly([&](CFSHeadlessRun& r) {
            // Each pass lasts 17 to 25 ms, as a window's passes do, not the paced 16.7.
            platform::AdvanceVirtualClock(steps() % 9);
            pilot.Step(r);
        });
        file = run.Shell().Context().recorder.LastFile();
    }
    ASSERT_EQ(flown.finish, SPFinish::Success) << flown.Line();
    ASSERT_FALSE(file.empty());
    const std::string scores = image_test_files::ReadText(options.playerFolder + "scores.dat");

    FSHeadlessOptions again;
    again.replay = file;
    again.playerFolder = options.playerFolder;
    CFSHeadlessRun replay(again);
    ASSERT_EQ(replay.Start(), 0);
    bool marked = false;
    const FSHeadlessResult replayed = replay.Fly([&](CFSHeadlessRun& r) {
        marked = marked || r.Controller().StatusText().find("[REPLAY]") != std::string::npos;
    });
    ExpectSameEnd(flown, replayed);
    EXPECT_TRUE(marked) << "the status line says it is a replay";
    EXPECT_EQ(image_test_files::ReadText(options.playerFolder + "scores.dat"), scores)
        << "no score is stored";
    EXPECT_EQ(CountReplays(options.playerFolder), 1) << "a replay is not recorded";
    EXPECT_FALSE(replay.Shell().Context().recorder.Playing()) << "the menu is back and the replay over";
    image_test_files::RemoveTempFolder(options.playerFolder);
}

TEST(Replay, FlightsWithTheMapTheInstructorAndACrashReplayThroughTheProgram) {
    const std::string player = testing_support::MakeTempFolder("replay-program");
    const std::string script = player + "keys.txt";
    image_test_files::WriteText(
        script,
        "110 button3 down\n112 button3 up\n400 button4 down\n402 button4 up\n"
        "460 button4 down\n462 button4 up\n700 button3 down\n702 button3 up\n710 up down\n");
    std::string lastFile;
    for (int route : {2, 3}) {
        int status = 0;
        const std::string flown =
            testing_support::RunCommand("./aerovant --headless --route " + std::to_string(route) +
                                            " --pilot script " + script + " --player " + player,
                                        status);
        ASSERT_EQ(status, 0) << flown;
        const std::string mark = "recorded in ";
        const size_t at = flown.find(mark);
        ASSERT_NE(at, std::string::npos) << flown;
        const std::string file = flown.substr(at + mark.size(), flown.find('\n', at) - at - mark.size());
        lastFile = file;
        const std::string line = flown.substr(
            flown.find("finish="), flown.find('\n', flown.find("finish=")) - flown.find("finish="));
        EXPECT_NE(line.find("finish=failure"), std::string::npos) << line;
        const std::string replayed = testing_support::RunCommand(
            "./aerovant --headless --replay " + file + " --player " + player, status);
        ASSERT_EQ(status, 0) << replayed;
        EXPECT_NE(replayed.find(line), std::string::npos)
            << "flown:    " << line << "\nreplayed: " << replayed;
    }
    EXPECT_EQ(CountReplays(player), 2);
    // A recording of a route this game does not have is refused.
    FSFlightRecording elsewhere;
    std::string error;
    ASSERT_TRUE(LoadRecordingFile(lastFile, elsewhere, error)) << error;
    elsewhere.route = 500;
    const std::vector<uint8_t> bytes500 = EncodeRecording(elsewhere);
    image_test_files::WriteText(player + "elsewhere.replay", std::string(bytes500.begin(), bytes500.end()));
    int refused = 0;
    const std::string said500 =
        testing_support::RunCommand("./aerovant --headless --replay " + player + "elsewhere.replay", refused);
    EXPECT_TRUE(WIFEXITED(refused) && WEXITSTATUS(refused) == 1) << said500;
    EXPECT_NE(said500.find("route 501 is not here"), std::string::npos) << said500;
    // A damaged recording is refused with its reason, in the window's way too.
    std::string bytes = image_test_files::ReadText(player + "keys.txt");
    image_test_files::WriteText(player + "bad.replay",
                                std::string("AVRP\x01\x00\x00\x00\x04\x00\x00\x00", 12) + bytes);
    for (const char* mode : {"--headless ", ""}) {
        int status = 0;
        const std::string said = testing_support::RunCommand(
            std::string("./aerovant ") + mode + "--replay " + player + "bad.replay", status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << said;
        EXPECT_NE(said.find("bad.replay: the flight recording is truncated"), std::string::npos) << said;
    }
    image_test_files::RemoveTempFolder(player);
}

TEST(Replay, TheActionKeyInTheFinishViewReplaysTheFlightAndTheMenuFollows) {
    FSHeadlessOptions options;
    options.route = 1;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("replay-finish");
    CFSHeadlessRun run(options);
    ASSERT_EQ(run.Start(), 0);
    CFSApplicationContext& context = run.Shell().Context();
    CSPGameController& game = run.Controller();
    const auto untilFinished = [&](bool steer) {
        for (int pass = 0; pass < 3000 && game.Finish() == SPFinish::None; ++pass) {
            // A dive off the runway: the instructor takes off, then the nose goes down.
            if (steer &&
                (run.Passes() == 110 || run.Passes() == 112 || run.Passes() == 700 || run.Passes() == 702))
                run.Button(kHotKeyButton1 + 2);
            if (steer && run.Passes() == 710) run.SetPadKey(3, true);
            ASSERT_TRUE(run.Pass());
        }
    };
    untilFinished(true);
    ASSERT_EQ(game.Finish(), SPFinish::Failure);
    const FSReplayResult flown = context.recorder.LastRecording()->result;
    EXPECT_NE(game.StatusText().find("Enter: replay"), std::string::npos) << game.StatusText();
    run.SetPadKey(3, false);
    context.route.cloudiness = 77;  // the player's own, which the replay leaves alone
    // The action key (Enter) in the finish view: the flight starts again, as a replay.
    run.SetPadKey(0, true);
    for (int pass = 0; pass < 3 && !context.recorder.Playing(); ++pass)
        run.Pass();
    run.SetPadKey(0, false);
    ASSERT_TRUE(context.recorder.Playing());
    EXPECT_EQ(game.Finish(), SPFinish::None);
    // Between passes the loop's pacing reads the running clock, not the replay's start:
    // held on, it slept the window for as long as the first flight had lasted.
    EXPECT_GT(platform::TickCount(), context.recorder.Played()->startTick + 10000);
    EXPECT_NE(context.route.cloudiness, 77) << "the recorded weather";
    untilFinished(false);
    EXPECT_EQ(game.Finish(), SPFinish::Failure);
    EXPECT_EQ(game.StatusText().find("Enter: replay"), std::string::npos) << "a replay offers no replay";
    for (int pass = 0; pass < 400 && context.engine->State() != Menu; ++pass)
        ASSERT_TRUE(run.Pass());
    EXPECT_EQ(context.engine->State(), Menu);
    EXPECT_FALSE(context.recorder.Playing());
    EXPECT_EQ(context.route.cloudiness, 77);
    EXPECT_EQ(game.FlightSeconds(), flown.seconds);
    EXPECT_TRUE((game.LastCell() == FSCell{flown.column, flown.row}));
    EXPECT_EQ(game.LastPosition().x, flown.x);
    EXPECT_EQ(game.LastPosition().z, flown.z);
    EXPECT_EQ(CountReplays(options.playerFolder), 1) << "the replay is not recorded";
    image_test_files::RemoveTempFolder(options.playerFolder);
}

}  // namespace
