#include "resources/FSArchive.h"

#include <sys/stat.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/FSPaths.h"
#include "resources/FSDataPassword.h"

namespace {

// Member names of 256 characters or more are not part of any archive the game reads.
constexpr size_t kLongestMemberName = 255;
// No member of the game comes near this (the largest are video clips of a few MiB). A
// hostile directory entry may claim any size; we refuse rather than try to allocate it.
constexpr zip_uint64_t kLargestMember = zip_uint64_t{256} << 20;

struct ArchiveCloser {
    void operator()(zip_t* archive) const {
        // zip_close leaves the handle open when it fails; it must still be released.
        if (zip_close(archive) != 0) zip_discard(archive);
    }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveCloser>;

struct MemberCloser {
    void operator()(zip_file_t* member) const { zip_fclose(member); }
};
using MemberHandle = std::unique_ptr<zip_file_t, MemberCloser>;

// Overwrites a secret in a way the optimiser may not drop.
void Wipe(char* bytes, size_t count) {
    volatile char* p = bytes;
    for (size_t i = 0; i < count; ++i)
        p[i] = 0;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNameIgnoringAsciiCase(const char* stored, const std::string& wanted) {
    if (!stored) return false;
    size_t i = 0;
    for (; i < wanted.size(); ++i) {
        if (stored[i] == '\0' || FoldAscii(stored[i]) != FoldAscii(wanted[i])) return false;
    }
    return stored[i] == '\0';
}

// Index of the member, or -1. A member of exactly that name wins, so that two members whose
// names differ only in case each stay reachable; otherwise any member whose name matches
// ignoring the case of a-z. zip_name_locate's case-insensitive search compares with
// strcasecmp, which follows the process locale (a library may switch it, even for a moment
// while the loading thread reads); the game's rule is ASCII a-z only, so a doubtful answer is
// settled by a scan.
zip_int64_t LocateMember(zip_t* archive, const std::string& name) {
    const zip_int64_t exact = zip_name_locate(archive, name.c_str(), ZIP_FL_ENC_RAW);
    if (exact >= 0) return exact;
    const zip_int64_t found = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_RAW);
    if (found >= 0 && SameNameIgnoringAsciiCase(
                          zip_get_name(archive, static_cast<zip_uint64_t>(found), ZIP_FL_ENC_RAW), name)) {
        return found;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (SameNameIgnoringAsciiCase(zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW),
                                      name)) {
            return i;
        }
    }
    return -1;
}

// An archive opened on one member, its uncompressed size known; nothing read yet.
struct FoundMember {
    ArchiveHandle archive;
    zip_uint64_t index = 0;
    size_t size = 0;
};

bool FindMember(const std::string& archivePath, const std::string& memberName, FoundMember& out) {
    if (memberName.size() > kLongestMemberName || memberName.find('\0') != std::string::npos) return false;
    int error = 0;
    ArchiveHandle archive(zip_open(archivePath.c_str(), ZIP_RDONLY, &error));
    if (!archive) return false;
    const zip_int64_t index = LocateMember(archive.get(), memberName);
    if (index < 0) return false;
    zip_stat_t info;
    zip_stat_init(&info);
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &info) != 0) return false;
    if (!(info.valid & ZIP_STAT_SIZE) || info.size > kLargestMember) return false;
    // The game's members are plain or under the traditional zip encryption. Others are refused
    // before they are opened: libzip (1.7) loses the memory of a member it fails to open for an
    // encryption method it does not support, and a damaged entry may claim any method.
    const bool readable = !(info.valid & ZIP_STAT_ENCRYPTION_METHOD) ||
                          info.encryption_method == ZIP_EM_NONE ||
                          info.encryption_method == ZIP_EM_TRAD_PKWARE;
    if (!readable) return false;
    out.archive = std::move(archive);
    out.index = static_cast<zip_uint64_t>(index);
    out.size = static_cast<size_t>(info.size);
    return true;
}

// Reads the whole member into destination (found.size bytes) and closes member and
// archive. True only when exactly that many bytes came out and the CRC matched.
bool ReadWholeMember(FoundMember& found, uint8_t* destination) {
    MemberHandle member;
    {
        char password[32] = {};
        UnscrambleDataPassword(password);
        // Members that are not encrypted ignore the password.
        member.reset(zip_fopen_index_encrypted(found.archive.get(), found.index, 0, password));
        Wipe(password, sizeof(password));
    }
    if (!member) return false;
    size_t got = 0;
    while (got < found.size) {
        const zip_int64_t n = zip_fread(member.get(), destination + got, found.size - got);
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    // libzip compares the CRC and the length only when a read meets the end of the
    // member, so ask for one byte more: a sound member gives none.
    uint8_t beyond = 0;
    if (zip_fread(member.get(), &beyond, 1) != 0) return false;
    if (zip_fclose(member.release()) != 0) return false;
    zip_t* archive = found.archive.release();
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return false;
    }
    return true;
}

// A block of count bytes, or null when memory is short.
std::unique_ptr<uint8_t[]> Allocate(size_t count) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[count]);
}

}  // namespace

std::string MakeDataPath(const std::string& relative) {
    return platform::DataPath(relative);
}

FSMemoryBlock ReadFileToBuffer(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return {};
    // Only regular files: a folder or a device has no size worth trusting.
    struct stat info;
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return {};
    const size_t size = static_cast<size_t>(info.st_size);
    FSMemoryBlock block;
    block.data = Allocate(size + 1);
    if (!block.data) return {};
    if (size > 0 && std::fread(block.data.get(), 1, size, file.get()) != size) return {};
    block.data[size] = 0;
    block.size = size;
    return block;
}

bool WriteBufferToFile(const std::string& path, const void* bytes, size_t count) {
    if (!bytes && count > 0) {
        errno = EINVAL;
        return false;
    }
    return platform::WriteFileAtomically(path, bytes, count);
}

FSMemoryBlock ReadArchiveMember(const std::string& archivePath, const std::string& memberName) {
    FoundMember found;
    if (!FindMember(archivePath, memberName, found) || found.size == 0) return {};
    FSMemoryBlock block;
    block.data = Allocate(found.size);
    if (!block.data || !ReadWholeMember(found, block.data.get())) return {};
    block.size = found.size;
    return block;
}

bool ReadArchiveMemberInto(uint8_t* block, size_t capacity, const std::string& archivePath,
                           const std::string& memberName, size_t& size) {
    FoundMember found;
    if (!FindMember(archivePath, memberName, found)) return false;
    size = found.size;
    if (found.size > capacity || (!block && found.size > 0)) return false;
    if (found.size == 0) {
        uint8_t none = 0;
        return ReadWholeMember(found, &none);
    }
    // A member is known to be sound only after its last byte (CRC and length), so it is read
    // aside first: on failure the caller's block keeps what it had.
    std::unique_ptr<uint8_t[]> scratch = Allocate(found.size);
    if (!scratch || !ReadWholeMember(found, scratch.get())) return false;
    std::memcpy(block, scratch.get(), found.size);
    return true;
}

FSMemoryBlock ReadArchiveText(const std::string& archivePath, const std::string& memberName) {
    FoundMember found;
    if (!FindMember(archivePath, memberName, found)) return {};
    FSMemoryBlock block;
    block.data = Allocate(found.size + 1);
    if (!block.data || !ReadWholeMember(found, block.data.get())) return {};
    block.data[found.size] = 0;
    block.size = found.size;
    return block;
}
