#pragma once
// The controls screen: the sixteen flight actions with the keys bound to each, and a
// defaults row below them. Enter (or a tap on a row) captures a new chord for the selected
// action; a chord the player could not hold in flight is refused with a message and the
// old keys stay, so no action can be lost.
#include <cstdint>
#include <string>
#include <vector>

#include "menu/CSPScrollerCtrl.h"
#include "menu/CSPSettingsStateBase.h"

class CFSInput;

class CSPMenuStateControlsSettings : public CSPSettingsStateBase {
public:
    static constexpr int kRows = 16;

    explicit CSPMenuStateControlsSettings(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    void Leave(int next, int argument) override;
    // Enter: captures the selected row's keys, or restores the defaults on their row.
    void Forward() override;

    int SelectedRow() const { return row_; }
    bool DefaultsFocused() const { return onDefaults_; }
    int CapturingRow() const { return capturingRow_; }
    // The scroll offset that keeps the selected row in view.
    int ScrollOffset() const;

    // The action a row rebinds and the release action bound to the same chord (or -1).
    static int RowAction(int row);
    static int PairedAction(int action);
    static const char* RowName(int row);
    // The chord's keys as the keyboard names them in a menu orientation: "5 + left".
    static std::string ChordName(const std::vector<int32_t>& keys, int orientation = 2);
    // Whether the player can hold the chord: at least one key, each a known key state once,
    // and at most one of the stylus states (each is a pulse of a different stylus event, so
    // two never hold together).
    static bool ChordUsable(const std::vector<int32_t>& keys);

protected:
    void LoadControls(MenuResources& resources) override;
    void ReadSettings() override;

private:
    static CFSInput* Input();
    void StartCapture();
    // Takes the captured chord when the capture has ended.
    void FinishCapture();
    void Rebind(int row, const std::vector<int32_t>& keys);
    void RestoreDefaults();
    void SelectRow(int row);
    void MoveFocus(int step);
    void DrawRows(MenuResources& r);

    CSPScrollerCtrl scroller_;
    FSBitmapHandle selectBar_;
    int row_ = 0;
    bool onDefaults_ = false;
    bool captureOnRelease_ = false;
    int capturingRow_ = -1;
    // Filled by the input's capture; kept by the screen for the whole run, since a capture
    // may end after the screen is gone.
    std::vector<int32_t> captured_;
    // The device line as last drawn: a device plugged in or out draws the screen afresh.
    std::string deviceShown_;
};
