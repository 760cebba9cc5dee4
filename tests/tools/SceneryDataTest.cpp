// The scenery in the built archives, read through the game's own loaders: cloud, tree and
// runway textures as DecodePng gives them (bottom row first, v = 0 at the bottom), and the
// building models as CFSMeshLoader gives them (16.16 fixed point).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;
using meshes::Cross;
using meshes::Dot;
using meshes::Normalised;

const std::string kTextures = MakeDataPath("data\\textures.zip");
const std::string kModels = MakeDataPath("data\\models.zip");

FSPngImage Load(const std::string& member) {
    return LoadPng(kTextures, member);
}

// The building models in the archive ("buildings/<name>.obj").
std::vector<std::string> BuildingModels() {
    std::vector<std::string> models;
    for (const std::string& name : MemberNames(kModels)) {
        if (name.rfind("buildings/", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".obj") {
            models.push_back(name);
        }
    }
    return models;
}

TEST(SceneryData, EveryTextureHasItsPowerOfTwoSizeWithAlphaWhereItIsSeenThrough) {
    struct Expected {
        std::string name;
        int width, height, channels;
    };
    std::vector<Expected> expected = {
        {"clouds/cloud.png", 256, 256, 4}, {"clouds/layer.png", 512, 128, 4},
        {"clouds/zone.png", 256, 512, 3},  {"trees/trees.png", 256, 256, 4},
        {"runway.png", 128, 1024, 3},
    };
    for (const std::string& model : BuildingModels()) {
        expected.push_back({model.substr(0, model.size() - 4) + ".png", 256, 256, 3});
    }
    for (const Expected& e : expected) {
        const FSPngImage image = Load(e.name);
        EXPECT_EQ(image.width, e.width) << e.name;
        EXPECT_EQ(image.height, e.height) << e.name;
        EXPECT_EQ(image.channels, e.channels) << e.name;
    }
    // The fly-through density is a grey picture with clear and dense parts.
    const FSPngImage zone = Load("clouds/zone.png");
    int lowest = 255, highest = 0;
    for (size_t i = 0; i + 2 < zone.pixels.size(); i += 3) {
        ASSERT_EQ(zone.pixels[i], zone.pixels[i + 1]);
        ASSERT_EQ(zone.pixels[i], zone.pixels[i + 2]);
        lowest = std::min<int>(lowest, zone.pixels[i]);
        highest = std::max<int>(highest, zone.pixels[i]);
    }
    EXPECT_LT(lowest, 20);
    EXPECT_GT(highest, 235);
}

TEST(SceneryData, EveryTreeStandsCentredOnTheFootOfItsOwnCell) {
    const FSPngImage atlas = Load("trees/trees.png");
    ASSERT_EQ(atlas.width, 256);
    ASSERT_EQ(atlas.channels, 4);
    constexpr int kCell = 64;
    std::vector<std::vector<uint8_t>> masks;
    for (int k = 0; k < 16; ++k) {
        // Variant k: u from (k div 4) / 4, v from (k mod 4) / 4.
        const int x0 = (k / 4) * kCell, y0 = (k % 4) * kCell;
        std::vector<uint8_t> mask;
        int covered = 0;
        double weight = 0, sumX = 0;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const int a = Alpha(atlas, x0 + x, y0 + y);
                mask.push_back(static_cast<uint8_t>(a));
                covered += a > 128;
                weight += a;
                sumX += a * (x + 0.5);
            }
        }
        masks.push_back(mask);
        EXPECT_GT(covered, kCell * kCell / 12) << "variant " << k;
        EXPECT_NEAR(sumX / weight, kCell / 2.0, 8.0) << "variant " << k;  // centred
        // It stands on the cell's bottom edge, near the middle.
        int foot = 0;
        for (int x = 20; x < 44; ++x)
            foot = std::max(foot, Alpha(atlas, x0 + x, y0));
        EXPECT_GT(foot, 200) << "variant " << k;
        // Clear top corners and a clear top row: nothing runs into the cell above.
        EXPECT_EQ(Alpha(atlas, x0, y0 + kCell - 1), 0) << "variant " << k;
        EXPECT_EQ(Alpha(atlas, x0 + kCell - 1, y0 + kCell - 1), 0) << "variant " << k;
        for (int x = 0; x < kCell; ++x)
            EXPECT_EQ(Alpha(atlas, x0 + x, y0 + kCell - 1), 0) << "variant " << k;
    }
    // Sixteen different pictures: in shape, or in colour where both are solid.
    for (int a = 0; a < 16; ++a) {
        for (int b = a + 1; b < 16; ++b) {
            int differing = 0;
            for (int y = 0; y < kCell; ++y) {
                for (int x = 0; x < kCell; ++x) {
                    const int xa = (a / 4) * kCell + x, ya = (a % 4) * kCell + y;
                    const int xb = (b / 4) * kCell + x, yb = (b % 4) * kCell + y;
                    const int alphaA = Alpha(atlas, xa, ya), alphaB = Alpha(atlas, xb, yb);
                    bool differs = std::abs(alphaA - alphaB) > 128;
                    if (alphaA > 128 && alphaB > 128) {
                        for (int c = 0; c < 3; ++c)
                            differs |= std::abs(Texel(atlas, xa, ya)[c] - Texel(atlas, xb, yb)[c]) > 60;
                    }
                    differing += differs;
                }
            }
            EXPECT_GT(differing, 100) << "variants " << a << " and " << b;
        }
    }
}

