#pragma once
// The inquiry answer of the Bluetooth module: one entry per device in range, each beginning
// with the device's 12-character address, the list ended by "EOI".
#include <string>
#include <string_view>
#include <vector>

namespace corvan::boxservice {

inline constexpr size_t kAddressLength = 12;
inline constexpr size_t kMaxDevices = 10;
// An answer this short holds no device entry (an address alone is 12 characters).
inline constexpr size_t kEmptyInquiryLength = 15;

// The device entries of an inquiry answer, at most 10, in the order found: its lines that
// begin with 12 hexadecimal digits. None for an answer of 15 characters or fewer.
std::vector<std::string> inquiryDevices(std::string_view answer);

// The address an entry begins with.
std::string deviceAddress(std::string_view entry);

}  // namespace corvan::boxservice
