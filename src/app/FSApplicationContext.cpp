#include "app/FSApplicationContext.h"

#include "app/FSClipDecoder.h"
#include "app/FSEngine.h"
#include "app/FSGameController.h"
#include "app/FSInput.h"
#include "hud/FSTouchpad.h"
#include "platform/FSClock.h"
#include "resources/FSTextureCache.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

namespace {
std::unique_ptr<CFSApplicationContext> gContext;
}

CFSApplicationContext::CFSApplicationContext() : input(std::make_unique<CFSInput>(kActionCount)) {
    DeriveRenderSize(video);
    DeriveControlGains(game);
    // The applied blocks start as "nothing applied yet", so the first comparison after
    // the settings are loaded rebuilds everything.
    appliedVideo.renderWidth = appliedVideo.renderHeight = -1;
    appliedVideo.resolution = appliedVideo.visibilityRange = appliedVideo.terrainQuality = -1;
    appliedVideo.texturesQuality = appliedVideo.lightingQuality = appliedVideo.shadowsQuality = -1;
    appliedVideo.effectsQuality = appliedVideo.objectsQuality = -1;
    appliedVideo.screenAspect = -1.0f;
    appliedVideo.sky = 0;
    appliedGame.touchscreenScheme = -1;
    appliedGame.screenAlign = 0;
    clipDecoderReady = LoadClipDecoder(clipDecoder) ? 1 : 0;
}

CFSApplicationContext::~CFSApplicationContext() = default;

CFSApplicationContext* GetApplicationContext() {
    if (!gContext) {
        gContext = std::make_unique<CFSApplicationContext>();
        gContext->creationTick = platform::TickCount();
    }
    return gContext.get();
}

void ResetApplicationContext() {
    gContext.reset();
}
