#pragma once
// Helpers for the data build's tests: reading archives straight through libzip (not through
// the game's own reader, so the archives are checked against an independent one), files,
// running programs, and the models and pictures of the built archives as the game loads them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zip.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "databuild/MeshBuilder.h"
#include "resources/FSArchive.h"
#include "resources/FSDataPassword.h"
#include "resources/FSMeshLoader.h"
#include "resources/FSPng.h"

namespace archive_test {

inline std::string DataPassword() {
    char password[kDataPasswordLength + 1];
    UnscrambleDataPassword(password);
    return password;
}

// The nine archives of the "data" folder.
inline const std::vector<std::string>& ArchiveNames() {
    static const std::vector<std::string> names = {"textures.zip", "models.zip",   "aircrafts.zip",
                                                   "routes.zip",   "terrains.zip", "huds.zip",
                                                   "fonts.zip",    "menu.zip",     "help.zip"};
    return names;
}

struct MemberRead {
    bool opened = false;    // the member was found and its password accepted
    bool complete = false;  // read to the end, inflated and CRC-checked without an error
    std::vector<uint8_t> data;
};

// Reads one member with libzip; password null opens without one.
inline MemberRead ReadMember(const std::string& archive, const std::string& name, const char* password) {
    MemberRead result;
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
    if (!zip) return result;
    zip_file_t* file =
        password ? zip_fopen_encrypted(zip, name.c_str(), 0, password) : zip_fopen(zip, name.c_str(), 0);
    if (file) {
        result.opened = true;
        bool readOk = true;
        uint8_t buffer[8192];
        for (;;) {
            const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
            if (got < 0) {
                readOk = false;
                break;
            }
            if (got == 0) break;
            result.data.insert(result.data.end(), buffer, buffer + got);
        }
        // zip_fclose reports a CRC mismatch.
        result.complete = zip_fclose(file) == 0 && readOk;
    }
    zip_discard(zip);
    return result;
}

// The stored data of a member, read with the game's password; empty when unreadable.
inline std::vector<uint8_t> MemberBytes(const std::string& archive, const std::string& name) {
    MemberRead read = ReadMember(archive, name, DataPassword().c_str());
    return read.complete ? read.data : std::vector<uint8_t>{};
}

inline std::string MemberText(const std::string& archive, const std::string& name) {
    const std::vector<uint8_t> bytes = MemberBytes(archive, name);
    return std::string(bytes.begin(), bytes.end());
}

// Member names in the archive's order; empty when it cannot be opened.
inline std::vector<std::string> MemberNames(const std::string& archive) {
    std::vector<std::string> names;
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip) return names;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        names.push_back(zip_get_name(zip, static_cast<zip_uint64_t>(i), 0));
    zip_discard(zip);
    return names;
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Exit status of a shell command (-1 when it did not exit normally).
inline int RunCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + name + " >/dev/null 2>&1") == 0;
}

// Runs the data build into dataFolder; its exit status. Its complaints go to errors.
inline int RunDataBuild(const std::string& assets, const std::string& dataFolder,
                        const std::string& errors = "/dev/null",
                        const std::string& boldFont = AEROVANT_BOLD_FONT) {
    return RunCommand(Quote(AEROVANT_DATABUILD_TOOL) + " " + Quote(assets) + " " + Quote(dataFolder) + " " +
                      Quote(boldFont) + " " + Quote(AEROVANT_REGULAR_FONT) + " 2>" + Quote(errors));
}

// Removes a test's temporary folder when the test ends.
struct TemporaryFolder {
    explicit TemporaryFolder(std::string folder) : path(std::move(folder)) {}
    ~TemporaryFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
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
        const Vec3 a = MeshPoint(mesh.positions, 3 * t), b = MeshPoint(mesh.positions, 3 * t + 1),
                   c = MeshPoint(mesh.positions, 3 * t + 2);
        volume += meshes::Dot(a, meshes::Cross(b, c)) / 6.0;
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

}  // namespace archive_test
