// Cost of one archive read as every loader pays it: open the archive, find the member,
// decrypt, inflate, check the CRC, close. Archives are written by Info-ZIP's zip in the
// set-up: with the game's password (deflated as zip chooses, and stored with -0) and without,
// each holding a member that deflates (text) and one that does not (random bytes), and an
// encrypted archive of 500 members, as the texture archive has hundreds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "resources/FSArchive.h"
#include "resources/FSDataPassword.h"

namespace {

constexpr size_t kMemberSize = 64 * 1024;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Lines of numbers, like a mesh or a route file: deflates to about a third.
std::string TextMember() {
    std::mt19937 random(1);
    std::string text;
    char line[64];
    while (text.size() < kMemberSize) {
        std::snprintf(line, sizeof(line), "v %.4f %.4f %.4f\r\n", (random() % 20000) / 1000.0,
                      (random() % 20000) / 1000.0, (random() % 20000) / 1000.0);
        text += line;
    }
    text.resize(kMemberSize);
    return text;
}

std::string RandomMember() {
    std::mt19937 random(2);
    std::string bytes(kMemberSize, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

bool gFolderMade = false;

// The folder with the archives, made once; removed when the program ends.
const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/aerovant-bench-archive-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) return std::string();
        const std::string dir = std::string(made) + "/";
        gFolderMade = true;
        WriteFile(dir + "text.txt", TextMember());
        WriteFile(dir + "random.bin", RandomMember());
        char password[32] = {};
        UnscrambleDataPassword(password);
        const std::string pw = std::string("-P '") + password + "' ";
        std::string command = "cd " + dir + " && zip -q " + pw + "encrypted.zip text.txt random.bin" +
                              " && zip -q -0 " + pw + "encrypted-stored.zip text.txt random.bin" +
                              " && zip -q plain.zip text.txt random.bin && mkdir many";
        for (int i = 0; i < 500; ++i) {
            command += " && cp text.txt many/texture" + std::to_string(i) + ".png";
        }
        command += " && zip -q -r " + pw + "many.zip many";
        if (std::system(command.c_str()) != 0) return std::string();
        return dir;
    }();
    return folder;
}

void ReadMember(benchmark::State& state, const char* archive, const char* member) {
    if (Folder().empty()) {
        state.SkipWithError("zip could not make the archives");
        return;
    }
    const std::string path = Folder() + archive;
    size_t bytes = 0;
    for (auto _ : state) {
        FSMemoryBlock block = ReadArchiveMember(path, member);
        if (!block) {
            state.SkipWithError("the member could not be read");
            return;
        }
        bytes += block.size;
        benchmark::DoNotOptimize(block.data.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_EncryptedText64K(benchmark::State& state) {
    ReadMember(state, "encrypted.zip", "text.txt");
}
void BM_EncryptedRandom64K(benchmark::State& state) {
    ReadMember(state, "encrypted.zip", "random.bin");
}
void BM_EncryptedStoredText64K(benchmark::State& state) {
    ReadMember(state, "encrypted-stored.zip", "text.txt");
}
void BM_PlainText64K(benchmark::State& state) {
    ReadMember(state, "plain.zip", "text.txt");
}
void BM_PlainRandom64K(benchmark::State& state) {
    ReadMember(state, "plain.zip", "random.bin");
}
// The last of 500 members, named in other capitals: the case-blind lookup walks them all,
// and opening the archive reads all 500 directory entries.
void BM_EncryptedText64KAmong500(benchmark::State& state) {
    ReadMember(state, "many.zip", "MANY/TEXTURE499.PNG");
}

BENCHMARK(BM_EncryptedText64K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncryptedRandom64K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncryptedStoredText64K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainText64K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainRandom64K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncryptedText64KAmong500)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    if (gFolderMade) std::filesystem::remove_all(Folder(), ignored);
    return 0;
}
