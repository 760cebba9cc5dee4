#pragma once
// The engine's only view of the menu.

class MFSMenu {
public:
    // Slot 0, engine on entering the menu state: the menu resets itself and enables the
    // menu's actions.
    virtual void Enter() = 0;
    // Slot 1, main loop in states 0 and 4 (redraw 0), start-up and resume (redraw 1), the
    // loading thread (redraw 0): updates the current screen and shows it.
    virtual void UpdateAndDraw(int redraw) = 0;
    // Slot 2, engine on entering the quit state.
    virtual void Quit() = 0;
    // Slot 3, the menu's own screens: ask the controller to end the running flight.
    virtual void EndFlight() = 0;
    // Slot 4, the controller once a flight has been built.
    virtual void ClearCurrentScreen() = 0;
    // Slot 5, the controller and the engine: screen numbers 0 main ... 16 help.
    virtual void SwitchScreen(int screen, int argument) = 0;
    // Slot 6, engine's action dispatch in the menu state.
    virtual int DispatchAction(int action) = 0;
    // The player's PC keyboard and mouse wheel, beyond the device's keys: a typed printable
    // character, an editing key (FSTextKey, platform/FSDisplay.h), wheel notches (+ away).
    virtual void TypeCharacter(char) {}
    virtual void TypeKey(int) {}
    virtual void Wheel(int) {}
    // Slot 7, shell at exit.
    virtual ~MFSMenu() = default;
};
