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

// Makes a folder and every folder above it that is missing (mkdir -p); false (errno
// saying why) when one cannot be made.
bool MakeFolders(const std::string& folder);

// Writes a whole file through a temporary file ("<path>.tmp" in the same folder, synced)
// renamed over the old one, then syncs the folder, so neither a crash nor a power cut
// leaves half a file. False (errno saying why) when it could not be written; the old file
// is then untouched and the temporary removed. A temporary left by a writer that was killed
// is never read, and the next save replaces it.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);

}  // namespace platform
