#include "plugins/identify/id_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/text_codec.h"
#include "plugins/identify/identify_texts.h"
#include "runtime/commands.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::identify {

namespace {

constexpr size_t kDataIndex = 4;

// An ECU writes its texts in the installation's code page (Windows-1252), so a byte above
// 0x7F shows as that code page's character. Zero bytes pad fixed-length fields and show
// nothing.
std::string asciiValue(std::vector<uint8_t> bytes, bool reverse) {
    if (reverse) std::reverse(bytes.begin(), bytes.end());
    std::string text;
    for (uint8_t b : bytes)
        if (b != 0) text += static_cast<char>(b);
    return cp1252ToUtf8(text);
}

std::string decValue(std::vector<uint8_t> bytes, bool reverse) {
    if (reverse) std::reverse(bytes.begin(), bytes.end());
    std::string text;
    for (uint8_t b : bytes) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%.3i", static_cast<int>(b));
        // Three digits with a leading zero keep only the last two: 5 is "05", 200 is "200".
        text += digits[0] == '0' ? std::string(digits + 1) : std::string(digits);
    }
    return text;
}

// One unsigned number, most significant digit first, summed in double precision as the
// device does (beyond 2^53 the last digits are lost).
std::string hexToDecimalValue(std::string_view part, bool reverse) {
    std::string digits(part);
    if (reverse) {
        digits.clear();
        for (size_t i = part.size(); i >= 2; i -= 2) digits += part.substr(i - 2, 2);
    }
    double sum = 0;
    for (char c : digits) sum = sum * 16 + hexDigitValue(c);
    if (!std::isfinite(sum)) return std::string(kUnknownValue);
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", sum);
    return text;
}

}  // namespace

std::vector<uint8_t> identificationRequest(std::string_view requestText) {
    const std::vector<uint8_t> message = hexToBytes(requestText);
    if (message.empty()) return cmd::request(cmd::kEcuMessage, {});
    return cmd::ecuRequest(message);
}

std::string replyText(std::span<const uint8_t> reply, int length) {
    if (length <= 0 || cmd::replyCommand(reply, length) == cmd::kReplyNoEcuAnswer) return {};
    if (reply.size() < 2) return {};
    const int count = static_cast<int>(reply[1]) - 1;
    std::string text;
    for (int i = 0; i < count && kDataIndex + static_cast<size_t>(i) < reply.size(); ++i)
        text += byteToHex(reply[kDataIndex + static_cast<size_t>(i)]);
    return text;
}

std::string renderValue(std::string_view raw, std::string_view start, std::string_view count,
                        std::string_view format) {
    const long long s = readDecimal(start), c = readDecimal(count);
    if (s < 0 || c < 0 || static_cast<long long>(raw.size()) < 2 * (s + c))
        return std::string(kUnknownValue);
    const std::string_view part =
        raw.substr(static_cast<size_t>(2 * s), static_cast<size_t>(2 * c));
    const bool reverse = !format.empty() && format.front() == '!';
    if (reverse) format.remove_prefix(1);
    if (format == "HEX") return std::string(part);
    if (format == "ASCII") return asciiValue(hexToBytes(part), reverse);
    if (format == "DEC") return decValue(hexToBytes(part), reverse);
    if (format == "HEX2DEC") return hexToDecimalValue(part, reverse);
    return std::string(kUnknownValue);
}

}  // namespace corvan::identify
