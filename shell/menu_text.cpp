#include "shell/menu_text.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::shell {

namespace {

std::string xorBytes(std::string bytes) {
    for (char& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) ^ kMenuKey);
    return bytes;
}

// The UTF-8 text of each scrambled file byte: one to three bytes. A vehicle file runs to
// megabytes and is read every time a brand is chosen, so the text is built in one pass into
// a buffer of the right size rather than a character at a time.
struct Utf8OfByte {
    std::array<char, 3> bytes;
    uint8_t size;
};

const std::array<Utf8OfByte, 256>& descrambleTable() {
    static const std::array<Utf8OfByte, 256> table = [] {
        std::array<Utf8OfByte, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const std::string utf8 = cp1252ToUtf8(std::string(1, static_cast<char>(b ^ kMenuKey)));
            t[b].size = static_cast<uint8_t>(utf8.copy(t[b].bytes.data(), t[b].bytes.size()));
        }
        return t;
    }();
    return table;
}

}  // namespace

// Scrambled bytes with the top bit set stand for plain ASCII (the key has its top bit set),
// which is nearly all of a vehicle file: eight such bytes are descrambled at once.
constexpr uint64_t kTopBits = 0x8080808080808080ull;
constexpr uint64_t kKeyBytes = kMenuKey * 0x0101010101010101ull;

std::string descrambleMenu(std::string_view fileBytes) {
    const auto& table = descrambleTable();
    const size_t n = fileBytes.size();
    const char* in = fileBytes.data();
    size_t size = 0;
    for (const char c : fileBytes) size += table[static_cast<uint8_t>(c)].size;
    std::string text(size, '\0');
    char* out = text.data();
    size_t i = 0;
    while (i < n) {
        uint64_t word;
        if (n - i >= 8 && (std::memcpy(&word, in + i, 8), (word & kTopBits) == kTopBits)) {
            word ^= kKeyBytes;
            std::memcpy(out, &word, 8);
            out += 8;
            i += 8;
            continue;
        }
        const Utf8OfByte& u = table[static_cast<uint8_t>(in[i++])];
        out[0] = u.bytes[0];
        if (u.size > 1) {
            out[1] = u.bytes[1];
            if (u.size > 2) out[2] = u.bytes[2];
        }
        out += u.size;
    }
    return text;
}

std::string scrambleMenu(std::string_view text) {
    return xorBytes(utf8ToCp1252(text));
}

std::vector<std::string_view> menuLines(std::string_view text) {
    std::vector<std::string_view> lines;
    forEachMenuLine(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

std::string_view menuFieldToEnd(std::string_view line, int n) {
    if (n < 0) return {};
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const size_t mark = line.find(kFieldMark, start);
        if (mark == std::string_view::npos) return {};
        start = mark + kFieldMark.size();
    }
    return line.substr(start);
}

std::string_view menuField(std::string_view line, int n) {
    line = menuFieldToEnd(line, n);
    return line.substr(0, line.find(kFieldMark));
}

std::string fieldKey(std::string_view key) {
    std::string k;
    k.reserve(key.size() + 2 * kFieldMark.size());
    k.append(kFieldMark).append(key).append(kFieldMark);
    return k;
}

std::optional<std::string> readMenuFile(const DeviceRoot& root, std::string_view devicePath) {
    const auto bytes = readWholeFile(root.toHost(devicePath));
    if (!bytes) return std::nullopt;
    return descrambleMenu(*bytes);
}

}  // namespace corvan::shell
