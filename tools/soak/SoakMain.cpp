// The soak run: a player's evening of flights in one process, to show that nothing grows
// from one flight to the next. Each flight is chosen in the menu with the pad keys, flown
// by the scripted pilot and left by a crash, a landing or by quitting (see SoakPlayer.h).
// Resident memory (VmRSS) and the heap in use (mallinfo2) are printed after flight 10,
// every 100 flights (or --every N) and after the last one.
//
//   aerovant-soak [--flights N] [--player DIR] [--rss-limit-kb K] [--every N]
//
// The exit status is 0 when every flight ended and the menu came back, each of the three
// exits happened (from three flights on), and, from 100 flights on, resident memory after
// the last flight is within K kB (1024 unless given) of what it was after flight 10.
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSShell.h"
#include "resources/FSTextureCache.h"
#include "soak/SoakPlayer.h"

namespace {

struct SoakOptions {
    int flights = 20;
    std::string player;
    long rssLimitKb = 1024;
    int every = 100;  // a reading every this many flights (besides after flight 10 and the last)
};

struct MemoryReading {
    long rssKb = 0;
    long anonKb = 0;  // of it, anonymous memory (the heap, GL's buffers, compiled shaders)
    long fileKb = 0;  // and pages of mapped files (the program and its libraries)
    size_t heapBytes = 0;
};

MemoryReading ReadMemory() {
    MemoryReading reading;
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") status >> reading.rssKb;
        if (word == "RssAnon:") status >> reading.anonKb;
        if (word == "RssFile:") status >> reading.fileKb;
    }
    reading.heapBytes = mallinfo2().uordblks;
    return reading;
}

bool ParseSoakOptions(int argc, char** argv, SoakOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[++i] : "";
        if (option == "--flights" && WholeNumberArgument(value, 1, 1000000) >= 1) {
            options.flights = WholeNumberArgument(value, 1, 1000000);
        } else if (option == "--player" && !value.empty()) {
            options.player = value;
        } else if (option == "--every" && WholeNumberArgument(value, 1, 1000000) >= 1) {
            options.every = WholeNumberArgument(value, 1, 1000000);
        } else if (option == "--rss-limit-kb" && WholeNumberArgument(value, 0, 9999999) >= 0) {
            options.rssLimitKb = WholeNumberArgument(value, 0, 9999999);
        } else {
            std::fprintf(
                stderr, "usage: aerovant-soak [--flights N] [--player DIR] [--rss-limit-kb K] [--every N]\n");
            return false;
        }
    }
    return true;
}

// A fresh player folder of its own unless one is given.
std::string PlayerFolder(const SoakOptions& options) {
    if (!options.player.empty()) return options.player;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("aerovant-soak-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

void PrintReading(int flight, const MemoryReading& m, size_t textures, double seconds) {
    std::printf(
        "after flight %d: rss %ld kB (anonymous %ld kB, files %ld kB), heap in use %zu B, %zu textures, "
        "%.1f s\n",
        flight, m.rssKb, m.anonKb, m.fileKb, m.heapBytes, textures, seconds);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    SoakOptions soak;
    if (!ParseSoakOptions(argc, argv, soak)) return 2;
    FSHeadlessOptions options;
    options.resolution = 0;
    options.menu = true;
    options.playerFolder = PlayerFolder(soak);
    const bool ownFolder = soak.player.empty();
    int status = 0;
    {
        CFSHeadlessRun run(options);
        status = run.Start();
        if (status != 0) return status;
        CSPSoakPlayer player(run);
        const auto start = std::chrono::steady_clock::now();
        const auto elapsed = [&start] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        int counts[4] = {};
        int failed = 0;
        MemoryReading tenth, last;
        for (int n = 0; n < soak.flights; ++n) {
            const SoakFlightPlan plan = PlanSoakFlight(n, run.Controller().RouteCount());
            const SoakFlightResult result = player.Fly(plan);
            if (result.ended) ++counts[static_cast<int>(result.exit)];
            if (!result.ended || !result.problem.empty()) {
                ++failed;
                std::printf("flight %d (route %d, aircraft %d, %s): %s\n", n + 1, plan.route + 1,
                            plan.aircraft + 1, SoakExitName(plan.exit), result.problem.c_str());
            } else if (result.exit != plan.exit) {
                std::printf("flight %d (route %d, aircraft %d): planned %s, ended by %s\n", n + 1,
                            plan.route + 1, plan.aircraft + 1, SoakExitName(plan.exit),
                            SoakExitName(result.exit));
            }
            const int flown = n + 1;
            if (flown == 10 || flown % soak.every == 0 || flown == soak.flights) {
                last = ReadMemory();
                if (flown == 10) tenth = last;
                PrintReading(flown, last, run.Shell().Context().textureCache->Count(), elapsed());
            }
        }
        std::printf("flights=%d ended=%d crash=%d landing=%d quit=%d other=%d seconds=%.1f\n", soak.flights,
                    soak.flights - failed, counts[0], counts[1], counts[2], counts[3], elapsed());
        if (failed > 0) status = 1;
        if (soak.flights >= 3 && (counts[0] == 0 || counts[1] == 0 || counts[2] == 0)) {
            std::printf("not every exit happened\n");
            status = 1;
        }
        if (soak.flights >= 100) {
            const long growth = last.rssKb - tenth.rssKb;
            std::printf("rss growth from flight 10 to %d: %ld kB (limit %ld kB)\n", soak.flights, growth,
                        soak.rssLimitKb);
            if (growth > soak.rssLimitKb) status = 1;
        }
    }
    if (ownFolder) std::filesystem::remove_all(options.playerFolder);
    std::printf("%s\n", status == 0 ? "soak passed" : "soak FAILED");
    return status;
}
