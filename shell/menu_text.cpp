#include "shell/menu_text.h"

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::shell {

namespace {

std::string xorBytes(std::string bytes) {
    for (char& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) ^ kMenuKey);
    return bytes;
}

}  // namespace

std::string descrambleMenu(std::string_view fileBytes) {
    return cp1252ToUtf8(xorBytes(std::string(fileBytes)));
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
