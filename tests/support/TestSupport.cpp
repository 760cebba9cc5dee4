#include "support/TestSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace testing_support {

std::string MakeTempFolder(const std::string& tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/aerovant-" + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    return made ? std::string(made) + "/" : std::string("/tmp/");
}

std::string RunCommand(const std::string& command, int& status) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[256];
    while (pipe && fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    status = pipe ? pclose(pipe) : -1;
    return output;
}

int CountOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

}  // namespace testing_support
