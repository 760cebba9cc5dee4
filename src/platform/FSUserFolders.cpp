#include "platform/FSUserFolders.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {

std::string PicturesFolderOf(const std::string& userDirs, const std::string& home) {
    // Lines of the form XDG_PICTURES_DIR="$HOME/Pictures"; the last one counts. Only
    // "$HOME/..." and absolute paths are allowed in the file.
    std::istringstream lines(userDirs);
    std::string line;
    std::string found;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        const size_t open = start + key.size();
        const size_t close = line.find('"', open);
        if (close == std::string::npos) continue;
        std::string value = line.substr(open, close - open);
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            if (home.empty()) continue;
            value = home + value.substr(5);
        } else if (value.empty() || value[0] != '/') {
            continue;
        }
        found = value;
    }
    while (found.size() > 1 && found.back() == '/')
        found.pop_back();
    std::string homeTrimmed = home;
    while (homeTrimmed.size() > 1 && homeTrimmed.back() == '/')
        homeTrimmed.pop_back();
    if (found.empty() || found == homeTrimmed) return "";
    return found + "/";
}

std::string PicturesFolder() {
    const char* homeVariable = std::getenv("HOME");
    const std::string home = homeVariable ? homeVariable : "";
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        config = xdg;
    } else if (!home.empty()) {
        config = home + "/.config";
    } else {
        return "";
    }
    std::ifstream file(config + "/user-dirs.dirs");
    if (!file) return "";
    std::ostringstream text;
    text << file.rdbuf();
    return PicturesFolderOf(text.str(), home);
}

}  // namespace platform
