#pragma once
// The session report in a run of eCor or ecor-run: the record lent to the plug-ins for the
// length of the run, the report written to the file named on the command line, and, when
// iCor.cfg asks for it (SESSION_REPORT=[YES]), the question at the end of an eCor session.
#include <filesystem>
#include <string>

#include "engine/session_record.h"

namespace corvan::engine {

class EngineHost;
struct InstallConfig;

// iCor.cfg asks eCor to offer the report when the function menu returns.
bool sessionReportOffered(const InstallConfig& config);

// Lends `record` to the plug-ins: its journal takes the writes (handing them on to a
// journal the host already had), and with `observeCalls` it sees every plug-in call (a
// report pass tells the record its result itself instead).
void attachSessionRecord(EngineHost& host, SessionRecord& record, bool observeCalls);

// The report's HTML with the workshop of iCor.cfg, in `language`, dated now on the run's
// clock.
std::string sessionReportText(EngineHost& host, const SessionRecord& record,
                              const InstallConfig& config, int language);

// Asks the technician whether to write the report (nothing asked when the session gave
// nothing to report); on Yes writes it as PDF and HTML under the installation's REPORTS
// folder, named after the data record and the time, and says where (or why it could not).
void offerSessionReport(EngineHost& host, const SessionRecord& record, const InstallConfig& config,
                        int language);

}  // namespace corvan::engine
