#pragma once
// Helpers for the loaders' and the data build's tests: files written by other
// people's tools (ImageMagick's convert, Info-ZIP's zip, the shell's printf) in a temporary
// folder, archives encrypted with the game's password, and a comma-decimal locale.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "resources/FSDataPassword.h"

namespace image_test_files {

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command; true when it exits with 0.
inline bool RunShell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// ImageMagick: "convert <arguments>" run in folder.
inline bool Convert(const std::string& folder, const std::string& arguments) {
    return RunShell("cd " + ShellQuote(folder) + " && convert " + arguments);
}

// The shell's printf: format (with its \r, \n and \ooo escapes) written to path.
inline bool Printf(const std::string& path, const std::string& format) {
    return RunShell("printf " + ShellQuote(format) + " > " + ShellQuote(path));
}

// The game's data password in clear.
inline std::string DataPassword() {
    char password[kDataPasswordLength + 1] = {};
    UnscrambleDataPassword(password);
    return password;
}

// Info-ZIP's zip run in folder: options ("-0", "-P secret"), the archive (replaced) and the
// members (paths relative to folder, separated by blanks).
inline bool Zip(const std::string& folder, const std::string& options, const std::string& archive,
                const std::string& members) {
    std::remove(archive.c_str());
    return RunShell("cd " + ShellQuote(folder) + " && zip -q " + options + " " + ShellQuote(archive) + " " +
                    members);
}

// Zip encrypted with the game's data password.
inline bool ZipWithPassword(const std::string& folder, const std::string& archive,
                            const std::string& members) {
    return Zip(folder, "-P " + ShellQuote(DataPassword()), archive, members);
}

// Deletes a folder made by MakeTempFolder with everything in it (nothing else).
inline void RemoveTempFolder(const std::string& folder) {
    std::error_code error;
    if (folder.find("/aerovant-") != std::string::npos) std::filesystem::remove_all(folder, error);
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out.write(text.data(), static_cast<std::streamsize>(text.size())));
}

// count bytes of a repeatable pseudo-random sequence.
inline std::string RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

// While it lives, the process runs in an installed locale whose decimal mark is a comma
// (German, French, ...), and in "C" again afterwards. Active() is false when none is installed.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
        for (const char* name :
             {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "fr_FR", "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
            active_ = std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0;
            if (active_) return;
        }
        std::setlocale(LC_ALL, "C");
    }
    ~CommaDecimalLocale() { std::setlocale(LC_ALL, "C"); }
    bool Active() const { return active_; }

private:
    bool active_ = false;
};

}  // namespace image_test_files
