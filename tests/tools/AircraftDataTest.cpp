// The five flyable aircraft in the built archives: their models as the game's mesh loader
// gives them (16.16 fixed point, metres at the real size) with their texture atlases, and
// their description files as the game's word-line reader cuts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "flight/FSAircraftSurface.h"
#include "resources/FSKeywordReader.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const std::string kModels = MakeDataPath("data\\models.zip");

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
    FSMesh mesh;
    EXPECT_TRUE(CFSMeshLoader(kModels).LoadMesh(name, mesh)) << name;
    return mesh;
}

// The model's bounding box in metres: min x, y, z, max x, y, z.
std::vector<double> Box(const FSMesh& mesh) {
    std::vector<double> box;
    for (int32_t b : mesh.box)
        box.push_back(b / kMetre);
    return box;
}

TEST(AircraftData, EveryModelIsAClosedSolidOfTheRealSizeNoseFirstWheelsLowestWithItsAtlas) {
    for (const RealAircraft& real : kFleet) {
        SCOPED_TRACE(real.model);
        const FSMesh mesh = LoadModel(real.model);
        ASSERT_FALSE(mesh.IsEmpty());
        EXPECT_TRUE(mesh.triangleCount >= 150 && mesh.triangleCount <= 600) << mesh.triangleCount;
        // Every edge a->b matched by an edge b->a: no holes, no seams of unshared corners,
        // neighbouring faces wound the same way round; and wound outwards round a real
        // aircraft's volume (cubic metres), not a sheet.
        EXPECT_EQ(OpenEdges(mesh), 0);
        EXPECT_GT(SignedVolume(mesh), 0.5);
        const std::vector<double> box = Box(mesh);
        const double span = box[3] - box[0], length = box[4] - box[1], height = box[5] - box[2];
        EXPECT_TRUE(std::fabs(span / real.span - 1) < 0.15 && std::fabs(length / real.length - 1) < 0.15 &&
                    std::fabs(height / real.height - 1) < 0.15)
            << span << " x " << length << " x " << height;
        // Symmetric about x = 0, and the centre of gravity (the origin) inside the box,
        // ahead of mid-length.
        EXPECT_NEAR(box[0], -box[3], 0.01);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_TRUE(box[axis] < 0 && box[axis + 3] > 0) << axis;
        EXPECT_GT(box[4], length * 0.2);
        // The nose tip (where the propeller hub or the nose cone is) is the front-most point,
        // on the centre line; the wheels are the lowest, not a wing tip or the tail.
        int offCentre = 0;
        for (int i = 0; i < mesh.vertexCount; ++i) {
            const Vec3 p = MeshPoint(mesh.positions, i);
            offCentre += (p.y > box[4] - 0.1 && std::fabs(p.x) >= 0.3) ||
                         (p.z < box[2] + 0.05 && std::fabs(p.x) >= span * 0.25);
        }
        EXPECT_EQ(offCentre, 0);

        FSPngImage atlas;
        ASSERT_TRUE(ReadPng(MakeDataPath("data\\textures.zip"), real.texture, atlas));
        EXPECT_EQ(std::vector<int>({atlas.width, atlas.height, atlas.channels}),
                  std::vector<int>({256, 256, 3}));
    }
}

// The keywords of an aircraft file with their words, as the game's word-line reader cuts
// them, and how many keywords were given twice.
struct AircraftFile {
    std::map<std::string, std::vector<std::string>> keys;
    int repeated = 0;

    float Value(const std::string& key, size_t i) const {
        auto it = keys.find(key);
        return it == keys.end() || i >= it->second.size() ? 0.0f : ToFloat(it->second[i]);
    }
    size_t Count(const std::string& key) const { return keys.count(key) ? keys.at(key).size() : 0; }
};

