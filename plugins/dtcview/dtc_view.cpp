#include "plugins/dtcview/dtc_view.h"

#include <vector>

#include "plugins/dtcview/dtcview_texts.h"
#include "plugins/faultcodes/code_list.h"
#include "plugins/kwpfaults/kwpfaults_entry.h"
#include "runtime/data_path.h"
#include "runtime/param_text.h"
#include "runtime/run_plugin.h"

namespace corvan::dtcview {

namespace {

using faultcodes::TroubleCode;

constexpr std::string_view kCodesHead = "[DTC]";
constexpr std::string_view kErasedOk = "[DEL]@OK";
constexpr std::string_view kErasedKo = "[DEL]@KO";

// The reader's records as the list shows them, their status in the technician's words.
std::vector<TroubleCode> readCodes(const ModuleContext& ctx, std::string_view dataPath,
                                   const PluginCall& call, const std::string& definitions) {
    const std::string named = GetKeyValue(call.text, "DLLDTC=", call.start);
    const std::string file = named.empty() ? std::string(kReaderFile) : named;
    const auto library = loadPluginLibrary(ctx, dataPath, file);
    const auto entry =
        library ? reinterpret_cast<KwpFaultsEntry>(library->symbol("dll")) : KwpFaultsEntry{};
    if (!entry) {
        ctx.messageBox(formatLoadError(ctx.pick(kLoadError), pluginDevicePath(dataPath, file)));
        return {};
    }
    std::vector<KwpFaultRecord> records(kKwpFaultRecords);
    const int32_t n =
        entry(call.text.c_str(), call.start, records.data(), 0, &ctx.link(), definitions.c_str());
    std::vector<TroubleCode> codes;
    for (int32_t i = 0; i < std::min<int32_t>(n, kKwpFaultRecords); ++i) {
        const KwpFaultRecord& r = records[static_cast<size_t>(i)];
        const std::string status = r.status;
        codes.push_back({r.code, r.description, r.detail,
                         ctx.pick(status == "FUGAZ" ? kIntermittentWord : kPresentWord), r.extra});
    }
    return codes;
}

std::string erase(ModuleContext& ctx, std::string_view dataPath, const PluginCall& call,
                  const std::string& eraser) {
    // Erasing changes the vehicle: only a technician at the screen, outside the
    // demonstration, who says yes.
    if (ctx.isDemo()) {
        ctx.messageBox(ctx.pick(kNoEraseInDemo));
        return {};
    }
    if (ctx.mode() != "EXE") return {};
    if (ctx.messageBox(ctx.pick(kEraseQuestion), ui::Buttons::YesNo, ui::Icon::Warning) !=
        ui::Answer::Yes)
        return {};
    const std::string result =
        RunPlugin(ctx, dataPath, eraser, PluginCall{call.text, call.start, "DEL", call.name},
                  ctx.language(), ctx.pick(kLoadError));
    if (result == kErasedOk)
        ctx.messageBox(ctx.pick(kErased), ui::Buttons::Ok, ui::Icon::Information);
    else if (result == kErasedKo)
        ctx.messageBox(ctx.pick(kNotErased), ui::Buttons::Ok, ui::Icon::Warning);
    else if (!result.empty())
        ctx.messageBox(result);  // the module's word on why it did not erase
    return result;
}

}  // namespace

std::string runDtcView(ModuleContext& ctx, const PluginCall& call) {
    const std::string dataPath = ReadDataPath(ctx);
    const std::string eraser = GetKeyValue(call.text, "ERASEDLL=", call.start);
    if (!eraser.empty()) return erase(ctx, dataPath, call, eraser);

    const auto definitions = faultcodes::loadDefinitions(
        ctx, dataPath, GetKeyValue(call.text, "FILE=", call.start), ctx.showsDialog());
    if (!definitions) return {};
    // The demonstration shows the list without asking the unit anything.
    const std::vector<TroubleCode> codes =
        ctx.isDemo() ? std::vector<TroubleCode>{} : readCodes(ctx, dataPath, call, *definitions);
    faultcodes::CodeList list(ctx, ctx.pick(kTitlePrefix), call.name);
    std::string result = ctx.showsDialog() ? std::string() : std::string(kCodesHead);
    result += list.run(codes);
    return result;
}

}  // namespace corvan::dtcview
