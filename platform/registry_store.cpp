#include "platform/registry_store.h"

#include <cstdio>

#include "platform/file_io.h"
#include "platform/quoted_text.h"
#include "platform/text_codec.h"

namespace corvan {

namespace {

constexpr std::string_view kHeader = "CORVAN REGISTRY 1";
constexpr std::string_view kEnd = "END";

// "\Drivers\Display\" and "drivers\display" name the same key.
std::string_view trimmedPath(std::string_view path) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

bool samePath(std::string_view a, std::string_view b) {
    return equalsIgnoreCase(trimmedPath(a), trimmedPath(b));
}

// `below` lies under `key` (or is it).
bool isUnder(std::string_view below, std::string_view key) {
    below = trimmedPath(below);
    key = trimmedPath(key);
    if (below.size() < key.size()) return false;
    if (!equalsIgnoreCase(below.substr(0, key.size()), key)) return false;
    return below.size() == key.size() || key.empty() || below[key.size()] == '\\';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text at the front of `line`, removing it; nullopt when it is not one.
std::optional<std::string> unquote(std::string_view& line) {
    if (line.empty() || line.front() != '"') return std::nullopt;
    std::string out;
    size_t i = 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\') {
            out += line[i];
            continue;
        }
        if (++i >= line.size()) return std::nullopt;
        switch (line[i]) {
            case '"':
            case '\\':
                out += line[i];
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                if (i + 2 >= line.size()) return std::nullopt;
                const int hi = hexDigit(line[i + 1]), lo = hexDigit(line[i + 2]);
                if (hi < 0 || lo < 0) return std::nullopt;
                out += char(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    if (i >= line.size()) return std::nullopt;
    line.remove_prefix(i + 1);
    return out;
}

std::optional<uint32_t> parseNumber(std::string_view digits) {
    if (digits.size() != 8) return std::nullopt;
    uint32_t n = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        n = n * 16 + uint32_t(d);
    }
    return n;
}

// One value line: "name"=dword:XXXXXXXX or "name"=sz:"text".
bool parseValue(std::string_view line, RegistryHive::Value& out) {
    auto name = unquote(line);
    if (!name || line.empty() || line.front() != '=') return false;
    line.remove_prefix(1);
    out.name = std::move(*name);
    if (line.starts_with("dword:")) {
        auto n = parseNumber(line.substr(6));
        if (!n) return false;
        out.value = RegistryValue::ofNumber(*n);
        return true;
    }
    if (line.starts_with("sz:")) {
        line.remove_prefix(3);
        auto text = unquote(line);
        if (!text || !line.empty()) return false;
        out.value.type = RegistryType::Text;
        out.value.data = std::move(*text) + '\0';
        return true;
    }
    return false;
}

}  // namespace

RegistryValue RegistryValue::ofText(std::string_view text) {
    RegistryValue v;
    v.type = RegistryType::Text;
    v.data.assign(text);
    v.data += '\0';
    return v;
}

std::string RegistryValue::text() const {
    if (type != RegistryType::Text) return {};
    return data.substr(0, data.find('\0'));
}

RegistryHive::Key* RegistryHive::findKey(std::string_view path) {
    for (Key& k : keys_)
        if (samePath(k.path, path)) return &k;
    return nullptr;
}

const RegistryHive::Key* RegistryHive::findKey(std::string_view path) const {
    for (const Key& k : keys_)
        if (samePath(k.path, path)) return &k;
    return nullptr;
}

bool RegistryHive::hasKey(std::string_view path) const {
    for (const Key& k : keys_)
        if (isUnder(k.path, path)) return true;
    return false;
}

void RegistryHive::createKey(std::string_view path) {
    if (!findKey(path)) keys_.push_back({std::string(trimmedPath(path)), {}});
}

const RegistryValue* RegistryHive::find(std::string_view path, std::string_view name) const {
    const Key* k = findKey(path);
    if (!k) return nullptr;
    for (const Value& v : k->values)
        if (equalsIgnoreCase(v.name, name)) return &v.value;
    return nullptr;
}

bool RegistryHive::set(std::string_view path, std::string_view name, RegistryValue value) {
    if (!hasKey(path)) return false;
    createKey(path);  // a parent that existed only through its children gets an entry
    Key* k = findKey(path);
    for (Value& v : k->values) {
        if (equalsIgnoreCase(v.name, name)) {
            v.value = std::move(value);
            return true;
        }
    }
    k->values.push_back({std::string(name), std::move(value)});
    return true;
}

std::string RegistryHive::format() const {
    std::string out(kHeader);
    out += '\n';
    for (const Key& k : keys_) {
        out += "[" + k.path + "]\n";
        for (const Value& v : k.values) {
            out += quoteText(v.name) + "=";
            if (v.value.type == RegistryType::Number) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "dword:%08x", v.value.number);
                out += hex;
            } else {
                // The terminating zero is implied; any zero before it is kept as \x00.
                std::string_view data = v.value.data;
                if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
                out += "sz:" + quoteText(data);
            }
            out += '\n';
        }
    }
    out += kEnd;
    out += '\n';
    return out;
}

