// The scripted pilot on the command line: flies a route headless and prints the result
// line, as the tests compare it. It takes the options of the program's headless mode
// (the pilot is always the scripted one) and flies in the smallest picture.
//
//   aerovant-pilot --route N --aircraft N [--frames N] [--shots-every K --out DIR] [--player DIR]
#include <cstdio>

#include "FSHeadlessRun.h"
#include "pilot/ScriptedPilot.h"

int main(int argc, char** argv) {
    FSHeadlessOptions options;
    options.resolution = 0;
    if (!ParseHeadlessOptions(argc, argv, options)) return 2;
    options.pilot = FSHeadlessPilot::None;
    CFSHeadlessRun run(options);
    const int status = run.Start();
    if (status != 0) return status;
    CSPScriptedPilot pilot;
    const FSHeadlessResult result = run.Fly([&pilot](CFSHeadlessRun& r) { pilot.Step(r); });
    std::printf("%s\n", result.Line().c_str());
    return 0;
}
