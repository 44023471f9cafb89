#include "engine/session_offer.h"

#include <cstdio>
#include <system_error>

#include "engine/engine_host.h"
#include "engine/install_config.h"
#include "engine/session_report.h"
#include "engine/session_report_texts.h"
#include "platform/config_text.h"
#include "platform/text_codec.h"
#include "runtime/run_plugin.h"

namespace corvan::engine {

namespace t = report_texts;

bool sessionReportOffered(const InstallConfig& config) {
    return equalsIgnoreCase(configValue(config.text, kSessionReportKey), "YES");
}

void attachSessionRecord(EngineHost& host, SessionRecord& record, bool observeCalls) {
    HostServices& services = host.services();
    // The installation's own journal (one file per vehicle), when the host keeps one, still
    // gets every write: the record's journal hands each on.
    if (services.journal != &record.journal()) record.journal().setNext(services.journal);
    services.journal = &record.journal();
    if (observeCalls) services.calls = &record;
}

std::string sessionReportText(EngineHost& host, const SessionRecord& record,
                              const InstallConfig& config, int language) {
    ReportHeader header;
    header.workshop = configValue(config.text, kWorkshopKey);
    header.language = language;
    header.written = host.clock().civilNow();
    return sessionReportHtml(record, header);
}

namespace {

// "EDC16_KWP_20070203_090507": the record's name without its extension, and the time.
std::string reportName(const SessionRecord& record, const CivilTime& c) {
    std::string stem = std::filesystem::path(record.vehicle().record).stem().string();
    if (stem.empty()) stem = "SESSION";
    char when[32];
    std::snprintf(when, sizeof when, "_%04d%02d%02d_%02d%02d%02d", c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
    return stem + when;
}

}  // namespace

void offerSessionReport(EngineHost& host, const SessionRecord& record, const InstallConfig& config,
                        int language) {
    if (record.empty()) return;
    ui::Screen& screen = host.screen();
    if (screen.messageBox(PickText(t::kOfferQuestion, language), "", ui::Buttons::YesNo,
                          ui::Icon::Question) != ui::Answer::Yes)
        return;
    const std::string html = sessionReportText(host, record, config, language);
    const std::string folder = installFile(config.installPath, "REPORTS");
    const std::string name = reportName(record, host.clock().civilNow());
    const std::filesystem::path hostFolder = host.root().toHost(folder);
    std::error_code ec;
    std::filesystem::create_directories(hostFolder, ec);
    std::string error, written;
    // The PDF is the customer's copy; the HTML opens in the terminal's browser. A build
    // without PDF still writes the HTML.
    for (const char* ext : {".pdf", ".html"}) {
        std::string why;
        if (writeSessionReport(hostFolder / (name + ext), html, &why))
            written += (written.empty() ? "" : "\n") + folder + "\\" + name + ext;
        else if (error.empty())
            error = why;
    }
    if (written.empty())
        screen.messageBox(formatLoadError(PickText(t::kReportFailed, language), error), "",
                          ui::Buttons::Ok, ui::Icon::Warning);
    else
        screen.messageBox(formatLoadError(PickText(t::kReportSaved, language), written), "",
                          ui::Buttons::Ok, ui::Icon::Information);
}

}  // namespace corvan::engine
