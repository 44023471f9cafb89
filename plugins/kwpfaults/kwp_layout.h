#pragma once
// How the stored-codes reply of a unit is laid out and read, as its data describe it: the
// requests, the OK byte, where the entries start and how long they are, how the code
// number is written, which codes to skip and how the present/intermittent status is told.
// Pure functions over the parameter text and the reply bytes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/faultcodes/trouble_code.h"

namespace corvan::kwpfaults {

inline constexpr std::string_view kPresent = "ACTUAL";
inline constexpr std::string_view kIntermittent = "FUGAZ";
inline constexpr int kMaxEntriesPerPass = 30;

struct EntryLayout {
    int first = 0;      // index of the first entry, counted from reply byte 4
    int length = 0;     // bytes per entry
    int codeBytes = 0;  // 2: a two-byte code number; anything else: one byte
};

// The layout of a word of "TYPE=", for data that give no "PINI=", "LBLK=" and "LDTC=":
//   "KWP2000"          58, count, then code high, code low, status   (2, 3, 2)
//   "KWP2000_NOSTATUS" 58, count, then code high, code low           (2, 2, 2)
//   "OBDII"            43, then code high, code low                  (1, 2, 2)
// Any other word: nullopt (the reply yields no records).
std::optional<EntryLayout> layoutOfWord(std::string_view word);

struct StatusRule {
    std::string whenTrue, whenFalse;  // "ACTUAL" / "FUGAZ"
    bool anyOf = false;
    std::vector<uint16_t> masks;  // 2 to the power of each digit; non-digits give none
};

// "VACTFUG=": character 0 "A" when the rule's true result means present, character 1 the
// bar for any-of (else all-of), characters 2..4 bit numbers.
StatusRule readStatusRule(std::string_view word);
std::string_view statusOf(const StatusRule& rule, uint8_t statusByte);

struct ReaderKeys {
    std::vector<uint8_t> present, intermittent;  // "ACTUAL=", "FUGAZ="
    bool secondPass = false;                     // "FUGAZ=" given
    bool okCheck = false;                        // "POK=" given
    int okIndex = 0;
    uint8_t okValue = 0;
    std::optional<EntryLayout> layout;
    std::string codeWriting;  // "TYPEDTC="
    std::string ignore;       // "IGNORE="
    std::optional<StatusRule> status;
    int statusIndex = 0;  // "PACTFUG="
};

// The keys from `start`, bounded by the next "<MNU".
ReaderKeys readReaderKeys(std::string_view text, int start);

// A request that would erase the unit's codes (KWP 0x14, OBD 0x04 as the first byte or as
// the service byte after a KWP header): a reading never sends it.
bool erasesCodes(std::span<const uint8_t> message);

// The code text of the entry starting at reply byte `at` (bytes past `have` count as 0).
std::string entryCode(const ReaderKeys& keys, std::span<const uint8_t> reply, size_t have,
                      size_t at);

// The number of entries of a reply (at most 30; 0 without a layout).
int entryCount(const ReaderKeys& keys, std::span<const uint8_t> reply, int length);

// The record of entry `j`, or nullopt when its code is the "IGNORE=" text. The status comes
// from the rule, or from the pass (present in the first, intermittent in the second).
std::optional<faultcodes::TroubleCode> entryRecord(const ReaderKeys& keys,
                                                   std::span<const uint8_t> reply, int length,
                                                   int j, bool firstPass,
                                                   std::string_view definitions);

// True when the reply may be used: no OK byte asked for, or reply byte 4 + index is in the
// reply and holds it.
bool okByteMatches(const ReaderKeys& keys, std::span<const uint8_t> reply, int length);

}  // namespace corvan::kwpfaults
