#include "shell/menu_rows.h"

#include <unordered_set>

#include "shell/menu_text.h"
#include "shell/name_maps.h"

namespace corvan::shell {

namespace {

enum VehicleField {
    kModel = 1,
    kSystem = 2,
    kVariant = 3,
    kRecord = 4,
    kModelPicture = 6,
    kConnector = 7,
    kConnection = 8
};

// The keys a page has listed. The device keeps them as one running text "¬A¬¬B¬" and looks
// for "¬" + key + "¬" in it; a set answers the same, including for an empty key, which the
// running text holds as soon as two keys are listed ("¬¬" between them).
class ListedKeys {
  public:
    bool contains(std::string_view key) const {
        if (key.empty()) return emptyListed_ || count_ >= 2;
        return keys_.contains(std::string(key));
    }
    void add(std::string_view key) {
        ++count_;
        if (key.empty())
            emptyListed_ = true;
        else
            keys_.emplace(key);
    }

  private:
    std::unordered_set<std::string> keys_;
    size_t count_ = 0;
    bool emptyListed_ = false;
};

std::string mark(std::string_view line) {
    return std::string(menuField(line, kRecord).empty() ? kWithoutRecord : kWithRecord);
}

bool contains(std::string_view line, const std::string& key) {
    return line.find(key) != std::string_view::npos;
}

void after(const AfterLine& afterLine) {
    if (afterLine) afterLine();
}

// The rows of one page from the lines that `belongs` accepts: a new key adds a row; a line of
// a key already listed that names a record marks the LAST row added, as the device does (the
// lines of one entry stand together, so that is the entry's own row).
template <typename Belongs, typename MakeRow>
std::vector<Row> keyedRows(std::string_view text, int keyField, size_t markColumn, Belongs belongs,
                           MakeRow makeRow, const AfterLine& afterLine) {
    std::vector<Row> rows;
    ListedKeys listed;
    forEachMenuLine(text, [&](std::string_view line) {
        if (belongs(line)) {
            const std::string_view key = menuField(line, keyField);
            if (!listed.contains(key)) {
                rows.push_back(makeRow(line, key));
                listed.add(key);
            } else if (!menuField(line, kRecord).empty() && !rows.empty()) {
                rows.back()[markColumn] = kWithRecord;
            }
        }
        after(afterLine);
    });
    return rows;
}

}  // namespace

std::vector<Row> languageRows(std::string_view text, std::string_view languageName,
                              const AfterLine& afterLine) {
    std::vector<Row> rows;
    forEachMenuLine(text, [&](std::string_view line) {
        if (!languageName.empty() && line.find(languageName) != std::string_view::npos)
            rows.push_back({std::string(menuField(line, 1))});
        after(afterLine);
    });
    return rows;
}

std::vector<Row> brandRows(std::string_view text, const AfterLine& afterLine) {
    std::vector<Row> rows;
    forEachMenuLine(text, [&](std::string_view line) {
        rows.push_back({std::string(line)});
        after(afterLine);
    });
    return rows;
}

std::vector<Row> modelRows(std::string_view vehicleText, const AfterLine& afterLine) {
    return keyedRows(
        vehicleText, kModel, 2, [](std::string_view) { return true; },
        [](std::string_view line, std::string_view key) {
            return Row{std::string(key), std::string(menuField(line, kModelPicture)), mark(line)};
        },
        afterLine);
}

std::vector<Row> systemRows(std::string_view vehicleText, std::string_view model,
                            const NameMaps& names, const AfterLine& afterLine) {
    const std::string modelKey = fieldKey(model);
    return keyedRows(
        vehicleText, kSystem, 3, [&](std::string_view line) { return contains(line, modelKey); },
        [&](std::string_view line, std::string_view key) {
            return Row{std::string(key), std::string(menuField(line, kConnector)),
                       std::string(menuFieldToEnd(line, kConnection)), mark(line),
                       names.systemText(key)};
        },
        afterLine);
}

std::vector<Row> variantRows(std::string_view vehicleText, std::string_view model,
                             std::string_view system, const NameMaps& names,
                             const AfterLine& afterLine) {
    const std::string modelKey = fieldKey(model), systemKey = fieldKey(system);
    return keyedRows(
        vehicleText, kVariant, 1,
        [&](std::string_view line) {
            return contains(line, modelKey) && contains(line, systemKey);
        },
        [&](std::string_view line, std::string_view key) {
            return Row{std::string(key), mark(line), names.moduleText(key)};
        },
        afterLine);
}

std::string recordOf(std::string_view vehicleText, std::string_view model, std::string_view system,
                     std::string_view variant) {
    const std::string m = fieldKey(model), s = fieldKey(system), v = fieldKey(variant);
    std::string record;
    forEachMenuLine(vehicleText, [&](std::string_view line) {
        if (contains(line, m) && contains(line, s) && contains(line, v))
            record = std::string(menuField(line, kRecord));
    });
    return record;
}

}  // namespace corvan::shell
