#pragma once
// Helpers for the data build's tests: archives listed and opened with any password through
// libzip, members read through the game's own reader, programs run in a shell, and the
// models and pictures of the archives as the game's loaders give them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zip.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "databuild/MeshBuilder.h"
#include "resources/FSArchive.h"
#include "resources/FSMeshLoader.h"
#include "resources/FSPng.h"
#include "support/ImageTestFiles.h"

namespace archive_test {

// Whether libzip reads the whole member, inflated and CRC-checked, under password (null
// opens without one).
inline bool ReadsWith(const std::string& archive, const std::string& name, const char* password) {
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
    if (!zip) return false;
    zip_file_t* file =
        password ? zip_fopen_encrypted(zip, name.c_str(), 0, password) : zip_fopen(zip, name.c_str(), 0);
    zip_stat_t stat;
    bool complete = false;
    if (file && zip_stat(zip, name.c_str(), 0, &stat) == 0) {
        std::vector<uint8_t> data(stat.size);
        complete = zip_fread(file, data.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
    }
    if (file) complete = zip_fclose(file) == 0 && complete;  // zip_fclose reports a CRC mismatch
    zip_discard(zip);
    return complete;
}

// Member names in the archive's order; empty when it cannot be opened.
inline std::vector<std::string> MemberNames(const std::string& archive) {
    std::vector<std::string> names;
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip) return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
        names.push_back(zip_get_name(zip, static_cast<zip_uint64_t>(i), 0));
    zip_discard(zip);
    return names;
}

// A member as the game's text reader gives it; empty when unreadable.
inline std::string MemberText(const std::string& archive, const std::string& name) {
    const FSMemoryBlock block = ReadArchiveText(archive, name);
    return block ? std::string(block.Text(), block.size) : std::string();
}

// Files read whole and arguments quoted for the shell as in the loaders' tests.
using image_test_files::ReadBytes;
using image_test_files::ShellQuote;

// Exit status of a shell command (-1 when it did not exit normally).
inline int RunCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Removes a test's temporary folder when the test ends.
struct TemporaryFolder {
    explicit TemporaryFolder(std::string folder) : path(std::move(folder)) {}
    ~TemporaryFolder() { image_test_files::RemoveTempFolder(path); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    std::string path;  // ends with '/'
};

// ---- Models and pictures as the game's loaders give them.

using meshes::Vec3;

// Corner i of a 16.16 list of a mesh, in model units.
inline Vec3 MeshPoint(const std::vector<int32_t>& list, int i) {
    return {list[3 * i] / 65536.0, list[3 * i + 1] / 65536.0, list[3 * i + 2] / 65536.0};
}

// Triangle t's winding (p1 - p0) x (p2 - p0): twice its area, towards the side it faces.
inline Vec3 Winding(const FSMesh& mesh, int t) {
    const Vec3 a = MeshPoint(mesh.positions, 3 * t);
    return meshes::Cross(MeshPoint(mesh.positions, 3 * t + 1) - a, MeshPoint(mesh.positions, 3 * t + 2) - a);
}

// Volume enclosed by the triangles (divergence theorem); negative when they face inwards.
inline double SignedVolume(const FSMesh& mesh) {
    double volume = 0;
    for (int t = 0; t < mesh.triangleCount; ++t) {
        const Vec3 a = MeshPoint(mesh.positions, 3 * t);
        volume += meshes::Dot(a, Winding(mesh, t)) / 6.0;
    }
    return volume;
}

// Corners whose normal does not lean at least `least` (a cosine) towards the side their
// triangle's counter-clockwise winding faces.
inline int BackwardNormals(const FSMesh& mesh, double least = 0.0) {
    int backward = 0;
    for (int t = 0; t < mesh.triangleCount; ++t) {
        const Vec3 facing = meshes::Normalised(Winding(mesh, t));
        for (int k = 0; k < 3; ++k)
            backward += meshes::Dot(facing, MeshPoint(mesh.normals, 3 * t + k)) <= least;
    }
    return backward;
}

// Edges a->b not matched by as many edges b->a: holes, seams of unshared corners, or
// neighbouring faces wound opposite ways. 0 for a closed, consistently wound surface.
inline int OpenEdges(const FSMesh& mesh) {
    using Key = std::tuple<int32_t, int32_t, int32_t>;
    const auto key = [&mesh](int i) {
        return Key{mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]};
    };
    std::map<std::pair<Key, Key>, int> edges;
    for (int t = 0; t < mesh.triangleCount; ++t) {
        for (int k = 0; k < 3; ++k)
            ++edges[{key(3 * t + k), key(3 * t + (k + 1) % 3)}];
    }
    int open = 0;
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        open += back == edges.end() || back->second != count;
    }
    return open;
}

// OBJ text through the game's parser.
inline FSMesh ParseObjText(std::string text) {
    FSMesh mesh;
    EXPECT_TRUE(CFSMeshLoader::ParseObj(text.data(), text.size(), mesh));
    return mesh;
}

inline bool PowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

// A picture of an archive as DecodePng gives it (bottom row first).
inline FSPngImage LoadPng(const std::string& archive, const std::string& member) {
    FSPngImage image;
    EXPECT_TRUE(ReadPng(archive, member, image)) << member;
    return image;
}

// The texel at column x and row y counted from the bottom (texture v).
inline const uint8_t* Texel(const FSPngImage& image, int x, int y) {
    return &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
}
inline int Alpha(const FSPngImage& image, int x, int y) {
    return image.channels == 4 ? Texel(image, x, y)[3] : 255;
}
inline double Luma(const uint8_t* texel) {
    return 0.3 * texel[0] + 0.59 * texel[1] + 0.11 * texel[2];
}

// How much neighbouring texels differ across the boundary after column (or row) k, the
// last wrapping round to the first: channel differences summed, averaged along it.
inline double Step(const FSPngImage& image, bool columns, int k) {
    const int across = columns ? image.height : image.width;
    const int next = (k + 1) % (columns ? image.width : image.height);
    double sum = 0;
    for (int m = 0; m < across * image.channels; ++m) {
        const int c = m % image.channels, n = m / image.channels;
        sum += std::abs((columns ? Texel(image, k, n) : Texel(image, n, k))[c] -
                        (columns ? Texel(image, next, n) : Texel(image, n, next))[c]);
    }
    return sum / across;
}

}  // namespace archive_test
