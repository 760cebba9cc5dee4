#include "resources/FSKeywordReader.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"

namespace {

bool IsTokenSeparator(char c) {
    return c == ' ' || c == '\t';
}

// Numbers in the files always have a decimal point, but the process locale is not ours to
// trust (a library may set it, even for a moment on another thread), and a German locale
// would read "1.5" as 1.
locale_t NumberLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

double ReadDouble(std::string_view word) {
    const std::string text(word);  // the C library wants a terminated string
    if (const locale_t c = NumberLocale()) return strtod_l(text.c_str(), nullptr, c);
    return std::strtod(text.c_str(), nullptr);
}

// IEEE narrowing, spelled out: converting a double beyond the float range is undefined in
// C++. Halfway above FLT_MAX rounds to even, which is up, to infinity.
float NarrowToFloat(double value) {
    static const double kOverflow = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    if (value >= kOverflow) return HUGE_VALF;
    if (value <= -kOverflow) return -HUGE_VALF;
    return static_cast<float>(value);
}

}  // namespace

std::string_view TextOf(const FSMemoryBlock& block) {
    if (!block) return {};
    return std::string_view(block.Text(), strnlen(block.Text(), block.size));
}

size_t ByteOrderMarkLength(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// ---- Token-line style ----

bool ReadTokenLine(std::string_view text, size_t& cursor, std::vector<std::string>& tokens) {
    tokens.clear();
    if (cursor == 0) cursor = ByteOrderMarkLength(text);
    if (cursor >= text.size()) {
        cursor = text.size();
        return false;
    }
    const size_t found = text.find_first_of("\r\n", cursor);
    const size_t lineEnd = (found == std::string_view::npos) ? text.size() : found;
    const std::string_view line = text.substr(cursor, lineEnd - cursor);
    cursor = lineEnd;
    if (cursor < text.size()) {
        // CR LF is one line end; a lone LF or a lone CR is one too.
        const bool pair = text[cursor] == '\r' && cursor + 1 < text.size() && text[cursor + 1] == '\n';
        cursor += pair ? 2 : 1;
    }
    if (line.empty()) return false;
    SplitTokens(line, tokens);
    return !tokens.empty() && tokens[0] != "//";
}

void SplitTokens(std::string_view line, std::vector<std::string>& tokens) {
    size_t i = 0;
    for (;;) {
        while (i < line.size() && IsTokenSeparator(line[i]))
            ++i;
        if (i == line.size()) return;
        const size_t start = i;
        while (i < line.size() && !IsTokenSeparator(line[i]))
            ++i;
        tokens.emplace_back(line.substr(start, i - start));
    }
}

void ForEachTokenLine(std::string_view text,
                      const std::function<void(const std::vector<std::string>&)>& handle) {
    std::vector<std::string> tokens;
    size_t cursor = 0;
    while (cursor < text.size()) {
        if (ReadTokenLine(text, cursor, tokens)) handle(tokens);
    }
}

bool IsKeywordLine(const std::vector<std::string>& tokens, std::string_view keyword, size_t tokenCount) {
    return tokens.size() == tokenCount && !tokens.empty() && tokens[0] == keyword;
}

// ---- Word style ----

bool IsWordSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view NextWord(std::string_view line, size_t& cursor) {
    size_t i = std::min(cursor, line.size());
    while (i < line.size() && IsWordSpace(line[i]))
        ++i;
    const size_t start = i;
    while (i < line.size() && !IsWordSpace(line[i]))
        ++i;
    cursor = i;
    return line.substr(start, i - start);
}

size_t WordLineEnd(std::string_view text, size_t start) {
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\n') return i;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return i;
    }
    return text.size();
}

void ForEachWordLine(std::string_view text, const std::function<void(std::string_view)>& handle) {
    for (size_t start = ByteOrderMarkLength(text); start < text.size();) {
        const size_t end = WordLineEnd(text, start);
        handle(text.substr(start, end - start));
        start = end + 1;
    }
}

FSWordLineKind KindOfFirstWord(std::string_view word) {
    if (word == "//") return FSWordLineKind::Comment;
    if (!word.empty() && word[0] == '#') return FSWordLineKind::Description;
    return FSWordLineKind::Keyword;
}

int FSWords::NextInt() {
    return ToInt(Next());
}
float FSWords::NextFloat() {
    return ToFloat(Next());
}
int32_t FSWords::NextFixed() {
    return ToFixed(Next());
}
bool FSWords::NextBool() {
    return ToBool(Next());
}

FSTextPoint FSWords::NextPoint() {
    FSTextPoint p;
    p.x = NextFloat();
    p.y = NextFloat();
    p.z = NextFloat();
    return p;
}

FSTextPoint FSWords::NextGroundPoint() {
    FSTextPoint p;
    p.x = NextFloat();
    p.z = NextFloat();
    return p;
}

FSTextFixedPoint FSWords::NextFixedPoint() {
    FSTextFixedPoint p;
    p.x = NextFixed();
    p.y = NextFixed();
    p.z = NextFixed();
    return p;
}

FSTextFixedPoint FSWords::NextFixedGroundPoint() {
    FSTextFixedPoint p;
    p.x = NextFixed();
    p.z = NextFixed();
    return p;
}

std::string DescriptionOf(std::string_view text) {
    std::string description;
    ForEachWordLine(text, [&description](std::string_view line) {
        size_t cursor = 0;
        if (KindOfFirstWord(NextWord(line, cursor)) != FSWordLineKind::Description) return;
        // The line's first character goes, whatever it is: the '#' when the line starts with it.
        description.append(line.substr(1));
        description += '\n';
    });
    return description;
}

std::string ReadDescriptionText(const std::string& archivePath, const std::string& memberName) {
    const FSMemoryBlock block = ReadArchiveText(archivePath, memberName);
    if (!block) {
        platform::ShowMessageBox("Error", "buffer is NULL! (File not found)");
        return {};
    }
    return DescriptionOf(TextOf(block));
}

// ---- Numbers ----

int ToInt(std::string_view word) {
    size_t i = 0;
    while (i < word.size() && IsWordSpace(word[i]))
        ++i;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : static_cast<int64_t>(INT_MAX);
    int64_t value = 0;
    for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
        value = std::min<int64_t>(value * 10 + (word[i] - '0'), limit);
    }
    return static_cast<int>(negative ? -value : value);
}

float ToFloat(std::string_view word) {
    return NarrowToFloat(ReadDouble(word));
}

int32_t ToFixed(std::string_view word) {
    const double scaled = static_cast<double>(ToFloat(word)) * 65536.0;
    if (std::isnan(scaled)) return 0;
    if (scaled >= 2147483648.0) return INT32_MAX;
    if (scaled <= -2147483649.0) return INT32_MIN;
    return static_cast<int32_t>(scaled);  // truncates toward zero
}

bool ToBool(std::string_view word) {
    return ToInt(word) != 0;
}
