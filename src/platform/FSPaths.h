#pragma once
// Where the game's files are: its data ("data/" with the archives, "sounds/") and the clip
// decoder library beside the executable (a build tree, a portable copy) or in the folders
// an installation puts them in, and the folder for the player's own files ("settings.bin",
// "scores.dat", the instance lock).
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// The running executable's folder, ending in '/'.
std::string ExecutableFolder();

// The folders, in the order they are looked in, that may hold the game's data for an
// executable in exeFolder ('/'-ended): exeFolder itself, then the installed data folder
// beside the program's (<prefix>/share/aerovant/ for <prefix>/bin/). Each ends in '/'.
std::vector<std::string> DataFolderCandidates(const std::string& exeFolder);
// Likewise for the clip decoder library: exeFolder, then <prefix>/lib/aerovant/ (the
// library folder the build was configured with).
std::vector<std::string> LibraryFolderCandidates(const std::string& exeFolder);
// The first of folders that holds entry (a file or a folder, a link to one counts), else
// the first of them: what is nowhere is looked for, and reported missing, beside the
// executable.
std::string FirstFolderHolding(const std::vector<std::string>& folders, const std::string& entry);

// The running game's data folder: the first candidate holding "data", found once.
std::string DataFolder();

// A relative data path as the game writes it ("data\textures.zip") made into a path
// under the data folder ("/usr/share/aerovant/data/textures.zip"). Any length works.
std::string DataPath(const std::string& relative);

// Where the running game loads a library file from ("xvid_ppc.so"): the first library
// candidate holding it.
std::string LibraryPath(const std::string& file);

// The folder for player files, ending in '/': the executable's folder when the data lies
// there (a build tree, a portable copy) and it is writable, else $XDG_DATA_HOME/aerovant/
// (default ~/.local/share/aerovant/), made on demand: an installed copy never writes into
// its bin folder, even one the player owns (~/.local/bin). Tests point it at a folder of
// their own.
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
