#pragma once
// The screens on the way to a flight and those the main menu leads to first: the main
// menu, route choice, route parameters, aircraft choice, scores and pilot profiles.
class CSPMenu;

void AddRoadScreens(CSPMenu& menu);
