#pragma once
// The terrains of terrains.zip while they are being shaped: a wrapping grid of heights
// above the sea in km (the files store them as scene heights, the sea at the game's sea
// level) and the layer of every vertex, plus the flat areas left for runways and starts. The
// landscapes (TerrainLandscapes.cpp) build these; TerrainGenerator.cpp turns them into
// terrain files.
#include <cstdint>
#include <string>
#include <vector>

#include "databuild/TerrainFile.h"

// Vertices per side of every terrain. 240 km / 128 = 1.875 km between vertices, and 128
// divides 12 * 65536, so the texture coordinates are exact in 16.16.
inline constexpr int kTerrainGrid = 128;
inline constexpr double kWorldSide = 240.0;  // km, the 4 x 4 cells of 60 km
inline constexpr double kCellSide = 60.0;

// A level rectangle of the grid for a runway and a start position. The vertices
// [i0, i0 + squaresX] x [j0, j0 + squaresZ] all stand at exactly the same height, so every
// square between them is level.
struct FlatArea {
    std::string label;  // how the documentation names it
    int i0 = 0, j0 = 0;
    int squaresX = 0, squaresZ = 0;
    double height = 0;  // km

    // Where route files find it: the cell (column, row) holding its centre and the centre's
    // local position in that cell (x, z in -30..30 km), its size in km.
    int CellColumn() const;
    int CellRow() const;
    double LocalX() const;
    double LocalZ() const;
    double SizeX() const;
    double SizeZ() const;
};

class Landscape {
public:
    explicit Landscape(int size);

    int Size() const { return size_; }
    double Spacing() const { return kWorldSide / size_; }
    // Torus coordinates of a vertex, 0..1 over the world.
    double U(int i) const { return static_cast<double>(i) / size_; }

    // Both wrap i and j.
    double& Height(int i, int j) { return height_[Index(i, j)]; }
    double Height(int i, int j) const { return height_[Index(i, j)]; }
    // The layer drawn over the base at a vertex: 0 none, 1..4.
    uint8_t& Layer(int i, int j) { return layer_[Index(i, j)]; }
    uint8_t Layer(int i, int j) const { return layer_[Index(i, j)]; }
    // A second layer blended in as well (the high nibble of the material byte), 0 none.
    uint8_t& SecondLayer(int i, int j) { return second_[Index(i, j)]; }

    // Steepest rise to a neighbour, km per km.
    double Slope(int i, int j) const;
    // True when any of the eight neighbours carries the layer.
    bool NextToLayer(int i, int j, uint8_t layer) const;

    // Levels the area and eases the land around it toward its height over blend vertices;
    // the area and one ring around it lose their layers (bare base ground).
    void Flatten(const FlatArea& area, int blend);

    // The file record: heights in 16.16, material bytes from the layers.
    TerrainFile ToFile() const;

private:
    size_t Index(int i, int j) const;

    int size_;
    std::vector<double> height_;
    std::vector<uint8_t> layer_;
    std::vector<uint8_t> second_;
};

// One finished terrain: its member name, the landscape, the materials and the flat areas.
struct TerrainDesign {
    std::string member;       // "valley.ter"
    std::string description;  // one line for the documentation
    Landscape land{kTerrainGrid};
    std::vector<FlatArea> flatAreas;
    std::vector<std::string> layerNames;  // layer 0 first; textures "terrain/<name>.png"
};

TerrainDesign MakeValley();
TerrainDesign MakeCoast();
TerrainDesign MakeFarmland();

// The three terrains, built from scratch (the same every time).
std::vector<TerrainDesign> MakeTerrainDesigns();
// The file record of a design with its materials and distance bands.
TerrainFile TerrainFileOf(const TerrainDesign& design);
