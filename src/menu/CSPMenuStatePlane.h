#pragma once
// The aircraft choice (screen 4): the five aircraft in a list, the chosen one's description
// beside it and, above the list, the place where its clip plays. Forward keeps the choice
// in the application context and starts the flight (the loading screen).
#include <memory>

#include "menu/CSPTextCtrl.h"
#include "menu/CSPTextListCtrl.h"
#include "menu/MSPStylusMenuState.h"

class MFSMenu;

class CSPMenuStatePlane : public MSPStylusMenuState {
public:
    static constexpr int kAircraftCount = 5;
    // Where the clip is drawn and how large it is.
    static constexpr FSPoint kClipAt{16, 42};
    static constexpr FSSize kClipSize{156, 116};

    explicit CSPMenuStatePlane(MFSMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    void Forward() override;
    void Back() override;
    void Load(MenuResources& resources, int flag) override;
    void Leave(int next, int argument) override;
    void Unload() override;

    int SelectedAircraft() const { return list_ ? list_->Selected() : -1; }
    const CSPTextCtrl* Description() const { return text_.get(); }
    // The "#" lines of the aircraft's description file, one per line.
    static std::string AircraftDescription(int type);

protected:
    // The clip of the aircraft shown: started on activation and whenever the choice
    // changes, stopped on leaving. There is no clip player yet, so these do nothing.
    virtual void PlayAircraftClip(int /*type*/) {}
    virtual void StopAircraftClip() {}

private:
    void ShowChoice();

    MFSMenu& menu_;
    FSBitmapHandle background_;
    std::unique_ptr<CSPTextListCtrl> list_;
    std::unique_ptr<CSPTextCtrl> text_;
    int shown_ = -1;
};
