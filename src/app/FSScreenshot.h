#pragma once
// F12: the picture on screen as a PNG file, and the few words on screen that say where
// it went.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class CFSFont;
class MFSDisplay;

// Where pictures go: "Aerovant/" in the desktop's pictures folder, else the player folder.
std::string ScreenshotFolder();

// Writes the last frame shown, upright for the display's orientation and each pixel made
// scale x scale, as a PNG at path. False when it cannot be written.
bool WriteUprightPng(const MFSDisplay& display, const std::string& path, int scale);

// Writes the last frame shown, upright for the orientation in force and enlarged to the
// window's integer scale, as "aerovant-YYYYMMDD-HHMMSS.png" in folder (made when missing;
// "-2", "-3" … when one of that second is there already). The path, or "" with the
// reason in error.
std::string SaveScreenshot(const MFSDisplay& display, const std::string& folder, std::time_t when,
                           std::string& error);

// An overlay for the display (device layout) with lines of text on a dark band along the
// bottom of the upright picture of orientation 0, 1 or 2.
std::vector<uint16_t> MakeNoticeOverlay(const CFSFont& font, int orientation,
                                        const std::vector<std::string>& lines);
