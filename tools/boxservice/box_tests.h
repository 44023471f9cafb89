#pragma once
// The service commands that work on the Varbox itself: its reset, the loop-back test of its
// line drivers and the line test of the OBD II adapter, all through the box's registers.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvan::boxservice {

class PortSession;

// Registers of the box: inputs (0x08), the line-driver test switch (0x09), outputs (0x10).
inline constexpr uint8_t kInputsRegister = 8;
inline constexpr uint8_t kLineTestRegister = 9;
inline constexpr uint8_t kOutputsRegister = 16;
inline constexpr uint8_t kLineTestOn = 0x3F;

// A line driver of the box: the output pattern that drives it and the one that releases it,
// and the input bit the looped-back line shows.
struct LineDriver {
    std::string_view name;
    uint8_t on, off, input;
};
inline constexpr std::array<LineDriver, 4> kLineDrivers{{
    {"K", 0x2E, 0x0E, 0x02},
    {"L", 0x2D, 0x0D, 0x04},
    {"I", 0x8B, 0x0B, 0x08},
    {"A", 0x87, 0x07, 0x10},
}};

// The OBD II adapter: with input bit 0x20 set the adapter loops output bit 0x02 back to
// input bit 0x10 (how the connection set-up recognises it); its lines are then switched on
// one at a time by output patterns (the line's select bit cleared in the low nibble, its
// drive bit set, and for K the pin pair in bits 0x10 and 0x40), and all off at the end.
inline constexpr uint8_t kObdSelectBit = 0x20;
inline constexpr uint8_t kObdTestOutput = 0x02;
inline constexpr uint8_t kObdLoopInput = 0x10;
struct ObdLine {
    std::string_view message;
    uint8_t pattern;
};
inline constexpr std::array<ObdLine, 7> kObdLines{{
    {"Encendiendo K1", 0x2E},
    {"Encendiendo K2", 0x3E},
    {"Encendiendo K3", 0x6E},
    {"Encendiendo K4", 0x7E},
    {"Encendiendo L", 0x2D},
    {"Encendiendo canal I", 0x8B},
    {"Encendiendo canal A", 0x87},
}};
inline constexpr uint8_t kObdAllOff = 0x0F;

// The texts of the connection-state reply: the driver's name (reply bytes 3 to 21), the
// connection state of byte 3, the supply voltage from byte 4 (five characters), the driver
// code of bytes 9 to 13 and the checksum flag of byte 14.
std::string connectionStateText(uint8_t state);
// Reply bytes `from` to `to` (inclusive, inside the frame of `length` bytes, check byte
// excluded) as text, up to the first zero byte.
std::string replyText(std::span<const uint8_t> reply, int length, size_t from, size_t to);
// "Nombre driver: %s\r\nEstado conexión: %s\r\nAlimentación módulo: %s V\r\nCódigo driver:
// %d (%.2X)\r\nChecksum driver: %s" from the name and the connection-state reply.
std::string driverReport(const std::string& driverName, std::span<const uint8_t> stateReply,
                         int length);

// The collected results: "Canal K: OK\n\rCanal L: ERROR..." for the four lines.
std::string lineResults(const std::array<bool, 4>& passed);

void resetBox(PortSession& session);
void testLineDrivers(PortSession& session);
void testObdAdapter(PortSession& session);

}  // namespace corvan::boxservice