TEST(AircraftData, EveryAircraftFileIsCompleteMirroredAndPlacesItsPartsOnItsModel) {
    // How the aircraft fly is checked against the real ones by the performance report;
    // here what it does not exercise, and what no flight would notice.
    for (const RealAircraft& real : kFleet) {
        const std::string member = "Aircraft" + std::to_string(real.file) + ".txt";
        SCOPED_TRACE(member);
        const std::string text = MemberText(MakeDataPath("data\\aircrafts.zip"), member);
        AircraftFile file;
        ForEachWordLine(text, [&file](std::string_view line) {
            FSWords words(line);
            const std::string key(words.Next());
            if (key.empty() || KindOfFirstWord(key) != FSWordLineKind::Keyword) return;
            file.repeated += file.keys.count(key) != 0;
            std::vector<std::string>& values = file.keys[key];
            values.clear();
            for (std::string_view word = words.Next(); !word.empty(); word = words.Next())
                values.emplace_back(word);
        });
        // Every keyword the game knows, with all its values, once; no other (the game would
        // pass over a misspelt one without a word). An engine is optional.
        std::map<std::string, size_t> counts = {
            {"CG", 3},       {"Mass", 1},     {"Inertia", 3},    {"Pitch", 3}, {"Roll", 3},
            {"Yaw", 3},      {"Throttle", 3}, {"Fuel", 3},       {"Model", 3}, {"Distance", 2},
            {"Displace", 3}, {"Rigidity", 1}, {"Difficulty", 3}, {"Damage", 4}};
        for (const char* surface : kSurfaceKeywords)
            counts[surface] = 6;
        for (const char* engine : {"Propeller", "Jet"}) {
            if (file.Count(engine)) counts[engine] = 3;
        }
        std::map<std::string, size_t> found;
        for (const auto& [key, values] : file.keys)
            found[key] = values.size();
        EXPECT_EQ(found, counts);
        EXPECT_EQ(file.repeated, 0);
        const std::string description = DescriptionOf(text);
        EXPECT_GE(std::count(description.begin(), description.end(), '\n'), 3);  // selection screen
        // Every control moves both ways, at most 45 degrees, at a rate; mass and inertia are
        // real; ranges run upwards. The load trims to a level speed, which needs net lift at
        // zero body angle: the wings meet the air at a positive angle of attack (a negative
        // incidence in the file's sense).
        for (const char* control : {"Pitch", "Roll", "Yaw"}) {
            EXPECT_TRUE(file.Value(control, 0) < 0 && file.Value(control, 1) > 0 &&
                        file.Value(control, 1) <= 45 && file.Value(control, 2) > 0)
                << control;
        }
        EXPECT_TRUE(file.Value("Mass", 0) > 100 && file.Value("Inertia", 0) > 100 &&
                    file.Value("Inertia", 1) > 100 && file.Value("Inertia", 2) > 100);
        EXPECT_TRUE(file.Value("Throttle", 0) <= file.Value("Throttle", 1) &&
                    file.Value("Fuel", 0) <= file.Value("Fuel", 1));
        double lift = 0;
        for (const char* surface : kSurfaceKeywords) {
            if (std::fabs(file.Value(surface, 4)) < 45.0f)
                lift += file.Value(surface, 5) * std::sin(-file.Value(surface, 3) * kRadiansPerDegree);
        }
        EXPECT_GT(lift, 0.0);
        // The model and atlas named here, at the scale of metres to km; the chase camera behind.
        EXPECT_EQ(file.keys.at("Model"), std::vector<std::string>({real.model, real.texture, "0.001"}));
        EXPECT_LT(file.Value("Distance", 0), 0.0f);
        // Left and right surfaces mirror each other (along, up, across, incidence,
        // dihedral, area), the left on -x; the rest sit on the centre line, fin and rudder
        // upright.
        const float mirror[6] = {1, 1, -1, 1, -1, 1};
        for (const char* side : {"Wing", "Aileron"}) {
            const std::string left = std::string("Left") + side, right = std::string("Right") + side;
            for (size_t i = 0; i < 6; ++i)
                EXPECT_FLOAT_EQ(file.Value(left, i), mirror[i] * file.Value(right, i)) << left << " " << i;
            EXPECT_LT(file.Value(left, 2), 0.0f) << left;
        }
        for (int s :
             {kFuselageNose, kFuselageTail, kHorizontalStabilizer, kElevator, kVerticalStabilizer, kRudder})
            EXPECT_FLOAT_EQ(file.Value(kSurfaceKeywords[s], 2), 0.0f) << kSurfaceKeywords[s];
        EXPECT_FLOAT_EQ(file.Value("VerticalStabilizer", 4), 90.0f);
        EXPECT_FLOAT_EQ(file.Value("Rudder", 4), 90.0f);

        // Surfaces and centre of gravity on the model: a file position is (along, up,
        // across); the model's axes are x across, y along, z up.
        const std::vector<double> box = Box(LoadModel(real.model));
        auto inside = [&](const std::string& key, double margin) {
            const double p[3] = {file.Value(key, 2), file.Value(key, 0), file.Value(key, 1)};
            for (int axis = 0; axis < 3; ++axis) {
                if (p[axis] < box[axis] - margin || p[axis] > box[axis + 3] + margin) return false;
            }
            return true;
        };
        for (const char* surface : kSurfaceKeywords)
            EXPECT_TRUE(inside(surface, 0.2)) << surface;
        EXPECT_TRUE(inside("CG", 0.0));
        // A propeller hub at the nose tip on the centre line; a jet nozzle in the rear half,
        // counted from the place the flame takes by default (0.6 of the way to the tail);
        // only the glider (number 4) has neither.
        EXPECT_EQ(file.Count("Propeller") > 0, real.file != 3 && real.file != 4);
        EXPECT_EQ(file.Count("Jet") > 0, real.file == 3);
        if (file.Count("Propeller")) {
            EXPECT_NEAR(file.Value("Propeller", 0), box[4], 0.02);
            EXPECT_TRUE(inside("Propeller", 0.02));
            EXPECT_FLOAT_EQ(file.Value("Propeller", 2), 0.0f);
        }
        if (file.Count("Jet")) {
            const double nozzle = -0.6 * std::fabs(box[1]) + file.Value("Jet", 0);
            EXPECT_TRUE(nozzle > box[1] && nozzle < box[1] * 0.5) << nozzle;
            EXPECT_FLOAT_EQ(file.Value("Jet", 2), 0.0f);
        }
        // Touch-downs: a harmless sink below the wrecking one, a landing speed; and banked
        // about the nose, a point out on a wing becomes the model's lowest at the tip bank.
        EXPECT_TRUE(file.Value("Damage", 0) > 0 && file.Value("Damage", 1) > file.Value("Damage", 0) &&
                    file.Value("Damage", 3) > 0);
        const FSMesh mesh = LoadModel(real.model);
        double tipBank = 0.0;
        for (Vec3 lowest{}; std::fabs(lowest.x) < box[3] * 0.5 && tipBank < 90.0; tipBank += 0.1) {
            const double c = std::cos(tipBank * kRadiansPerDegree), s = std::sin(tipBank * kRadiansPerDegree);
            lowest = MeshPoint(mesh.positions, 0);
            for (int i = 1; i < mesh.vertexCount; ++i) {
                const Vec3 p = MeshPoint(mesh.positions, i);
                if (p.z * c - p.x * s < lowest.z * c - lowest.x * s) lowest = p;
            }
        }
        EXPECT_NEAR(tipBank, file.Value("Damage", 2), 1.0);
    }
}

}  // namespace
