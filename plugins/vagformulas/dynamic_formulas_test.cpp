// The dynamic table: descriptors found in the header, the data byte of each field, the
// interpolation tables, and headers or data blocks that end too early.
#include <gtest/gtest.h>

#include <vector>

#include "plugins/vagformulas/vag_formulas.h"

namespace corvan::vag {
namespace {

using Bytes = std::vector<uint8_t>;

struct Descriptor {
    uint8_t formula, factor;
    Bytes extra;  // the n further bytes
};

Bytes header(const std::vector<Descriptor>& fields) {
    Bytes h{0x00, 0x01, kTitleHeader};
    for (const Descriptor& d : fields) {
        h.insert(h.end(), {d.formula, d.factor, uint8_t(d.extra.size())});
        h.insert(h.end(), d.extra.begin(), d.extra.end());
    }
    h[0] = uint8_t(h.size());
    return h;
}

Bytes data(std::initializer_list<uint8_t> values) {
    Bytes d{uint8_t(3 + values.size()), 0x02, kTitleDynamicData};
    d.insert(d.end(), values);
    d.push_back(0x03);
    return d;
}

// 0, 10, 20, ... 160.
Bytes rampTable() {
    Bytes t;
    for (int k = 0; k < 17; ++k) t.push_back(uint8_t(10 * k));
    return t;
}

struct Case {
    uint8_t formula, factor, u;
    const char* value;
    const char* unit;
};

TEST(DynamicFormulas, EveryRowOfTheTable) {
    // clang-format off
    const Case rows[] = {
        {128, 40, 50, "2000", "RPM"},
        {129, 200, 51, "40.0", "%"},        // 10200 / 255
        {130, 100, 51, "2.0", "A"},         // 5100 * 0.1 / 255
        {131, 2, 10, "20.0", "V.OT"},       // 30 - 0.5 * 20
        {132, 10, 21, "20.0", ">º"},        // (21 div 2) + 10
        {133, 5, 100, "1.96", "V"},         // 500 / 255
        {134, 2, 60, "120", "KM/H"},
        {135, 3, 7, "21", ""},
        {136, 0x0F, 0x3C, "12", ""},        // 0x3C AND 0x0F
        {137, 25, 10, "2.50", "ms"},
        {138, 3, 7, "0.21", "Vss"},
        {143, 100, 50, "2.5", "ºV.OT"},
        {144, 10, 33, "3.3", "l/h"},
        {145, 10, 33, "3.30", "l/100"},
        {146, 100, 200, "0.46", ""},        // (1 - 2.54) + (20000 div 10000)
        {148, 254, 3, "192", "RPM"},        // (254 div 127) * 3 * 32
        {148, 100, 3, "0", "RPM"},
        {150, 10, 100, "14.75", "G/s"},     // 0.55 + 14.2
        {152, 2, 100, "9.36", "mg/h"},      // (1.08 + 3.6) * 2
        {200, 0x12, 0x34, "Factor: 12, Valor: 34", "?: 200"},
        {141, 1, 2, "Factor: 01, Valor: 02", "?: 141"},
    };
    // clang-format on
    for (const Case& c : rows) {
        SCOPED_TRACE(int(c.formula));
        EXPECT_EQ(decodeDynamicField(data({c.u}), 0, header({{c.formula, c.factor, {}}})),
                  (FieldText{c.value, c.unit}));
    }
}

TEST(DynamicFormulas, InterpolationTables) {
    const Bytes h = header({{139, 10, rampTable()}, {140, 40, rampTable()}});
    // u = 255: k = 15, f = 15, between T[15] = 150 and T[16] = 160: 159.375 * 10.
    EXPECT_EQ(decodeDynamicField(data({255, 0}), 0, h), (FieldText{"1594", "RPM"}));
    EXPECT_EQ(decodeDynamicField(data({0, 0}), 0, h), (FieldText{"0", "RPM"}));
    EXPECT_EQ(decodeDynamicField(data({40, 0}), 0, h), (FieldText{"250", "RPM"}));  // 25 * 10
    // 140: (T[1] - 40) - (T[1] - T[2]) * 0.0625 * 8 = -30 + 5.
    EXPECT_EQ(decodeDynamicField(data({0, 24}), 1, h), (FieldText{"-25.0", "ºC"}));
    // Without a 17-byte table there is nothing to interpolate.
    const Bytes noTable = header({{139, 10, {1, 2, 3}}, {140, 10, {}}});
    EXPECT_EQ(decodeDynamicField(data({9, 9}), 0, noTable), (FieldText{"???", "RPM"}));
    EXPECT_EQ(decodeDynamicField(data({9, 9}), 1, noTable), (FieldText{"???", "ºC"}));
    // Every entry counts, the first one too: u = 0 is T[0].
    Bytes offset = rampTable();
    for (uint8_t& t : offset) t = uint8_t(t + 5);
    EXPECT_EQ(decodeDynamicField(data({0}), 0, header({{139, 10, offset}}))->value, "50");
    EXPECT_EQ(decodeDynamicField(data({8}), 0, header({{140, 0, offset}})),
              (FieldText{"10.0", "ºC"}));
    // A table cut off by the end of the header counts as none.
    Bytes cut = header({{139, 10, rampTable()}});
    cut.resize(cut.size() - 1);
    EXPECT_EQ(decodeDynamicField(data({9}), 0, cut)->value, "???");
}

TEST(DynamicFormulas, DescriptorsAreSkippedByTheirCounts) {
    // The second field's descriptor follows the first one's table, the third one's its two
    // further bytes.
    const Bytes h = header({{139, 10, rampTable()}, {128, 40, {7, 7}}, {134, 2, {}}});
    EXPECT_EQ(decodeDynamicField(data({0, 50, 60}), 1, h), (FieldText{"2000", "RPM"}));
    EXPECT_EQ(decodeDynamicField(data({0, 50, 60}), 2, h), (FieldText{"120", "KM/H"}));
    // A field the header does not describe, or whose data byte did not come.
    EXPECT_EQ(decodeDynamicField(data({0, 50, 60, 1}), 3, h), std::nullopt);
    const Bytes shortData{0x05, 0x02, kTitleDynamicData, 0, 50};
    EXPECT_EQ(decodeDynamicField(shortData, 2, h), std::nullopt);
    EXPECT_EQ(decodeDynamicField(shortData, -1, h), std::nullopt);
    EXPECT_EQ(decodeDynamicField(data({1}), 0, {}), std::nullopt);
    // A count that points past the header's end.
    const Bytes runaway{0x06, 0x01, kTitleHeader, 128, 40, 250};
    EXPECT_EQ(decodeDynamicField(data({1, 2}), 0, runaway), (FieldText{"40", "RPM"}));
    EXPECT_EQ(decodeDynamicField(data({1, 2}), 1, runaway), std::nullopt);
}

}  // namespace
}  // namespace corvan::vag
