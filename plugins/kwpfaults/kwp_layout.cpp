#include "plugins/kwpfaults/kwp_layout.h"

#include <algorithm>
#include <cstdio>

#include "engine/dtcbase/definition_text.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::kwpfaults {

namespace {

constexpr size_t kEcuIndex = 4;  // the ECU's answer starts at reply byte 4
constexpr char kAnyOfBar = '|';

int decimal(std::string_view text) {
    return static_cast<int>(readDecimal(text));
}

// Reply byte `i`, or 0 past the `have` bytes that came.
uint8_t byteAt(std::span<const uint8_t> reply, size_t have, size_t i) {
    return i < have && i < reply.size() ? reply[i] : 0;
}

size_t received(std::span<const uint8_t> reply, int length) {
    return std::min(reply.size(), static_cast<size_t>(std::max(length, 0)));
}

std::string hexOf(std::span<const uint8_t> reply, size_t from, size_t count, size_t end) {
    std::string out;
    for (size_t i = from; i < end && i < from + count; ++i) out += byteToHex(reply[i]);
    return out;
}

}  // namespace

std::optional<EntryLayout> layoutOfWord(std::string_view word) {
    if (word == "KWP2000") return EntryLayout{2, 3, 2};
    if (word == "KWP2000_NOSTATUS") return EntryLayout{2, 2, 2};
    if (word == "OBDII") return EntryLayout{1, 2, 2};
    return std::nullopt;
}

StatusRule readStatusRule(std::string_view word) {
    StatusRule r;
    const bool trueIsPresent = !word.empty() && word[0] == 'A';
    r.whenTrue = trueIsPresent ? kPresent : kIntermittent;
    r.whenFalse = trueIsPresent ? kIntermittent : kPresent;
    r.anyOf = word.size() > 1 && word[1] == kAnyOfBar;
    for (size_t i = 2; i < 5 && i < word.size(); ++i)
        if (word[i] >= '0' && word[i] <= '9') r.masks.push_back(uint16_t(1u << (word[i] - '0')));
    return r;
}

std::string_view statusOf(const StatusRule& rule, uint8_t s) {
    auto has = [s](uint16_t m) { return (s & m) == m; };
    const bool result = rule.anyOf ? std::any_of(rule.masks.begin(), rule.masks.end(), has)
                                   : std::all_of(rule.masks.begin(), rule.masks.end(), has);
    return result ? rule.whenTrue : rule.whenFalse;
}

ReaderKeys readReaderKeys(std::string_view text, int start) {
    auto key = [&](std::string_view name) { return GetKeyValue(text, name, start); };
    ReaderKeys k;
    k.present = hexToBytes(key("ACTUAL="));
    const std::string fugaz = key("FUGAZ=");
    k.secondPass = !fugaz.empty();
    k.intermittent = hexToBytes(fugaz);
    const std::string pok = key("POK="), valok = key("VALOK=");
    k.okCheck = !pok.empty();
    if (!pok.empty() && !valok.empty()) {
        k.okIndex = decimal(pok);
        k.okValue = hexByteAt(valok, 0);
    }
    const std::string pini = key("PINI="), lblk = key("LBLK="), ldtc = key("LDTC=");
    if (!pini.empty() && !lblk.empty() && !ldtc.empty())
        k.layout = EntryLayout{decimal(pini), decimal(lblk), decimal(ldtc)};
    else
        k.layout = layoutOfWord(key("TYPE="));
    k.codeWriting = key("TYPEDTC=");
    k.ignore = key("IGNORE=");
    const std::string rule = key("VACTFUG=");
    if (!rule.empty()) k.status = readStatusRule(rule);
    k.statusIndex = decimal(key("PACTFUG="));
    return k;
}

bool erasesCodes(std::span<const uint8_t> m) {
    auto erasing = [](uint8_t service) { return service == 0x14 || service == 0x04; };
    if (!m.empty() && erasing(m[0])) return true;
    return m.size() >= 4 && (m[0] & 0x80) && erasing(m[3]);
}

std::string entryCode(const ReaderKeys& keys, std::span<const uint8_t> reply, size_t have,
                      size_t at) {
    const uint8_t b1 = byteAt(reply, have, at), b2 = byteAt(reply, have, at + 1);
    const bool twoBytes = keys.layout && keys.layout->codeBytes == 2;
    char text[16];
    if (keys.codeWriting == "OBDII") return faultcodes::letteredCode(b1, b2);
    if (keys.codeWriting == "DEC") {
        if (twoBytes)
            std::snprintf(text, sizeof text, "%.5i", b1 * 256 + b2);
        else
            std::snprintf(text, sizeof text, "%.4i", b1);
    } else if (twoBytes) {
        std::snprintf(text, sizeof text, "%.2X%.2X", b1, b2);
    } else {
        std::snprintf(text, sizeof text, "00%.2X", b1);
    }
    return text;
}

int entryCount(const ReaderKeys& keys, std::span<const uint8_t> reply, int length) {
    if (!keys.layout || keys.layout->length < 1 || keys.layout->first < 0) return 0;
    const int announced = byteAt(reply, received(reply, length), 1);
    const int k = (announced - keys.layout->first - 1) / keys.layout->length;
    return std::clamp(k, 0, kMaxEntriesPerPass);
}

bool okByteMatches(const ReaderKeys& keys, std::span<const uint8_t> reply, int length) {
    if (!keys.okCheck) return true;
    const long long at = static_cast<long long>(kEcuIndex) + keys.okIndex;
    // An OK byte the reply does not reach is not there to hold the value.
    if (at < 0 || static_cast<size_t>(at) >= received(reply, length)) return false;
    return reply[static_cast<size_t>(at)] == keys.okValue;
}

std::optional<faultcodes::TroubleCode> entryRecord(const ReaderKeys& keys,
                                                   std::span<const uint8_t> reply, int length,
                                                   int j, bool firstPass,
                                                   std::string_view definitions) {
    const size_t have = received(reply, length);
    const size_t at = kEcuIndex + static_cast<size_t>(keys.layout->first) +
                      static_cast<size_t>(j) * static_cast<size_t>(keys.layout->length);
    faultcodes::TroubleCode t;
    t.code = entryCode(keys, reply, have, at);
    if (t.code == keys.ignore) return std::nullopt;
    if (keys.status) {
        const uint8_t s =
            keys.statusIndex < 0 ? 0 : byteAt(reply, have, at + size_t(keys.statusIndex));
        t.kind = statusOf(*keys.status, s);
    } else {
        t.kind = firstPass ? kPresent : kIntermittent;
    }
    // Everything quoted from the reply stays inside the frame that came.
    const uint8_t announced = byteAt(reply, have, 1);
    if (const auto d = dtc::findDefinition(definitions, "[" + t.code + "]")) {
        t.description = d->description;
        t.extra = d->extra;
        // The whole KWP message: format byte, target, source, data and check byte.
        const size_t message = (byteAt(reply, have, kEcuIndex) & 0x7F) + 4u;
        const size_t dataEnd = have > 0 ? have - 1 : 0;
        t.detail = d->detail + std::string(faultcodes::kFrameMark) +
                   hexOf(reply, kEcuIndex, message, dataEnd);
    } else {
        t.description = std::string(faultcodes::kUnidentifiedDescription);
        t.detail = hexOf(reply, kEcuIndex, announced, have);
    }
    return t;
}

}  // namespace corvan::kwpfaults