TEST(SceneryData, TransparentTexelsBesideATreeCarryItsColourNotBlack) {
    // Filtering blends the colour of clear texels into a tree's edge: each clear texel
    // beside the tree must take its colour from the tree there (within the range of its
    // coloured neighbours), or the tree gets a dark rim.
    const FSPngImage atlas = Load("trees/trees.png");
    int edges = 0;
    for (int y = 1; y + 1 < atlas.height; ++y) {
        for (int x = 1; x + 1 < atlas.width; ++x) {
            if (Alpha(atlas, x, y) != 0) continue;
            int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
            bool besideTree = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (Alpha(atlas, x + dx, y + dy) == 0) continue;
                    besideTree = true;
                    for (int c = 0; c < 3; ++c) {
                        low[c] = std::min<int>(low[c], Texel(atlas, x + dx, y + dy)[c]);
                        high[c] = std::max<int>(high[c], Texel(atlas, x + dx, y + dy)[c]);
                    }
                }
            }
            if (!besideTree) continue;
            ++edges;
            for (int c = 0; c < 3; ++c) {
                ASSERT_GE(Texel(atlas, x, y)[c], low[c] - 2) << x << "," << y;
                ASSERT_LE(Texel(atlas, x, y)[c], high[c] + 2) << x << "," << y;
            }
        }
    }
    EXPECT_GT(edges, 1000);
}

TEST(SceneryData, TheCloudIsWhiteOnTopGreyBelowAndClearAlongItsBorders) {
    const FSPngImage cloud = Load("clouds/cloud.png");
    const int w = cloud.width, h = cloud.height;
    for (int i = 0; i < w; ++i) {
        EXPECT_EQ(Alpha(cloud, i, 0), 0);
        EXPECT_EQ(Alpha(cloud, i, h - 1), 0);
        EXPECT_EQ(Alpha(cloud, 0, i), 0);
        EXPECT_EQ(Alpha(cloud, w - 1, i), 0);
    }
    // Dense around the centre, where a cloud node takes its part of the picture.
    double central = 0;
    int count = 0;
    for (int y = h * 3 / 8; y < h * 5 / 8; ++y) {
        for (int x = w * 3 / 8; x < w * 5 / 8; ++x, ++count)
            central += Alpha(cloud, x, y);
    }
    EXPECT_GT(central / count, 240.0);
    // Sunlit on top, shaded underneath; bright and cool throughout.
    double upper = 0, lower = 0;
    int upperCount = 0, lowerCount = 0, top = 0, bottom = h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (Alpha(cloud, x, y) < 250) continue;
            top = std::max(top, y);
            bottom = std::min(bottom, y);
        }
    }
    ASSERT_GT(top, bottom);
    for (int y = bottom; y <= top; ++y) {
        for (int x = 0; x < w; ++x) {
            if (Alpha(cloud, x, y) < 250) continue;
            const uint8_t* texel = Texel(cloud, x, y);
            EXPECT_GE(texel[2], texel[0]) << x << "," << y;  // white or bluish grey, never warm
            EXPECT_GT(Luma(texel), 140.0) << x << "," << y;
            (y > (top + bottom) / 2 ? upper : lower) += Luma(texel);
            ++(y > (top + bottom) / 2 ? upperCount : lowerCount);
        }
    }
    EXPECT_GT(upper / upperCount, lower / lowerCount + 15);
}

