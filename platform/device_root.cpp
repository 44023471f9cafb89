#include "platform/device_root.h"

#include <system_error>
#include <vector>

#include "platform/text_codec.h"

namespace corvan {
namespace fs = std::filesystem;

namespace {

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// Components of a device path: "\" and "/" separate, empty parts and "." vanish, ".."
// takes one step back but never above the root.
std::vector<std::string> deviceComponents(std::string_view devicePath) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t end = devicePath.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = devicePath.size();
        const std::string_view part = devicePath.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    return parts;
}

// The entry of `dir` named `name`, ignoring case; an exact match wins. Empty when absent.
std::string findEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return name;
    // Installations spell their files mostly in one case: try those spellings before
    // reading a folder that may hold thousands of pictures.
    for (const std::string& variant : {asciiUpper(name), asciiLower(name)})
        if (variant != name && fs::exists(dir / variant, ec)) return variant;
    std::string found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalsIgnoreCase(entry, name)) {
            // Several spellings may exist on a case-sensitive host; take the first in
            // name order so the choice does not depend on directory order.
            if (found.empty() || entry < found) found = entry;
        }
    }
    return found;
}

}  // namespace

fs::path DeviceRoot::toHost(std::string_view devicePath) const {
    fs::path result = root_;
    bool matching = true;
    for (const std::string& part : deviceComponents(devicePath)) {
        if (matching) {
            const std::string entry = findEntry(result, part);
            if (!entry.empty()) {
                result /= entry;
                continue;
            }
            matching = false;
        }
        result /= part;
    }
    return result;
}

std::string DeviceRoot::toDevice(const fs::path& hostPath) const {
    const fs::path root = fs::weakly_canonical(root_.empty() ? fs::path(".") : root_);
    const fs::path host = fs::weakly_canonical(hostPath);
    auto r = root.begin(), h = host.begin();
    for (; r != root.end() && h != host.end(); ++r, ++h) {
        if (*r != *h) break;
    }
    // A trailing empty element (root given with a final "/") does not count.
    while (r != root.end() && r->empty()) ++r;
    if (r != root.end()) return {};
    std::string device;
    for (; h != host.end(); ++h) {
        if (h->empty()) continue;
        device += '\\';
        device += h->string();
    }
    return device.empty() ? "\\" : device;
}

}  // namespace corvan
