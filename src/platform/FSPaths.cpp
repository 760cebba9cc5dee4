#include "platform/FSPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex gLock;
std::string gPlayerFolder;

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

}  // namespace

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
    std::string path = ExecutableFolder();
    path.reserve(path.size() + relative.size());
    for (char c : relative)
        path += (c == '\\') ? '/' : c;
    return path;
}

std::string PlayerFolder() {
    std::lock_guard<std::mutex> hold(gLock);
    if (!gPlayerFolder.empty()) return gPlayerFolder;
    std::string beside = ExecutableFolder();
    if (access(beside.c_str(), W_OK) == 0) {
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

void SetPlayerFolder(const std::string& folder) {
    std::lock_guard<std::mutex> hold(gLock);
    gPlayerFolder = folder;
    if (!gPlayerFolder.empty() && gPlayerFolder.back() != '/') gPlayerFolder += '/';
    if (!gPlayerFolder.empty()) MakeFolders(gPlayerFolder);
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size) {
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
