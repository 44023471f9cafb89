#pragma once
// Talking to the terminal's Bluetooth serial module: an AT command goes out one character
// at a time and the answer is collected until the module falls quiet (a count of empty
// reads) or, for the inquiry, until the answer holds "EOI".
#include <string>
#include <string_view>
#include <vector>

namespace corvan {
class Clock;
class SerialPort;
}  // namespace corvan

namespace corvan::boxservice {

// Empty reads awaited per byte while reading up to "EOI", 1 ms apart.
inline constexpr int kInquiryEmptyReads = 300;
// An answer never grows past this: a module stuck sending would otherwise hold the
// terminal for ever.
inline constexpr size_t kMaxAnswer = 16384;

struct AtAnswer {
    bool ok = false;   // at least one byte came
    std::string text;  // as it came (single-byte text), zero bytes turned into blanks
};

// The bytes of a command: the low byte of each character (of the UTF-8 text given).
std::vector<uint8_t> atCommandBytes(std::string_view command);

// Sends `command`, waits 100 ms, then reads. With `quietCount` > 0 the answer ends after
// that many empty reads in a row, 10 ms apart (any byte starts the count again); with 0 it
// ends once it holds "EOI", or when 300 empty reads 1 ms apart bring no further byte. A
// failed write ends the operation with no answer.
AtAnswer sendAtCommand(SerialPort& port, Clock& clock, std::string_view command, int quietCount);

// Whether the module's answer contains `word` ("OK", "ERR").
bool answerHas(const AtAnswer& answer, std::string_view word);

}  // namespace corvan::boxservice
