#include "world/FSTerrainHolder.h"

#include "app/FSApplicationContext.h"
#include "world/FSScene.h"

namespace {

CFSTerrainHolder* LoadedTerrain() {
    CFSTerrainHolder* holder = GetApplicationContext()->terrain.get();
    return holder && holder->IsLoaded() ? holder : nullptr;
}

}  // namespace

void CFSTerrainHolder::Draw(CFSScene& scene) {
    if (!IsLoaded()) return;
    const CFSApplicationContext& context = *GetApplicationContext();
    CFSCamera& camera = scene.Camera();
    model->Prepare(camera.Eye(), camera.GetCell(), paused != 0);
    FSTerrainDrawOptions options;
    options.paused = paused != 0;
    options.gridOverlay = gridOverlay != 0;
    options.terrainQuality = context.video.terrainQuality;
    options.texturesQuality = context.video.texturesQuality;
    options.alignment = context.game.screenAlign;
    for (int c = 0; c < 3; ++c)
        options.tint[c] = tint[c];
    model->Draw(camera, options);
}

void InstallTerrainHooks(CFSScene& scene) {
    // The tile test is offered only while a terrain is loaded: the scene's own rule gives
    // tile-culled nodes the frustum test when the hook is empty.
    scene.hooks.drawTerrain = [](CFSScene& drawn) {
        CFSTerrainHolder* terrain = LoadedTerrain();
        if (!terrain) {
            drawn.hooks.isTileVisible = nullptr;
            return;
        }
        terrain->Draw(drawn);
        drawn.hooks.isTileVisible = [](const FSTile& tile) {
            const CFSTerrainHolder* current = LoadedTerrain();
            return current != nullptr && current->IsTileVisible(tile);
        };
    };
    scene.hooks.isTileVisible = nullptr;
}
