#pragma once
// "settings.bin": every choice of the player that survives between runs (volumes, video
// quality, key bindings, control sensitivities, the next route's weather, the pilot
// profiles) as CR LF text lines of a key and its value, in sections that start with a
// "// ..." comment line.
//
// The file is read once at start-up (ReadSettings) and written as a whole from the live
// values whenever something changed (WriteSettings: at the end of every flight and when a
// settings screen is left). Reading is forgiving: a line the reader does not know, with the
// wrong number of tokens or with a value no settings screen could have made is skipped, so
// whatever stays keeps the value it had before; lines the reader skipped are gone after the
// next write.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/FSInput.h"
#include "base/FSSettingsBlocks.h"

class CFSApplicationContext;

// Everything the file holds, apart from where it lives (engine, input, context).
struct FSSettings {
    int32_t musicVolume = 255;  // 0-255
    int32_t soundVolume = 255;  // 0-255
    FSVideoBlock video;
    FSGameBlock game;  // only the five words up to "screengame_align" are in the file
    FSRouteBlock route;
    uint8_t fullScreen = 0;                 // the window fills the screen
    std::vector<FSBindingRecord> bindings;  // empty: the input's factory bindings
    std::string currentPlayer = "Pilot";
    std::vector<std::string> players;
};

// Files longer than this are read up to the last line end within it.
constexpr size_t kMaxSettingsFileBytes = 64 * 1024;
// Longer player names do not fit the score records; such lines are skipped.
constexpr size_t kMaxPlayerNameBytes = 31;
// Further "player" lines are skipped.
constexpr size_t kMaxPlayers = 100;

// The whole file as written: sections, key order, two tabs, CR LF, "%.3f" reals.
std::string FormatSettings(const FSSettings& settings);

// Reads a file's text over settings: the fields of the lines it accepts change, all others
// keep their values. The player list and the bindings are the file's own: the list is
// sorted by name bytes (or holds the current player alone when the file names nobody) and
// the bindings are those of its "keys" lines in file order (none when it has none).
void ParseSettings(std::string_view text, FSSettings& settings);

// ParseSettings on a file. False, with settings unchanged, when it cannot be opened.
bool ReadSettingsFile(const std::string& path, FSSettings& settings);
// Writes the file through a temporary file renamed over the old one; when that fails the
// old file stays as it was, the reason goes to stderr and the result is false.
bool WriteSettingsFile(const std::string& path, const FSSettings& settings);

// The live values of the context (volumes from its engine, bindings from its input, when
// they exist), and back: derived render size and control gains are worked out again.
FSSettings CaptureSettings(const CFSApplicationContext& context);
void ApplySettings(const FSSettings& settings, CFSApplicationContext& context);

// "settings.bin" in the player-file folder.
std::string SettingsFilePath();

// Start-up: the file into the application context, its engine and its input. A missing
// file keeps the context's defaults and the factory bindings, with "Pilot" as the only
// player, and gives false; the next WriteSettings makes it.
bool ReadSettings();
// The game's save: every key from the current values of the application context. False
// when the file could not be written (the old one is then intact).
bool WriteSettings();
