#pragma once
// The entry of KWPFAULTS.dll, which reads the stored trouble codes of a KWP 2000 unit for a
// trouble-code display. It has an argument list of its own: the parameter text and the
// start position of the display's menu item, an array of records the caller owns (room for
// kKwpFaultRecords), a word it does not use, the link, and the decoded definition text. It
// returns how many records it wrote. Texts are UTF-8, each ended by a zero byte and cut to
// its field at a character boundary.
#include <cstdint>

#include "runtime/varbox_link.h"

extern "C" {

struct KwpFaultRecord {
    char code[16];
    char description[256];
    char detail[1024];
    char status[16];  // "ACTUAL" (present) or "FUGAZ" (intermittent)
    char extra[128];
};

typedef int32_t (*KwpFaultsEntry)(const char* text, int32_t start, KwpFaultRecord* records,
                                  int32_t unused, VarboxLink* link, const char* definitions);
}

inline constexpr int kKwpFaultRecords = 60;