std::optional<RegistryHive> RegistryHive::parse(std::string_view text, std::string* error) {
    RegistryHive hive;
    int lineNumber = 0;
    bool ended = false;
    Key* current = nullptr;
    auto fail = [&](const std::string& what) -> std::optional<RegistryHive> {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + what;
        return std::nullopt;
    };
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNumber;
        if (lineNumber == 1) {
            if (line != kHeader) return fail("not a registry file");
            continue;
        }
        if (ended) {
            if (!line.empty()) return fail("text after END");
            continue;
        }
        if (line.empty() || line.front() == ';') continue;
        if (line == kEnd) {
            ended = true;
        } else if (line.front() == '[') {
            if (line.size() < 2 || line.back() != ']') return fail("a key line ends with ']'");
            const std::string_view path = trimmedPath(line.substr(1, line.size() - 2));
            if (path.empty()) return fail("a key without a name");
            hive.createKey(path);
            current = hive.findKey(path);
        } else {
            Value v;
            if (!parseValue(line, v)) return fail("not a value: " + std::string(line));
            if (!current) return fail("a value before any key");
            current->values.push_back(std::move(v));
        }
    }
    if (lineNumber == 0) return fail("empty file");
    if (!ended) return fail("no END: the file was cut short");
    return hive;
}

std::optional<RegistryValue> RegistryKey::read(std::string_view name) const {
    const RegistryValue* v = store_->hive().find(path_, name);
    if (!v) return std::nullopt;
    return *v;
}

bool RegistryKey::write(std::string_view name, RegistryValue value) {
    return store_->hive().set(path_, name, std::move(value));
}

RegistryStore::RegistryStore(std::filesystem::path file, Writer writer)
    : file_(std::move(file)), writer_(std::move(writer)) {
    if (!writer_)
        writer_ = [](const std::filesystem::path& f, std::string_view bytes) {
            return writeFileAtomic(f, bytes);
        };
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) return;
    const auto bytes = readWholeFile(file_);
    if (!bytes) {
        loadError_ = file_.string() + ": cannot be read";
        return;
    }
    std::string why;
    auto parsed = RegistryHive::parse(*bytes, &why);
    if (!parsed) {
        loadError_ = file_.string() + ": " + why;
        return;
    }
    hive_ = std::move(*parsed);
}

std::optional<RegistryKey> RegistryStore::openKey(std::string_view path) {
    if (!hive_.hasKey(path)) return std::nullopt;
    return RegistryKey(*this, std::string(trimmedPath(path)));
}

bool RegistryStore::flush() {
    if (!loadError_.empty()) return false;  // never replace a registry that was not read
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    if (!writer_(file_, hive_.format())) return false;
    // A flush cut short by a power cut leaves its temporary file beside the registry.
    removeLeftTemporaries(file_);
    return true;
}

}  // namespace corvan
