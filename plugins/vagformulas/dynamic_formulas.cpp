// The dynamic table: a group whose header block described each field once (formula m,
// factor o, a count n and n further bytes) sends data blocks of one byte u per field. A
// descriptor with 17 further bytes carries an interpolation table over u.
#include <array>
#include <optional>

#include "plugins/vagformulas/field_format.h"
#include "plugins/vagformulas/vag_formulas.h"

namespace corvan::vag {

namespace {

using detail::realText;

constexpr double k255 = 1.0f / 255.0f;  // the unit's reciprocal, in single precision
constexpr size_t kDescriptorStart = 3;
constexpr size_t kDataStart = 3;
constexpr uint8_t kTableSize = 17;

struct Descriptor {
    int formula;
    int factor;
    std::optional<std::array<int, kTableSize>> table;  // only when n is 17
};

std::optional<Descriptor> findDescriptor(std::span<const uint8_t> header, int field) {
    size_t at = kDescriptorStart;
    for (int skipped = 0; skipped < field; ++skipped) {
        if (at + 2 >= header.size()) return std::nullopt;
        at += 3 + header[at + 2];
    }
    if (at + 2 >= header.size()) return std::nullopt;
    Descriptor d{header[at], header[at + 1], std::nullopt};
    if (header[at + 2] == kTableSize && at + 3 + kTableSize <= header.size()) {
        std::array<int, kTableSize> t{};
        for (size_t k = 0; k < kTableSize; ++k) t[k] = header[at + 3 + k];
        d.table = t;
    }
    return d;
}

// The interpolation over the table: u selects the sixteenth it lies in and the step in it.
struct Interpolation {
    int low, high;  // T[k] and T[k + 1]
    int step;       // f = u - 16 k
    double slope() const { return (low - high) * 0.0625 * step; }
};

Interpolation interpolation(const std::array<int, kTableSize>& t, int u) {
    const int k = u / 16;
    return {t[static_cast<size_t>(k)], t[static_cast<size_t>(k) + 1], u - 16 * k};
}

FieldText dynamicRow(const Descriptor& d, int u) {
    const int o = d.factor;
    switch (d.formula) {
        case 128:
            return {realText(u * o, 0), "RPM"};
        case 129:
            return {realText(u * o * k255, 1), "%"};
        case 130:
            return {realText(u * o * 0.1 * k255, 1), "A"};
        case 131:
            return {realText(30 - 0.5 * (o * u), 1), "V.OT"};
        case 132:
            return {realText(u / 2 + o, 1), ">º"};
        case 133:
            return {realText(u * o * k255, 2), "V"};
        case 134:
            return {realText(u * o, 0), "KM/H"};
        case 135:
            return {realText(u * o, 0), ""};
        case 136:
            return {realText(u & o, 0), ""};
        case 137:
            return {realText(0.01 * u * o, 2), "ms"};
        case 138:
            return {realText(0.01 * u * o, 2), "Vss"};
        case 139: {
            if (!d.table) return {std::string(kUnknownValue), "RPM"};
            const Interpolation i = interpolation(*d.table, u);
            return {realText((i.low - i.slope()) * o, 0), "RPM"};
        }
        case 140: {
            if (!d.table) return {std::string(kUnknownValue), "ºC"};
            const Interpolation i = interpolation(*d.table, u);
            return {realText((i.low - o) - i.slope(), 1), "ºC"};
        }
        case 143:
            return {realText(0.0005 * u * o, 1), "ºV.OT"};
        case 144:
            return {realText(0.01 * u * o, 1), "l/h"};
        case 145:
            return {realText(0.01 * u * o, 2), "l/100"};
        case 146:
            return {realText((1 - 0.0127 * u) + (o * u / 10000), 2), ""};
        case 148:
            return {realText((o / 127) * u * 32, 0), "RPM"};
        case 150:
            return {realText(0.0055 * u + 1.42 * o, 2), "G/s"};
        case 152:
            return {realText((0.0108 * u + 3.6) * o, 2), "mg/h"};
        default:
            return {detail::factorText(o, u), detail::unknownUnit(d.formula)};
    }
}

}  // namespace

std::optional<FieldText> decodeDynamicField(std::span<const uint8_t> data, int field,
                                            std::span<const uint8_t> header) {
    if (field < 0 || kDataStart + static_cast<uint64_t>(field) >= data.size()) return std::nullopt;
    const std::optional<Descriptor> d = findDescriptor(header, field);
    if (!d) return std::nullopt;
    return dynamicRow(*d, data[kDataStart + static_cast<size_t>(field)]);
}

}  // namespace corvan::vag
