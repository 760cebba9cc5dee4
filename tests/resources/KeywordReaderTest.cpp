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

// Every line that holds a keyword, as its tokens.
std::vector<Tokens> KeywordLines(std::string_view text) {
    std::vector<Tokens> lines;
    ForEachTokenLine(text, [&lines](const Tokens& tokens) { lines.push_back(tokens); });
    return lines;
}

std::vector<std::string> WordLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachWordLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string> AllWords(std::string_view line) {
    std::vector<std::string> words;
    FSWords reader(line);
    for (std::string_view word = reader.Next(); !word.empty(); word = reader.Next())
        words.emplace_back(word);
    return words;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(TokenLines, ReadLineByLineWithCommentsAndEmptyLinesSkipped) {
    const std::string text = "music_volume 7\r\n// two more\r\n\r\nsound_volume\t 5\r\n";
    size_t cursor = 0;
    Tokens tokens;
    EXPECT_TRUE(ReadTokenLine(text, cursor, tokens));
    EXPECT_EQ(tokens, (Tokens{"music_volume", "7"}));
    EXPECT_FALSE(ReadTokenLine(text, cursor, tokens));
    EXPECT_EQ(tokens, (Tokens{"//", "two", "more"}));
    EXPECT_FALSE(ReadTokenLine(text, cursor, tokens));
    EXPECT_TRUE(tokens.empty());
    EXPECT_TRUE(ReadTokenLine(text, cursor, tokens));
    EXPECT_EQ(tokens, (Tokens{"sound_volume", "5"}));
    EXPECT_EQ(cursor, text.size());
    // Asked again at the end: nothing, and the cursor stays put.
    EXPECT_FALSE(ReadTokenLine(text, cursor, tokens));
    EXPECT_TRUE(tokens.empty());
    EXPECT_EQ(cursor, text.size());
}

TEST(TokenLines, CrLfLfAndCrLineEndsGiveTheSameTokens) {
    const std::string crlf =
        "// cockpit\r\nmask\tcocpit_mask.bmp\r\n\r\nsrc cocpit.bmp\r\n   \t \r\ncompass 1 2 3 4\r\n";
    const std::vector<Tokens> expected = {
        {"mask", "cocpit_mask.bmp"}, {"src", "cocpit.bmp"}, {"compass", "1", "2", "3", "4"}};
    EXPECT_EQ(KeywordLines(crlf), expected);
    // A lone LF used to swallow the first byte of the next line ("ask", "rc", "ompass").
    EXPECT_EQ(KeywordLines(Replace(crlf, "\r\n", "\n")), expected);
    EXPECT_EQ(KeywordLines(Replace(crlf, "\r\n", "\r")), expected);
    // Mixed in one file, and LF CR read as a line end and an empty line.
    EXPECT_EQ(KeywordLines("mask\tcocpit_mask.bmp\nsrc cocpit.bmp\r\rcompass 1 2 3 4\n\r"), expected);
}

TEST(TokenLines, OnlySpacesAndTabsSeparateTokens) {
    Tokens tokens;
    SplitTokens("  letters\tA,B;C \v7\t\t \"x y\"  ", tokens);
    EXPECT_EQ(tokens, (Tokens{"letters", "A,B;C", "\v7", "\"x", "y\""}));
    SplitTokens("more", tokens);  // appends
    EXPECT_EQ(tokens.back(), "more");
    tokens.clear();
    SplitTokens(" \t ", tokens);
    EXPECT_TRUE(tokens.empty());
}

TEST(TokenLines, OnlyAWholeSlashSlashTokenIsAComment) {
    Tokens tokens;
    size_t cursor = 0;
    EXPECT_FALSE(ReadTokenLine("  \t// indented comment", cursor, tokens));
    cursor = 0;
    EXPECT_TRUE(ReadTokenLine("//music_volume 7", cursor, tokens));
    EXPECT_EQ(tokens[0], "//music_volume");
    EXPECT_FALSE(IsKeywordLine(tokens, "music_volume", 2));
}

TEST(TokenLines, KeywordsMatchWholeCaseAndCount) {
    const std::vector<Tokens> lines = KeywordLines(
        "music_volume 7\r\nmusic_volume 7 8\r\nMusic_volume 7\r\nmusic_volumes 7\r\nmusic_volume\r\n");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(IsKeywordLine(lines[0], "music_volume", 2));
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(IsKeywordLine(lines[i], "music_volume", 2)) << i;
    EXPECT_FALSE(IsKeywordLine({}, "", 0));
}

TEST(TokenLines, NeverReadPastTheEndOfAnUnterminatedText) {
    // Exactly the bytes of the text, no terminator behind them, so that the sanitizer sees any overrun.
    for (const std::string source : {"src cocpit.bmp", "src cocpit.bmp\r", "src cocpit.bmp\n", "\r", "x"}) {
        SCOPED_TRACE(source);
        std::vector<char> bytes(source.begin(), source.end());
        const std::string_view text(bytes.data(), bytes.size());
        size_t cursor = 0;
        Tokens tokens;
        int calls = 0;
        while (cursor < text.size() && calls < 10) {
            ReadTokenLine(text, cursor, tokens);
            ++calls;
            EXPECT_LE(cursor, text.size());
        }
        EXPECT_EQ(cursor, text.size());
    }
    EXPECT_EQ(KeywordLines("src cocpit.bmp"), (std::vector<Tokens>{{"src", "cocpit.bmp"}}));
    size_t beyond = 1000;
    Tokens tokens{"stale"};
    EXPECT_FALSE(ReadTokenLine("abc", beyond, tokens));
    EXPECT_EQ(beyond, 3u);
    EXPECT_TRUE(tokens.empty());
}

TEST(WordLines, CutAtLineFeedsOnlyAndKeepTheCr) {
    EXPECT_EQ(WordLines("a b\r\nc\r\n"), (std::vector<std::string>{"a b\r", "c\r"}));
    EXPECT_EQ(WordLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(WordLines("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(WordLines("\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(WordLines("lone\rcr"), (std::vector<std::string>{"lone\rcr"}));
    EXPECT_TRUE(WordLines("").empty());
}

TEST(WordLines, WordsAreSeparatedByAnyWhiteSpace) {
    // A route line: keyword, two spaces, name, space, number, CR; then only empty words.
    FSWords words("terrain  alps 3\r");
    EXPECT_EQ(words.Next(), "terrain");
    EXPECT_EQ(words.cursor, 7u);  // on the blank after the word
    EXPECT_EQ(words.Next(), "alps");
    EXPECT_EQ(words.Next(), "3");
    EXPECT_EQ(words.Next(), "");
    EXPECT_EQ(words.Next(), "");
    EXPECT_EQ(words.cursor, 16u);

    EXPECT_EQ(AllWords("\tMass\t1043.3\v\f x,y \xC3\xA9t\xC3\xA9"),
              (std::vector<std::string>{"Mass", "1043.3", "x,y", "\xC3\xA9t\xC3\xA9"}));
    size_t cursor = 99;
    EXPECT_EQ(NextWord("short", cursor), "");
    EXPECT_EQ(cursor, 5u);
}

TEST(WordLines, FirstWordSaysCommentDescriptionOrKeyword) {
    EXPECT_EQ(KindOfFirstWord("//"), FSWordLineKind::Comment);
    EXPECT_EQ(KindOfFirstWord("#"), FSWordLineKind::Description);
    EXPECT_EQ(KindOfFirstWord("#Cessna"), FSWordLineKind::Description);
    EXPECT_EQ(KindOfFirstWord("//Mass"), FSWordLineKind::Keyword);
    EXPECT_EQ(KindOfFirstWord("Mass"), FSWordLineKind::Keyword);
    EXPECT_EQ(KindOfFirstWord(""), FSWordLineKind::Keyword);
}

TEST(WordLines, MissingWordsReadAsZeroAndSurplusWordsAreLeft) {
    FSWords pitch("Pitch -25 30");
    EXPECT_EQ(pitch.Next(), "Pitch");
    EXPECT_EQ(pitch.NextFloat(), -25.0f);
    EXPECT_EQ(pitch.NextFloat(), 30.0f);
    EXPECT_EQ(pitch.NextFloat(), 0.0f);
    EXPECT_EQ(pitch.NextInt(), 0);
    EXPECT_FALSE(pitch.NextBool());

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
        "#  Cessna 172R\r\n"
        "// not this\r\n"
        "Mass 1043\r\n"
        "#\"Alpine Loop\" route\r\n"
        "#\r\n"
        "   #indented\n"
        "#last";
    EXPECT_EQ(DescriptionOf(text), "  Cessna 172R\r\n\"Alpine Loop\" route\r\n\r\n  #indented\nlast\n");
    EXPECT_EQ(DescriptionOf(""), "");
    EXPECT_EQ(DescriptionOf("Mass 1043\n"), "");
}

TEST(Description, ReadsFromAnEncryptedArchive) {
    const std::string folder = testing_support::MakeTempFolder("description");
    ASSERT_TRUE(image_test_files::WriteText(folder + "Route1.txt",
                                            "# \"Harbour\" at dawn\r\nterrain harbour 0\r\n#Fly low.\r\n"));
    ASSERT_TRUE(image_test_files::ZipWithPassword(folder, folder + "routes.zip", "Route1.txt"));
    EXPECT_EQ(ReadDescriptionText(folder + "routes.zip", "route1.TXT"),
              " \"Harbour\" at dawn\r\nFly low.\r\n");
    EXPECT_EQ(ReadDescriptionText(folder + "routes.zip", "Route2.txt"), "");
    image_test_files::RemoveTempFolder(folder);
}

TEST(Numbers, IntegersReadLikeAtoiAndSaturate) {
    EXPECT_EQ(ToInt("42"), 42);
    EXPECT_EQ(ToInt(" \t-17"), -17);
    EXPECT_EQ(ToInt("+5"), 5);
    EXPECT_EQ(ToInt("12abc"), 12);
    EXPECT_EQ(ToInt("3.9"), 3);
    EXPECT_EQ(ToInt("abc"), 0);
    EXPECT_EQ(ToInt(""), 0);
    EXPECT_EQ(ToInt("-"), 0);
    EXPECT_EQ(ToInt("2147483647"), INT_MAX);
    EXPECT_EQ(ToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ToInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ToInt("-99999999999999999999"), INT_MIN);
    // Only the word counts, not what follows it in the text.
    const std::string text = "12 34";
    EXPECT_EQ(ToInt(std::string_view(text).substr(0, 1)), 1);

    EXPECT_TRUE(ToBool("1"));
    EXPECT_TRUE(ToBool("-1"));
    EXPECT_TRUE(ToBool("2"));
    EXPECT_FALSE(ToBool("0"));
    EXPECT_FALSE(ToBool("0.9"));
    EXPECT_FALSE(ToBool("yes"));
}

TEST(Numbers, RealsReadLikeAtofNarrowedToFloat) {
    EXPECT_EQ(ToFloat("1.5"), 1.5f);
    EXPECT_EQ(ToFloat("-0.25"), -0.25f);
    EXPECT_EQ(ToFloat("1e3"), 1000.0f);
    EXPECT_EQ(ToFloat("0.1"), 0.1f);
    EXPECT_EQ(ToFloat("2.5kg"), 2.5f);
    EXPECT_EQ(ToFloat("abc"), 0.0f);
    EXPECT_EQ(ToFloat(""), 0.0f);
    EXPECT_TRUE(std::isinf(ToFloat("1e300")) && ToFloat("1e300") > 0);
    EXPECT_TRUE(std::isinf(ToFloat("-1e300")) && ToFloat("-1e300") < 0);
    EXPECT_EQ(ToFloat("3.4028234e38"), 3.4028234e38f);
    const std::string text = "1.5e3";
    EXPECT_EQ(ToFloat(std::string_view(text).substr(0, 3)), 1.5f);

    // The process locale does not change how numbers read.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
        EXPECT_EQ(ToFloat("1.5"), 1.5f);
        std::setlocale(LC_ALL, "C");
    }
}

TEST(Numbers, FixedPointIsTheFloatTimes65536TruncatedTowardZero) {
    EXPECT_EQ(ToFixed("1"), 65536);
    EXPECT_EQ(ToFixed("1.5"), 98304);
    EXPECT_EQ(ToFixed("-1.5"), -98304);
    EXPECT_EQ(ToFixed("0.00001"), 0);         // 0.655 truncates to 0
    EXPECT_EQ(ToFixed("-0.00002"), -1);       // -1.31 truncates toward zero
    EXPECT_EQ(ToFixed("0.99999999"), 65536);  // narrowed to 1.0f before scaling
    EXPECT_EQ(ToFixed("40000"), INT32_MAX);
    EXPECT_EQ(ToFixed("-40000"), INT32_MIN);
    EXPECT_EQ(ToFixed("-32768"), INT32_MIN);
    EXPECT_EQ(ToFixed("nan"), 0);
    EXPECT_EQ(ToFixed("x"), 0);
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
