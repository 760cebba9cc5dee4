#include "ImageTestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

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

bool ZipWithPassword(const std::string& folder, const std::string& archive, const std::string& members) {
    char password[kDataPasswordLength + 1] = {};
    UnscrambleDataPassword(password);
    std::remove(archive.c_str());
    return RunShell("cd " + ShellQuote(folder) + " && zip -q -P " + ShellQuote(password) + " " +
                    ShellQuote(archive) + " " + members);
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

}  // namespace image_test_files
