// The hand-made cube of models.zip, checked as text and as the game's mesh loader gives it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>

#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

TEST(ModelData, TheCubeIsAClosedUnitCubeOfOutwardTriangles) {
    const std::string text = MemberText(MakeDataPath("data\\models.zip"), "cube.obj");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\r'), std::string::npos);  // LF line ends, as the loader cuts lines
    // Every face line is one triangle of full corners (the loader would fill in what is
    // missing), and texture coordinates stay in 0..1 (the loader turns negative ones into 0).
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("f ", 0) == 0) {
            EXPECT_TRUE(std::regex_match(line, std::regex(R"(f( \d+/\d+/\d+){3})"))) << line;
        }
        double u = -1, v = -1;
        if (std::sscanf(line.c_str(), "vt %lf %lf", &u, &v) == 2) {
            EXPECT_TRUE(u >= 0 && u <= 1 && v >= 0 && v <= 1) << line;
        }
    }
    const FSMesh cube = ParseObjText(text);
    ASSERT_EQ(cube.triangleCount, 12);  // no corner refers outside the lists
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cube.box[i], -32768);
        EXPECT_EQ(cube.box[i + 3], 32768);
    }
    double area = 0;
    for (int t = 0; t < cube.triangleCount; ++t) {
        // Counter-clockwise seen from outside: the winding's normal is the stored normal,
        // and it points away from the centre.
        const Vec3 winding = Winding(cube, t);
        area += std::sqrt(meshes::Dot(winding, winding)) / 2;
        EXPECT_GT(meshes::Dot(winding, MeshPoint(cube.positions, 3 * t)), 0.0) << t;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(meshes::Dot(meshes::Normalised(winding), MeshPoint(cube.normals, 3 * t + k)), 1.0,
                        1e-4)
                << t;
        }
    }
    EXPECT_NEAR(area, 6.0, 1e-9);  // six whole unit faces, none doubled or missing
}

}  // namespace
