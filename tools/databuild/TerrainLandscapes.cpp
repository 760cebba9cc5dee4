// The three landscapes of terrains.zip. Each is shaped from periodic noise on the torus,
// so it wraps with the world, then painted with its layers by height and slope, and last
// levelled where runways go. Heights are km; vertex (i, j) stands at x = i * 1.875 km,
// z = j * 1.875 km of the terrain (cell column = x / 60, local x = x - 60 * column - 30).
#include <algorithm>
#include <cmath>

#include "databuild/Landscape.h"
#include "databuild/Noise.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Calls shape(i, j, u, v) for every vertex.
template <typename Shape>
void ForEachVertex(Landscape& land, Shape shape) {
    for (int j = 0; j < land.Size(); ++j) {
        for (int i = 0; i < land.Size(); ++i)
            shape(i, j, land.U(i), land.U(j));
    }
}

// Marks a river that crosses every row j at vertex column centre(j) (fractional): each
// row's stretch joins the next row's, so the water runs unbroken from vertex to vertex.
template <typename Centre, typename Mark>
void TraceAlongRows(int n, Centre centre, Mark mark) {
    for (int j = 0; j < n; ++j) {
        const int from = static_cast<int>(std::lround(centre(j)));
        const int to = static_cast<int>(std::lround(centre(j + 1)));
        for (int i = std::min(from, to); i <= std::max(from, to); ++i)
            mark(i, j);
    }
}

// A level area of squaresX x squaresZ squares from vertex (i0, j0).
FlatArea AreaAt(const char* label, int i0, int j0, int squaresX, int squaresZ, double height) {
    FlatArea area;
    area.label = label;
    area.i0 = i0;
    area.j0 = j0;
    area.squaresX = squaresX;
    area.squaresZ = squaresZ;
    area.height = height;
    return area;
}

// Maps the values to [low, high] by their own range.
void Rescale(std::vector<double>& values, double low, double high) {
    const auto [minIt, maxIt] = std::minmax_element(values.begin(), values.end());
    const double lo = *minIt, span = std::max(*maxIt - lo, 1e-9);
    for (double& value : values)
        value = low + (value - lo) / span * (high - low);
}

}  // namespace

// A green valley with a river running along z round the whole world between snowy
// ranges, crossed by a side valley that climbs to a pass on the far side of the ranges.
TerrainDesign MakeValley() {
    enum : uint8_t { kRock = 1, kSnow = 2, kWater = 3, kForest = 4 };
    TerrainDesign design;
    design.member = "valley.ter";
    design.description = "a green valley with a river between snowy mountains, crossed by a side valley";
    design.layerNames = {"grass", "rock", "snow", "water", "forest"};
    // Flat areas (cell, centre's local x and z, size in km, height): east of the river,
    // (1, 0) at -5.625, -13.125, 7.5 x 11.25, 0.15; at the mouth of the side valley, (1, 2)
    // at -1.875, -7.5, 11.25 x 7.5, 0.14.
    design.flatAreas = {AreaAt("valley-north", 43, 6, 4, 6, 0.15),
                        AreaAt("valley-junction", 44, 74, 6, 4, 0.14)};
    Landscape& land = design.land;
    const int n = land.Size();

    // Valley floors as torus coordinates: the main valley's centre u for each v, the side
    // valley's centre v for each u.
    auto mainCentre = [](double v) {
        return 0.27 + 0.045 * std::sin(kTwoPi * v) + 0.02 * std::sin(kTwoPi * 3 * v + 1.3) +
               0.012 * PeriodicNoise(0.37, v, 6, 11);
    };
    auto sideCentre = [](double u) {
        return 0.64 + 0.035 * std::sin(kTwoPi * u + 0.5) + 0.015 * std::sin(kTwoPi * 2 * u + 2.1);
    };
    auto mainFloor = [](double v) { return 0.10 + 0.05 * (0.5 + 0.5 * std::sin(kTwoPi * v + 2.0)); };
    // Where the side valley meets the main one: a step of fixed-point iteration from the
    // main valley's centre at the side valley's mean v is close enough.
    const double junctionU = mainCentre(sideCentre(mainCentre(0.64)));

    std::vector<double> mountains(static_cast<size_t>(n) * n);
    ForEachVertex(land, [&](int i, int j, double u, double v) {
        mountains[i + static_cast<size_t>(n) * j] =
            std::pow(PeriodicRidged(u, v, 5, 6, 101), 1.3) + 0.12 * PeriodicFbm(u, v, 8, 4, 102);
    });
    Rescale(mountains, 0.6, 2.85);

    std::vector<double> floorHeight(static_cast<size_t>(n) * n);
    ForEachVertex(land, [&](int i, int j, double u, double v) {
        const double wobble = 3.0 * PeriodicFbm(u, v, 10, 3, 103);
        const double d1 = WrappedDistance(u, mainCentre(v), 1.0) * kWorldSide + wobble;
        const double d2 = WrappedDistance(v, sideCentre(u), 1.0) * kWorldSide + wobble;
        const double floor1 = mainFloor(v);
        // The side valley climbs from the junction to a pass half the world away.
        const double floor2 =
            mainFloor(sideCentre(u)) + 0.75 * SmoothStep(0.04, 0.5, WrappedDistance(u, junctionU, 1.0));
        const double w1 = SmoothStep(9.0, 26.0, d1), w2 = SmoothStep(5.0, 18.0, d2);
        const double open1 = 1.0 - w1, open2 = 1.0 - w2;
        const double floor = (floor1 * open1 + floor2 * open2 + 1e-6 * floor1) / (open1 + open2 + 1e-6);
        const double wall = std::min(w1, w2);
        const double hills = 0.05 * PeriodicFbm(u, v, 16, 3, 104) * (1.0 - wall);
        const size_t k = i + static_cast<size_t>(n) * j;
        floorHeight[k] = floor;
        land.Height(i, j) = floor + (mountains[k] - floor) * std::pow(wall, 1.2) + hills;
    });

    // The river keeps 20 m below the floor; the side stream runs only down in its valley.
    TraceAlongRows(
        n, [&](int j) { return mainCentre(land.U(j)) * n; },
        [&](int i, int j) {
            land.Height(i, j) = mainFloor(land.U(j)) - 0.02;
            land.Layer(i, j) = kWater;
        });
    // Rows and columns swap roles: the side valley runs along x.
    TraceAlongRows(
        n, [&](int column) { return sideCentre(land.U(column)) * n; },
        [&](int row, int column) {
            const size_t k =
                static_cast<size_t>(((column % n) + n) % n) + static_cast<size_t>(n) * (((row % n) + n) % n);
            if (floorHeight[k] - mainFloor(land.U(row)) > 0.3) return;
            land.Height(column, row) = std::min(land.Height(column, row), floorHeight[k] - 0.02);
            land.Layer(column, row) = kWater;
        });

    ForEachVertex(land, [&](int i, int j, double u, double v) {
        if (land.Layer(i, j) == kWater) return;
        const double h = land.Height(i, j), slope = land.Slope(i, j);
        const double snowLine = 2.0 + 0.25 * PeriodicFbm(u, v, 12, 3, 105);
        const double rockLine = 1.5 + 0.2 * PeriodicFbm(u, v, 12, 3, 106);
        const double floor = floorHeight[i + static_cast<size_t>(n) * j];
        if (h > snowLine) {
            land.Layer(i, j) = kSnow;
            if (slope > 0.7) land.SecondLayer(i, j) = kRock;
        } else if (slope > 0.5 || h > rockLine) {
            land.Layer(i, j) = kRock;
        } else if (h > floor + 0.1 && h < 1.2 && PeriodicFbm(u, v, 8, 4, 107) > -0.1) {
            land.Layer(i, j) = kForest;
        }
    });

    for (const FlatArea& area : design.flatAreas)
        land.Flatten(area, 4);
    return design;
}

