#pragma once
// The main menu (screen 0): fly, resume, scores, profiles, settings, help, about and exit.
// Resume is offered only while a flight can be taken up again; flying away from such a
// flight and leaving the game are both confirmed in a Yes/No box.
#include <memory>

#include "menu/CSPMessageBox.h"
#include "menu/MSPStylusMenuState.h"
#include "menu/MenuRowList.h"

class MFSMenu;

class CSPMenuStateMain : public MSPStylusMenuState {
public:
    enum Item { kFly, kResume, kScores, kProfiles, kSettings, kHelp, kAbout, kExit, kItemCount };

    explicit CSPMenuStateMain(MFSMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    void Forward() override;
    void Back() override;
    void Load(MenuResources& resources, int flag) override;
    void Unload() override;

    int SelectedItem() const { return items_.Selected(); }
    bool Asking() const { return box_ && box_->Open(); }

private:
    enum class Question { None, Fly, Exit };
    void Activate(int item);
    void Ask(Question question, const char* text);
    void Answered(bool yes);
    void Fly();
    void Resume();
    void Exit();

    MFSMenu& menu_;
    MenuRowList items_;
    FSBitmapHandle background_, resume_;
    std::unique_ptr<CSPMessageBox> box_;
    Question question_ = Question::None;
};
