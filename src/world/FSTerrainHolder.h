#pragma once
// The application context's terrain slot: the model of the current route's terrain and
// the two flags the frame cycle reads. A route that names a terrain puts a new holder in
// the slot (the old one and its terrain go) and loads the model.
#include <cstdint>
#include <memory>

#include "world/FSTerrainModel.h"

class CFSScene;

class CFSTerrainHolder {
public:
    CFSTerrainHolder() : model(std::make_unique<CFSTerrainModel>()) {}

    // A terrain is there to draw and to ask for heights.
    bool IsLoaded() const { return model && model->IsLoaded(); }
    // Prepares the model for the scene camera's eye and cell (forced while paused, as the
    // map view orbits) and draws it with the application context's settings.
    void Draw(CFSScene& scene);
    bool IsTileVisible(const FSTile& tile) const { return IsLoaded() && model->IsTileVisible(tile); }

    uint8_t gridOverlay = 0;  // the paused drawing adds grid lines
    uint8_t paused = 0;       // the flight is paused: the map view's untextured drawing
    // The light of the time of day on the ground (16.16 red, green, blue; white by day).
    FSFixed tint[3] = {kFixedOne, kFixedOne, kFixedOne};
    std::unique_ptr<CFSTerrainModel> model;
};

// Connects a scene to the application context's terrain slot. Each scene draw then first
// draws the terrain in the slot, if one is loaded; while one is, nodes culled by terrain
// tile ask it whether their tile was drawn, and otherwise take the frustum test. The slot
// is looked up at every draw, so holders may come and go.
void InstallTerrainHooks(CFSScene& scene);
