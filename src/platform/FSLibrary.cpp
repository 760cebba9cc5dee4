#include "platform/FSLibrary.h"

#include <dlfcn.h>

CFSLibrary::~CFSLibrary() {
    Close();
}

bool CFSLibrary::Open(const std::string& path) {
    Close();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error_ = why ? why : "cannot load " + path;
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
