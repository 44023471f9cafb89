#pragma once
// The coding request of the PSA airbag unit, fixed by the module: 80 06 20 00 84 BB A4, the
// configuration byte and a trailing 00. The frame's length byte, 6, counts one byte more
// than the five the coding defines after the command; that byte is sent as 00, so the unit
// gets the frame size it was always sent, with a defined last byte. Pure functions.
#include <cstdint>
#include <vector>

namespace corvan::psasrs {

// The configuration byte of the chosen radio: 0 driver only (0x01), 1 driver and passenger
// (0x02), 2 driver, passenger and key deactivation (0x06).
uint8_t configurationByte(int choice);

std::vector<uint8_t> codingRequest(uint8_t configuration);

}  // namespace corvan::psasrs
