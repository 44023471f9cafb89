#include "plugins/psasrs/psa_coding_request.h"

#include <array>

#include "runtime/commands.h"

namespace corvan::psasrs {

uint8_t configurationByte(int choice) {
    constexpr std::array<uint8_t, 3> kBytes = {0x01, 0x02, 0x06};
    return choice >= 0 && choice < int(kBytes.size()) ? kBytes[size_t(choice)] : kBytes[0];
}

std::vector<uint8_t> codingRequest(uint8_t configuration) {
    const uint8_t message[] = {0x84, 0xBB, 0xA4, configuration, 0x00};
    return cmd::ecuRequest(message);
}

}  // namespace corvan::psasrs
