// Runs kept fuzz inputs through their loaders with no fuzzing engine: ctest replays every
// corpus and every input that ever crashed this way.
//   aerovant-fuzz-replay <target> <file or folder>...
// It also makes seeds the fuzzing starts from (tools/fuzz/seeds.sh):
//   aerovant-fuzz-replay --extract <archive> <member> <file>   a member of the game's data
//   aerovant-fuzz-replay --terrain <file> <grid>               a small sloping terrain
//   aerovant-fuzz-replay --password                            the data archives' password
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "resources/FSArchive.h"
#include "support/AircraftTestData.h"
#include "support/ImageTestFiles.h"

#define AEROVANT_DECLARE_TARGET(name) extern "C" int FuzzOne_##name(const uint8_t* data, size_t size);
AEROVANT_FUZZ_TARGETS(AEROVANT_DECLARE_TARGET)

namespace {

struct Target {
    const char* name;
    int (*run)(const uint8_t*, size_t);
};

#define AEROVANT_TARGET_ENTRY(name) {#name, FuzzOne_##name},
const Target kTargets[] = {AEROVANT_FUZZ_TARGETS(AEROVANT_TARGET_ENTRY)};

bool Replay(const Target& target, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A copy of exactly the input's size, so that a read past its end is a read past a block.
    std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
    target.run(exact.get(), bytes.size());
    return true;
}

}  // namespace

bool WriteSeed(const char* path, const uint8_t* bytes, size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

int MakeSeed(int argc, char** argv) {
    if (std::strcmp(argv[1], "--extract") == 0 && argc == 5) {
        const FSMemoryBlock member = ReadArchiveMember(argv[2], argv[3]);
        return member && WriteSeed(argv[4], member.data.get(), member.size) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--terrain") == 0 && argc == 4) {
        const std::vector<uint8_t> bytes = aircraft_test::FlatTerrainFile(5.5f, std::atoi(argv[3]), 0.01f);
        return WriteSeed(argv[2], bytes.data(), bytes.size()) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--password") == 0) {
        std::printf("%s\n", image_test_files::DataPassword().c_str());
        return 0;
    }
    std::fprintf(stderr,
                 "usage: %s --password | --extract <archive> <member> <file> | --terrain <file> <grid>\n",
                 argv[0]);
    return 2;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) return MakeSeed(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <target> <file or folder>...\n", argv[0]);
        return 2;
    }
    const Target* target = nullptr;
    for (const Target& t : kTargets)
        if (std::strcmp(t.name, argv[1]) == 0) target = &t;
    if (!target) {
        std::fprintf(stderr, "no fuzz target %s\n", argv[1]);
        return 2;
    }
    size_t replayed = 0;
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path place(argv[i]);
        if (!std::filesystem::is_directory(place)) {
            if (std::filesystem::exists(place)) ok = Replay(*target, place) && ok, ++replayed;
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(place))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files)
            ok = Replay(*target, file) && ok, ++replayed;
    }
    std::printf("%s: %zu inputs replayed\n", target->name, replayed);
    return ok && replayed > 0 ? 0 : 1;
}
