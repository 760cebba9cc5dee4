// Hand-made sources: every file under assets/<archive stem>/ goes into that archive as is.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

namespace fs = std::filesystem;

namespace {

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool Hidden(const fs::path& relative) {
    for (const fs::path& part : relative) {
        if (!part.empty() && part.string().front() == '.') return true;
    }
    return false;
}

}  // namespace

bool AddAssetFiles(ArchiveBuilder& archive, const DataSources& sources) {
    const fs::path folder = fs::path(sources.assets) / archive.Stem();
    std::error_code error;
    if (!fs::is_directory(folder, error)) return true;  // nothing hand-made for this archive

    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error)) files.push_back(it->path());
    }
    if (error) {
        std::fprintf(stderr, "aerovant-databuild: cannot list %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return false;
    }

    bool ok = true;
    for (const fs::path& file : files) {
        const fs::path relative = file.lexically_relative(folder);
        if (Hidden(relative)) continue;
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(file, bytes)) {
            std::fprintf(stderr, "aerovant-databuild: cannot read %s\n", file.c_str());
            ok = false;
            continue;
        }
        // generic_string gives '/' separators whatever the host.
        ok = archive.Add(relative.generic_string(), std::move(bytes)) && ok;
    }
    return ok;
}
