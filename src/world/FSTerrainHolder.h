#pragma once
// The terrain slot of the game: the model of the current route's terrain and the two flags
// the frame cycle reads. A route that names a terrain puts a new holder in the slot (the
// old one and its terrain go) and loads the model.
#include <cstdint>
#include <memory>

#include "base/FSSettingsBlocks.h"
#include "world/FSTerrainModel.h"

class CFSScene;
class CFSTextureCache;

class CFSTerrainHolder {
public:
    // textures: where the model's layer textures come from (null: drawn untextured).
    explicit CFSTerrainHolder(CFSTextureCache* textures = nullptr)
        : model(std::make_unique<CFSTerrainModel>()) {
        model->SetTextureCache(textures);
    }

    // A terrain is there to draw and to ask for heights.
    bool IsLoaded() const { return model && model->IsLoaded(); }
    // Prepares the model for the scene camera's eye and cell (forced while paused, as the
    // map view orbits) and draws it with the qualities of video and the alignment of game.
    void Draw(CFSScene& scene, const FSVideoBlock& video, const FSGameBlock& game);
    bool IsTileVisible(const FSTile& tile) const { return IsLoaded() && model->IsTileVisible(tile); }

    uint8_t gridOverlay = 0;  // the paused drawing adds grid lines
    uint8_t paused = 0;       // the flight is paused: the map view's untextured drawing
    // The light of the time of day on the ground (16.16 red, green, blue; white by day).
    FSFixed tint[3] = {kFixedOne, kFixedOne, kFixedOne};
    std::unique_ptr<CFSTerrainModel> model;
};

// Connects a scene to a terrain slot. Each scene draw then first draws the terrain in the
// slot, if one is loaded, with the settings of video and game; while one is, nodes culled
// by terrain tile ask it whether their tile was drawn, and otherwise take the frustum test.
// The slot is looked up at every draw, so holders may come and go; the slot and both
// blocks must outlive the scene's hooks.
void InstallTerrainHooks(CFSScene& scene, const std::unique_ptr<CFSTerrainHolder>& slot,
                         const FSVideoBlock& video, const FSGameBlock& game);
