#pragma once
// WAV files: the RIFF walk that finds a sound's "fmt " record and its "data" block.
// Chunks of any other kind ("LIST", "fact", ...) are skipped, each with the pad byte that
// follows a chunk of odd size. A file that lies about its sizes, lacks either chunk or is
// absurdly large is refused; nothing is ever read outside the file's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FSAudioOutput.h"

// Why a file was refused (None: it was read).
enum class FSWaveError { None, CannotOpen, TooLarge, NotWave, Truncated, NoFormat, NoData };

struct FSWaveSound {
    platform::FSWaveFormat format;  // fields a short "fmt " record lacks stay 0
    std::vector<uint8_t> data;
};

// Files larger than this are not sounds for this game.
constexpr size_t kMaxWaveFileBytes = size_t{64} << 20;

// Walks the bytes of a whole WAV file.
FSWaveError ReadWave(const uint8_t* bytes, size_t size, FSWaveSound& sound);
// Reads the file at path (already made absolute, e.g. by MakeDataPath) and walks it.
FSWaveError ReadWaveFile(const std::string& path, FSWaveSound& sound);
