#pragma once
// File access for every loader: data paths beside the executable, whole plain files, and
// whole members of the game's password-protected zip archives. Nothing is streamed: each
// read gives the caller one owned block. Archives are opened per read, so the loading
// thread and the main thread may read at the same time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A whole file or archive member in memory, owned by whoever holds it. A text block has
// one more byte than its size, a 0, so it can be read as a C string.
struct FSMemoryBlock {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;  // without the terminator of a text block

    explicit operator bool() const { return data != nullptr; }
    const char* Text() const { return reinterpret_cast<const char*>(data.get()); }
};

// The executable's folder followed by the relative path ("data\menu.zip" works: the
// backslashes become '/'). Any length.
std::string MakeDataPath(const std::string& relative);

// The nine archives of the data folder ("data/textures.zip" …), every one of which the
// game needs.
inline constexpr const char* kGameArchives[] = {"aircrafts.zip", "fonts.zip",    "help.zip",
                                                "huds.zip",      "menu.zip",     "models.zip",
                                                "routes.zip",    "terrains.zip", "textures.zip"};

// A whole plain file as a text block; empty when it cannot be opened or read.
FSMemoryBlock ReadFileToBuffer(const std::string& path);

// Writes count bytes to the file, replacing it (through a temporary file renamed over it,
// so a crash never leaves half a file). False when it could not be written.
bool WriteBufferToFile(const std::string& path, const void* bytes, size_t count);

// A whole member of an archive as a raw block (exactly its size). Empty on any failure:
// missing archive or member, wrong password, an encryption other than the traditional zip
// one, corrupt data, a CRC mismatch, a member of length 0. Member names match
// case-insensitively for a-z, but a member of exactly the name asked for wins over one that
// differs only in case.
FSMemoryBlock ReadArchiveMember(const std::string& archivePath, const std::string& memberName);

// Reads a member into a block the caller owns. False, with the block unchanged, when the
// member cannot be read, fails its CRC or is larger than capacity; size gets the member's
// size whenever the member was found.
bool ReadArchiveMemberInto(uint8_t* block, size_t capacity, const std::string& archivePath,
                           const std::string& memberName, size_t& size);

// A whole member as a text block (0 after the last byte). Empty on any failure,
// including a CRC mismatch; a member of length 0 gives an empty text "".
FSMemoryBlock ReadArchiveText(const std::string& archivePath, const std::string& memberName);
