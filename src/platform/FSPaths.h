#pragma once
// Where the game's files are: the executable's folder (the data archives sit in "data/"
// beside it) and the folder for the player's own files ("settings.bin", "scores.dat").
#include <cstddef>
#include <string>

namespace platform {

// The running executable's folder, ending in '/'.
std::string ExecutableFolder();

// A relative data path as the game writes it ("data\textures.zip") made into a path
// under the executable's folder ("/opt/aerovant/data/textures.zip"). Any length works.
std::string DataPath(const std::string& relative);

// The folder for player files, ending in '/': the executable's folder when it is
// writable, else $XDG_DATA_HOME/aerovant/ (default ~/.local/share/aerovant/), made on
// demand. Tests point it at a folder of their own.
std::string PlayerFolder();
void SetPlayerFolder(const std::string& folder);

// Writes a whole file through a temporary file renamed over the old one, so a crash
// never leaves half a file. False when it could not be written.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);

}  // namespace platform
