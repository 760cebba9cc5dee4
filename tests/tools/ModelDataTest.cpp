#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"
#include "resources/FSArchive.h"

namespace {

using namespace archive_test;

using Vec3 = std::array<double, 3>;

Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

struct Corner {
    int position = 0, texture = 0, normal = 0;  // 1-based as written, 0 when left out
};

// The statements the game's mesh loader reads: v, vt, vn and f (corners in groups of three).
struct ObjModel {
    std::vector<Vec3> positions, normals;
    std::vector<std::array<double, 2>> uvs;
    std::vector<std::array<Corner, 3>> triangles;
    int cornersDropped = 0;  // corners of "f" lines that do not complete a triangle
};

ObjModel ParseObj(const std::string& text) {
    ObjModel model;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "v" || keyword == "vn") {
            Vec3 v{};
            words >> v[0] >> v[1] >> v[2];
            (keyword == "v" ? model.positions : model.normals).push_back(v);
        } else if (keyword == "vt") {
            std::array<double, 2> uv{};
            words >> uv[0] >> uv[1];
            model.uvs.push_back(uv);
        } else if (keyword == "f") {
            std::vector<Corner> corners;
            for (std::string word; words >> word;) {
                Corner c;
                std::istringstream parts(word);
                std::string piece;
                int* fields[] = {&c.position, &c.texture, &c.normal};
                for (int i = 0; i < 3 && std::getline(parts, piece, '/'); ++i)
                    *fields[i] = std::atoi(piece.c_str());
                corners.push_back(c);
            }
            for (size_t i = 0; i + 3 <= corners.size(); i += 3)
                model.triangles.push_back({corners[i], corners[i + 1], corners[i + 2]});
            model.cornersDropped += static_cast<int>(corners.size() % 3);
        }
    }
    return model;
}

TEST(ModelData, TheCubeIsAClosedUnitCubeOfOutwardTriangles) {
    const std::string text = MemberText(MakeDataPath("data\\models.zip"), "cube.obj");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\r'), std::string::npos);  // LF line ends, as the loader cuts lines
    const ObjModel cube = ParseObj(text);
    EXPECT_EQ(cube.cornersDropped, 0);
    ASSERT_EQ(cube.triangles.size(), 12u);

    Vec3 low{1e9, 1e9, 1e9}, high{-1e9, -1e9, -1e9};
    double area = 0;
    for (const auto& triangle : cube.triangles) {
        Vec3 p[3];
        for (int k = 0; k < 3; ++k) {
            const Corner& c = triangle[k];
            // The loader needs every part of every corner.
            ASSERT_GE(c.position, 1);
            ASSERT_LE(c.position, static_cast<int>(cube.positions.size()));
            ASSERT_GE(c.texture, 1);
            ASSERT_LE(c.texture, static_cast<int>(cube.uvs.size()));
            ASSERT_GE(c.normal, 1);
            ASSERT_LE(c.normal, static_cast<int>(cube.normals.size()));
            p[k] = cube.positions[c.position - 1];
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], p[k][i]);
                high[i] = std::max(high[i], p[k][i]);
            }
            for (double t : cube.uvs[c.texture - 1]) {
                EXPECT_GE(t, 0.0);  // the loader turns negative coordinates into 0
                EXPECT_LE(t, 1.0);
            }
        }
        // Counter-clockwise seen from outside: the winding's normal is the stored normal,
        // and it points away from the centre.
        const Vec3 winding = Cross(Sub(p[1], p[0]), Sub(p[2], p[0]));
        const double length = std::sqrt(Dot(winding, winding));
        ASSERT_GT(length, 0.0);
        area += length / 2;
        for (const Corner& c : triangle) {
            const Vec3& n = cube.normals[c.normal - 1];
            EXPECT_NEAR(Dot(winding, n) / length, 1.0, 1e-9);
        }
        const Vec3 centre = {(p[0][0] + p[1][0] + p[2][0]) / 3, (p[0][1] + p[1][1] + p[2][1]) / 3,
                             (p[0][2] + p[1][2] + p[2][2]) / 3};
        EXPECT_GT(Dot(winding, centre), 0.0);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(low[i], -0.5);
        EXPECT_DOUBLE_EQ(high[i], 0.5);
    }
    EXPECT_NEAR(area, 6.0, 1e-9);  // six whole unit faces, none doubled or missing
}

}  // namespace
