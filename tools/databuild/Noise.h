#pragma once
// Tileable noise for the terrains and their textures. Every function here takes a position
// on the unit torus (u, v), each in [0, 1) and wrapping at 1, so whatever is built from
// them joins seamlessly at the edges: the terrain across the world's seam, a texture where
// it repeats. All of it is integer hashing and double arithmetic: the same seed gives the
// same values on every run.
#include <cstdint>

// A well-mixed 32-bit hash of a lattice point and a seed.
uint32_t HashPoint(int32_t x, int32_t y, uint32_t seed);
// The hash as a number in [0, 1).
double HashUnit(int32_t x, int32_t y, uint32_t seed);

// Gradient noise on a lattice of period × period cells spread over the torus; about -1..1,
// 0 at every lattice point.
double PeriodicNoise(double u, double v, int period, uint32_t seed);

// Fractal sum of octaves of PeriodicNoise, the first on a lattice of basePeriod cells, each
// further one with twice the cells and gain times the amplitude. Scaled to about -1..1.
double PeriodicFbm(double u, double v, int basePeriod, int octaves, uint32_t seed, double gain = 0.5);

// Ridged fractal sum: sharp crests where the noise crosses 0, like mountain ridges. 0..1,
// usually 0.2..0.9.
double PeriodicRidged(double u, double v, int basePeriod, int octaves, uint32_t seed);

// Cellular noise: one jittered feature point per cell of a period × period lattice on the
// torus.
struct CellSample {
    double nearest = 0;     // distance to the nearest feature point, in cells
    double second = 0;      // distance to the second nearest
    uint32_t id = 0;        // hash of the nearest point's cell, stable for the whole cell
    double dx = 0, dy = 0;  // from the nearest point to the sample, in cells
};
CellSample PeriodicCells(double u, double v, int period, uint32_t seed);

// Shortest distance between a and b on a circle of the given length (the world's wrap).
double WrappedDistance(double a, double b, double length);

double SmoothStep(double edge0, double edge1, double x);