// Sea with islands: a large island of hills, a smaller one with a plain, a volcano and a
// scatter of islets; sandy beaches where the land meets the sea gently, rock cliffs where
// it rises at once.
TerrainDesign MakeCoast() {
    enum : uint8_t { kSand = 1, kRock = 2, kWater = 3, kForest = 4 };
    TerrainDesign design;
    design.member = "coast.ter";
    design.description = "sea with islands, sandy beaches, cliffs and a volcano";
    design.layerNames = {"grass", "sand", "rock", "water", "forest"};
    // Flat areas (cell, centre's local x and z, size in km, height): on the large island
    // below its mountain, (1, 1) at -1.875, 7.5, 11.25 x 7.5, 0.35; on the smaller island
    // toward +x, (2, 0) at -3.75, 11.25, 11.25 x 7.5, 0.10; on the large island's west
    // coast, (0, 2) at 7.5, -20.625, 7.5 x 11.25, 0.12.
    design.flatAreas = {AreaAt("main-island", 44, 50, 6, 4, 0.35), AreaAt("north-island", 75, 20, 6, 4, 0.1),
                        AreaAt("west-coast", 18, 66, 4, 6, 0.12)};
    Landscape& land = design.land;

    struct Island {
        double u, v, radius, peak;
    };
    const Island islands[] = {
        {0.30, 0.35, 0.2, 0.7},   {0.74, 0.30, 0.12, 0.5},  {0.62, 0.76, 0.08, 0.5},
        {0.13, 0.82, 0.06, 0.35}, {0.90, 0.64, 0.06, 0.35}, {0.44, 0.62, 0.05, 0.3},
        {0.93, 0.12, 0.05, 0.3},  {0.84, 0.90, 0.07, 0.4},  {0.50, 0.96, 0.04, 0.3},
    };
    const Island& volcano = islands[2];
    auto torusDistance = [](double u, double v, double cu, double cv) {
        return std::hypot(WrappedDistance(u, cu, 1.0), WrappedDistance(v, cv, 1.0));
    };

    ForEachVertex(land, [&](int i, int j, double u, double v) {
        double raw = 0.5 * PeriodicFbm(u, v, 3, 6, 201) + 0.05 * PeriodicFbm(u, v, 16, 3, 202) - 0.1;
        // Ragged coasts: the islands' outlines are pushed in and out by noise.
        const double ragged = 0.035 * PeriodicFbm(u, v, 6, 3, 206);
        for (const Island& island : islands)
            raw += island.peak *
                   SmoothStep(island.radius, 0.0, torusDistance(u, v, island.u, island.v) + ragged);
        if (raw <= 0.0) {
            land.Height(i, j) = 0.0;
            land.Layer(i, j) = kWater;
            return;
        }
        // Where the cliff noise is high the coast rises at once to a cliff top.
        const double cliff = SmoothStep(0.05, 0.35, PeriodicFbm(u, v, 3, 3, 203));
        double h =
            raw * 1.25 + cliff * 0.3 + 0.6 * PeriodicRidged(u, v, 6, 4, 207) * SmoothStep(0.0, 0.3, raw);
        const double d = torusDistance(u, v, volcano.u, volcano.v);
        const double cone = SmoothStep(0.06, 0.0, d);
        h += 1.4 * cone * cone - 0.25 * SmoothStep(0.009, 0.0, d);
        land.Height(i, j) = h;
    });

    ForEachVertex(land, [&](int i, int j, double u, double v) {
        if (land.Layer(i, j) == kWater) return;
        const double h = land.Height(i, j), slope = land.Slope(i, j);
        const bool shore = land.NextToLayer(i, j, kWater);
        if (shore && h < 0.12) {
            // A gentle shore: the beach stays a few metres above the water.
            land.Height(i, j) = std::min(h, 0.015 + 0.02 * (0.5 + 0.5 * PeriodicNoise(u, v, 24, 204)));
            land.Layer(i, j) = kSand;
        } else if (shore || slope > 0.32 || h > 0.95) {
            land.Layer(i, j) = kRock;
        } else if (h > 0.12 && h < 0.8 && PeriodicFbm(u, v, 10, 4, 205) > 0.05) {
            land.Layer(i, j) = kForest;
        } else if (h < 0.03) {
            land.Layer(i, j) = kSand;
        }
    });

    for (const FlatArea& area : design.flatAreas)
        land.Flatten(area, 3);
    return design;
}