TEST(SceneryData, TheCloudLayerTilesAcrossAndFadesOutTopAndBottom) {
    const FSPngImage layer = Load("clouds/layer.png");
    const int w = layer.width, h = layer.height;
    // The seam between the last column and the first is no rougher than the picture
    // anywhere else (the layer scrolls u, so the two meet on screen).
    auto step = [&](int x0, int x1) {
        double sum = 0;
        for (int y = 0; y < h; ++y) {
            sum += std::abs(Alpha(layer, x0, y) - Alpha(layer, x1, y));
            for (int c = 0; c < 3; ++c)
                sum += std::abs(Texel(layer, x0, y)[c] - Texel(layer, x1, y)[c]) / 3.0;
        }
        return sum / h;
    };
    double roughest = 0;
    for (int x = 0; x + 1 < w; ++x)
        roughest = std::max(roughest, step(x, x + 1));
    EXPECT_LE(step(w - 1, 0), roughest);
    // Clear along the top and bottom rows, cloud in the middle rows.
    for (int x = 0; x < w; ++x) {
        EXPECT_LT(Alpha(layer, x, 0), 8) << x;
        EXPECT_LT(Alpha(layer, x, h - 1), 8) << x;
    }
    double middle = 0;
    for (int y = h * 3 / 8; y < h / 2; ++y) {
        for (int x = 0; x < w; ++x)
            middle += Alpha(layer, x, y);
    }
    EXPECT_GT(middle / (w * (h / 2 - h * 3 / 8)), 140.0);
}

TEST(SceneryData, TheRunwayCarriesItsMarkingsAtBothEndsOfTheStrip) {
    const FSPngImage runway = Load("runway.png");
    ASSERT_EQ(runway.channels, 3);  // opaque: the strip is blended twice over the ground
    const int w = runway.width, h = runway.height;
    auto bright = [&](int x, int y) { return Luma(Texel(runway, x, y)) > 200; };
    // Dark tarmac with a white edge line along both sides over the whole length.
    for (int y = 0; y < h; ++y) {
        EXPECT_TRUE(bright(6, y) && bright(w - 7, y)) << y;
        if (y > 100 && y < h - 100) {  // past the numbers
            EXPECT_LT(Luma(Texel(runway, w / 3, y)), 200) << y;
        }
    }
    double tarmac = 0;
    for (int y = 0; y < h; ++y)
        tarmac += Luma(Texel(runway, w / 4, y));
    EXPECT_LT(tarmac / h, 120.0);
    // Threshold stripes near end A (v = 0) and end B (v = 1): eight painted stripes between
    // the two edge lines, the same number at both ends.
    auto runsAcross = [&](int y) {
        int runs = 0;
        for (int x = 10; x < w - 10; ++x)
            runs += bright(x, y) && !bright(x - 1, y);
        return runs;
    };
    EXPECT_EQ(runsAcross(25), 8);
    EXPECT_EQ(runsAcross(h - 1 - 25), 8);
    // A dashed centre line along the middle of the strip.
    int dashes = 0;
    for (int y = h / 4; y < h * 3 / 4; ++y)
        dashes += bright(w / 2, y) && !bright(w / 2, y - 1);
    EXPECT_GE(dashes, 8);
}

// ---- Buildings.

// A mesh's triangles in metres.
struct Triangle {
    Vec3 p[3];
    Vec3 normal[3];  // as stored per corner
    Vec3 winding;    // (p1 - p0) x (p2 - p0): twice the area, towards the side it faces
    Vec3 Centroid() const { return (p[0] + p[1] + p[2]) * (1.0 / 3.0); }
    double Area() const { return std::sqrt(Dot(winding, winding)) / 2; }
};

