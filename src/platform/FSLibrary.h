#pragma once
// A shared library loaded at run time (the video decoder beside the executable).
#include <string>

class CFSLibrary {
public:
    CFSLibrary() = default;
    ~CFSLibrary();
    CFSLibrary(const CFSLibrary&) = delete;
    CFSLibrary& operator=(const CFSLibrary&) = delete;

    // Loads the library at path; false (and error set) when it cannot be loaded. A name
    // ending in ".dll" (any case) is loaded as the ".so" of the same name.
    bool Open(const std::string& path);
    void Close();
    // Address of an exported symbol, or null.
    void* Symbol(const char* name) const;
    const std::string& Error() const { return error_; }

    // The file Open loads for path: "xvid_ppc.dll" is "xvid_ppc.so".
    static std::string FileName(const std::string& path);

private:
    void* handle_ = nullptr;
    std::string error_;
};
