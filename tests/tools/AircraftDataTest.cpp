// The five flyable aircraft in the built archives: their models as the game's mesh loader
// gives them (16.16 fixed point, metres at the real size) with their texture atlases, and
// their description files as the game's word-style reader cuts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "resources/FSKeywordReader.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const std::string kModels = MakeDataPath("data\\models.zip");
const std::string kTextures = MakeDataPath("data\\textures.zip");
const std::string kAircrafts = MakeDataPath("data\\aircrafts.zip");

// The real aircraft: file number, model and texture members, span, length and height (m).
struct RealAircraft {
    int file;
    std::string model, texture;
    double span, length, height;
};

const RealAircraft kFleet[] = {
    {1, "aircraft/c172r.obj", "aircraft/c172r.png", 11.00, 8.28, 2.72},
    {2, "aircraft/su29.obj", "aircraft/su29.png", 8.20, 7.29, 2.74},
    {3, "aircraft/l29.obj", "aircraft/l29.png", 10.29, 10.81, 3.13},
    {4, "aircraft/l13.obj", "aircraft/l13.png", 16.20, 8.40, 2.08},
    {5, "aircraft/fokker.obj", "aircraft/fokker.png", 7.19, 5.77, 2.95},
};

constexpr double kMetre = 65536.0;  // model units (16.16) per metre
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

FSMesh LoadModel(const std::string& name) {
    CFSMeshLoader loader(kModels);
    FSMesh mesh;
    EXPECT_TRUE(loader.LoadMesh(name, mesh)) << name;
    return mesh;
}

using Key = std::tuple<int32_t, int32_t, int32_t>;
Key KeyOf(const FSMesh& mesh, int i) {
    return {mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]};
}

// ---- The aircraft files, cut the way the game cuts them.

struct AircraftFile {
    std::map<std::string, std::vector<std::string>> keys;  // keyword -> its words
    std::vector<std::string> unknown;                      // keywords that mean nothing
    std::string description;
    int repeated = 0;  // keywords given twice

    float Value(const std::string& key, size_t i) const {
        auto it = keys.find(key);
        return it == keys.end() || i >= it->second.size() ? 0.0f : ToFloat(it->second[i]);
    }
    bool Has(const std::string& key) const { return keys.count(key) != 0; }
};

const char* const kSurfaces[] = {
    "FuselageNose", "FuselageTail",         "LeftWing", "RightWing",          "LeftAileron",
    "RightAileron", "HorizontalStabilizer", "Elevator", "VerticalStabilizer", "Rudder"};

AircraftFile ReadAircraftFile(int number) {
    const std::string text = MemberText(kAircrafts, "Aircraft" + std::to_string(number) + ".txt");
    EXPECT_FALSE(text.empty()) << number;
    std::set<std::string> known(std::begin(kSurfaces), std::end(kSurfaces));
    for (const char* key : {"CG", "Mass", "Inertia", "Pitch", "Roll", "Yaw", "Throttle", "Fuel", "Model",
                            "Distance", "Displace", "Rigidity", "Propeller", "Jet", "Difficulty"}) {
        known.insert(key);
    }
    AircraftFile file;
    ForEachWordLine(text, [&](std::string_view line) {
        FSWords words(line);
        const std::string_view first = words.Next();
        if (first.empty() || KindOfFirstWord(first) != FSWordLineKind::Keyword) return;
        const std::string key(first);
        if (!known.count(key)) {
            file.unknown.push_back(key);
            return;
        }
        file.repeated += file.keys.count(key) != 0;
        std::vector<std::string>& values = file.keys[key];
        values.clear();
        for (std::string_view word = words.Next(); !word.empty(); word = words.Next())
            values.emplace_back(word);
    });
    file.description = DescriptionOf(text);
    return file;
}

