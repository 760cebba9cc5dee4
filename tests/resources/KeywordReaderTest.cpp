// The keyword reader: token lines, word lines, descriptions and numbers read like atoi and atof.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

using Lines = std::vector<std::string>;
using Tokens = std::vector<std::string>;

// Every line that holds a keyword, as its tokens. The text is copied to exactly its bytes, no
// terminator behind them, so that the sanitizer sees any read past the end.
std::vector<Tokens> KeywordLines(const std::string& text) {
    const std::vector<char> bytes(text.begin(), text.end());
    std::vector<Tokens> lines;
    ForEachTokenLine({bytes.data(), bytes.size()},
                     [&lines](const Tokens& tokens) { lines.push_back(tokens); });
    return lines;
}

// Every word-style line, read like KeywordLines.
Lines WordLines(const std::string& text) {
    const std::vector<char> bytes(text.begin(), text.end());
    Lines lines;
    ForEachWordLine({bytes.data(), bytes.size()},
                    [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const std::string kMark = "\xEF\xBB\xBF";  // the UTF-8 byte-order mark

TEST(TokenLines, EveryLineEndStyleAndAByteOrderMarkGiveTheSameTokens) {
    const std::string crlf =
        "mask\tcocpit_mask.bmp\r\n// cockpit\r\n\r\nsrc cocpit.bmp\r\n   \t \r\ncompass 1 2 3 4\r\n";
    const std::vector<Tokens> expected = {
        {"mask", "cocpit_mask.bmp"}, {"src", "cocpit.bmp"}, {"compass", "1", "2", "3", "4"}};
    // A lone LF used to swallow the first byte of the next line ("ask", "rc", "ompass"), and a
    // byte-order mark made the first keyword unknown. LF CR is a line end and an empty line.
    for (const std::string& text :
         {crlf, Replace(crlf, "\r\n", "\n"), Replace(crlf, "\r\n", "\r"), kMark + crlf,
          kMark + Replace(crlf, "\r\n", "\r"),
          std::string("mask\tcocpit_mask.bmp\nsrc cocpit.bmp\r\rcompass 1 2 3 4\n\r")}) {
        EXPECT_EQ(KeywordLines(text), expected) << text;
    }
    // The mark counts only at the start of the text.
    EXPECT_EQ(KeywordLines("a\n" + kMark + "src x"), (std::vector<Tokens>{{"a"}, {kMark + "src", "x"}}));
}

TEST(TokenLines, OnlySpacesAndTabsSeparateAndKeywordsMatchWholeTokensAndCounts) {
    Tokens tokens;
    SplitTokens("  letters\tA,B;C \v7\t\t \"x y\"  ", tokens);
    SplitTokens(" \t more", tokens);  // appends
    EXPECT_EQ(tokens, (Tokens{"letters", "A,B;C", "\v7", "\"x", "y\"", "more"}));

    const std::vector<Tokens> lines = KeywordLines(
        "music_volume 7\r\n  \t// indented comment\r\n//music_volume 7\r\nmusic_volume 7 8\r\n"
        "Music_volume 7\r\nmusic_volumes 7\r\nmusic_volume\r\n");
    ASSERT_EQ(lines.size(), 6u);  // "//music_volume" is no comment but an unknown keyword
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(IsKeywordLine(lines[i], "music_volume", 2), i == 0) << i;
    EXPECT_FALSE(IsKeywordLine({}, "", 0));
}

TEST(TokenLines, ReadUnterminatedLastLinesAndNothingFromBeyondTheEnd) {
    for (const std::string& text :
         {std::string("src cocpit.bmp"), std::string("src cocpit.bmp\r"), kMark + "src cocpit.bmp"})
        EXPECT_EQ(KeywordLines(text), (std::vector<Tokens>{{"src", "cocpit.bmp"}})) << text;
    EXPECT_TRUE(KeywordLines("\xEF\xBB").size() == 1 && KeywordLines("\r\r\n").empty());
    size_t beyond = 1000;
    Tokens tokens{"stale"};
    EXPECT_FALSE(ReadTokenLine("abc", beyond, tokens));
    EXPECT_EQ(std::make_tuple(beyond, tokens.empty()), std::make_tuple(size_t{3}, true));
}

TEST(WordLines, CutAtEveryLineEndStyleAfterAByteOrderMark) {
    // A CR before an LF stays in its line as white space (descriptions keep it).
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"a b\r\nc\r\n", {"a b\r", "c\r"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"", {}},
        {"Mass 1043\rWing 1 2\r\rlast", {"Mass 1043", "Wing 1 2", "", "last"}},
        {"a\r\rb\r\n\rc\n", {"a", "", "b\r", "", "c"}},
        {kMark + "Mass 1043\r\n", {"Mass 1043\r"}},
        {kMark, {}},
        {"\xEF\xBB", {"\xEF\xBB"}},
        {"x" + kMark, {"x" + kMark}}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(WordLines(text), lines) << text;
}

TEST(WordLines, WordsAreSeparatedByAnyWhiteSpaceAndTheFirstSaysWhatTheLineIs) {
    // A route line: keyword, two spaces, name, space, number, CR; then only empty words.
    FSWords words("terrain  alps 3\r");
    EXPECT_EQ(words.Next(), "terrain");
    EXPECT_EQ(words.cursor, 7u);  // on the blank after the word
    EXPECT_EQ((Lines{std::string(words.Next()), std::string(words.Next()), std::string(words.Next())}),
              (Lines{"alps", "3", ""}));
    EXPECT_EQ(words.cursor, 16u);
    FSWords spaced("\tMass\t1043.3\v\f x,y \xC3\xA9t\xC3\xA9");
    for (const char* word : {"Mass", "1043.3", "x,y", "\xC3\xA9t\xC3\xA9", ""})
        EXPECT_EQ(spaced.Next(), word);
    size_t cursor = 99;
    EXPECT_EQ(NextWord("short", cursor), "");
    EXPECT_EQ(cursor, 5u);

    const std::pair<const char*, FSWordLineKind> kinds[] = {
        {"//", FSWordLineKind::Comment},          {"#", FSWordLineKind::Description},
        {"#Cessna", FSWordLineKind::Description}, {"//Mass", FSWordLineKind::Keyword},
        {"Mass", FSWordLineKind::Keyword},        {"", FSWordLineKind::Keyword}};
    for (const auto& [word, kind] : kinds)
        EXPECT_EQ(KindOfFirstWord(word), kind) << word;
}

TEST(WordLines, PointsTakeTheirWordsInOrderAndMissingWordsReadAsZero) {
    FSWords words("1.5 -2 0.25 7 8 1 -0.5 2 3 4 extra");
    const FSTextPoint p = words.NextPoint(), ground = words.NextGroundPoint();
    const FSTextFixedPoint f = words.NextFixedPoint(), g = words.NextFixedGroundPoint();
    EXPECT_EQ(std::make_tuple(p.x, p.y, p.z, ground.x, ground.y, ground.z),
              std::make_tuple(1.5f, -2.0f, 0.25f, 7.0f, 0.0f, 8.0f));
    EXPECT_EQ(std::make_tuple(f.x, f.y, f.z, g.x, g.y, g.z),
              std::make_tuple(65536, -32768, 131072, 196608, 0, 262144));
    EXPECT_EQ(words.Next(), "extra");  // surplus words are left
    EXPECT_EQ(std::make_tuple(words.NextFloat(), words.NextInt(), words.NextBool(), words.NextFixed()),
              std::make_tuple(0.0f, 0, false, 0));
}

TEST(Description, CollectsHashLinesWithoutTheirFirstCharacter) {
    const std::string text =
        "#  Cessna 172R\r\n// not this\r\nMass 1043\r\n#\"Alpine Loop\" route\r\n#\r\n   #indented\n#last";
    EXPECT_EQ(DescriptionOf(text), "  Cessna 172R\r\n\"Alpine Loop\" route\r\n\r\n  #indented\nlast\n");
    EXPECT_EQ(DescriptionOf("Mass 1043\n"), "");
}

TEST(Description, ReadsFilesFromOtherEditorsOutOfAnEncryptedArchive) {
    using namespace image_test_files;
    const std::string folder = testing_support::MakeTempFolder("description");
    // Written with a byte-order mark and lone-CR line ends, the way some editors save.
    ASSERT_TRUE(
        Printf(folder + "Route1.txt", "\\357\\273\\277#Harbour at dawn\\rterrain harbour 0\\r#Fly low.\\r"));
    ASSERT_TRUE(ZipWithPassword(folder, folder + "routes.zip", "Route1.txt"));
    EXPECT_EQ(ReadDescriptionText(folder + "routes.zip", "route1.TXT"), "Harbour at dawn\nFly low.\n");
    EXPECT_EQ(ReadDescriptionText(folder + "routes.zip", "Route2.txt"), "");
    RemoveTempFolder(folder);
}

TEST(Numbers, IntegersAndBooleansReadLikeAtoiAndSaturate) {
    const std::pair<std::string, int> ints[] = {
        {"42", 42}, {" \t-17", -17}, {"+5", 5}, {"12abc", 12},           {"3.9", 3},
        {"abc", 0}, {"", 0},         {"-", 0},  {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
    for (const auto& [word, value] : ints) {
        EXPECT_EQ(ToInt(word), value) << word;
        EXPECT_EQ(ToBool(word), value != 0) << word;
    }
    EXPECT_EQ(ToInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ToInt("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ToInt(std::string_view("12 34").substr(0, 1)), 1);  // only the word counts
}

TEST(Numbers, RealsReadLikeAtofInEveryLocaleNarrowedToFloatAndTruncatedTo16Dot16) {
    // 0.00001 is 0.655 in 16.16, truncated to 0; -0.00002 is -1.31, truncated toward zero;
    // 0.99999999 is narrowed to 1.0f before scaling; beyond 16.16 values saturate.
    const std::tuple<std::string, float, int32_t> cases[] = {{"1.5", 1.5f, 98304},
                                                             {"-0.25", -0.25f, -16384},
                                                             {"1e3", 1000.0f, 65536000},
                                                             {"0.1", 0.1f, 6553},
                                                             {"2.5kg", 2.5f, 163840},
                                                             {"abc", 0.0f, 0},
                                                             {"", 0.0f, 0},
                                                             {"0.00001", 0.00001f, 0},
                                                             {"-0.00002", -0.00002f, -1},
                                                             {"0.99999999", 1.0f, 65536},
                                                             {"-40000", -40000.0f, INT32_MIN},
                                                             {"-32768", -32768.0f, INT32_MIN},
                                                             {"1e300", HUGE_VALF, INT32_MAX},
                                                             {"-1e300", -HUGE_VALF, INT32_MIN},
                                                             {"3.4028234e38", 3.4028234e38f, INT32_MAX}};
    const image_test_files::CommaDecimalLocale comma;
    for (const char* locale : {"comma", "C"}) {
        for (const auto& [word, real, fixed] : cases) {
            EXPECT_EQ(ToFloat(word), real) << word << " in the " << locale << " locale";
            EXPECT_EQ(ToFixed(word), fixed) << word << " in the " << locale << " locale";
        }
        std::setlocale(LC_ALL, "C");
    }
    EXPECT_EQ(ToFixed("nan"), 0);
    EXPECT_EQ(ToFloat(std::string_view("1.5e3").substr(0, 3)), 1.5f);
}

TEST(TextBlocks, TextEndsAtTheFirstZeroByteOrItsSize) {
    FSMemoryBlock block;
    block.data.reset(new uint8_t[8]{'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'});
    block.size = 7;
    EXPECT_EQ(TextOf(block), "ab");
    block.data[2] = 'x';
    EXPECT_EQ(TextOf(block), "abxcdef");
    EXPECT_EQ(TextOf(FSMemoryBlock{}), "");
}

}  // namespace
