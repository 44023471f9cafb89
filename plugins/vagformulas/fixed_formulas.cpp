// The fixed table: the formula number of a group answer's field says how its two data bytes
// a and b become the value the unit means.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "plugins/vagformulas/field_format.h"
#include "plugins/vagformulas/formula_texts.h"
#include "plugins/vagformulas/vag_formulas.h"

namespace corvan::vag {

namespace {

using detail::realText;
using detail::wholeText;

// The units work with these reciprocals in single precision; the tables keep them so.
constexpr double k51 = 1.0f / 51.0f;
constexpr double k12750 = 1.0f / 12750.0f;
constexpr double k127 = 1.0f / 127.0f;
constexpr double k182 = 1.0f / 182.0f;
constexpr double k102 = 1.0f / 102.0f;
constexpr double k255 = 1.0f / 255.0f;

// The highest text code formula 37 shows; codes above it name no text of the table.
constexpr int kLastShownTextCode = 570;

enum class Output { Whole, Dec0, Dec1, Dec2 };

struct Row {
    int formula;
    Output output;
    double (*value)(int a, int b);  // integer division where the table says "div"
    std::string_view unit;
};

// clang-format off
constexpr Row kRows[] = {
    {1, Output::Whole, [](int a, int b) -> double { return a * b / 5; }, "RPM"},
    {2, Output::Whole, [](int a, int b) -> double { return a * b / 500; }, "%"},
    {3, Output::Dec1, [](int a, int b) { return 0.002 * a * b; }, ">º"},
    {4, Output::Dec1, [](int a, int b) { return 1.27 * a - b / 10; }, "ºn.OT"},
    {5, Output::Whole, [](int a, int b) -> double { return a * b / 10 - 10 * a; }, "ºC"},
    {6, Output::Dec1, [](int a, int b) { return 0.001 * a * b; }, "V"},
    {7, Output::Whole, [](int a, int b) -> double { return a * b / 100; }, "KM/H"},
    {8, Output::Whole, [](int a, int b) -> double { return a * b / 10; }, "-----"},
    {9, Output::Dec1, [](int a, int b) { return (b * k51 - 2.5) * a; }, ">º"},
    {11, Output::Dec2, [](int a, int b) { return 1 - (b * k12750 - 0.0128) * a; }, ">º"},
    {12, Output::Dec1, [](int a, int b) { return 0.001 * a * b; }, "Ohm"},
    {13, Output::Dec1, [](int a, int b) { return 0.0005 * a * b; }, "mm"},
    {14, Output::Whole, [](int a, int b) -> double { return a * b / 200; }, "bar"},
    {15, Output::Dec1, [](int a, int b) { return 0.01 * a * b; }, "ms"},
    {18, Output::Whole, [](int a, int b) -> double { return a * b / 25; }, "mBar"},
    {19, Output::Dec1, [](int a, int b) { return 0.01 * a * b; }, "L"},
    {20, Output::Dec1, [](int a, int b) { return (b * k127 - 1) * a; }, "%"},
    {21, Output::Dec1, [](int a, int b) { return 0.001 * a * b; }, "V"},
    {22, Output::Dec1, [](int a, int b) { return 0.001 * a * b; }, "ms"},
    {23, Output::Whole, [](int a, int b) -> double { return a * b / 257; }, "%"},
    {24, Output::Whole, [](int a, int b) -> double { return a * b / 1000; }, "A"},
    {25, Output::Dec1, [](int a, int b) { return a * k182 + 1.42 * b; }, "g/s"},
    {26, Output::Whole, [](int a, int b) -> double { return b - a; }, "ºC"},
    {27, Output::Dec1, [](int a, int b) { return (0.01 * b - 1.275) * a; }, "ºV.OT"},
    {28, Output::Whole, [](int a, int b) -> double { return b - a; }, "-----"},
    {30, Output::Dec1, [](int a, int b) { return 0.0831255195 * a * b; }, "ºkw"},
    {31, Output::Whole, [](int a, int b) -> double { return a * b / 2570; }, "-----"},
    {32, Output::Whole, [](int, int b) -> double { return b < 128 ? b : b - 256; }, "-----"},
    {33, Output::Whole, [](int a, int b) -> double { return a * b; }, "-----"},
    {34, Output::Dec1, [](int a, int b) { return (b * k102 - 1.25) * a; }, "ºkw"},
    {35, Output::Dec1, [](int a, int b) { return 0.01 * a * b; }, "l/h"},
    {36, Output::Whole, [](int a, int b) -> double { return (256 * a + b) * 10; }, "KM"},
    {38, Output::Dec1, [](int a, int b) { return 0.0005 * a * b; }, "ºkw"},
    {39, Output::Dec1, [](int a, int b) { return a * b * k255; }, "mg/h"},
    {40, Output::Whole, [](int a, int b) { return b / 10 + 25.5 * a - 400; }, "A"},
    {41, Output::Whole, [](int a, int b) -> double { return 255 * a + b; }, "A/h"},
    {42, Output::Whole, [](int a, int b) { return b / 10 + 25.5 * a - 400; }, "Ohm"},
    {43, Output::Dec1, [](int a, int b) { return 0.1 * (255 * a + b); }, "V"},
    {45, Output::Dec1, [](int a, int b) { return 0.1 * a * b; }, "l/h"},
    {47, Output::Dec1, [](int a, int b) -> double { return b - 128 * a; }, "ms"},
    {48, Output::Whole, [](int a, int b) -> double { return 255 * a + b; }, "-----"},
    {49, Output::Dec1, [](int a, int b) { return 0.025 * a * b; }, "mg/h"},
    {51, Output::Dec1, [](int a, int b) { return (b * k255 - 0.502) * a; }, "mg/h"},
    {52, Output::Dec1, [](int a, int b) -> double { return (b / 50 - 1) * a; }, "Nm"},
    {54, Output::Whole, [](int a, int b) -> double { return 255 * a + b; }, "-----"},
    {55, Output::Whole, [](int a, int b) -> double { return a * b / 200; }, "s"},
    {56, Output::Whole, [](int a, int b) -> double { return 255 * a + b; }, "WSC"},
    {57, Output::Whole, [](int a, int b) -> double { return 255 * a + b + 6553; }, "WSC"},
    {60, Output::Whole, [](int a, int b) { return 2.56 * a + b / 10; }, "s"},
    {62, Output::Whole, [](int a, int b) { return a * b / 3.91; }, "s"},
    {64, Output::Dec1, [](int a, int b) -> double { return a + b; }, "Ohm"},
    {65, Output::Dec1, [](int a, int b) { return 1.266 - a * (b / 127 - 1); }, "mm"},
    {66, Output::Dec1, [](int a, int b) { return a * b / 512.0; }, "V"},
    {67, Output::Dec1, [](int a, int b) { return 640 * a + 2.5 * b; }, "º"},
    {68, Output::Whole, [](int a, int b) { return 0.135 * b + 34.76 * a; }, "1/s"},
    {69, Output::Whole, [](int a, int b) { return 83.3 * a + b - 0.325; }, "bar"},
    {70, Output::Dec1, [](int a, int b) { return 49.15 * a + 0.192 * b; }, "m/s2"},
    {71, Output::Dec0, [](int a, int b) -> double { return a * b; }, "cm"},
    {72, Output::Dec1, [](int a, int b) { return 0.0624 * a - (16 - 0.05 * b); }, "V"},
    {73, Output::Dec1, [](int a, int b) { return 0.01 * a * b; }, "ohm"},
    {74, Output::Dec1, [](int a, int b) { return 0.1 * a * b; }, "Mon"},
    {75, Output::Dec0, [](int a, int b) -> double { return a * b; }, ""},
    {76, Output::Dec0, [](int a, int b) -> double { return a * b; }, "kohm"},
    {77, Output::Dec1, [](int a, int b) { return b / 68 + 0.0625 * a; }, "V"},
    {78, Output::Dec1, [](int, int b) { return 1.81 * b; }, "1/s"},
    {79, Output::Dec0, [](int, int b) -> double { return b; }, "Canal"},
    {80, Output::Dec1, [](int a, int b) { return 2.56 * a + b / 100; }, "kOhm"},
    {81, Output::Dec1, [](int a, int b) { return 11.2 * a + b / 23; }, "º"},
    {82, Output::Dec1, [](int a, int b) { return 2.4 * a + b / 106; }, "m/s2"},
    {83, Output::Dec1, [](int a, int b) { return 2.56 * a + b / 100; }, "Bar"},
    {84, Output::Dec2, [](int, int b) { return b >= 128 ? (b - 128) / 10 - 12.45 : 0.097 * b; }, "m/s2"},
    {86, Output::Dec1, [](int a, int b) { return 0.1 * a * b; }, "A"},
    {87, Output::Dec1, [](int a, int b) { return 0.05 * a * b; }, "º/s"},
    {88, Output::Dec1, [](int a, int b) { return 0.01 * a * b; }, "kOhm"},
    {89, Output::Dec0, [](int a, int b) -> double { return 256 * a + b; }, "H"},
    {90, Output::Dec1, [](int a, int b) { return 0.1 * a * b; }, "kg"},
    {91, Output::Dec1, [](int a, int b) { return 0.05 * a * b; }, "º/s"},
    {92, Output::Dec0, [](int a, int b) -> double { return a * b; }, "km"},
    {94, Output::Dec1, [](int a, int b) { return 0.05 * a * b; }, "Nm"},
};
// clang-format on

const Row* findRow(int formula) {
    for (const Row& row : kRows)
        if (row.formula == formula) return &row;
    return nullptr;
}

std::string printed(const Row& row, int a, int b) {
    const double value = row.value(a, b);
    switch (row.output) {
        case Output::Whole:
            return wholeText(value);
        case Output::Dec0:
            return realText(value, 0);
        case Output::Dec1:
            return realText(value, 1);
        case Output::Dec2:
            return realText(value, 2);
    }
    return std::string(kUnknownValue);
}

// The rows whose value is a text rather than a number.
std::optional<FieldText> textRow(int formula, uint8_t a, uint8_t b) {
    char text[32];
    switch (formula) {
        case 0:
            std::snprintf(text, sizeof text, "%i %i", a, b);
            return FieldText{text, "----"};
        case 16: {
            // The bits of (a AND b), bit 7 first.
            std::string bits;
            for (int bit = 7; bit >= 0; --bit) bits.push_back(((a & b) >> bit) & 1 ? '1' : '0');
            return FieldText{bits, ""};
        }
        case 17: {
            const uint8_t chars[] = {a, b};
            return FieldText{detail::bytesAsText(chars), "-----"};
        }
        case 37: {
            const int code = 256 * a + b;
            if (code <= kLastShownTextCode) return FieldText{std::string(formulaText(code)), ""};
            std::snprintf(text, sizeof text, "?Text: %i", code);
            return FieldText{text, ""};
        }
        case 44:
            std::snprintf(text, sizeof text, "%.2d:%.2d", a, b);
            return FieldText{text, "HH:MM"};
        default:
            return std::nullopt;
    }
}

// Formula 63: the block's bytes from byte 4 on as text, as many as the block length less 4.
std::string blockText(std::span<const uint8_t> block) {
    if (block.size() <= 4 || block[0] <= 4) return {};
    const size_t count = std::min<size_t>(block[0] - 4u, block.size() - 4);
    return detail::bytesAsText(block.subspan(4, count));
}

// Formula 95: as many characters as byte 4 says, from byte 7 on.
std::string countedText(std::span<const uint8_t> block) {
    if (block.size() <= 7) return {};
    const size_t count = std::min<size_t>(block[4], block.size() - 7);
    return detail::bytesAsText(block.subspan(7, count));
}

}  // namespace

FieldText fixedFormula(int formula, uint8_t a, uint8_t b) {
    if (auto text = textRow(formula, a, b)) return *text;
    if (const Row* row = findRow(formula)) return {printed(*row, a, b), std::string(row->unit)};
    return {detail::factorText(a, b), detail::unknownUnit(formula)};
}

std::optional<FieldText> decodeFixedField(std::span<const uint8_t> block, int field,
                                          FormulaSet set) {
    if (field < 0) return std::nullopt;
    const uint64_t at = 3 + 3 * static_cast<uint64_t>(field);
    if (at + 2 >= block.size()) return std::nullopt;
    const int formula = block[at];
    if (set == FormulaSet::Channels) {
        if (formula == 63) return FieldText{blockText(block), ""};
        if (formula == 95) return FieldText{countedText(block), ""};
    }
    return fixedFormula(formula, block[at + 1], block[at + 2]);
}

}  // namespace corvan::vag
