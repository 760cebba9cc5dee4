#include "databuild/Landscape.h"

#include <algorithm>
#include <cmath>

#include "databuild/Noise.h"
#include "world/FSWorldPosition.h"

namespace {

// Terrain position (0..240 km) to cell index and local coordinate (-30..30 km).
int CellOf(double position) {
    return static_cast<int>(std::floor(position / kCellSide)) % 4;
}
double LocalOf(double position) {
    return position - CellOf(position) * kCellSide - kCellSide / 2;
}

}  // namespace

int FlatArea::CellColumn() const {
    return CellOf((i0 + squaresX / 2.0) * kWorldSide / kTerrainGrid);
}
int FlatArea::CellRow() const {
    return CellOf((j0 + squaresZ / 2.0) * kWorldSide / kTerrainGrid);
}
double FlatArea::LocalX() const {
    return LocalOf((i0 + squaresX / 2.0) * kWorldSide / kTerrainGrid);
}
double FlatArea::LocalZ() const {
    return LocalOf((j0 + squaresZ / 2.0) * kWorldSide / kTerrainGrid);
}
double FlatArea::SizeX() const {
    return squaresX * kWorldSide / kTerrainGrid;
}
double FlatArea::SizeZ() const {
    return squaresZ * kWorldSide / kTerrainGrid;
}

Landscape::Landscape(int size)
    : size_(size),
      height_(static_cast<size_t>(size) * size, 0.0),
      layer_(static_cast<size_t>(size) * size, 0),
      second_(static_cast<size_t>(size) * size, 0) {}

size_t Landscape::Index(int i, int j) const {
    const int wi = ((i % size_) + size_) % size_, wj = ((j % size_) + size_) % size_;
    return static_cast<size_t>(wi) + static_cast<size_t>(size_) * wj;
}

double Landscape::Slope(int i, int j) const {
    const double h = Height(i, j);
    const double rise = std::max({std::fabs(Height(i + 1, j) - h), std::fabs(Height(i - 1, j) - h),
                                  std::fabs(Height(i, j + 1) - h), std::fabs(Height(i, j - 1) - h)});
    return rise / Spacing();
}

bool Landscape::NextToLayer(int i, int j, uint8_t layer) const {
    for (int dj = -1; dj <= 1; ++dj) {
        for (int di = -1; di <= 1; ++di) {
            if ((di || dj) && Layer(i + di, j + dj) == layer) return true;
        }
    }
    return false;
}

void Landscape::Flatten(const FlatArea& area, int blend) {
    for (int dj = -blend; dj <= area.squaresZ + blend; ++dj) {
        for (int di = -blend; di <= area.squaresX + blend; ++di) {
            // Distance in vertices from the level rectangle.
            const double ox = di < 0 ? -di : std::max(0, di - area.squaresX);
            const double oz = dj < 0 ? -dj : std::max(0, dj - area.squaresZ);
            const double distance = std::hypot(ox, oz);
            if (distance > blend) continue;
            const int i = area.i0 + di, j = area.j0 + dj;
            double& h = Height(i, j);
            h = area.height + (h - area.height) * SmoothStep(0.0, blend, distance);
            if (distance <= 1.0) {
                Layer(i, j) = 0;
                SecondLayer(i, j) = 0;
            }
        }
    }
}

TerrainFile Landscape::ToFile() const {
    TerrainFile file;
    file.size = size_;
    file.side = kWorldSide;
    file.heights.resize(height_.size());
    file.materials.resize(layer_.size());
    for (size_t k = 0; k < height_.size(); ++k) {
        // Heights above the sea become scene heights: the sea lies at the game's sea level.
        file.heights[k] = ToFixed(height_[k] + kSeaLevelKm);
        // Nibble v of 2..5 names layer v - 1; 0 leaves the base showing.
        const uint8_t low = layer_[k] ? static_cast<uint8_t>(layer_[k] + 1) : 0;
        const uint8_t high = second_[k] && second_[k] != layer_[k] ? static_cast<uint8_t>(second_[k] + 1) : 0;
        file.materials[k] = static_cast<uint8_t>(low | (high << 4));
    }
    return file;
}
