#include "support/TestSupport.h"

#include <unistd.h>

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

}  // namespace testing_support