TEST(AircraftData, EveryModelHasTheRealAircraftsSizeWithTheNoseAtTheFront) {
    for (const RealAircraft& real : kFleet) {
        SCOPED_TRACE(real.model);
        const FSMesh mesh = LoadModel(real.model);
        ASSERT_FALSE(mesh.IsEmpty());
        EXPECT_GE(mesh.triangleCount, 150);
        EXPECT_LE(mesh.triangleCount, 600);
        const double span = (mesh.box[3] - mesh.box[0]) / kMetre,
                     length = (mesh.box[4] - mesh.box[1]) / kMetre,
                     height = (mesh.box[5] - mesh.box[2]) / kMetre;
        EXPECT_NEAR(span, real.span, real.span * 0.15);
        EXPECT_NEAR(length, real.length, real.length * 0.15);
        EXPECT_NEAR(height, real.height, real.height * 0.15);
        // Symmetric about x = 0, and the centre of gravity (the origin) inside the box.
        EXPECT_NEAR(mesh.box[0] / kMetre, -mesh.box[3] / kMetre, 0.01);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_LT(mesh.box[axis], 0);
            EXPECT_GT(mesh.box[axis + 3], 0);
        }
        // The nose tip (where the propeller hub or the nose cone is) is the front-most point,
        // on the centre line; the wheels are the lowest, not a wing tip or the tail.
        const double front = mesh.box[4] / kMetre, bottom = mesh.box[2] / kMetre;
        for (int i = 0; i < mesh.vertexCount; ++i) {
            const Vec3 p = MeshPoint(mesh.positions, i);
            if (p.y > front - 0.1) {
                EXPECT_LT(std::fabs(p.x), 0.3) << "at y " << p.y;
            }
            if (p.z < bottom + 0.05) {
                EXPECT_LT(std::fabs(p.x), span * 0.25) << "at z " << p.z;
            }
        }
        EXPECT_GT(front, length * 0.2);  // the centre of gravity lies ahead of mid-length
    }
}

TEST(AircraftData, EveryModelIsClosedAndFacesOutwards) {
    for (const RealAircraft& real : kFleet) {
        SCOPED_TRACE(real.model);
        const FSMesh mesh = LoadModel(real.model);
        ASSERT_FALSE(mesh.IsEmpty());
        // Every edge a->b of a triangle is matched by an edge b->a of another: no holes,
        // no seams of unshared corners, and neighbouring faces wind the same way round.
        std::map<std::pair<Key, Key>, int> edges;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            for (int k = 0; k < 3; ++k)
                ++edges[{KeyOf(mesh, 3 * t + k), KeyOf(mesh, 3 * t + (k + 1) % 3)}];
        }
        int open = 0;
        for (const auto& [edge, count] : edges) {
            auto back = edges.find({edge.second, edge.first});
            open += back == edges.end() || back->second != count;
        }
        EXPECT_EQ(open, 0);

        // Each connected part encloses a positive volume (outward winding), and every corner's
        // normal leans the way its triangle winds.
        std::map<Key, Key> parent;
        auto find = [&](Key k) {
            while (parent[k] != k)
                k = parent[k] = parent[parent[k]];
            return k;
        };
        for (int i = 0; i < mesh.vertexCount; ++i)
            parent.emplace(KeyOf(mesh, i), KeyOf(mesh, i));
        for (int t = 0; t < mesh.triangleCount; ++t) {
            for (int k = 1; k < 3; ++k)
                parent[find(KeyOf(mesh, 3 * t + k))] = find(KeyOf(mesh, 3 * t));
        }
        std::map<Key, double> volume;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            const Vec3 a = MeshPoint(mesh.positions, 3 * t), b = MeshPoint(mesh.positions, 3 * t + 1),
                       c = MeshPoint(mesh.positions, 3 * t + 2);
            volume[find(KeyOf(mesh, 3 * t))] += meshes::Dot(a, meshes::Cross(b, c)) / 6.0;
            for (int k = 0; k < 3; ++k) {
                const Vec3 n = MeshPoint(mesh.normals, 3 * t + k);
                EXPECT_NEAR(std::sqrt(meshes::Dot(n, n)), 1.0, 0.01);
            }
        }
        EXPECT_EQ(BackwardNormals(mesh), 0);
        double total = 0;
        for (const auto& [part, v] : volume) {
            EXPECT_GT(v, 0.0) << "a part winds inwards";
            total += v;
        }
        EXPECT_GT(total, 0.5);  // cubic metres: a real aircraft, not a sheet
    }
}

