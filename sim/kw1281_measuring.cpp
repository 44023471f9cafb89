#include "sim/kw1281_measuring.h"

#include <set>

#include "sim/kw1281_block.h"

namespace corvan::sim {

namespace {

constexpr int64_t kMaxPeriodMs = 3600000;

// A byte written as a number (0 to 255) or as {"from": x, "to": y, "periodMs": p}.
bool parseMovingByte(const JsonNode& node, MovingByte& out) {
    if (node.value().is_number_integer()) {
        const int64_t v = node.value().get<int64_t>();
        if (v < 0 || v > 255) return node.fail("byte " + std::to_string(v) + " outside 0..255");
        out.from = out.to = int(v);
        return true;
    }
    if (!node.isObject())
        return node.fail("expected a byte (0..255) or {\"from\", \"to\", \"periodMs\"}");
    if (!node.onlyKeys({"from", "to", "periodMs"})) return false;
    if (!node.has("from") || !node.has("to"))
        return node.fail("a moving byte needs \"from\" and \"to\"");
    int64_t from = 0, to = 0, periodMs = 10000;
    if (!node.get("from", from, 0, 255) || !node.get("to", to, 0, 255) ||
        !node.get("periodMs", periodMs, 1, kMaxPeriodMs))
        return false;
    out = {int(from), int(to), periodMs * 1000};
    return true;
}

bool parseByte(const JsonNode& node, const char* key, uint8_t& out) {
    int64_t v = out;
    if (!node.has(key)) return node.fail(std::string("missing \"") + key + "\"");
    if (!node.get(key, v, 0, 255)) return false;
    out = uint8_t(v);
    return true;
}

bool parseFixedField(const JsonNode& node, FixedFieldSpec& f) {
    if (!node.expectObject() || !node.onlyKeys({"formula", "a", "b"})) return false;
    if (!parseByte(node, "formula", f.formula)) return false;
    for (const char* key : {"a", "b"}) {
        if (!node.has(key)) return node.fail(std::string("missing \"") + key + "\"");
        if (!parseMovingByte(node[key], key[0] == 'a' ? f.a : f.b)) return false;
    }
    return true;
}

bool parseDynamicField(const JsonNode& node, DynamicFieldSpec& f) {
    if (!node.expectObject() || !node.onlyKeys({"formula", "factor", "extra", "u"})) return false;
    if (!parseByte(node, "formula", f.formula) || !parseByte(node, "factor", f.factor))
        return false;
    if (!node.getHex("extra", f.extra)) return false;
    if (f.extra.size() > 255) return node["extra"].fail("at most 255 further bytes");
    if (!node.has("u")) return node.fail("missing \"u\"");
    return parseMovingByte(node["u"], f.u);
}

template <typename Spec, typename Parse>
bool parseList(const JsonNode& list, std::vector<Spec>& out, Parse parse) {
    if (!list.expectArray()) return false;
    if (list.size() == 0) return list.fail("a group needs at least one field");
    for (size_t i = 0; i < list.size(); ++i) {
        Spec spec;
        if (!parse(list.at(i), spec)) return false;
        out.push_back(std::move(spec));
    }
    return true;
}

// The data of the answer, without title: too much for one block is a mistake of the file.
size_t answerSize(const MeasuringGroup& g) {
    switch (g.kind) {
        case MeasuringGroup::Kind::Fixed:
            return 3 * g.fixed.size();
        case MeasuringGroup::Kind::Dynamic: {
            size_t header = 0;
            for (const DynamicFieldSpec& f : g.dynamic) header += 3 + f.extra.size();
            return header;
        }
        case MeasuringGroup::Kind::Raw:
            return g.raw.empty() ? 0 : g.raw.size() - 1;
        case MeasuringGroup::Kind::RawValues:
            return g.values.size();
    }
    return 0;
}

bool parseGroup(const JsonNode& node, MeasuringGroup& g) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"group", "fields", "dynamic", "raw", "values"})) return false;
    if (!node.has("group")) return node.fail("missing \"group\"");
    int64_t number = 0;
    if (!node.get("group", number, 0, 255)) return false;
    g.number = int(number);
    const int kinds = int(node.has("fields")) + int(node.has("dynamic")) + int(node.has("raw")) +
                      int(node.has("values"));
    if (kinds != 1)
        return node.fail("give exactly one of \"fields\", \"dynamic\", \"raw\", \"values\"");
    bool ok = true;
    if (node.has("fields")) {
        g.kind = MeasuringGroup::Kind::Fixed;
        ok = parseList(node["fields"], g.fixed, parseFixedField);
    } else if (node.has("dynamic")) {
        g.kind = MeasuringGroup::Kind::Dynamic;
        ok = parseList(node["dynamic"], g.dynamic, parseDynamicField);
    } else if (node.has("raw")) {
        g.kind = MeasuringGroup::Kind::Raw;
        ok = node.getHex("raw", g.raw);
        if (ok && g.raw.empty()) return node["raw"].fail("the raw answer needs its title");
    } else {
        g.kind = MeasuringGroup::Kind::RawValues;
        ok = parseList(node["values"], g.values, parseMovingByte);
    }
    if (!ok) return false;
    if (answerSize(g) > kw1281::kMaxBlockData)
        return node.fail("the answer does not fit one block (" +
                         std::to_string(kw1281::kMaxBlockData) + " data bytes)");
    return true;
}

