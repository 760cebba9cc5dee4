#include "world/FSTerrainHolder.h"

#include "world/FSScene.h"

void CFSTerrainHolder::Draw(CFSScene& scene, const FSVideoBlock& video, const FSGameBlock& game) {
    if (!IsLoaded()) return;
    CFSCamera& camera = scene.Camera();
    model->Prepare(camera.Eye(), camera.GetCell(), paused != 0);
    FSTerrainDrawOptions options;
    options.paused = paused != 0;
    options.gridOverlay = gridOverlay != 0;
    options.terrainQuality = video.terrainQuality;
    options.texturesQuality = video.texturesQuality;
    options.alignment = game.screenAlign;
    for (int c = 0; c < 3; ++c)
        options.tint[c] = tint[c];
    model->Draw(camera, options);
}

void InstallTerrainHooks(CFSScene& scene, const std::unique_ptr<CFSTerrainHolder>& slot,
                         const FSVideoBlock& video, const FSGameBlock& game) {
    const auto loaded = [&slot]() -> CFSTerrainHolder* {
        CFSTerrainHolder* holder = slot.get();
        return holder && holder->IsLoaded() ? holder : nullptr;
    };
    // The tile test is offered only while a terrain is loaded: the scene's own rule gives
    // tile-culled nodes the frustum test when the hook is empty.
    scene.hooks.drawTerrain = [loaded, &video, &game](CFSScene& drawn) {
        CFSTerrainHolder* terrain = loaded();
        if (!terrain) {
            drawn.hooks.isTileVisible = nullptr;
            return;
        }
        terrain->Draw(drawn, video, game);
        drawn.hooks.isTileVisible = [loaded](const FSTile& tile) {
            const CFSTerrainHolder* current = loaded();
            return current != nullptr && current->IsTileVisible(tile);
        };
    };
    scene.hooks.isTileVisible = nullptr;
}