TEST(AircraftData, EveryModelHasAPaintedAtlasUnderItsTextureCoordinates) {
    for (const RealAircraft& real : kFleet) {
        SCOPED_TRACE(real.texture);
        FSPngImage atlas;
        ASSERT_TRUE(ReadPng(kTextures, real.texture, atlas));
        EXPECT_EQ(atlas.width, 256);
        EXPECT_EQ(atlas.height, 256);
        EXPECT_EQ(atlas.channels, 3);
        // Painted, not a placeholder: many distinct colours, among them saturated ones.
        std::set<uint32_t> colours;
        int saturated = 0;
        for (size_t i = 0; i + 2 < atlas.pixels.size(); i += 3) {
            const uint8_t r = atlas.pixels[i], g = atlas.pixels[i + 1], b = atlas.pixels[i + 2];
            colours.insert((r >> 4) << 8 | (g >> 4) << 4 | (b >> 4));
            saturated += std::max({r, g, b}) - std::min({r, g, b}) > 100;
        }
        EXPECT_GT(colours.size(), 12u);
        EXPECT_GT(saturated, 200);
        const FSMesh mesh = LoadModel(real.model);
        for (int32_t t : mesh.texCoords) {
            ASSERT_GE(t, 0);
            ASSERT_LE(t, 65536);
        }
    }
}

TEST(AircraftData, EveryAircraftFileHasMirroredSurfacesItsPhysicsAndItsSceneKeys) {
    for (const RealAircraft& real : kFleet) {
        SCOPED_TRACE("Aircraft" + std::to_string(real.file) + ".txt");
        const AircraftFile file = ReadAircraftFile(real.file);
        EXPECT_TRUE(file.unknown.empty()) << file.unknown.front();
        EXPECT_EQ(file.repeated, 0);
        for (const char* surface : kSurfaces) {
            ASSERT_TRUE(file.Has(surface)) << surface;
            EXPECT_EQ(file.keys.at(surface).size(), 6u) << surface;
            EXPECT_GT(file.Value(surface, 5), 0.0f) << surface;
        }
        const std::pair<const char*, size_t> counts[] = {
            {"CG", 3},       {"Mass", 1},     {"Inertia", 3},   {"Pitch", 3}, {"Roll", 3},
            {"Yaw", 3},      {"Throttle", 3}, {"Fuel", 3},      {"Model", 3}, {"Distance", 2},
            {"Displace", 3}, {"Rigidity", 1}, {"Difficulty", 3}};
        for (const auto& [key, count] : counts) {
            ASSERT_TRUE(file.Has(key)) << key;
            EXPECT_EQ(file.keys.at(key).size(), count) << key;
        }
        EXPECT_GT(file.Value("Mass", 0), 100.0f);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_GT(file.Value("Inertia", i), 100.0f);
        for (const char* control : {"Pitch", "Roll", "Yaw"}) {
            EXPECT_LT(file.Value(control, 0), 0.0f) << control;
            EXPECT_GT(file.Value(control, 1), 0.0f) << control;
            EXPECT_LE(file.Value(control, 1), 45.0f) << control;
            EXPECT_GT(file.Value(control, 2), 0.0f) << control;
        }
        EXPECT_LE(file.Value("Throttle", 0), file.Value("Throttle", 1));
        EXPECT_LE(file.Value("Fuel", 0), file.Value("Fuel", 1));
        // At least three lines for the selection screen.
        const std::string& text = file.description;
        EXPECT_GE(std::count(text.begin(), text.end(), '\n'), 3);
        // The scene keys: the model and atlas named here exist, at the scale of metres to km.
        EXPECT_EQ(file.keys.at("Model")[0], real.model);
        EXPECT_EQ(file.keys.at("Model")[1], real.texture);
        EXPECT_FLOAT_EQ(file.Value("Model", 2), 0.001f);
        EXPECT_LT(file.Value("Distance", 0), 0.0f);  // the chase camera is behind the aircraft
        EXPECT_GT(file.Value("Rigidity", 0), 0.0f);
        EXPECT_LE(file.Value("Rigidity", 0), 1.0f);
        // The level speed the load trims to needs net lift at zero body angle: the wings are
        // set at a positive angle of attack (a negative incidence in the file's sense).
        double lift = 0;
        for (const char* surface : kSurfaces) {
            if (std::fabs(file.Value(surface, 4)) < 45.0f)
                lift += file.Value(surface, 5) * std::sin(-file.Value(surface, 3) * kRadiansPerDegree);
        }
        EXPECT_GT(lift, 0.0);
        // Left and right surfaces mirror each other and the rest sit on the centre line.
        for (const auto& [left, right] : {std::pair<std::string, std::string>{"LeftWing", "RightWing"},
                                          {"LeftAileron", "RightAileron"}}) {
            EXPECT_FLOAT_EQ(file.Value(left, 0), file.Value(right, 0)) << left;   // along
            EXPECT_FLOAT_EQ(file.Value(left, 1), file.Value(right, 1)) << left;   // up
            EXPECT_FLOAT_EQ(file.Value(left, 2), -file.Value(right, 2)) << left;  // across
            EXPECT_LT(file.Value(left, 2), 0.0f) << left;                         // the left side is -x
            EXPECT_FLOAT_EQ(file.Value(left, 3), file.Value(right, 3)) << left;   // incidence
            EXPECT_FLOAT_EQ(file.Value(left, 4), -file.Value(right, 4)) << left;  // dihedral
            EXPECT_FLOAT_EQ(file.Value(left, 5), file.Value(right, 5)) << left;   // area
        }
        for (const char* centre : {"FuselageNose", "FuselageTail", "HorizontalStabilizer", "Elevator",
                                   "VerticalStabilizer", "Rudder"})
            EXPECT_FLOAT_EQ(file.Value(centre, 2), 0.0f) << centre;
        // Fin and rudder stand upright, turned so that right rudder yaws the nose right.
        EXPECT_FLOAT_EQ(file.Value("VerticalStabilizer", 4), 90.0f);
        EXPECT_FLOAT_EQ(file.Value("Rudder", 4), 90.0f);
        // The wing carries more than the tail, and the tail sits behind the wing.
        EXPECT_GT(file.Value("LeftWing", 5), file.Value("HorizontalStabilizer", 5));
        EXPECT_LT(file.Value("HorizontalStabilizer", 0), file.Value("LeftWing", 0) - 2.0f);
        EXPECT_LT(file.Value("Elevator", 0), file.Value("HorizontalStabilizer", 0));
    }
}

