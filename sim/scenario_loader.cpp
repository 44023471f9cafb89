#include "sim/scenario_loader.h"

#include <filesystem>

#include "platform/file_io.h"
#include "sim/scenario_parts.h"

namespace corvan::sim {
namespace {

constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

// "line 3, column 7" for a byte offset of the text (1-based, as editors count).
std::string lineAndColumn(std::string_view text, size_t offset) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < text.size() && i + 1 < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

LoadResult failure(const std::string& source, const std::string& place, const std::string& what) {
    LoadResult r;
    r.error = source + ": " + (place.empty() ? "" : place + ": ") + what;
    return r;
}

}  // namespace

LoadResult loadScenarioText(std::string_view text, const std::string& source,
                            const EcuModelRegistry& models) {
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::parse_error& e) {
        return failure(source, lineAndColumn(text, e.byte), "not valid JSON");
    } catch (const std::exception& e) {
        return failure(source, "", std::string("not valid JSON: ") + e.what());
    }

    Problem problem;
    Scenario s;
    s.source = source;
    try {
        const JsonNode root(doc, "", problem);
        if (root.expectObject() &&
            root.onlyKeys({"box", "timing", "ecus", "faults", "comment", "bluetooth"}) &&
            readBox(root["box"], s.box) && readTiming(root["timing"], s.timing) &&
            readEcus(root["ecus"], models, s.ecus) && readFaults(root["faults"], s.faults) &&
            readBluetooth(root["bluetooth"], s.bluetooth))
            readConnectedEcu(root["box"], s.ecus, s.box.connectedEcu);
    } catch (const std::exception& e) {
        // A model's own reading may still throw on an unexpected type; report, never crash.
        if (!problem.found()) problem = Problem{"", std::string("cannot read: ") + e.what()};
    }
    if (problem.found()) return failure(source, problem.place, problem.message);
    LoadResult r;
    r.scenario = std::move(s);
    return r;
}

LoadResult loadScenarioFile(const std::string& path, const EcuModelRegistry& models) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileSize) return failure(path, "", "file too large");
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) return failure(path, "", "cannot read the file");
    return loadScenarioText(*text, path, models);
}

}  // namespace corvan::sim
