// The player's two files under hostile conditions: a writer killed at any moment never
// leaves a torn "settings.bin" or "scores.dat", and a save the system refuses (a full
// disk, a read-only folder, a file size limit, a folder that is a file) says so and keeps
// the old file byte for byte.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/FSScoreTable.h"
#include "app/FSSettingsFile.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using image_test_files::ReadText;
using image_test_files::WriteText;

constexpr int kKills = 1000;
// The longest a writer runs before it is killed: long enough for several whole saves.
constexpr int kMaxLifeMicroseconds = 3000;

// Two distinct versions of each file; the second is the larger, so that writes take a
// while and a kill can land inside one.
struct Versions {
    FSSettings settings[2];
    FSScoreTable scores[2];
    std::string settingsBytes[2];
    std::string scoresBytes[2];
};

Versions MakeVersions() {
    Versions v;
    v.settings[0].musicVolume = 10;
    v.settings[1].musicVolume = 200;
    v.settings[1].currentPlayer = "Ann";
    v.settings[1].players.push_back("Ann");
    for (int i = 10; i < 30; ++i)
        v.settings[1].players.push_back("Pilot" + std::to_string(i));
    EnsureRoute(v.scores[0], "Bay");
    InsertScoreRecord(v.scores[0], "Bay", MakeScoreRecord("Ann", 500, 60));
    for (const char* route : {"Alpine", "Bay", "Canyon"}) {
        EnsureRoute(v.scores[1], route);
        for (int i = 1; i <= 60; ++i)
            InsertScoreRecord(v.scores[1], route, MakeScoreRecord("Bob", i * 10, i));
    }
    for (int k = 0; k < 2; ++k) {
        v.settingsBytes[k] = FormatSettings(v.settings[k]);
        const std::vector<uint8_t> bytes = EncodeScores(v.scores[k]);
        v.scoresBytes[k].assign(bytes.begin(), bytes.end());
    }
    return v;
}

// Which version the file holds (0 or 1), or -1 for anything else: torn, empty, missing.
int VersionOf(const std::string& bytes, const std::string (&versions)[2]) {
    return bytes == versions[0] ? 0 : bytes == versions[1] ? 1 : -1;
}

// The names in the folder other than the two player files.
std::vector<std::string> Others(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "settings.bin" && name != "scores.dat") names.push_back(name);
    }
    return names;
}

// A folder in memory when there is one. A killed process loses nothing the kernel has
// taken, so what a kill leaves is the same on every file system; but on this machine's
// disk each save waits some 10 ms for its syncs, and a thousand kills would take half a
// minute.
std::string KillFolder() {
    std::string pattern = "/dev/shm/aerovant-kills-XXXXXX";
    if (!fs::is_directory("/dev/shm") || !mkdtemp(pattern.data()))
        return testing_support::MakeTempFolder("kills");
    return pattern + "/";
}

TEST(PlayerFiles, AWriterKilledAtAnyMomentLeavesEachFileWholeInItsOldOrNewVersion) {
    const Versions v = MakeVersions();
    const std::string folder = KillFolder();
    const std::string settings = folder + "settings.bin", scores = folder + "scores.dat";
    // One save of each, timed: the writers live up to a few of them.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WriteSettingsFile(settings, v.settings[0]));
    ASSERT_TRUE(SaveScores(v.scores[0], scores));
    const auto pair =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const int longest = std::max<int>(kMaxLifeMicroseconds, static_cast<int>(3 * pair.count()));

    std::mt19937 random(14);
    std::uniform_int_distribution<int> life(0, longest);
    int held[2] = {0, 0};     // the version each file holds
    int changed[2] = {0, 0};  // kills after which a file held the other version
    int temporariesSeen = 0;
    for (int trial = 0; trial < kKills; ++trial) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            // Each save writes the version the file does not hold, then they alternate.
            for (int s = 1 - held[0], c = 1 - held[1];; s ^= 1, c ^= 1) {
                WriteSettingsFile(settings, v.settings[s]);
                SaveScores(v.scores[c], scores);
            }
        }
        usleep(static_cast<useconds_t>(life(random)));
        kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);

        const int now[2] = {VersionOf(ReadText(settings), v.settingsBytes),
                            VersionOf(ReadText(scores), v.scoresBytes)};
        ASSERT_NE(now[0], -1) << "trial " << trial << ": settings.bin is torn";
        ASSERT_NE(now[1], -1) << "trial " << trial << ": scores.dat is torn";
        for (int file = 0; file < 2; ++file) {
            changed[file] += now[file] != held[file];
            held[file] = now[file];
        }
        // At most the one temporary of each file, left by the killed writer.
        for (const std::string& name : Others(folder)) {
            ASSERT_TRUE(name == "settings.bin.tmp" || name == "scores.dat.tmp")
                << "trial " << trial << ": " << name;
            ++temporariesSeen;
        }
    }
    // Some kills came before a save was through and some after.
    for (int file = 0; file < 2; ++file) {
        EXPECT_GT(changed[file], 0) << "file " << file;
        EXPECT_LT(changed[file], kKills) << "file " << file;
    }
    std::printf(
        "%d kills within %d us: settings.bin changed %d times, scores.dat %d, %d temporaries left behind\n",
        kKills, longest, changed[0], changed[1], temporariesSeen);

    // The next save takes over a left temporary: none remains.
    ASSERT_TRUE(WriteSettingsFile(settings, v.settings[1]));
    ASSERT_TRUE(SaveScores(v.scores[1], scores));
    EXPECT_TRUE(Others(folder).empty());
    image_test_files::RemoveTempFolder(folder);
}