bool isGroupRead(uint8_t title) {
    return title == kw1281::kGroupRead || title == kw1281::kGroupReadOther;
}

bool isGroup0Read(uint8_t title) {
    return title == kw1281::kGroup0Read || title == kw1281::kGroup0ReadOther;
}

}  // namespace

uint8_t MovingByte::at(int64_t nowUs) const {
    if (periodUs <= 0 || from == to) return uint8_t(from);
    const int64_t phase = ((nowUs % periodUs) + periodUs) % periodUs;
    const int64_t half = periodUs / 2;
    if (half == 0) return uint8_t(from);
    const int64_t rise = phase <= half ? phase : periodUs - phase;
    return uint8_t(from + (to - from) * std::min(rise, half) / half);
}

Kw1281Measuring::Kw1281Measuring(std::vector<MeasuringGroup> groups) : groups_(std::move(groups)) {}

std::optional<Kw1281Measuring> Kw1281Measuring::fromJson(const JsonNode& node) {
    if (!node.present()) return Kw1281Measuring();
    if (!node.expectObject() || !node.onlyKeys({"groups"})) return std::nullopt;
    std::vector<MeasuringGroup> groups;
    const JsonNode list = node["groups"];
    if (list.present()) {
        if (!list.expectArray()) return std::nullopt;
        std::set<int> seen;
        for (size_t i = 0; i < list.size(); ++i) {
            MeasuringGroup g;
            if (!parseGroup(list.at(i), g)) return std::nullopt;
            if (!seen.insert(g.number).second) {
                list.at(i)["group"].fail("group " + std::to_string(g.number) + " given twice");
                return std::nullopt;
            }
            groups.push_back(std::move(g));
        }
    }
    return Kw1281Measuring(std::move(groups));
}

const MeasuringGroup* Kw1281Measuring::group(int number) const {
    for (const MeasuringGroup& g : groups_)
        if (g.number == number) return &g;
    return nullptr;
}

Kw1281Measuring::Answer Kw1281Measuring::groupAnswer(const MeasuringGroup& g, int64_t nowUs) {
    Answer a;
    switch (g.kind) {
        case MeasuringGroup::Kind::Fixed:
            a.title = kw1281::kGroupAnswer;
            for (const FixedFieldSpec& f : g.fixed)
                a.data.insert(a.data.end(), {f.formula, f.a.at(nowUs), f.b.at(nowUs)});
            break;
        case MeasuringGroup::Kind::Dynamic:
            if (headerSentFor_ != g.number) {
                a.title = kw1281::kDynamicHeader;
                for (const DynamicFieldSpec& f : g.dynamic) {
                    a.data.insert(a.data.end(), {f.formula, f.factor, uint8_t(f.extra.size())});
                    a.data.insert(a.data.end(), f.extra.begin(), f.extra.end());
                }
                headerSentFor_ = g.number;
                ++headersSent_;
            } else {
                a.title = kw1281::kDynamicData;
                for (const DynamicFieldSpec& f : g.dynamic) a.data.push_back(f.u.at(nowUs));
                ++dataBlocksSent_;
            }
            break;
        case MeasuringGroup::Kind::Raw:
            a.title = g.raw[0];
            a.data.assign(g.raw.begin() + 1, g.raw.end());
            break;
        case MeasuringGroup::Kind::RawValues:
            a.title = kw1281::kDynamicData;
            for (const MovingByte& v : g.values) a.data.push_back(v.at(nowUs));
            break;
    }
    // Reading any group but the dynamic one whose header went out starts that one over.
    if (g.kind != MeasuringGroup::Kind::Dynamic) headerSentFor_.reset();
    return a;
}

std::optional<Kw1281Measuring::Answer> Kw1281Measuring::handle(std::span<const uint8_t> block,
                                                               int64_t nowUs) {
    const std::optional<uint8_t> title = kw1281::blockTitle(block);
    if (!title) return std::nullopt;
    if (*title == kw1281::kAcknowledge) {
        headerSentFor_.reset();
        return Answer{kw1281::kAcknowledge, {}};
    }
    int number = -1;
    if (isGroup0Read(*title))
        number = 0;
    else if (isGroupRead(*title) && block.size() >= 4)
        number = block[3];
    else
        return std::nullopt;
    const MeasuringGroup* g = group(number);
    if (!g) return Answer{kw1281::kRefused, {}};
    return groupAnswer(*g, nowUs);
}

}  // namespace corvan::sim
