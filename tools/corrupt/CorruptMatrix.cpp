// The corrupt-data matrix: every member of the nine archives in turn is removed, cut to
// half its length or has bytes flipped, and the real program then flies a route headless
// over the damaged data. It must never crash or hang; a route or aircraft it cannot read is
// refused with a message.
//   aerovant-corrupt-matrix --program <bin>/aerovant --work <folder> [--all] [--frames N]
//                           [--timeout S] [--archive NAME]
// Without --all a fixed sample of the matrix runs (the one ctest runs).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "databuild/ArchiveBuilder.h"
#include "resources/FSArchive.h"
#include "resources/FSDataPassword.h"

namespace fs = std::filesystem;

namespace {

enum class Damage { Remove, Half, Flip };
const char* const kDamageNames[] = {"removed", "halved", "flipped"};

struct Options {
    fs::path program;
    fs::path work;
    bool all = false;
    int frames = 300;
    int timeout = 90;
    std::string onlyArchive;
};

struct Case {
    std::string archive;
    std::string member;
    Damage damage = Damage::Remove;
    int route = 1;     // 1-8
    int aircraft = 1;  // 1-5
};

enum class Outcome { Flown, Refused, SilentFailure, Crash, Hang };
const char* const kOutcomeNames[] = {"flown", "refused", "failed silently", "crashed", "hung"};

std::vector<std::string> MemberNames(const fs::path& archive) {
    std::vector<std::string> names;
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
    if (!zip) return names;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name && name[std::strlen(name) - 1] != '/') names.push_back(name);
    }
    zip_discard(zip);
    return names;
}

// The number in "Route3.txt" or "Aircraft2.txt", else 0.
int NumberAfter(const std::string& member, const std::string& prefix) {
    if (member.rfind(prefix, 0) != 0 || member.size() <= prefix.size()) return 0;
    return std::atoi(member.c_str() + prefix.size());
}

std::vector<Case> MatrixCases(const fs::path& data, const Options& options) {
    std::vector<Case> cases;
    for (const char* archive : kGameArchives) {
        if (!options.onlyArchive.empty() && options.onlyArchive != archive) continue;
        for (const std::string& member : MemberNames(data / archive)) {
            for (Damage damage : {Damage::Remove, Damage::Half, Damage::Flip}) {
                Case c{archive, member, damage};
                const int index = static_cast<int>(cases.size());
                c.route = NumberAfter(member, "Route") ? NumberAfter(member, "Route") : 1 + index % 8;
                c.aircraft =
                    NumberAfter(member, "Aircraft") ? NumberAfter(member, "Aircraft") : 1 + index % 5;
                cases.push_back(c);
            }
        }
    }
    if (options.all) return cases;
    // The sample: every archive's first member with each damage, then every 37th case.
    std::vector<Case> sample;
    std::map<std::string, int> seen;
    for (size_t i = 0; i < cases.size(); ++i)
        if (seen[cases[i].archive]++ < 3 || i % 37 == 0) sample.push_back(cases[i]);
    return sample;
}

std::vector<uint8_t> Damaged(std::vector<uint8_t> bytes, const Case& c) {
    if (c.damage == Damage::Half) {
        bytes.resize(bytes.size() / 2);
    } else if (c.damage == Damage::Flip && !bytes.empty()) {
        // A fixed handful of bytes spread over the member, from its name: the same every run.
        std::mt19937 random(static_cast<uint32_t>(std::hash<std::string>{}(c.archive + c.member)));
        const size_t flips = 4 + bytes.size() / 512;
        for (size_t i = 0; i < flips && i < 64; ++i)
            bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1 + random() % 255);
    }
    return bytes;
}

// The archive rebuilt with the case's damage, under the game's password.
bool WriteDamagedArchive(const fs::path& original, const Case& c, const fs::path& to) {
    ArchiveBuilder builder(c.archive);
    for (const std::string& member : MemberNames(original)) {
        const FSMemoryBlock block = ReadArchiveMember(original.string(), member);
        std::vector<uint8_t> bytes =
            block ? std::vector<uint8_t>(block.data.get(), block.data.get() + block.size)
                  : std::vector<uint8_t>();
        if (member == c.member) {
            if (c.damage == Damage::Remove) continue;
            bytes = Damaged(std::move(bytes), c);
        }
        builder.Add(member, std::move(bytes));
    }
    char password[kDataPasswordLength + 1] = {};
    UnscrambleDataPassword(password);
    const std::vector<uint8_t> zip = builder.Build(password);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(zip.data()), static_cast<std::streamsize>(zip.size()));
    return !zip.empty() && static_cast<bool>(out);
}

// A folder holding the program, its decoder library and sounds, and a data folder whose
// archives are the real ones (links) until a case replaces one.
bool MakeStage(const Options& options, const fs::path& stage) {
    std::error_code error;
    fs::remove_all(stage, error);
    fs::create_directories(stage / "data", error);
    const fs::path bin = options.program.parent_path();
    // Copies, not links: the program finds its data beside the file it was started from.
    fs::copy_file(options.program, stage / "aerovant", error);
    if (error) return false;
    fs::copy_file(bin / "xvid_ppc.so", stage / "xvid_ppc.so", error);
    fs::create_directory_symlink(bin / "sounds", stage / "sounds", error);
    for (const char* archive : kGameArchives)
        fs::create_symlink(bin / "data" / archive, stage / "data" / archive, error);
    return true;
}

