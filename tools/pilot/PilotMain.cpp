// The scripted pilot on the command line: flies a route headless and prints the result
// line, as the tests compare it.
//
//   aerovant-pilot --route N --aircraft N [--frames N] [--shots-every K --out DIR] [--player DIR]
#include <cstdio>
#include <filesystem>
#include <string>

#include "FSHeadlessRun.h"
#include "pilot/ScriptedPilot.h"

int main(int argc, char** argv) {
    FSHeadlessOptions options;
    options.resolution = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--route") {
            options.route = std::atoi(value.c_str()) - 1;
        } else if (option == "--aircraft") {
            options.aircraft = std::atoi(value.c_str()) - 1;
        } else if (option == "--frames") {
            options.frames = std::atoi(value.c_str());
        } else if (option == "--shots-every") {
            options.shotsEvery = std::atoi(value.c_str());
        } else if (option == "--out") {
            options.out = value;
            std::error_code error;
            std::filesystem::create_directories(value, error);
        } else if (option == "--player") {
            options.playerFolder = value;
        } else {
            std::fprintf(stderr,
                         "usage: aerovant-pilot --route N --aircraft N [--frames N] "
                         "[--shots-every K --out DIR] [--player DIR]\n");
            return 2;
        }
    }
    if (options.aircraft < 0 || options.aircraft > 4) {
        std::fprintf(stderr, "aerovant-pilot: aircraft 1-5\n");
        return 2;
    }
    CFSHeadlessRun run(options);
    const int status = run.Start();
    if (status != 0) return status;
    CSPScriptedPilot pilot;
    const FSHeadlessResult result = run.Fly([&pilot](CFSHeadlessRun& r) { pilot.Step(r); });
    std::printf("%s\n", result.Line().c_str());
    return 0;
}
