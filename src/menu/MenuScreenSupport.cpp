#include "menu/MenuScreenSupport.h"

#include "app/FSApplicationContext.h"
#include "game/CSPGameController.h"
#include "platform/FSClock.h"
#include "resources/FSArchive.h"

namespace menu_screens {

FSBitmapHandle LoadMenuPicture(const std::string& member) {
    return LoadBitmap(MakeDataPath("data\\menu.zip"), member);
}

CSPGameController* GameController() {
    CFSApplicationContext* context = GetApplicationContext();
    return dynamic_cast<CSPGameController*>(context->gameController.get());
}

FSPoint Stylus() {
    const FSFrameValues& frame = GetApplicationContext()->frame;
    return {frame.stylusX, frame.stylusY};
}

uint32_t Now() {
    return platform::TickCount();
}

}  // namespace menu_screens
