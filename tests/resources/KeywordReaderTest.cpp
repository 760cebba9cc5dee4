// The keyword reader: token lines, word lines, descriptions and numbers read like atoi and atof.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "ImageTestFiles.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "support/TestSupport.h"

namespace {

using Tokens = std::vector<std::string>;
using Lines = std::vector<std::string>;

// Every line that holds a keyword, as its tokens.
std::vector<Tokens> KeywordLines(std::string_view text) {
    std::vector<Tokens> lines;
    ForEachTokenLine(text, [&lines](const Tokens& tokens) { lines.push_back(tokens); });
    return lines;
}

Lines WordLines(std::string_view text) {
    Lines lines;
    ForEachWordLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

Lines AllWords(std::string_view line) {
    Lines words;
    FSWords reader(line);
    for (std::string_view word = reader.Next(); !word.empty(); word = reader.Next())
        words.emplace_back(word);
    return words;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const std::string kByteOrderMark = "\xEF\xBB\xBF";

TEST(TokenLines, ReadLineByLineWithCommentsAndEmptyLinesSkipped) {
    const std::string text = "music_volume 7\r\n// two more\r\n\r\nsound_volume\t 5\r\n";
    size_t cursor = 0;
    Tokens tokens;
    // The last call, at the end of the text, gives nothing and leaves the cursor where it is.
    const std::pair<bool, Tokens> calls[] = {{true, {"music_volume", "7"}},
                                             {false, {"//", "two", "more"}},
                                             {false, {}},
                                             {true, {"sound_volume", "5"}},
                                             {false, {}}};
    for (const auto& [processed, expected] : calls) {
        EXPECT_EQ(ReadTokenLine(text, cursor, tokens), processed);
        EXPECT_EQ(tokens, expected);
    }
    EXPECT_EQ(cursor, text.size());
}

TEST(TokenLines, EveryLineEndStyleAndAByteOrderMarkGiveTheSameTokens) {
    const std::string crlf =
        "mask\tcocpit_mask.bmp\r\n// cockpit\r\n\r\nsrc cocpit.bmp\r\n   \t \r\ncompass 1 2 3 4\r\n";
    const std::vector<Tokens> expected = {
        {"mask", "cocpit_mask.bmp"}, {"src", "cocpit.bmp"}, {"compass", "1", "2", "3", "4"}};
    // A lone LF used to swallow the first byte of the next line ("ask", "rc", "ompass"), and a
    // byte-order mark made the first keyword unknown. LF CR is a line end and an empty line.
    for (const std::string& text :
         {crlf, Replace(crlf, "\r\n", "\n"), Replace(crlf, "\r\n", "\r"), kByteOrderMark + crlf,
          kByteOrderMark + Replace(crlf, "\r\n", "\n"),
          std::string("mask\tcocpit_mask.bmp\nsrc cocpit.bmp\r\rcompass 1 2 3 4\n\r")}) {
        EXPECT_EQ(KeywordLines(text), expected) << text;
    }
    size_t cursor = 0;
    Tokens tokens;
    EXPECT_TRUE(ReadTokenLine(kByteOrderMark + "\tsrc x", cursor, tokens));
    EXPECT_EQ(tokens, (Tokens{"src", "x"}));
    // The mark counts only at the start of the text.
    EXPECT_EQ(KeywordLines("a\n" + kByteOrderMark + "src x"),
              (std::vector<Tokens>{{"a"}, {kByteOrderMark + "src", "x"}}));
}

TEST(TokenLines, OnlySpacesAndTabsSeparateAndKeywordsMatchWholeTokensAndCounts) {
    Tokens tokens;
    SplitTokens("  letters\tA,B;C \v7\t\t \"x y\"  ", tokens);
    EXPECT_EQ(tokens, (Tokens{"letters", "A,B;C", "\v7", "\"x", "y\""}));
    SplitTokens(" \t more", tokens);  // appends
    EXPECT_EQ(tokens.back(), "more");

    const std::vector<Tokens> lines = KeywordLines(
        "music_volume 7\r\n  \t// indented comment\r\n//music_volume 7\r\nmusic_volume 7 8\r\n"
        "Music_volume 7\r\nmusic_volumes 7\r\nmusic_volume\r\n");
    ASSERT_EQ(lines.size(), 6u);  // "//music_volume" is no comment but an unknown keyword
    EXPECT_TRUE(IsKeywordLine(lines[0], "music_volume", 2));
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(IsKeywordLine(lines[i], "music_volume", 2)) << i;
    EXPECT_FALSE(IsKeywordLine({}, "", 0));
}

TEST(TokenLines, NeverReadPastTheEndOfAnUnterminatedText) {
    // Exactly the bytes of the text, no terminator behind them, so that the sanitizer sees any overrun.
    for (const std::string source :
         {"src cocpit.bmp", "src cocpit.bmp\r", "src cocpit.bmp\n", "\r", "x", "\xEF\xBB"}) {
        std::vector<char> bytes(source.begin(), source.end());
        const std::string_view text(bytes.data(), bytes.size());
        size_t cursor = 0;
        Tokens tokens;
        for (int calls = 0; cursor < text.size() && calls < 10; ++calls)
            ReadTokenLine(text, cursor, tokens);
        EXPECT_EQ(cursor, text.size()) << source;
    }
    EXPECT_EQ(KeywordLines("src cocpit.bmp"), (std::vector<Tokens>{{"src", "cocpit.bmp"}}));
    size_t beyond = 1000;
    Tokens tokens{"stale"};
    EXPECT_FALSE(ReadTokenLine("abc", beyond, tokens));
    EXPECT_EQ(beyond, 3u);
    EXPECT_TRUE(tokens.empty());
}

TEST(WordLines, CutAtEveryLineEndStyleAfterAByteOrderMark) {
    // A CR before an LF stays in its line as white space (descriptions keep it).
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"a b\r\nc\r\n", {"a b\r", "c\r"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\nb", {"a", "b"}},
        {"\n", {""}},
        {"", {}},
        {"Mass 1043\rWing 1 2\r\rlast", {"Mass 1043", "Wing 1 2", "", "last"}},
        {"a\r\rb\r\n\rc\n", {"a", "", "b\r", "", "c"}},
        {kByteOrderMark + "Mass 1043\r\n", {"Mass 1043\r"}},
        {kByteOrderMark, {}},
        {"\xEF\xBB", {"\xEF\xBB"}},
        {"x" + kByteOrderMark, {"x" + kByteOrderMark}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(WordLines(text), lines) << text;
}

TEST(WordLines, WordsAreSeparatedByAnyWhiteSpaceAndTheFirstSaysWhatTheLineIs) {
    // A route line: keyword, two spaces, name, space, number, CR; then only empty words.
    FSWords words("terrain  alps 3\r");
    EXPECT_EQ(words.Next(), "terrain");
    EXPECT_EQ(words.cursor, 7u);  // on the blank after the word
    EXPECT_EQ(AllWords(words.line.substr(words.cursor)), (Lines{"alps", "3"}));
    EXPECT_EQ(AllWords("\tMass\t1043.3\v\f x,y \xC3\xA9t\xC3\xA9"),
              (Lines{"Mass", "1043.3", "x,y", "\xC3\xA9t\xC3\xA9"}));
    size_t cursor = 99;
    EXPECT_EQ(NextWord("short", cursor), "");
    EXPECT_EQ(cursor, 5u);

    using Kind = FSWordLineKind;
    for (const auto& [word, kind] : std::vector<std::pair<std::string, Kind>>{{"//", Kind::Comment},
                                                                              {"#", Kind::Description},
                                                                              {"#Cessna", Kind::Description},
                                                                              {"//Mass", Kind::Keyword},
                                                                              {"Mass", Kind::Keyword},
                                                                              {"", Kind::Keyword}}) {
        EXPECT_EQ(KindOfFirstWord(word), kind) << word;
    }
}

TEST(WordLines, MissingWordsReadAsZeroAndSurplusWordsAreLeft) {
    FSWords pitch("Pitch -25");
    EXPECT_EQ(pitch.Next(), "Pitch");
    EXPECT_EQ(pitch.NextFloat(), -25.0f);
    EXPECT_EQ(std::make_tuple(pitch.NextFloat(), pitch.NextInt(), pitch.NextBool()),
              std::make_tuple(0.0f, 0, false));

    FSWords start("1.5 -2 0.25 7 8 extra");
    const FSTextPoint p = start.NextPoint();
    EXPECT_EQ(std::make_tuple(p.x, p.y, p.z), std::make_tuple(1.5f, -2.0f, 0.25f));
    const FSTextPoint ground = start.NextGroundPoint();
    EXPECT_EQ(std::make_tuple(ground.x, ground.y, ground.z), std::make_tuple(7.0f, 0.0f, 8.0f));
    EXPECT_EQ(start.Next(), "extra");

    FSWords fixed("1 -0.5 2 3 4");
    const FSTextFixedPoint f = fixed.NextFixedPoint();
    EXPECT_EQ(std::make_tuple(f.x, f.y, f.z), std::make_tuple(65536, -32768, 131072));
    const FSTextFixedPoint g = fixed.NextFixedGroundPoint();
    EXPECT_EQ(std::make_tuple(g.x, g.y, g.z), std::make_tuple(3 * 65536, 0, 4 * 65536));
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
    EXPECT_FALSE(ToBool("0.9"));
    EXPECT_EQ(ToInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ToInt("-99999999999999999999"), INT_MIN);
    // Only the word counts, not what follows it in the text.
    const std::string text = "12 34";
    EXPECT_EQ(ToInt(std::string_view(text).substr(0, 1)), 1);
}

TEST(Numbers, RealsReadLikeAtofInEveryLocaleNarrowedToFloatAndTruncatedTo16Dot16) {
    const struct {
        const char* word;
        float real;
        int32_t fixed;
    } cases[] = {
        {"1.5", 1.5f, 98304},
        {"-0.25", -0.25f, -16384},
        {"1e3", 1000.0f, 1000 * 65536},
        {"-40000", -40000.0f, INT32_MIN},  // beyond 16.16 values saturate
        {"-32768", -32768.0f, INT32_MIN},
        {"0.1", 0.1f, 6553},
        {"2.5kg", 2.5f, 163840},
        {"abc", 0.0f, 0},
        {"", 0.0f, 0},
        {"0.00001", 0.00001f, 0},     // 0.655 truncates to 0
        {"-0.00002", -0.00002f, -1},  // -1.31 truncates toward zero
        {"0.99999999", 1.0f, 65536},  // narrowed to 1.0f before scaling
        {"1e300", HUGE_VALF, INT32_MAX},
        {"-1e300", -HUGE_VALF, INT32_MIN},
        {"3.4028234e38", 3.4028234e38f, INT32_MAX},
    };
    image_test_files::CommaDecimalLocale comma;
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "comma locale" : "C locale");
        for (const auto& c : cases) {
            EXPECT_EQ(ToFloat(c.word), c.real) << c.word;
            EXPECT_EQ(ToFixed(c.word), c.fixed) << c.word;
        }
        std::setlocale(LC_ALL, "C");
    }
    EXPECT_EQ(ToFixed("nan"), 0);
    const std::string text = "1.5e3";
    EXPECT_EQ(ToFloat(std::string_view(text).substr(0, 3)), 1.5f);
}

TEST(TextBlocks, TextEndsAtTheFirstZeroByte) {
    FSMemoryBlock block;
    block.data.reset(new uint8_t[8]{'a', 'b', '\0', 'c', 'd', 'e', 'f', '\0'});
    block.size = 7;
    EXPECT_EQ(TextOf(block), "ab");
    block.data[2] = 'x';
    EXPECT_EQ(TextOf(block), "abxcdef");
    EXPECT_EQ(TextOf(FSMemoryBlock{}), "");
}

}  // namespace
