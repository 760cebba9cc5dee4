#include "ImageTestFiles.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "resources/FSDataPassword.h"

namespace image_test_files {

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool RunShell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool Convert(const std::string& folder, const std::string& arguments) {
    return RunShell("cd " + ShellQuote(folder) + " && convert " + arguments);
}

bool Printf(const std::string& path, const std::string& format) {
    return RunShell("printf " + ShellQuote(format) + " > " + ShellQuote(path));
}

std::string DataPassword() {
    char password[kDataPasswordLength + 1] = {};
    UnscrambleDataPassword(password);
    return password;
}

bool Zip(const std::string& folder, const std::string& options, const std::string& archive,
         const std::string& members) {
    std::remove(archive.c_str());
    return RunShell("cd " + ShellQuote(folder) + " && zip -q " + options + " " + ShellQuote(archive) + " " +
                    members);
}

bool ZipWithPassword(const std::string& folder, const std::string& archive, const std::string& members) {
    return Zip(folder, "-P " + ShellQuote(DataPassword()), archive, members);
}

void RemoveTempFolder(const std::string& folder) {
    if (folder.find("/aerovant-") == std::string::npos) return;  // not one of ours
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteText(const std::string& path, const std::string& text) {
    return WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

CommaDecimalLocale::CommaDecimalLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "fr_FR", "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            active_ = true;
            return;
        }
    }
    std::setlocale(LC_ALL, "C");
}

CommaDecimalLocale::~CommaDecimalLocale() {
    std::setlocale(LC_ALL, "C");
}

}  // namespace image_test_files
