#include "tools/boxservice/bt_devices.h"

#include <cctype>

namespace corvan::boxservice {

std::vector<std::string> inquiryDevices(std::string_view answer) {
    std::vector<std::string> devices;
    if (answer.size() <= kEmptyInquiryLength) return devices;
    while (!answer.empty() && devices.size() < kMaxDevices) {
        const size_t end = answer.find_first_of("\r\n");
        const std::string_view line = answer.substr(0, end);
        answer = end == std::string_view::npos ? std::string_view() : answer.substr(end + 1);
        bool address = line.size() >= kAddressLength;
        for (size_t i = 0; address && i < kAddressLength; ++i)
            address = std::isxdigit(static_cast<unsigned char>(line[i])) != 0;
        // Echoes, "OK" and "EOI" are not devices.
        if (address) devices.emplace_back(line);
    }
    return devices;
}

std::string deviceAddress(std::string_view entry) {
    return std::string(entry.substr(0, kAddressLength));
}

}  // namespace corvan::boxservice
