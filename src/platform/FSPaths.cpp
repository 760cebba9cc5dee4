#include "platform/FSPaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

// Where an installation puts the data and the library, relative to the program's folder;
// the build sets them from its install folders.
#ifndef AEROVANT_DATA_FROM_PROGRAM
#define AEROVANT_DATA_FROM_PROGRAM "../share/aerovant"
#endif
#ifndef AEROVANT_LIBRARY_FROM_PROGRAM
#define AEROVANT_LIBRARY_FROM_PROGRAM "../lib/aerovant"
#endif

namespace platform {
namespace {

std::mutex gLock;
std::string gPlayerFolder;

// Writes every byte, through short writes and interruptions; false with errno set.
bool WriteAll(int file, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t n = write(file, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return false;
    // Some file systems cannot sync a folder at all (EINVAL): their renames are as durable
    // as they get.
    const bool synced = fsync(handle) == 0 || errno == EINVAL;
    const int error = errno;
    close(handle);
    errno = error;
    return synced;
}

// folder + relative, without "." and ".." steps, ending in '/'. The executable's folder is
// already free of links (/proc/self/exe), so ".." steps back along the real path.
std::string FolderBeside(const std::string& folder, const std::string& relative) {
    std::filesystem::path path = std::filesystem::path(folder) / relative;
    std::string normal = path.lexically_normal().string();
    if (normal.empty() || normal.back() != '/') normal += '/';
    return normal;
}

std::vector<std::string> Candidates(const std::string& exeFolder, const std::string& installed) {
    std::vector<std::string> folders{exeFolder};
    const std::string other = FolderBeside(exeFolder, installed);
    if (other != exeFolder) folders.push_back(other);
    return folders;
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const std::string& exeFolder) {
    return Candidates(exeFolder, AEROVANT_DATA_FROM_PROGRAM);
}

std::vector<std::string> LibraryFolderCandidates(const std::string& exeFolder) {
    return Candidates(exeFolder, AEROVANT_LIBRARY_FROM_PROGRAM);
}

std::string FirstFolderHolding(const std::vector<std::string>& folders, const std::string& entry) {
    for (const std::string& folder : folders) {
        std::error_code error;
        if (std::filesystem::exists(folder + entry, error)) return folder;
    }
    return folders.empty() ? std::string() : folders.front();
}

std::string DataFolder() {
    static const std::string folder = FirstFolderHolding(DataFolderCandidates(ExecutableFolder()), "data");
    return folder;
}

std::string LibraryPath(const std::string& file) {
    return FirstFolderHolding(LibraryFolderCandidates(ExecutableFolder()), file) + file;
}

std::string ExecutableFolder() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return "./";
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(n));
            size_t slash = path.rfind('/');
            return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string DataPath(const std::string& relative) {
    std::string path = DataFolder();
    path.reserve(path.size() + relative.size());
    for (char c : relative)
        path += (c == '\\') ? '/' : c;
    return path;
}

std::string PlayerFolder() {
    std::lock_guard<std::mutex> hold(gLock);
    if (!gPlayerFolder.empty()) return gPlayerFolder;
    const std::string beside = ExecutableFolder();
    if (DataFolder() == beside && access(beside.c_str(), W_OK) == 0) {
        gPlayerFolder = beside;
        return gPlayerFolder;
    }
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else {
        base = "/tmp";
    }
    std::string folder = base + "/aerovant/";
    MakeFolders(folder);
    gPlayerFolder = folder;
    return gPlayerFolder;
}

bool MakeFolders(const std::string& folder) {
    // mkdir -p: every prefix ending at a '/'.
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            std::string prefix = folder.substr(0, i);
            if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return true;
}

void SetPlayerFolder(const std::string& folder) {
    std::lock_guard<std::mutex> hold(gLock);
    gPlayerFolder = folder;
    if (!gPlayerFolder.empty() && gPlayerFolder.back() != '/') gPlayerFolder += '/';
    if (!gPlayerFolder.empty()) MakeFolders(gPlayerFolder);
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size) {
    // One temporary name per file, so a temporary that a killed writer left behind is taken
    // over and renamed away by the next save instead of piling up. It is made afresh
    // (O_EXCL, after removing the leftover) so that no link placed at that name is followed.
    const std::string temporary = path + ".tmp";
    if (unlink(temporary.c_str()) != 0 && errno != ENOENT) return false;
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) return false;
    bool ok = WriteAll(file, static_cast<const char*>(data), size) && fsync(file) == 0;
    int error = errno;
    if (close(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    // The rename makes the new contents the file's in one step; syncing the folder makes
    // the rename itself survive a power cut.
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) {
        // Past the rename the old file is gone and every reader sees the new one, so the
        // save counts as made even when the folder will not sync.
        if (!SyncFolder(FolderOf(path)))
            std::fprintf(stderr, "Aerovant: %s is saved, but its folder could not be synced (%s)\n",
                         path.c_str(), std::strerror(errno));
        return true;
    }
    if (ok) error = errno;
    unlink(temporary.c_str());
    errno = error;
    return false;
}

}  // namespace platform
