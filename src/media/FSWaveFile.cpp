#include "media/FSWaveFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

uint32_t Read32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// The 18-byte format record, from the first min(size, 18) bytes of the chunk (the rest 0).
platform::FSWaveFormat FormatRecord(const uint8_t* chunk, size_t size) {
    uint8_t record[18] = {};
    std::memcpy(record, chunk, size < sizeof record ? size : sizeof record);
    platform::FSWaveFormat format;
    format.formatTag = Read16(record);
    format.channels = Read16(record + 2);
    format.samplesPerSecond = Read32(record + 4);
    format.averageBytesPerSecond = Read32(record + 8);
    format.blockAlign = Read16(record + 12);
    format.bitsPerSample = Read16(record + 14);
    format.extraSize = Read16(record + 16);
    return format;
}

}  // namespace

FSWaveError ReadWave(const uint8_t* bytes, size_t size, FSWaveSound& sound) {
    sound = FSWaveSound{};
    if (!bytes || size < 12) return FSWaveError::NotWave;
    if (size > kMaxWaveFileBytes) return FSWaveError::TooLarge;
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return FSWaveError::NotWave;
    bool haveFormat = false, haveData = false;
    size_t at = 12;
    // A chunk is an identifier and a size; a lone identifier at the very end ends the walk.
    while (size - at >= 8) {
        const uint8_t* id = bytes + at;
        const size_t chunkSize = Read32(bytes + at + 4);
        at += 8;
        const size_t left = size - at;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            const size_t wanted = chunkSize < 18 ? chunkSize : 18;
            if (wanted > left) return FSWaveError::Truncated;
            sound.format = FormatRecord(bytes + at, wanted);
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (chunkSize > left) return FSWaveError::Truncated;
            sound.data.assign(bytes + at, bytes + at + chunkSize);
            haveData = true;
        }
        // Past the chunk and the pad byte of an odd size; a skipped chunk that runs past
        // the end simply ends the walk.
        const size_t step = chunkSize + (chunkSize & 1);
        if (step >= left) break;
        at += step;
    }
    if (!haveData) {
        sound = FSWaveSound{};
        return FSWaveError::NoData;
    }
    if (!haveFormat) {
        sound = FSWaveSound{};
        return FSWaveError::NoFormat;
    }
    return FSWaveError::None;
}

FSWaveError ReadWaveFile(const std::string& path, FSWaveSound& sound) {
    sound = FSWaveSound{};
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return FSWaveError::CannotOpen;
    struct stat info;
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return FSWaveError::CannotOpen;
    if (static_cast<unsigned long long>(info.st_size) > kMaxWaveFileBytes) return FSWaveError::TooLarge;
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return FSWaveError::Truncated;
    return ReadWave(bytes.data(), bytes.size(), sound);
}