std::vector<Triangle> Triangles(const FSMesh& mesh) {
    std::vector<Triangle> triangles(static_cast<size_t>(mesh.triangleCount));
    for (int t = 0; t < mesh.triangleCount; ++t) {
        Triangle& triangle = triangles[t];
        for (int c = 0; c < 3; ++c) {
            triangle.p[c] = MeshPoint(mesh.positions, 3 * t + c);
            triangle.normal[c] = MeshPoint(mesh.normals, 3 * t + c);
        }
        triangle.winding = Winding(mesh, t);
    }
    return triangles;
}

// Whether the ray from origin along direction meets the triangle (Moller-Trumbore).
bool Hits(const Triangle& t, const Vec3& origin, const Vec3& direction) {
    const Vec3 e1 = t.p[1] - t.p[0], e2 = t.p[2] - t.p[0];
    const Vec3 h = Cross(direction, e2);
    const double a = Dot(e1, h);
    if (std::fabs(a) < 1e-12) return false;
    const Vec3 s = origin - t.p[0];
    const double u = Dot(s, h) / a;
    if (u < 0 || u > 1) return false;
    const Vec3 q = Cross(s, e1);
    const double v = Dot(direction, q) / a;
    if (v < 0 || u + v > 1) return false;
    return Dot(e2, q) / a > 1e-6;
}

// Whether a ray from origin gets away from the model: it meets no triangle but the one it
// leaves, and does not end in the ground under the building (inside the footprint
// low..high in x and z), where nobody can look from.
bool Escapes(const std::vector<Triangle>& triangles, size_t leaving, const Vec3& origin,
             const Vec3& direction, const Vec3& low, const Vec3& high) {
    if (direction.y < 0) {
        const double t = -origin.y / direction.y;
        const double x = origin.x + t * direction.x, z = origin.z + t * direction.z;
        if (x > low.x && x < high.x && z > low.z && z < high.z) return false;
    }
    for (size_t i = 0; i < triangles.size(); ++i) {
        if (i != leaving && Hits(triangles[i], origin, direction)) return false;
    }
    return true;
}

// Where a triangle can be seen from: per sample point on it (the centroid and a point
// towards each corner), whether some ray into the half space in front of it gets away,
// and whether one behind it does.
struct Sight {
    int samples = 0;
    int front = 0;     // samples seen from in front
    int backOnly = 0;  // samples seen from behind but not from in front: turned inside out
};

Sight Visibility(const std::vector<Triangle>& triangles, size_t index, const Vec3& low, const Vec3& high) {
    const Triangle& face = triangles[index];
    const Vec3 n = Normalised(face.winding);
    const Vec3 side = Normalised(std::fabs(n.y) < 0.9 ? Cross(n, Vec3{0, 1, 0}) : Cross(n, Vec3{1, 0, 0}));
    const Vec3 other = Cross(n, side);
    auto seen = [&](const Vec3& sample, double facing) {
        const Vec3 normal = n * facing;
        const Vec3 origin = sample + normal * 1e-4;
        if (Escapes(triangles, index, origin, normal, low, high)) return true;
        for (double tilt : {0.6, 1.8}) {
            for (const Vec3& axis : {side, other, side * -1, other * -1}) {
                if (Escapes(triangles, index, origin, Normalised(normal + axis * tilt), low, high))
                    return true;
            }
        }
        return false;
    };
    std::vector<Vec3> samples = {face.Centroid()};
    for (int c = 0; c < 3; ++c) {
        samples.push_back(face.p[c] * 0.6 + (face.p[(c + 1) % 3] + face.p[(c + 2) % 3]) * 0.2);
    }
    Sight sight;
    for (const Vec3& sample : samples) {
        ++sight.samples;
        if (seen(sample, 1.0)) {
            ++sight.front;
        } else if (seen(sample, -1.0)) {
            ++sight.backOnly;
        }
    }
    return sight;
}

// Shares of a mesh's surface area.
struct Survey {
    double outward = 0;    // facing away from the surface's area-weighted middle
    double seen = 0;       // seen from in front, from outside the model
    double insideOut = 0;  // seen from behind only
};

