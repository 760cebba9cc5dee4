// The keyword text of the word style (aircraft, routes): lines of words read as numbers,
// points and flags, and the description lines.
#include "FuzzSupport.h"
#include "resources/FSKeywordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzz::Text(data, size);
    ForEachWordLine(text, [](std::string_view line) {
        FSWords words(line);
        KindOfFirstWord(words.Next());
        words.NextInt();
        words.NextFloat();
        words.NextFixed();
        words.NextBool();
        words.NextPoint();
        words.NextGroundPoint();
        words.NextFixedPoint();
        words.NextFixedGroundPoint();
        if (words.cursor > line.size()) __builtin_trap();
    });
    DescriptionOf(text);
    return 0;
}
