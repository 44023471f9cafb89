#include "plugins/livedata/livedata.h"

#include <filesystem>
#include <memory>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "plugins/livedata/catalogue.h"
#include "plugins/livedata/item_selection.h"
#include "plugins/livedata/live_view.h"
#include "plugins/livedata/livedata_dialogs.h"
#include "plugins/livedata/livedata_texts.h"
#include "runtime/data_path.h"
#include "runtime/param_text.h"

namespace corvan::livedata {

namespace {

// A recommended-values file beyond this size cannot be held by the terminal.
constexpr uintmax_t kLargestRecommendedFile = 8u << 20;
constexpr int kPreparationStart = 10;

struct Settings {
    std::string dataPath;
    bool selectAll = false;
    bool graph = false;  // "LIVEGRAPH=[TRUE]": recording, graph, CSV and trigger capture
};

class LiveData {
  public:
    LiveData(ModuleContext& ctx, const PluginCall& call, const VagDecoder& vag)
        : ctx_(ctx), call_(call), vag_(vag) {}
    std::string run();

  private:
    std::string pick(const TextTable& t) const { return pickTextLiveData(t, ctx_.language()); }
    Settings readSettings() const;
    RecommendedTables loadTables(const std::string& dataPath) const;

    ModuleContext& ctx_;
    const PluginCall& call_;
    const VagDecoder& vag_;
};

Settings LiveData::readSettings() const {
    const std::optional<std::string> config = readConfigText(ctx_);
    if (!config) {
        ctx_.messageBox(pick(kConfigNotFoundText));
        return {};
    }
    return {GetKeyValue(*config, "PATH="), GetKeyValue(*config, "SELECTALLINF=") == "TRUE",
            GetKeyValue(*config, "LIVEGRAPH=") == "TRUE"};
}

RecommendedTables LiveData::loadTables(const std::string& dataPath) const {
    const std::optional<std::string> name = recommendedFileName(call_.text, call_.start);
    const DeviceRoot* root = ctx_.host().root;
    if (!name || name->empty() || !root) return {};
    const std::filesystem::path file = root->toHost(recommendedDevicePath(dataPath, *name));
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size == 0) return {};
    if (size > kLargestRecommendedFile) {
        ctx_.messageBox(pick(kInsufficientMemory));
        return {};
    }
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes) return {};
    RecommendedTables tables = parseRecommendedValues(cp1252ToUtf8(*bytes));
    if (tables.badFormat) ctx_.messageBox(pick(kInvalidRecommendedFile));
    return tables;
}

std::string LiveData::run() {
    const Settings settings = readSettings();
    const bool interactive = ctx_.showsDialog();
    std::unique_ptr<ui::Dialog> preparation;
    if (interactive) {
        preparation = ctx_.screen().createDialog(preparationTemplate());
        preparation->setTitle(std::string(kPreparationCaption));
        preparation->setRange(kPreparationBarId, 0, 100);
        preparation->setProgress(kPreparationBarId, kPreparationStart);
        preparation->show(true);
    }
    Catalogue catalogue = readCatalogue(call_.text, call_.start);
    if (catalogue.items.empty()) {
        if (interactive) ctx_.messageBox(pick(kNoItems));
        return {};
    }
    if (interactive) {
        if (catalogue.truncated) ctx_.messageBox(pick(kTooManyItems));
        const std::vector<SelectionGroup> groups = readSelectionGroups(call_.text, call_.start);
        if (!selectItems(ctx_, catalogue.items, groups, settings.selectAll, preparation.get()))
            return {};
    } else {
        for (LiveItem& item : catalogue.items) item.selected = "TRUE";
    }
    ItemPoller poller(ctx_, call_.text, vag_);
    std::unique_ptr<LiveGraph> graph;
    if (interactive && settings.graph)
        graph = std::make_unique<LiveGraph>(ctx_, settings.dataPath, call_.name);
    LiveView view(ctx_, catalogue.items, loadTables(settings.dataPath), poller, std::move(graph));
    preparation.reset();
    if (interactive) view.show(call_.name);
    view.run(!interactive);
    return {};
}

}  // namespace

std::string runLiveData(ModuleContext& ctx, const PluginCall& call) {
    return runLiveDataWith(ctx, call, vagDecoder());
}

std::string runLiveDataWith(ModuleContext& ctx, const PluginCall& call, const VagDecoder& vag) {
    return LiveData(ctx, call, vag).run();
}

}  // namespace corvan::livedata
