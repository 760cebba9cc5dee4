#pragma once
// The pilot profiles (screen 8): the list of pilots with the current one marked, and rows
// to add, remove and rename a pilot. Names are typed on the on-screen keyboard, which
// fades in over a darkened copy of the screen. Leaving writes the settings file.
#include <memory>
#include <string>
#include <vector>

#include "menu/CSPEditCtrl.h"
#include "menu/CSPScrollerCtrl.h"
#include "menu/MSPStylusMenuState.h"
#include "menu/MenuRowList.h"

class MFSMenu;

class CSPMenuStateProfiles : public MSPStylusMenuState {
public:
    enum Item { kList, kAdd, kRemove, kRename };
    static constexpr int kRowHeight = 15;
    static constexpr uint32_t kFadeMs = 500;

    explicit CSPMenuStateProfiles(MFSMenu& menu);

    int HandleAction(int action) override;
    // The PC keyboard types into the open name field: Enter accepts, Escape closes it.
    void TypeCharacter(char character) override;
    void TypeKey(int key) override;
    int Draw(int redraw) override;
    void Forward() override;
    void Back() override;
    void Load(MenuResources& resources, int flag) override;
    void Leave(int next, int argument) override;
    void Unload() override;

    int SelectedItem() const { return items_.Selected(); }
    int SelectedPilot() const { return pilot_; }
    bool ListActive() const { return listActive_; }
    bool Typing() const { return edit_ != nullptr; }
    CSPEditCtrl* Keyboard() { return edit_.get(); }

private:
    enum class Typed { Add, Rename };
    void ActivateItem(int item);
    void MovePilot(int step);
    void RemovePilot();
    void OpenKeyboard(Typed typed, const std::string& text);
    void CloseKeyboard();
    void Accept();
    void KeepSelectionInView();
    int DrawFade();
    void DrawList(MenuResources& r);

    MFSMenu& menu_;
    MenuRowList items_;
    FSBitmapHandle background_;
    std::unique_ptr<CSPScrollerCtrl> scroller_;
    std::unique_ptr<CSPEditCtrl> edit_;
    Typed typed_ = Typed::Add;
    bool listActive_ = false;
    int pilot_ = 0;
    // The keyboard's fade: a copy of the screen, when it began, and which way it goes.
    std::vector<uint16_t> snapshot_;
    uint32_t fadeStart_ = 0;
    bool fadingIn_ = false, fadingOut_ = false;
};