// Rolling hills of fields and meadows with woods on the hilltops and steeper slopes, and
// three lakes in the hollows.
TerrainDesign MakeFarmland() {
    enum : uint8_t { kFields = 1, kForest = 2, kWater = 3 };
    TerrainDesign design;
    design.member = "farmland.ter";
    design.description = "rolling hills with fields, meadows, woods and lakes";
    design.layerNames = {"grass", "fields", "forest", "water"};
    // Flat areas (cell, centre's local x and z, size in km, height): (1, 1) at -9.375, 7.5,
    // 11.25 x 7.5, 0.30; (2, 3) at 18.75, -20.625, 7.5 x 11.25, 0.45.
    design.flatAreas = {AreaAt("farm-west", 40, 50, 6, 4, 0.3), AreaAt("farm-east", 88, 98, 4, 6, 0.45)};
    Landscape& land = design.land;

    struct Lake {
        double u, v, radius, level;
    };
    const Lake lakes[] = {{0.20, 0.70, 0.045, 0.16},
                          {0.66, 0.18, 0.035, 0.22},
                          {0.86, 0.55, 0.03, 0.18},
                          {0.45, 0.42, 0.028, 0.2}};

    std::vector<double> hills(static_cast<size_t>(land.Size()) * land.Size());
    ForEachVertex(land, [&](int i, int j, double u, double v) {
        hills[i + static_cast<size_t>(land.Size()) * j] =
            PeriodicFbm(u, v, 4, 5, 301) + 0.6 * PeriodicFbm(u, v, 10, 3, 302);
    });
    Rescale(hills, 0.06, 0.95);

    ForEachVertex(land, [&](int i, int j, double u, double v) {
        double h = hills[i + static_cast<size_t>(land.Size()) * j];
        for (const Lake& lake : lakes) {
            const double d = std::hypot(WrappedDistance(u, lake.u, 1.0), WrappedDistance(v, lake.v, 1.0));
            const double bowl = SmoothStep(lake.radius * 1.8, lake.radius * 0.5, d);
            h = h * (1.0 - bowl) + (lake.level - 0.06) * bowl;
            if (h < lake.level && bowl > 0.0) {
                h = lake.level;
                land.Layer(i, j) = kWater;
            }
        }
        land.Height(i, j) = h;
    });

    ForEachVertex(land, [&](int i, int j, double u, double v) {
        if (land.Layer(i, j) == kWater) return;
        const double h = land.Height(i, j), slope = land.Slope(i, j);
        const double woods = PeriodicFbm(u, v, 8, 4, 303);
        if (h > 0.65 || slope > 0.16 || woods > 0.22) {
            land.Layer(i, j) = kForest;
        } else if (h < 0.55 && slope < 0.12 && PeriodicFbm(u, v, 6, 3, 304) > -0.05) {
            land.Layer(i, j) = kFields;
        }
    });

    for (const FlatArea& area : design.flatAreas)
        land.Flatten(area, 4);
    return design;
}
