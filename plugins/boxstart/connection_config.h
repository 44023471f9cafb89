#pragma once
// How the box's protocol driver is set up for one ECU: the keys of the data section, the
// adapter cable they accept, the 40 configuration bytes written into the frame the box
// hands out, and the ECU's answer as the function menu receives it. Pure functions.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::boxstart {

// The adapter cables the box can tell apart.
inline constexpr std::string_view kAdapterObd2 = "OBDII";
inline constexpr std::string_view kAdapterMb = "MB";
inline constexpr std::string_view kAdapterSae = "SAE";
inline constexpr std::string_view kAdapterNiss = "NISS";
inline constexpr std::string_view kAdapterKlia = "KLIA";
inline constexpr std::string_view kAdapterCanyk = "CANYK";
// A `PLUG` value that skips the detection; the K-line cable is then assumed.
inline constexpr std::string_view kNoAdapterTest = "NOTEST";

// The keys of the data section, each searched from the start of the text.
struct ConnectionKeys {
    bool can = false;  // "CHANNEL=" present, even with an empty value
    std::string plug, keyOn, pin;
    std::string channel, btr0, btr1, respCode, acceptCode, acceptMask, tresp;  // CAN
    std::string id, brg, scc, tbyte;                                           // K line
    std::string tframe, beg, mnt;                                              // both
};
ConnectionKeys readConnectionKeys(std::string_view text);

// A decimal number as the data write it: leading blanks, an optional sign, the digits up to
// the first other character (none: 0). Absurdly long numbers saturate instead of wrapping.
int decimalValue(std::string_view text);

struct AdapterMatch {
    int index = -1;  // entry of the `PLUG` list, -1 when the cable is not accepted
    int pin = 0;     // connector pin of that entry (0 when `PIN` has no such entry)
};
// A `PLUG` equal to the adapter as a whole takes the whole `PIN` text; otherwise the last
// comma-separated entry equal to it wins, with the `PIN` entry at the same place.
AdapterMatch MatchAdapter(std::string_view plug, std::string_view pins, std::string_view adapter);

// Frame indexes of the configuration fields (data byte 0 is frame index 3).
inline constexpr size_t kChannelIndex = 3;
inline constexpr size_t kBeginIndex = 14;

// Fills the configuration fields of `frame`, which holds the template the box answered
// (its header and its byte 4 are kept): the channel, timing and identifier bytes from
// index 3 to 13 and the initial message (`BEG`) from index 14. `pin` is the K-line
// connector pin. Only bytes inside the frame's own length are written, so a long `BEG` or
// a short template never writes past the frame.
void fillConfigFrame(std::span<uint8_t> frame, const ConnectionKeys& keys, int pin);

// Pin bytes of the K-line configuration (frame indexes 5 and 6).
uint8_t pin8Flag(int pin);
uint8_t pinCode(int pin);

// The maintenance frame: 80 05 86 00 00 00 00 00 without `MNT` bytes, else 80, n+1, 86, 01
// and the n bytes.
std::vector<uint8_t> maintenanceRequest(std::string_view mnt);

// The ECU's answer in a configuration reply of `length` bytes, as hexadecimal text: the
// bytes from index 4 on, (byte 0 AND 0x7F) x 255 + byte 1 - 1 of them: the count takes 255
// per high byte, not 256, so an answer longer than 254 bytes loses its last bytes. A count
// below 1 gives an empty text.
std::string ecuAnswerText(std::span<const uint8_t> reply, int length);

}  // namespace corvan::boxstart
