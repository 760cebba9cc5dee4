#pragma once
// The aircraft choice (screen 4): the five aircraft in a list, the chosen one's description
// beside it and, above the list, the place where its clip plays. Forward keeps the choice
// in the application context and starts the flight (the loading screen).
#include <atomic>
#include <memory>

#include "menu/CSPTextCtrl.h"
#include "menu/CSPTextListCtrl.h"
#include "menu/MSPStylusMenuState.h"

class CFSVideoPlayer;

class MFSMenu;

class CSPMenuStatePlane : public MSPStylusMenuState {
public:
    static constexpr int kAircraftCount = 5;
    // Where the clip is drawn and how large it is.
    static constexpr FSPoint kClipAt{16, 42};
    static constexpr FSSize kClipSize{156, 116};
    // The clips and still pictures in "data\menu.zip", by aircraft type.
    static std::string ClipMember(int type);
    static std::string StillMember(int type);

    explicit CSPMenuStatePlane(MFSMenu& menu);
    ~CSPMenuStatePlane() override;

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
    // True while the shown aircraft's clip plays (else its still picture is shown).
    bool ClipPlaying() const;

protected:
    // The clip of the aircraft shown: started on activation and whenever the choice
    // changes, stopped on leaving. Without the decoder library, or with a clip that cannot
    // be played, the aircraft's still picture stands in its place.
    virtual void PlayAircraftClip(int type);
    virtual void StopAircraftClip();

private:
    void ShowChoice();
    // One pass of the video thread (under the menu's picture lock): the next frame drawn
    // into the screen buffer; returns the milliseconds until the next frame.
    uint32_t VideoPass();
    // The clip's current frame, or the still picture, into the screen buffer.
    void DrawClip();
    void StartVideoThread(bool run);

    MFSMenu& menu_;
    FSBitmapHandle background_;
    std::unique_ptr<CSPTextListCtrl> list_;
    std::unique_ptr<CSPTextCtrl> text_;
    int shown_ = -1;
    std::unique_ptr<CFSVideoPlayer> player_;
    FSBitmapHandle still_;
    std::atomic<bool> frameReady_{false};  // the thread drew a frame the display has not shown
};
