#pragma once
// A menu screen: a full 320 x 240 picture composed into the menu's screen buffer, with its
// controls and a row of title buttons. Screens are made with the menu and live as long as
// it does; their pictures and controls exist only while they are shown (load on
// activation, unload on leaving).
#include <cstdint>

#include "resources/FSBitmap.h"

class MenuResources;

class MSPMenuState {
public:
    MSPMenuState(int number, bool hasBack, bool hasForward, bool hasClose)
        : number_(number), hasBack_(hasBack), hasForward_(hasForward), hasClose_(hasClose) {}
    virtual ~MSPMenuState() = default;
    MSPMenuState(const MSPMenuState&) = delete;
    MSPMenuState& operator=(const MSPMenuState&) = delete;

    // Shown as screen number: stores it and, once attached, loads the screen's pictures.
    virtual void Activate(int number, int flag);
    // Another screen (next) takes over: the pictures and controls go.
    virtual void Leave(int next, int argument);
    // An action while shown; 1 when it was used.
    virtual int HandleAction(int action) = 0;
    // Composes the screen into the buffer; true when the buffer should be shown.
    virtual int Draw(int redraw) = 0;
    // Work left by Draw that must run without the picture lock held (starting a flight,
    // whose loading thread draws this menu meanwhile).
    virtual void AfterDraw() {}
    virtual int ScreenNumber() const { return number_; }
    // What the forward title button (and the enter action) and the back title button (and
    // the back action) do.
    virtual void Forward() = 0;
    virtual void Back() = 0;
    // With redraw, the whole background (320 x 240) into the buffer and the title buttons
    // over it; 0 without redraw.
    virtual int DrawBackground(int redraw, const FSBitmap* background);
    virtual void Load(MenuResources& resources, int flag);
    virtual void Attach(MenuResources& resources);
    virtual void Unload() {}
    // The PC keyboard while the screen asked for typed text (MenuResources::textInput): a
    // printable character, or an editing key (FSTextKey).
    virtual void TypeCharacter(char) {}
    virtual void TypeKey(int) {}

    bool HasBack() const { return hasBack_; }
    bool HasForward() const { return hasForward_; }
    bool HasClose() const { return hasClose_; }
    bool IsAttached() const { return attached_; }

protected:
    // The title buttons over the buffer, keyed on black.
    virtual void DrawTitleButtons() {}
    MenuResources* Resources() const { return resources_; }

private:
    int number_ = 0;
    MenuResources* resources_ = nullptr;
    bool hasBack_ = false, hasForward_ = false, hasClose_ = false, attached_ = false;
};
