// The keyword text of the token style (settings, fonts, cockpit layouts): lines of tokens.
#include <vector>

#include "FuzzSupport.h"
#include "resources/FSKeywordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::Text(data, size);
    size_t tokens = 0;
    ForEachTokenLine(text, [&tokens](const std::vector<std::string>& line) {
        tokens += line.size();
        for (size_t count = 0; count < 4; ++count)
            if (IsKeywordLine(line, "mask", count) && line.size() < count) __builtin_trap();
        for (const std::string& token : line) {
            ToInt(token);
            ToFloat(token);
            ToFixed(token);
            ToBool(token);
        }
    });
    size_t cursor = 0;
    std::vector<std::string> line;
    while (cursor < size && ReadTokenLine(text, cursor, line)) {
    }
    return 0;
}
