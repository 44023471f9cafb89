#pragma once
// Recommended values: a file of up to 20 named tables that give, per item number, the text
// shown beside the live value ("12.5-14.5"). It is named by "VRF=" in the parameter text,
// or, when that is empty, after the parameter file itself, and lies in the VRF folder of
// the installation:
//
//   "IDLE"  @D001 [780-880]  @D004 [80-105]  ENDDATA
//   "2500 RPM"  @D001 [2450-2550]  ENDDATA
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::livedata {

inline constexpr size_t kMaxTables = 20;
inline constexpr int kTableItems = 300;  // item numbers 0 .. 299

struct RecommendedTables {
    std::vector<std::string> names;  // drop-down order; the position is the table index
    std::vector<std::array<std::string, kTableItems>> cells;  // one row of texts per table
    bool badFormat = false;  // a table name without an item mark after it

    // The text for `item` in table `table`; empty when the file gives none.
    const std::string& text(int table, int item) const;
};

// The file name the parameter text asks for, upper case with ".DAT" turned into ".VRF";
// nullopt when the text has no "VRF=" at or after `start`.
std::optional<std::string> recommendedFileName(std::string_view text, int start);

// Device path of that file: the data path, "\VRF\", the name.
std::string recommendedDevicePath(std::string_view dataPath, std::string_view fileName);

// The tables of a whole file (as UTF-8 text).
RecommendedTables parseRecommendedValues(std::string_view content);

// How a shown value stands against a recommended text of the form "low-high" (blanks,
// signs, decimal points or commas and a trailing unit allowed). Unknown when either is not
// a number, so states, table texts and free-form advice are never marked.
enum class RangeCheck { Unknown, Inside, Below, Above };
RangeCheck checkRange(std::string_view value, std::string_view recommended);

// The two limits of a recommended text of that form; nullopt for any other text.
struct RangeLimits {
    double low = 0, high = 0;
};
std::optional<RangeLimits> rangeLimits(std::string_view recommended);
// A shown value that is a number as a whole ("14.3", "-56", "12,5 "); nullopt otherwise.
std::optional<double> readingNumber(std::string_view value);

}  // namespace corvan::livedata
