#include "FSHeadlessRun.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSScreenshot.h"
#include "app/FSShell.h"
#include "base/FSActions.h"
#include "menu/CSPMenu.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"
#include "resources/FSArchive.h"
#include "world/FSSceneNode.h"

namespace {

// Hot keys of the application buttons 1-5 and the pad keys, as a script names them.
struct KeyName {
    const char* name;
    int key;
};
const KeyName kKeyNames[] = {{"action", 0},    {"left", 1},      {"right", 2},     {"up", 3},
                             {"down", 4},      {"button1", 193}, {"button2", 194}, {"button3", 195},
                             {"button4", 196}, {"button5", 197}};

const char* FinishName(SPFinish finish) {
    switch (finish) {
        case SPFinish::Success:
            return "success";
        case SPFinish::Landing:
            return "landing";
        case SPFinish::Failure:
            return "failure";
        default:
            return "none";
    }
}

// The passes a flight is given, after it ended, to let the finish countdown run out.
constexpr int kAfterFinishPasses = 200;

}  // namespace

std::string FSHeadlessResult::Line() const {
    char line[200];
    std::snprintf(line, sizeof line,
                  "finish=%s time=%d score=%d distance=%.3f end=%d,%d,%.3f,%.3f,%.3f frames=%d",
                  FinishName(finish), seconds, score, distance, cell.column, cell.row,
                  FixedToFloat(position.x), FixedToFloat(position.y), FixedToFloat(position.z), frames);
    return line;
}

bool ReadKeyScript(const std::string& text, std::vector<FSScriptedKey>& keys, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string pass, name, state, extra;
        if (!(words >> pass)) continue;
        FSScriptedKey key;
        bool known = false;
        words >> name >> state;
        for (const KeyName& k : kKeyNames) {
            if (name == k.name) {
                key.key = k.key;
                known = true;
            }
        }
        const bool number_ok =
            !pass.empty() && pass.size() < 9 && pass.find_first_not_of("0123456789") == std::string::npos;
        if (!number_ok || !known || (state != "down" && state != "up") || (words >> extra)) {
            error = "line " + std::to_string(number) + ": expected \"<pass> <key> down|up\"";
            return false;
        }
        key.pass = std::stoi(pass);
        key.down = state == "down";
        keys.push_back(key);
    }
    return true;
}

CFSHeadlessRun::CFSHeadlessRun(const FSHeadlessOptions& options) : options_(options) {
    ResetApplicationContext();
    if (!options_.playerFolder.empty()) platform::SetPlayerFolder(options_.playerFolder);
    platform::UseVirtualClock(50000);
    shell_ = std::make_unique<CFSShell>(
        display_, FSShellParts{[] { return std::make_unique<CSPMenu>(); },
                               [this] {
                                   auto made = std::make_unique<CSPGameController>(CountRouteFiles());
                                   controller_ = made.get();
                                   return std::unique_ptr<MFSGameController>(std::move(made));
                               }});
}

CFSHeadlessRun::~CFSHeadlessRun() {
    shell_.reset();
    ResetApplicationContext();
    platform::UseRealClock();
}