TEST(AircraftData, SurfacesAndEnginesLieOnTheModelAndOnlyTheGliderHasNoEngine) {
    for (const RealAircraft& real : kFleet) {
        SCOPED_TRACE("Aircraft" + std::to_string(real.file) + ".txt");
        const AircraftFile file = ReadAircraftFile(real.file);
        const FSMesh mesh = LoadModel(real.model);
        ASSERT_FALSE(mesh.IsEmpty());
        auto inside = [&](double along, double up, double across, double margin) {
            return across >= mesh.box[0] / kMetre - margin && across <= mesh.box[3] / kMetre + margin &&
                   along >= mesh.box[1] / kMetre - margin && along <= mesh.box[4] / kMetre + margin &&
                   up >= mesh.box[2] / kMetre - margin && up <= mesh.box[5] / kMetre + margin;
        };
        for (const char* surface : kSurfaces) {
            EXPECT_TRUE(inside(file.Value(surface, 0), file.Value(surface, 1), file.Value(surface, 2), 0.2))
                << surface;
        }
        EXPECT_TRUE(inside(file.Value("CG", 0), file.Value("CG", 1), file.Value("CG", 2), 0.0));
        // A propeller hub at the nose tip on the centre line; a jet nozzle in the rear half,
        // counted from the place the flame takes by default (0.6 of the way to the tail).
        const bool propeller = file.Has("Propeller"), jet = file.Has("Jet");
        if (propeller) {
            EXPECT_NEAR(file.Value("Propeller", 0), mesh.box[4] / kMetre, 0.02);
            EXPECT_GT(file.Value("Propeller", 1), mesh.box[2] / kMetre);
            EXPECT_LT(file.Value("Propeller", 1), mesh.box[5] / kMetre);
            EXPECT_FLOAT_EQ(file.Value("Propeller", 2), 0.0f);
        }
        if (jet) {
            const double nozzle = -0.6 * std::fabs(mesh.box[1] / kMetre) + file.Value("Jet", 0);
            EXPECT_LT(nozzle, mesh.box[1] / kMetre * 0.5);
            EXPECT_GT(nozzle, mesh.box[1] / kMetre);
            EXPECT_FLOAT_EQ(file.Value("Jet", 2), 0.0f);
        }
        EXPECT_EQ(jet, real.file == 3);
        EXPECT_EQ(propeller, real.file != 3 && real.file != 4);  // number 4 is the glider
        if (real.file == 4) {
            EXPECT_EQ(file.Value("Throttle", 0), 0.0f);
            EXPECT_EQ(file.Value("Throttle", 1), 0.0f);
            EXPECT_EQ(file.Value("Fuel", 1), 0.0f);
        } else {
            EXPECT_GT(file.Value("Throttle", 1), 500.0f);
            EXPECT_GT(file.Value("Fuel", 1), 10.0f);
            EXPECT_GT(file.Value("Fuel", 2), 0.0f);
        }
    }
}

}  // namespace