Outcome Run(const Options& options, const fs::path& stage, const Case& c, std::string& message) {
    const fs::path log = stage / "stderr.txt";
    const std::string route = std::to_string(c.route), aircraft = std::to_string(c.aircraft);
    const std::string frames = std::to_string(options.frames), player = (stage / "player").string();
    const std::string program = (stage / "aerovant").string();
    const pid_t child = fork();
    if (child == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!freopen(log.c_str(), "w", stderr) || !freopen("/dev/null", "w", stdout)) _exit(127);
        execl(program.c_str(), program.c_str(), "--headless", "--route", route.c_str(), "--aircraft",
              aircraft.c_str(), "--pilot", "autopilot", "--frames", frames.c_str(), "--player",
              player.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeout);
    bool hung = false;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            hung = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(log);
    std::string line;
    message.clear();
    while (std::getline(in, line)) {
        if (line.find("ALSA") != std::string::npos) continue;
        if (message.size() < 400) message += (message.empty() ? "" : " | ") + line;
    }
    if (hung) return Outcome::Hang;
    if (WIFSIGNALED(status) || message.find("Sanitizer") != std::string::npos ||
        message.find("runtime error") != std::string::npos)
        return Outcome::Crash;
    if (WEXITSTATUS(status) == 0) return Outcome::Flown;
    return message.empty() ? Outcome::SilentFailure : Outcome::Refused;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--all") {
            options.all = true;
        } else if (option == "--program" && value) {
            options.program = argv[++i];
        } else if (option == "--work" && value) {
            options.work = argv[++i];
        } else if (option == "--frames" && value) {
            options.frames = std::atoi(argv[++i]);
        } else if (option == "--timeout" && value) {
            options.timeout = std::atoi(argv[++i]);
        } else if (option == "--archive" && value) {
            options.onlyArchive = argv[++i];
        } else {
            return false;
        }
    }
    return !options.program.empty() && !options.work.empty() && options.frames > 0 && options.timeout > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: aerovant-corrupt-matrix --program <bin>/aerovant --work <folder> [--all]\n"
                     "                               [--frames N] [--timeout S] [--archive NAME]\n");
        return 2;
    }
    options.program = fs::absolute(options.program);
    const fs::path data = options.program.parent_path() / "data";
    const fs::path stage = fs::absolute(options.work) / "stage";
    const std::vector<Case> cases = MatrixCases(data, options);
    if (cases.empty() || !MakeStage(options, stage)) {
        std::fprintf(stderr, "aerovant-corrupt-matrix: no archives in %s or no program %s\n", data.c_str(),
                     options.program.c_str());
        return 2;
    }
    std::map<std::string, std::array<int, 5>> tally;
    int faults = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const fs::path damaged = stage / "data" / c.archive;
        fs::remove(damaged);
        if (!WriteDamagedArchive(data / c.archive, c, damaged)) {
            std::fprintf(stderr, "cannot write the damaged %s\n", c.archive.c_str());
            return 2;
        }
        std::string message;
        Outcome outcome = Run(options, stage, c, message);
        // A route or aircraft that is gone must be refused, and say so.
        const bool flownMissing = c.damage == Damage::Remove && outcome == Outcome::Flown &&
                                  (NumberAfter(c.member, "Route") || NumberAfter(c.member, "Aircraft"));
        const bool fault = outcome >= Outcome::SilentFailure || flownMissing;
        faults += fault ? 1 : 0;
        tally[c.archive][static_cast<int>(outcome)]++;
        std::printf("%4zu/%zu %-13s %-45s %-8s route %d aircraft %d: %s%s%s\n", i + 1, cases.size(),
                    c.archive.c_str(), c.member.c_str(), kDamageNames[static_cast<int>(c.damage)], c.route,
                    c.aircraft, flownMissing ? "flown without it" : kOutcomeNames[static_cast<int>(outcome)],
                    message.empty() ? "" : " - ",
                    fault || outcome == Outcome::Refused ? message.c_str() : "");
        std::fflush(stdout);
        fs::remove(damaged);
        fs::create_symlink(data / c.archive, damaged);
    }
    std::printf("\n%-14s %6s %6s %8s %7s %5s\n", "archive", "flown", "refused", "silent", "crashed", "hung");
    for (const auto& [archive, counts] : tally)
        std::printf("%-14s %6d %6d %8d %7d %5d\n", archive.c_str(), counts[0], counts[1], counts[2],
                    counts[3], counts[4]);
    std::printf("%zu cases, %d faults\n", cases.size(), faults);
    std::error_code error;
    fs::remove_all(stage, error);
    return faults == 0 ? 0 : 1;
}
