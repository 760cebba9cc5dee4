#pragma once
// Helpers for the archive, picture, texture and model tests: files written by other people's tools
// (ImageMagick's convert, Info-ZIP's zip) into a temporary folder, and archives encrypted
// with the game's password so that the loaders read them the way the game does.
#include <cstdint>
#include <string>
#include <vector>

namespace image_test_files {

std::string ShellQuote(const std::string& text);
// Runs a shell command; true when it exits with 0.
bool RunShell(const std::string& command);
// ImageMagick: "convert <arguments>" run in folder.
bool Convert(const std::string& folder, const std::string& arguments);
// Zips the members (paths relative to folder, separated by blanks) into archive
// (replacing it), encrypted with the game's data password.
bool ZipWithPassword(const std::string& folder, const std::string& archive, const std::string& members);

// Deletes a folder made by MakeTempFolder with everything in it (nothing else).
void RemoveTempFolder(const std::string& folder);

std::vector<uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteText(const std::string& path, const std::string& text);

}  // namespace image_test_files
