#pragma once
// The lexical layer of every text file of the game: lines made of a keyword and its
// arguments. Keyword tables belong to the readers of each file; this only cuts text.
//
// Two styles, and a file is always read in one of them:
// - token-line style ("settings.bin", cockpit layouts, the fonts' "config.txt"): a line ends
//   at CR LF, a lone LF or a lone CR; tokens are separated by spaces and tabs only, so any
//   other byte (punctuation, a vertical tab) belongs to a token.
// - word style (aircraft and route files): a line ends at LF, CR LF or a lone CR, and words
//   are separated by any of space, tab, CR, LF, vertical tab and form feed; the CR of a CR LF
//   stays in its line as white space (descriptions keep it).
// A UTF-8 byte-order mark (EF BB BF) that some editors put at the start of a text is skipped
// in both styles.
// Bytes 128-255 are word characters in both styles. Keywords compare byte for byte with the
// whole token or word. Nothing here reports errors: bad numbers convert to what they
// convert to (usually 0), and lines that match nothing are the reader's to skip.
//
// Every function takes the text with its length and never reads beyond it; an
// unterminated last line is read like any other.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct FSMemoryBlock;

// The text of a text block: up to its first 0 byte, as the game has always read it.
std::string_view TextOf(const FSMemoryBlock& block);

// 3 when the text starts with a UTF-8 byte-order mark, else 0.
size_t ByteOrderMarkLength(std::string_view text);

// ---- Token-line style ----

// Reads the line that starts at cursor and moves cursor to the start of the next line (at
// most to text.size()); at cursor 0 a byte-order mark is skipped first. tokens gets the line's tokens; true
// when there is a keyword to process, false for an empty or blank line and for a comment, whose first token
// is exactly "//" ("//x" is an ordinary keyword that matches nothing). The caller loops while cursor <
// text.size().
bool ReadTokenLine(std::string_view text, size_t& cursor, std::vector<std::string>& tokens);

// Appends the maximal runs of bytes that are neither space nor tab, in order.
void SplitTokens(std::string_view line, std::vector<std::string>& tokens);

// The whole token-line loop: handle sees the tokens of every line that holds a keyword.
void ForEachTokenLine(std::string_view text,
                      const std::function<void(const std::vector<std::string>&)>& handle);

// True when the first token is keyword and the line has exactly tokenCount tokens, the
// keyword included.
bool IsKeywordLine(const std::vector<std::string>& tokens, std::string_view keyword, size_t tokenCount);

// ---- Word style ----

bool IsWordSpace(char c);

// Skips white space from cursor and returns the word after it (a view into line); cursor
// is left just after the word. At the end of the line the word is empty.
std::string_view NextWord(std::string_view line, size_t& cursor);

// Where the word-style line that starts at start ends: at its LF or lone CR, or at
// text.size(); the next line starts one byte later. A CR before an LF stays in the line.
size_t WordLineEnd(std::string_view text, size_t start);

// The word-style loop: each line, without its LF or lone CR, in order, after a byte-order
// mark. A last line without a line end is read too; an empty text has no lines.
void ForEachWordLine(std::string_view text, const std::function<void(std::string_view)>& handle);

// What the first word of a word-style line makes of it.
enum class FSWordLineKind {
    Comment,      // exactly "//"
    Description,  // begins with '#': free text for the selection screens
    Keyword,      // anything else, an empty word included; unknown keywords are skipped
};
FSWordLineKind KindOfFirstWord(std::string_view word);

// A 3-D point as written in a file (x, y, z), and the same in 16.16 fixed point.
struct FSTextPoint {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};
struct FSTextFixedPoint {
    int32_t x = 0, y = 0, z = 0;
};

// One word-style line being read: each Next... takes the following word. Missing words read
// as empty and convert to 0; surplus words are left unread.
struct FSWords {
    std::string_view line;
    size_t cursor = 0;

    explicit FSWords(std::string_view text) : line(text) {}

    std::string_view Next() { return NextWord(line, cursor); }
    int NextInt();
    float NextFloat();
    int32_t NextFixed();
    bool NextBool();
    FSTextPoint NextPoint();                  // three words x y z
    FSTextPoint NextGroundPoint();            // two words x z; y = 0
    FSTextFixedPoint NextFixedPoint();        // three words x y z, each 16.16
    FSTextFixedPoint NextFixedGroundPoint();  // two words x z, each 16.16; y = 0
};

// The description text of a word-style file: every line whose first word begins with '#',
// without the line's first character, each followed by "\n" (a CR before the line's LF stays
// in the text).
std::string DescriptionOf(std::string_view text);

// DescriptionOf a member read with ReadArchiveText. A missing member tells the player
// "buffer is NULL! (File not found)" (caption "Error") and gives "".
std::string ReadDescriptionText(const std::string& archivePath, const std::string& memberName);

// ---- Numbers (both styles) ----

// Decimal integer after optional white space and sign, up to the first other byte; no
// digits give 0. Values beyond the int range saturate.
int ToInt(std::string_view word);
// The double the text begins with (as the C library reads it in the "C" locale, whatever
// the process locale), narrowed to single precision; beyond the float range gives infinity.
float ToFloat(std::string_view word);
// ToFloat × 65536 truncated toward zero: 16.16 fixed point. Saturates at the int32 range;
// not-a-number gives 0.
int32_t ToFixed(std::string_view word);
// Non-zero ToInt: "0.9" and "yes" are false.
bool ToBool(std::string_view word);