int CFSHeadlessRun::Start() {
    if (!options_.out.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options_.out, error);
        if (error) {
            std::fprintf(stderr, "aerovant: cannot create %s: %s\n", options_.out.c_str(),
                         error.message().c_str());
            return 1;
        }
    }
    if (options_.pilot == FSHeadlessPilot::Script) {
        const FSMemoryBlock text = ReadFileToBuffer(options_.script);
        std::string error;
        if (!text) {
            std::fprintf(stderr, "aerovant: cannot read the script %s\n", options_.script.c_str());
            return 2;
        }
        if (!ReadKeyScript(std::string(text.Text(), text.size), script_, error)) {
            std::fprintf(stderr, "aerovant: %s: %s\n", options_.script.c_str(), error.c_str());
            return 2;
        }
    }
    if (!options_.replay.empty()) {
        auto recording = std::make_shared<FSFlightRecording>();
        std::string error;
        if (!LoadRecordingFile(options_.replay, *recording, error)) {
            std::fprintf(stderr, "aerovant: %s\n", error.c_str());
            return 2;
        }
        // The whole recording, and the finish after it.
        options_.frames = static_cast<int>(recording->passes.size()) + 2 * kAfterFinishPasses;
        replay_ = std::move(recording);
    }
    const int status = shell_->Start();
    if (status != 0) return status;
    if (!controller_ || options_.route < 0 || options_.route >= controller_->RouteCount()) {
        std::fprintf(stderr, "aerovant: no route %d (there are %d)\n", options_.route + 1,
                     controller_ ? controller_->RouteCount() : 0);
        return 2;
    }
    CFSApplicationContext& context = shell_->Context();
    context.video.resolution = options_.resolution;
    if (options_.align >= 0) context.game.screenAlign = options_.align;
    DeriveRenderSize(context.video);
    if (options_.menu) return 0;
    if (replay_) {
        std::string error;
        if (!controller_->StartReplay(replay_, error)) {
            std::fprintf(stderr, "aerovant: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    controller_->SetRoute(options_.route);
    controller_->SetAircraft(options_.aircraft);
    controller_->RunFlightStart();
    if (!controller_->AircraftNode()) {
        std::fprintf(stderr, "aerovant: no aircraft to fly on route %d\n", options_.route + 1);
        return 1;
    }
    if (options_.cockpit) context.engine->DispatchAction(kActionChangeView);
    return 0;
}

bool CFSHeadlessRun::Pass() {
    platform::Sleep(1000 / CFSShell::kFramesPerSecond + 1);
    const bool running = shell_->RunPass();
    ++passes_;
    if (options_.shotsEvery > 0 && passes_ % options_.shotsEvery == 0) WriteShot();
    return running;
}

void CFSHeadlessRun::SetPadKey(int key, bool down) {
    display_.SetPadKey(key, down);
}

void CFSHeadlessRun::Button(int hotKey) {
    display_.PostEvent({FSEventType::HotKey, 0, 0, hotKey});
}

void CFSHeadlessRun::ScriptStep() {
    while (scriptNext_ < script_.size() && script_[scriptNext_].pass <= passes_) {
        const FSScriptedKey& key = script_[scriptNext_++];
        if (key.key >= 193) {
            Button(key.key);
        } else {
            SetPadKey(key.key, key.down);
        }
    }
}

FSHeadlessResult CFSHeadlessRun::Fly(const std::function<void(CFSHeadlessRun&)>& pilot) {
    CFSEngine& engine = *shell_->Context().engine;
    // The aids the pilot asks for are switched on once the engine has warmed up.
    bool aidsOn =
        options_.pilot != FSHeadlessPilot::Autopilot && options_.pilot != FSHeadlessPilot::Instructor;
    int afterFinish = 0;
    while (passes_ < options_.frames) {
        if (controller_->Finish() == SPFinish::None) {
            if (!aidsOn && passes_ >= 90) {
                engine.DispatchAction(options_.pilot == FSHeadlessPilot::Autopilot ? kActionAutopilot
                                                                                   : kActionInstructor);
                aidsOn = true;
            }
            ScriptStep();
            if (pilot) pilot(*this);
        } else if (++afterFinish > kAfterFinishPasses || engine.State() == Menu) {
            break;
        }
        // A replay that ran out before its flight ended is over once the menu is back.
        if (replay_ && engine.State() == Menu) break;
        if (!Pass()) break;
    }
    FSHeadlessResult result;
    result.finish = controller_->Finish();
    result.seconds = controller_->FlightSeconds();
    result.score = controller_->Score();
    result.distance = controller_->DistanceFlown();
    const bool ended = result.finish != SPFinish::None;
    const MFSSceneNode* node = controller_->AircraftNode();
    result.cell = ended || !node ? controller_->LastCell() : node->GetCell();
    result.position = ended || !node ? controller_->LastPosition() : node->GetPosition();
    result.frames = passes_;
    // A flight that has not ended is recorded up to here.
    if (shell_->Context().recorder.Recording()) controller_->Quitting();
    return result;
}

void CFSHeadlessRun::WriteShot() {
    if (options_.out.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "frame%06d.png", passes_);
    const std::string path = (std::filesystem::path(options_.out) / name).string();
    if (!WriteUprightPng(display_, path, 1))
        std::fprintf(stderr, "aerovant: cannot write %s\n", path.c_str());
    ++shots_;
}

int WholeNumberArgument(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos)
        return low - 1;
    const int value = std::stoi(text);
    return value >= low && value <= high ? value : low - 1;
}

bool ParseHeadlessOptions(int argc, char** argv, FSHeadlessOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--headless") continue;
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        ++i;
        if (option == "--route" && WholeNumberArgument(value, 1, 999) >= 1) {
            options.route = WholeNumberArgument(value, 1, 999) - 1;
        } else if (option == "--aircraft" && WholeNumberArgument(value, 1, 5) >= 1) {
            options.aircraft = WholeNumberArgument(value, 1, 5) - 1;
        } else if (option == "--frames" && WholeNumberArgument(value, 1, 9999999) >= 1) {
            options.frames = WholeNumberArgument(value, 1, 9999999);
        } else if (option == "--shots-every" && WholeNumberArgument(value, 1, 9999999) >= 1) {
            options.shotsEvery = WholeNumberArgument(value, 1, 9999999);
        } else if (option == "--out" && !value.empty()) {
            options.out = value;
        } else if (option == "--align" && WholeNumberArgument(value, 0, 2) >= 0) {
            options.align = WholeNumberArgument(value, 0, 2);
        } else if (option == "--view" && (value == "chase" || value == "cockpit")) {
            options.cockpit = value == "cockpit";
        } else if (option == "--player" && !value.empty()) {
            options.playerFolder = value;
        } else if (option == "--pilot" && (value == "autopilot" || value == "instructor")) {
            options.pilot = value == "autopilot" ? FSHeadlessPilot::Autopilot : FSHeadlessPilot::Instructor;
        } else if (option == "--replay" && !value.empty()) {
            options.replay = value;
        } else if (option == "--pilot" && value == "script" && i + 1 < argc) {
            options.pilot = FSHeadlessPilot::Script;
            options.script = argv[++i];
        } else {
            static const char* const kOptions[] = {"--route", "--aircraft", "--frames", "--shots-every",
                                                   "--out",   "--align",    "--view",   "--player",
                                                   "--pilot", "--replay"};
            const bool known =
                std::find(std::begin(kOptions), std::end(kOptions), option) != std::end(kOptions);
            if (known) {
                std::fprintf(stderr, "aerovant: %s cannot take '%s'\n", option.c_str(), value.c_str());
            } else {
                std::fprintf(stderr, "aerovant: unknown option '%s'\n", option.c_str());
            }
            std::fprintf(stderr, "Try 'aerovant --help' for the options.\n");
            return false;
        }
    }
    return true;
}

int RunHeadless(int argc, char** argv) {
    FSHeadlessOptions options;
    if (!ParseHeadlessOptions(argc, argv, options)) return 2;
    CFSHeadlessRun run(options);
    const int status = run.Start();
    if (status != 0) return status;
    const FSHeadlessResult result = run.Fly();
    std::printf("%s\n", result.Line().c_str());
    const CFSFlightRecorder& recorder = run.Shell().Context().recorder;
    if (options.replay.empty() && !recorder.LastFile().empty())
        std::fprintf(stderr, "aerovant: the flight is recorded in %s\n", recorder.LastFile().c_str());
    if (const FSFlightRecording* replayed = run.Replayed()) {
        // A replay that strays from its flight says so (the game changed since it was flown).
        const FSReplayResult& was = replayed->result;
        if (was.finish != static_cast<int32_t>(result.finish) || was.seconds != result.seconds ||
            was.score != result.score || was.column != result.cell.column || was.row != result.cell.row ||
            was.x != result.position.x || was.y != result.position.y || was.z != result.position.z)
            std::fprintf(stderr,
                         "aerovant: the replay did not end where the flight did (time %d, score %d)\n",
                         was.seconds, was.score);
    }
    return 0;
}
