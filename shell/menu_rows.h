#pragma once
// The rows of the six menu pages, worked out from the menu texts without any screen: the
// page code puts them into its list, the benchmark and the tests call them directly.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::shell {

struct NameMaps;

// Record marks of the hidden "FICHA" column: an entry with at least one line naming a data
// record is launched, the others are drawn grey.
inline constexpr std::string_view kWithRecord = "CONFICHA";
inline constexpr std::string_view kWithoutRecord = "SINFICHA";

using Row = std::vector<std::string>;  // the cells, in the page's column order
// Called after each parsed line, so that long files keep the screen alive.
using AfterLine = std::function<void()>;

// Root and utility menus: field 1 of every line containing the language name (an empty
// name lists nothing). One cell per row.
std::vector<Row> languageRows(std::string_view text, std::string_view languageName,
                              const AfterLine& afterLine = {});

// Brand list: every line whole.
std::vector<Row> brandRows(std::string_view text, const AfterLine& afterLine = {});

// Model page: model name, model picture (field 6), record mark.
std::vector<Row> modelRows(std::string_view vehicleText, const AfterLine& afterLine = {});

// System page of a model: system key, connector picture (field 7), connection picture
// (field 8), record mark, display text.
std::vector<Row> systemRows(std::string_view vehicleText, std::string_view model,
                            const NameMaps& names, const AfterLine& afterLine = {});

// Variant page of a model's system: variant key, record mark, display text.
std::vector<Row> variantRows(std::string_view vehicleText, std::string_view model,
                             std::string_view system, const NameMaps& names,
                             const AfterLine& afterLine = {});

// The data record of a variant: field 4 of the last line naming the model, the system and
// the variant (each as a whole field, anywhere in the line); the brand is not part of it.
std::string recordOf(std::string_view vehicleText, std::string_view model, std::string_view system,
                     std::string_view variant);

}  // namespace corvan::shell
