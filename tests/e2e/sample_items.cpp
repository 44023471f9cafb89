#include "sample_items.h"

#include <filesystem>

#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "runtime/param_text.h"

namespace corvan::e2e {

namespace {

std::filesystem::path sampleRecords() {
    return std::filesystem::path(CORVAN_SAMPLE_ROOT) / "STORAGE CARD" / "CORVANDATA" / "FICHAS";
}

std::string readRecord(const std::filesystem::path& path) {
    return cp1252ToUtf8(readWholeFile(path).value_or(""));
}

}  // namespace

std::vector<std::string> SampleItem::ecorRunArgs() const {
    return {plugin,
            "--root",
            CORVAN_SAMPLE_ROOT,
            "--text",
            (sampleRecords() / record).string(),
            "--start-at",
            "ID=\t[" + id + "]"};
}

std::string SampleItem::recordText() const {
    return readRecord(sampleRecords() / record);
}

std::vector<SampleItem> sampleMenuItems() {
    std::vector<SampleItem> items;
    for (const auto& entry : std::filesystem::directory_iterator(sampleRecords())) {
        const std::string text = readRecord(entry.path());
        const int menu = findFrom(text, "#MENU");
        if (menu < 0) continue;
        for (int at : findAll(text, "<MNU", menu)) {
            const std::string plugin = GetKeyValue(text, "DLL=", at);
            const std::string id = GetKeyValue(text, "ID=", at);
            if (!plugin.empty() && !id.empty())
                items.push_back({entry.path().filename().string(), plugin, id});
        }
    }
    return items;
}

}  // namespace corvan::e2e
