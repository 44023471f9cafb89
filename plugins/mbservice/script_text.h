#pragma once
// How a service script reads: the statements as the interpreter fetches them from the
// parameter text, the parts of one statement, operand values and byte texts. The rules are
// the terminal's own, odd ones included, because the installed scripts were written for
// them: a statement ends at the next ";", loses its leading characters up to 0x40, its
// argument ends with the statement's ")", and so on. Pure text work: every
// position is checked, any text is safe.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::mbservice {

inline constexpr std::string_view kScriptMark = "#INTERPRETE";

// Where the first statement begins: one past the first "{" at or after `start`. nullopt when
// the text has no "#INTERPRETE" at or after `start`, or no "{" there.
std::optional<size_t> scriptBegin(std::string_view text, int start);

struct Fetched {
    std::string_view statement;  // up to the ";", without it
    size_t next = 0;             // one past the ";"
};
// The statement at `pos`; nullopt when no ";" follows.
std::optional<Fetched> fetchStatement(std::string_view text, size_t pos);

// The statement without its leading characters of code 0x40 or lower (blanks, line breaks,
// digits, most punctuation).
std::string_view dropLeading(std::string_view statement);

// One statement, already without its leading characters.
class Statement {
  public:
    explicit Statement(std::string_view text) : text_(text) {}
    std::string_view text() const { return text_; }
    bool contains(std::string_view part) const { return text_.find(part) != text_.npos; }

    // The text before the first "("; empty when there is none (so "EXIT;" has no name).
    std::string_view name() const;
    // After the first "(" up to the statement's closing ")" (its last character). A
    // statement that does not end in ")" keeps its tail: "JMP(L1) " gives "L1) ".
    std::string_view argument() const;
    // The argument of one-argument statements: when the statement holds a double quote
    // anywhere, one more character goes at each end (the quotes).
    std::string_view quotedArgument() const;
    // Operand k of a multi-operand argument: after the k-th comma up to the next one.
    std::string_view operand(size_t k) const;

  private:
    std::string_view text_;
};

// A conditional statement NAME(value) + embedded statement.
struct Conditional {
    std::string_view value;     // between the first "(" and the first ")"
    std::string_view embedded;  // from two past that ")", cut at the "+" rule
};
Conditional splitConditional(std::string_view statement);

// A decimal number as the terminal reads one: leading blanks and a sign skipped, digits up
// to the first other character, 0 without digits; beyond the 32-bit range it saturates.
int32_t readDecimal(std::string_view text);
// A number operand: text holding "0x" is one hexadecimal byte from its characters at index
// 2 and 3 (so "0x5" is 0x50 and "0x1f" is 0x10); anything else is decimal.
int32_t readValue(std::string_view operand);
// "0x%.2X" of an 8-bit variable.
std::string formatByte(uint8_t value);

// Byte texts: two characters per byte. The SND and MNT form takes an odd last character as
// the high digit of a last byte; the LOGOFF form ignores it.
std::vector<uint8_t> hexBytesPadded(std::string_view text);

// Where a jump to `label` goes: the first "LABEL(" immediately followed by `label`, searched
// from the start of the text; nullopt when there is none.
std::optional<size_t> findLabel(std::string_view text, std::string_view label);

// The rows of a choice list: one per backslash, each the text before it (text after the
// last backslash is not a row).
std::vector<std::string> choiceRows(std::string_view argument);
// The choice list's column width in device pixels: the longest row's characters × 24 ×
// 0.625, truncated; a width under 380 becomes 280.
int choiceColumnWidth(const std::vector<std::string>& rows);

// Characters of a text (UTF-8 code points), as the terminal counts them.
size_t characterCount(std::string_view text);

}  // namespace corvan::mbservice