// One way the system refuses a save: made in a child process (private mounts, limits),
// after the old files are written into folder.
struct Refusal {
    const char* name;
    const char* reason;  // what strerror says, in the game's message
    bool smallDisk;      // the folder is a 64 KiB disk of its own
    // Makes the refusal; false when this machine cannot (no mount rights).
    bool (*make)(const std::string& folder);
};

bool MountSmallFolder(const std::string& folder) {
    // A mount namespace of our own: the mounts vanish with the child.
    return unshare(CLONE_NEWNS) == 0 && mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
}

const Refusal kRefusals[] = {
    {"a full disk", "No space left on device", true,
     [](const std::string& folder) {
         // Everything the small disk has left goes to one filler file.
         const std::string filler(4096, 'f');
         FILE* file = std::fopen((folder + "filler").c_str(), "wb");
         if (!file) return false;
         while (std::fwrite(filler.data(), 1, filler.size(), file) == filler.size() &&
                std::fflush(file) == 0) {
         }
         std::fclose(file);
         return true;
     }},
    {"a read-only folder", "Read-only file system", true,
     [](const std::string& folder) {
         // A mount made read-only stops root too, unlike chmod.
         return mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
     }},
    {"a file size limit", "File too large", false,
     [](const std::string&) {
         signal(SIGXFSZ, SIG_IGN);
         const rlimit small{64, 64};
         return setrlimit(RLIMIT_FSIZE, &small) == 0;
     }},
};

// What a child said on stderr and its report: what each save returned, whether the old
// bytes stayed, what else is in the folder; "skipped" when the refusal cannot be made here.
struct Refused {
    std::string said;
    std::string report;
};

// In a child: the old versions written (to a small disk of its own), the refusal made, the
// new versions saved. Its stderr and then its report come through one pipe (a pipe, as no
// file size limit holds for it).
Refused SaveRefused(const Refusal& refusal, const Versions& v, const std::string& folder) {
    constexpr const char* kReport = "\nreport: ";
    int pipe_[2];
    if (pipe(pipe_) != 0) return {"", "no pipe"};
    const pid_t child = fork();
    if (child == 0) {
        close(pipe_[0]);
        dup2(pipe_[1], STDERR_FILENO);
        std::string report = "skipped";
        if ((!refusal.smallDisk || MountSmallFolder(folder)) &&
            WriteSettingsFile(folder + "settings.bin", v.settings[0]) &&
            SaveScores(v.scores[0], folder + "scores.dat") && refusal.make(folder)) {
            const bool settingsSaved = WriteSettingsFile(folder + "settings.bin", v.settings[1]);
            const bool scoresSaved = SaveScores(v.scores[1], folder + "scores.dat");
            const bool kept = ReadText(folder + "settings.bin") == v.settingsBytes[0] &&
                              ReadText(folder + "scores.dat") == v.scoresBytes[0];
            report = std::string("saved ") + (settingsSaved ? "settings " : "") +
                     (scoresSaved ? "scores " : "") + (kept ? "old kept" : "old lost");
            for (const std::string& name : Others(folder))
                if (name != "filler") report += ", left " + name;
        }
        report = kReport + report;
        if (write(pipe_[1], report.data(), report.size()) < 0) _exit(2);
        _exit(0);
    }
    close(pipe_[1]);
    std::string all;
    char buffer[256];
    for (ssize_t n; (n = read(pipe_[0], buffer, sizeof buffer)) > 0;)
        all.append(buffer, static_cast<size_t>(n));
    close(pipe_[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const size_t at = all.rfind(kReport);
    if (at == std::string::npos) return {all, "no report"};
    return {all.substr(0, at), all.substr(at + std::strlen(kReport))};
}

TEST(PlayerFiles, ASaveTheSystemRefusesSaysWhyAndKeepsTheOldFileWhole) {
    const Versions v = MakeVersions();
    const std::string base = testing_support::MakeTempFolder("refused");
    int made = 0;
    for (const Refusal& refusal : kRefusals) {
        SCOPED_TRACE(refusal.name);
        const std::string folder = base + std::to_string(&refusal - kRefusals) + "/";
        ASSERT_TRUE(fs::create_directory(folder));
        const Refused refused = SaveRefused(refusal, v, folder);
        if (refused.report == "skipped") {
            std::printf("%s: cannot be made here\n", refusal.name);
            continue;
        }
        ++made;
        EXPECT_EQ(refused.report, "saved old kept");
        const std::string& said = refused.said;
        EXPECT_NE(said.find("could not save the settings to " + folder + "settings.bin (" + refusal.reason),
                  said.npos)
            << said;
        EXPECT_NE(said.find("could not save the scores to " + folder + "scores.dat (" + refusal.reason),
                  said.npos)
            << said;
    }
    // The size limit needs no rights at all.
    EXPECT_GE(made, 1);

    // A player folder that is a file: nothing can be made in it, and nothing is.
    const std::string file = base + "not-a-folder";
    ASSERT_TRUE(WriteText(file, "x"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteSettingsFile(file + "/settings.bin", v.settings[1]));
    EXPECT_FALSE(SaveScores(v.scores[1], file + "/scores.dat"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(file + "/settings.bin (Not a directory)"), said.npos) << said;
    EXPECT_NE(said.find(file + "/scores.dat (Not a directory)"), said.npos) << said;
    EXPECT_EQ(ReadText(file), "x");
    image_test_files::RemoveTempFolder(base);
}

}  // namespace