Survey SurveySurface(const FSMesh& mesh) {
    const std::vector<Triangle> triangles = Triangles(mesh);
    double total = 0;
    Vec3 middle = {0, 0, 0};
    for (const Triangle& t : triangles) {
        total += t.Area();
        middle = middle + t.Centroid() * t.Area();
    }
    middle = middle * (1.0 / total);
    const Vec3 low = {mesh.box[0] / 65536.0, 0, mesh.box[2] / 65536.0};
    const Vec3 high = {mesh.box[3] / 65536.0, 0, mesh.box[5] / 65536.0};
    Survey survey;
    for (size_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        if (Dot(t.winding, t.Centroid() - middle) > 0) survey.outward += t.Area() / total;
        const Sight sight = Visibility(triangles, i, low, high);
        survey.seen += t.Area() / total * sight.front / sight.samples;
        survey.insideOut += t.Area() / total * sight.backOnly / sight.samples;
    }
    return survey;
}

TEST(SceneryData, EveryBuildingLoadsStandingOnTheGroundFacingOutwardsWithItsTexture) {
    const std::vector<std::string> models = BuildingModels();
    EXPECT_GE(models.size(), 5u);
    EXPECT_NE(std::find(models.begin(), models.end(), "buildings/house.obj"), models.end());
    CFSMeshLoader loader(kModels);
    for (const std::string& name : models) {
        SCOPED_TRACE(name);
        FSMesh mesh;
        ASSERT_TRUE(loader.LoadMesh(name, mesh));
        ASSERT_FALSE(mesh.IsEmpty());
        EXPECT_LT(mesh.triangleCount, 800);  // low-poly

        // Metres, standing on y = 0, centred on x and z, the size of a building.
        EXPECT_EQ(mesh.box[1], 0);
        for (int axis = 0; axis < 3; ++axis) {
            const double extent = (mesh.box[3 + axis] - mesh.box[axis]) / 65536.0;
            EXPECT_GT(extent, 3.0) << axis;
            EXPECT_LT(extent, 60.0) << axis;
        }
        EXPECT_NEAR((mesh.box[0] + mesh.box[3]) / 65536.0, 0.0, 0.001);
        EXPECT_NEAR((mesh.box[2] + mesh.box[5]) / 65536.0, 0.0, 0.001);

        const std::vector<Triangle> triangles = Triangles(mesh);
        for (size_t i = 0; i < triangles.size(); ++i) {
            const Triangle& t = triangles[i];
            ASSERT_GT(t.Area(), 1e-6) << "triangle " << i;
            // Every corner's normal is a unit vector on the side the triangle faces (the
            // side from which its corners run counter-clockwise), as back-face culling and
            // the lighting both need; texture coordinates stay on the atlas.
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(Dot(t.normal[c], t.normal[c]), 1.0, 0.001) << "triangle " << i;
                EXPECT_GT(Dot(t.normal[c], Normalised(t.winding)), 0.2) << "triangle " << i;
                for (int k = 0; k < 2; ++k) {
                    const double uv = mesh.texCoords[2 * (3 * i + c) + k] / 65536.0;
                    EXPECT_TRUE(uv >= 0.0 && uv <= 1.0) << "triangle " << i;
                }
            }
        }
        // Most of the surface faces away from the building's middle and can be seen from
        // outside (the rest is hidden where parts meet, such as a chimney in its roof).
        // None is turned inside out: seen from behind only, it would vanish under
        // back-face culling and show the building's inside.
        const Survey survey = SurveySurface(mesh);
        EXPECT_GT(survey.outward, 0.7);
        EXPECT_GT(survey.seen, 0.75);
        EXPECT_LT(survey.insideOut, 0.005);
        if (name == "buildings/house.obj") {
            // The survey notices the front wall (the first two triangles) turned round.
            for (int t = 0; t < 2; ++t) {
                for (int k = 0; k < 3; ++k)
                    std::swap(mesh.positions[9 * t + 3 + k], mesh.positions[9 * t + 6 + k]);
            }
            EXPECT_GT(SurveySurface(mesh).insideOut, 0.05);
        }

        // The OBJ names its texture (in the textures archive, see above) and its units.
        const std::string texture = name.substr(0, name.size() - 4) + ".png";
        const std::string text = MemberText(kModels, name);
        EXPECT_NE(text.find("metres"), std::string::npos);
        EXPECT_NE(text.find("0.001"), std::string::npos);
        EXPECT_NE(text.find(texture), std::string::npos);
        EXPECT_EQ(text.find('\r'), std::string::npos);
    }
}

}  // namespace
