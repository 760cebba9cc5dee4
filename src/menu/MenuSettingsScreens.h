#pragma once
// Puts the settings screens (settings menu, audio, video, advanced video, controls, game)
// and the about and help screens into their slots of the menu.
class CSPMenu;

void AddSettingsScreens(CSPMenu& menu);
