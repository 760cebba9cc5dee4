#include "platform/FSLibrary.h"

#include <dlfcn.h>

CFSLibrary::~CFSLibrary() {
    Close();
}

namespace {

// The game names its libraries as the device did ("xvid_ppc.dll"); here they are shared
// objects of the same name ("xvid_ppc.so").
std::string SharedObjectPath(const std::string& path) {
    const size_t dot = path.size() >= 4 ? path.size() - 4 : std::string::npos;
    if (dot == std::string::npos || path[dot] != '.') return path;
    std::string suffix = path.substr(dot + 1);
    for (char& c : suffix)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return suffix == "dll" ? path.substr(0, dot) + ".so" : path;
}

}  // namespace

std::string CFSLibrary::FileName(const std::string& path) {
    return SharedObjectPath(path);
}

bool CFSLibrary::Open(const std::string& path) {
    Close();
    const std::string file = FileName(path);
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error_ = why ? why : "cannot load " + file;
        return false;
    }
    error_.clear();
    return true;
}

void CFSLibrary::Close() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

void* CFSLibrary::Symbol(const char* name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}
