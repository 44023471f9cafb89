#include "tools/trace2scenario/trace_reader.h"

#include <charconv>

#include "runtime/frame.h"

namespace corvan::trace {
namespace {

// Ten years of milliseconds: far beyond any session, and safe to count in microseconds.
constexpr int64_t kMaxMs = 10LL * 366 * 24 * 3600 * 1000;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<LineKind> kindOf(const std::vector<std::string_view>& w, size_t& used) {
    used = 2;
    const std::string_view k = w[1];
    if (k == "TX") return LineKind::Sent;
    if (k == "RX") return LineKind::Received;
    if (k == "RX!") return LineKind::ReceivedBad;
    if (k == "TX!") return LineKind::SentCut;
    if (k == "LOST") return LineKind::Lost;
    if (k == "REOPENED") return LineKind::Reopened;
    if (k == "REOPEN" && w.size() > 2 && w[2] == "FAILED") {
        used = 3;
        return LineKind::ReopenFailed;
    }
    return std::nullopt;
}

bool carriesBytes(LineKind k) {
    return k == LineKind::Sent || k == LineKind::Received || k == LineKind::ReceivedBad ||
           k == LineKind::SentCut;
}

// Why a TX or RX line's bytes are not one good frame, or empty when they are.
std::string frameProblem(const std::vector<uint8_t>& f) {
    if (f.size() < 4) return "a frame has at least 4 bytes, this one " + std::to_string(f.size());
    const size_t want = frame::dataLength(f[0], f[1]) + 4;
    if (want != f.size())
        return "the header announces " + std::to_string(want) + " bytes, the line holds " +
               std::to_string(f.size());
    if (frame::xorOf(f) != 0) return "the check byte does not match the frame";
    return {};
}

}  // namespace

ParsedTrace parseTrace(std::string_view text) {
    ParsedTrace out;
    int number = 0;
    int64_t lastMs = 0;
    size_t pos = 0;
    auto fail = [&](const std::string& why) {
        out.error = "line " + std::to_string(number) + ": " + why;
        out.lines.clear();
        return out;
    };
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto w = words(line);
        if (w.empty() || w[0].front() == '#') continue;
        TraceLine t;
        t.number = number;
        const auto [p, ec] = std::from_chars(w[0].data(), w[0].data() + w[0].size(), t.ms);
        if (ec != std::errc() || p != w[0].data() + w[0].size() || t.ms < 0)
            return fail("expected the milliseconds first, found \"" + std::string(w[0]) + "\"");
        if (t.ms > kMaxMs) return fail("the time " + std::string(w[0]) + " ms is out of range");
        if (t.ms < lastMs) return fail("the time goes backwards");
        lastMs = t.ms;
        if (w.size() < 2) return fail("the line ends after its time");
        size_t used = 0;
        const auto kind = kindOf(w, used);
        if (!kind) return fail("unknown direction \"" + std::string(w[1]) + "\"");
        t.kind = *kind;
        for (size_t i = used; i < w.size(); ++i) {
            const std::string_view b = w[i];
            const int hi = b.size() == 2 ? hexDigit(b[0]) : -1;
            const int lo = b.size() == 2 ? hexDigit(b[1]) : -1;
            if (hi < 0 || lo < 0)
                return fail("\"" + std::string(b) + "\" is not a byte of two hexadecimal digits");
            t.bytes.push_back(uint8_t(hi * 16 + lo));
        }
        if (!carriesBytes(t.kind) && !t.bytes.empty())
            return fail("bytes after \"" + std::string(w[1]) + "\"");
        if (t.kind == LineKind::Sent || t.kind == LineKind::Received) {
            const std::string problem = frameProblem(t.bytes);
            if (!problem.empty()) return fail(problem);
        }
        out.lines.push_back(std::move(t));
    }
    return out;
}

const TraceLine* Exchange::reply() const {
    if (after.empty() || after.front().kind != LineKind::Received) return nullptr;
    return &after.front();
}

Exchanges groupExchanges(const std::vector<TraceLine>& lines) {
    Exchanges out;
    for (const TraceLine& l : lines) {
        if (l.kind == LineKind::Sent || l.kind == LineKind::SentCut) {
            out.list.push_back({l, {}});
            continue;
        }
        (out.list.empty() ? out.leading : out.list.back().after).push_back(l);
    }
    return out;
}

}  // namespace corvan::trace
