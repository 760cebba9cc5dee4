#include "menu/CSPSettingsStateBase.h"

#include <cstdio>
#include <utility>

#include "app/FSApplicationContext.h"
#include "app/FSSettingsFile.h"
#include "menu/CSPMenu.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "resources/FSArchive.h"

namespace {

// Used when the window picture is missing; otherwise the box takes the picture's size.
constexpr FSSize kMessageSize{240, 100};

}  // namespace

CSPSettingsStateBase::CSPSettingsStateBase(CSPMenu& menu, int number, int backScreen, std::string background,
                                           bool saves)
    : MSPStylusMenuState(number, true, false, true),
      menu_(menu),
      backScreen_(backScreen),
      backgroundName_(std::move(background)),
      saves_(saves) {}

void CSPSettingsStateBase::Activate(int number, int flag) {
    saved_ = false;
    MSPStylusMenuState::Activate(number, flag);
    if (loaded_) ReadSettings();
}

void CSPSettingsStateBase::Leave(int next, int argument) {
    // Leaving by any other way than GoTo (the engine leaving the menu) still keeps the
    // player's changes; a failure can then only be noted.
    if (loaded_ && !saved_) StoreAndSave();
    MSPStylusMenuState::Leave(next, argument);
}

void CSPSettingsStateBase::Load(MenuResources& resources, int) {
    background_ = LoadBitmap(MakeDataPath("data\\menu.zip"), backgroundName_);
    // The box centred on the screen at its window's size, so its text centres in the window.
    const std::string archive = MakeDataPath("data\\menu.zip");
    const FSBitmapHandle window = LoadBitmap(archive, "controls/messagebox/window.bmp");
    const FSSize size = window ? FSSize{window->width, window->height} : kMessageSize;
    const FSPoint at{(MenuResources::kWidth - size.w) / 2, (MenuResources::kHeight - size.h) / 2};
    message_.Create(resources.Screen(), at, size, &resources.mainFont, &resources.listFont, archive);
    messageShown_ = false;
    LoadControls(resources);
    loaded_ = true;
}

void CSPSettingsStateBase::Unload() {
    UnloadControls();
    background_.reset();
    messageShown_ = false;
    afterMessage_ = nullptr;
    loaded_ = false;
}

bool CSPSettingsStateBase::StoreAndSave() {
    StoreSettings();
    saved_ = true;
    if (!saves_) return true;
    saveFailed_ = !WriteSettings();
    if (saveFailed_)
        std::fprintf(stderr, "menu: the settings could not be written to %s\n", SettingsFilePath().c_str());
    return !saveFailed_;
}

void CSPSettingsStateBase::GoTo(int screen) {
    if (StoreAndSave()) {
        menu_.SwitchScreen(screen, 0);
        return;
    }
    ShowMessage("The settings could not be saved.", [this, screen] { menu_.SwitchScreen(screen, 0); });
}

void CSPSettingsStateBase::ShowMessage(const std::string& text, std::function<void()> then) {
    message_.Show(Screen(), text, CSPMessageBox::kOk);
    messageShown_ = true;
    afterMessage_ = std::move(then);
}

int CSPSettingsStateBase::MessageAction(int action) {
    if (!MessageOpen()) return 0;
    message_.HandleAction(action);
    if (!message_.Open()) {
        messageShown_ = false;
        // The follow-up may switch screens, which unloads this one: take it out first.
        std::function<void()> then = std::move(afterMessage_);
        afterMessage_ = nullptr;
        if (then) then();
    }
    return 1;
}

int CSPSettingsStateBase::DrawFrame(int redraw, bool& drawnBox) {
    drawnBox = MessageOpen();
    if (drawnBox) {
        message_.Draw();
        return 1;
    }
    return DrawBackground(redraw, background_.get());
}

FSPoint CSPSettingsStateBase::StylusPoint() const {
    const FSFrameValues& frame = GetApplicationContext()->frame;
    return {frame.stylusX, frame.stylusY};
}

uint16_t* CSPSettingsStateBase::Screen() {
    return Resources() ? Resources()->Screen() : nullptr;
}

void CSPSettingsStateBase::DrawPointer(FSPoint at) {
    MenuResources* r = Resources();
    if (!r || !r->pointer.image) return;
    menu_drawing::DrawMasked(r->Screen(), at, r->pointer.image.get(), r->pointer.mask.get());
}
