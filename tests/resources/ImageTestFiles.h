#pragma once
// Helpers for the archive, picture, texture, text and model tests: files written by other
// people's tools (ImageMagick's convert, Info-ZIP's zip, the shell's printf) into a temporary
// folder, archives encrypted with the game's password so that the loaders read them the way
// the game does, and a comma-decimal locale to read numbers under.
#include <cstdint>
#include <string>
#include <vector>

namespace image_test_files {

std::string ShellQuote(const std::string& text);
// Runs a shell command; true when it exits with 0.
bool RunShell(const std::string& command);
// ImageMagick: "convert <arguments>" run in folder.
bool Convert(const std::string& folder, const std::string& arguments);
// The shell's printf: format (with its \r, \n and \ooo escapes) written to path.
bool Printf(const std::string& path, const std::string& format);

// The game's data password in clear.
std::string DataPassword();
// Info-ZIP's zip run in folder: options ("-0", "-P secret"), then archive (replaced) and the
// members (paths relative to folder, separated by blanks).
bool Zip(const std::string& folder, const std::string& options, const std::string& archive,
         const std::string& members);
// Zip encrypted with the game's data password.
bool ZipWithPassword(const std::string& folder, const std::string& archive, const std::string& members);

// Deletes a folder made by MakeTempFolder with everything in it (nothing else).
void RemoveTempFolder(const std::string& folder);

std::vector<uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteText(const std::string& path, const std::string& text);
// count bytes of a repeatable pseudo-random sequence.
std::string RandomBytes(size_t count, unsigned seed);

// While it lives, the process runs in an installed locale whose decimal mark is a comma
// (German, French, ...); "C" again afterwards. Active() is false when none is installed.
class CommaDecimalLocale {
public:
    CommaDecimalLocale();
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;
    bool Active() const { return active_; }

private:
    bool active_ = false;
};

}  // namespace image_test_files
