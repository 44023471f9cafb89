#include "runtime/journal_record.h"

#include <array>
#include <cstdio>
#include <optional>

#include "platform/clock.h"

namespace corvan {

namespace {

constexpr size_t kCheckLength = 9;  // "*" and eight hexadecimal digits

uint32_t crc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Fields are separated by "|"; the characters that would break a line or a field are
// written as "\" escapes.
std::string escaped(std::string_view field) {
    std::string out;
    for (char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '|':
                out += "\\p";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<std::string> fields(std::string_view payload) {
    std::vector<std::string> out(1);
    for (size_t i = 0; i < payload.size(); ++i) {
        const char c = payload[i];
        if (c == '|') {
            out.emplace_back();
        } else if (c == '\\' && i + 1 < payload.size()) {
            const char e = payload[++i];
            out.back() += e == 'p' ? '|' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            out.back() += c;
        }
    }
    return out;
}

std::string framed(const std::vector<std::string_view>& parts) {
    std::string payload;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) payload += '|';
        payload += escaped(parts[i]);
    }
    char check[kCheckLength + 1];
    std::snprintf(check, sizeof check, "*%.8X", crc32(payload));
    return payload + check + "\n";
}

std::optional<int64_t> parseId(const std::string& s) {
    if (s.empty() || s.size() > 18) return std::nullopt;
    int64_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// The fields of a line whose check holds; nothing for any other line.
std::optional<std::vector<std::string>> checkedFields(std::string_view line) {
    if (line.size() < kCheckLength || line[line.size() - kCheckLength] != '*') return std::nullopt;
    const std::string_view payload = line.substr(0, line.size() - kCheckLength);
    char want[kCheckLength + 1];
    std::snprintf(want, sizeof want, "*%.8X", crc32(payload));
    if (line.substr(payload.size()) != want) return std::nullopt;
    return fields(payload);
}

// Complete lines only: the text after the last newline is a torn append.
template <typename F>
void forEachLine(std::string_view bytes, F&& f) {
    size_t from = 0;
    for (size_t nl = bytes.find('\n'); nl != std::string_view::npos; nl = bytes.find('\n', from)) {
        if (auto parts = checkedFields(bytes.substr(from, nl - from))) f(*parts);
        from = nl + 1;
    }
}

constexpr size_t kWriteFields = 12, kAnswerFields = 5;

}  // namespace

std::string journalTime(const CivilTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4d-%.2d-%.2d %.2d:%.2d:%.2d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

std::string writeLine(int64_t id, std::string_view time, std::string_view vehicle,
                      const JournalWrite& w) {
    const std::string n = std::to_string(id);
    return framed({"W", n, time, vehicle, w.kind, w.unit, w.before, w.value, w.sent, w.module,
                   w.item, w.restore});
}

std::string answerLine(int64_t id, std::string_view time, std::string_view answer, bool done) {
    const std::string n = std::to_string(id);
    return framed({"A", n, time, done ? "1" : "0", answer});
}

std::vector<JournalEntry> readJournal(std::string_view bytes) {
    std::vector<JournalEntry> entries;
    forEachLine(bytes, [&](const std::vector<std::string>& f) {
        const auto id = f.size() > 1 ? parseId(f[1]) : std::nullopt;
        if (!id) return;
        if (f[0] == "W" && f.size() == kWriteFields) {
            JournalEntry e;
            e.id = *id;
            e.time = f[2];
            e.vehicle = f[3];
            e.write = JournalWrite{f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11]};
            entries.push_back(std::move(e));
        } else if (f[0] == "A" && f.size() == kAnswerFields) {
            // The answer belongs to the latest write with its id that has none yet.
            for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
                if (it->id != *id || it->answered) continue;
                it->answered = true;
                it->answerTime = f[2];
                it->done = f[3] == "1";
                it->answer = f[4];
                break;
            }
        }
    });
    return entries;
}

int64_t nextJournalId(std::string_view bytes) {
    int64_t highest = 0;
    forEachLine(bytes, [&](const std::vector<std::string>& f) {
        if (const auto id = f.size() > 1 ? parseId(f[1]) : std::nullopt)
            highest = std::max(highest, *id);
    });
    return highest + 1;
}

std::string journalFileName(std::string_view vehicle) {
    std::string name;
    bool gap = false;
    for (char c : vehicle) {
        const bool keep =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!keep) {
            gap = true;
            continue;
        }
        if (gap && !name.empty()) name += '_';
        gap = false;
        name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (name.size() > 60) name.resize(60);
    if (name.empty()) name = "VEHICLE";
    return name + ".JNL";
}

std::string spacedHex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%.2X", b);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

}  // namespace corvan
