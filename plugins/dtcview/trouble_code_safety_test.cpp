// Erasing trouble codes changes the vehicle. Over every path of the trouble-code module,
// the display, its erase entry and the actuator test, loaded from the installation as the
// function menu loads them, in every mode and whatever the technician answers: an erase
// request reaches the wire only from the trouble-code module in the mode "DEL" (and so
// from the erase entry after a yes), and the demonstration sends nothing at all.
#include <gtest/gtest.h>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "runtime/run_plugin.h"

namespace corvan {
namespace {

const std::string kScenario = R"({"box": {"program": "running", "keepAlive": "81 10 F1 3E C0"},
  "ecus": [{"model": "kwp2000", "config": {
    "codes": [{"code": "0100"}], "selfTest": {"finds": {"81": ["0300"], "82": ["0300"]}},
    "actuators": {"steps": [{"code": 17}]}, "default": {"reply": "7F $0 11"}}}]})";

struct Path {
    const char* plugin;
    const char* keys;
};
const Path kPaths[] = {
    {"FAULTCODES.DLL", "FILE=[ENGINE.DTC]"},
    {"FAULTCODES.DLL", "FILE=[ENGINE.DTC] ERASE=[C410FA14FF00]"},
    {"FAULTCODES.DLL", "FILE=[NONE.DTC] ERASE=[14FF00]"},
    {"DTCVIEW.DLL", "FILE=[ENGINE.DTC] ACTUAL=[1802FF00] TYPE=[KWP2000] FUGAZ=[14FF00]"},
    {"DTCVIEW.DLL", "ERASEDLL=[FAULTCODES.DLL] ERASE=[C410FA14FF00] FILE=[ENGINE.DTC]"},
    {"ACTUATORS.DLL", "FILE=[ACT.DTC] ERASE=[14FF00]"},
};
const char* const kModes[] = {"EXE", "DEMO", "REPORT", "DEL", "EXE@", "", "del"};

// The KWP service of an ECU message frame (after its header when it has one).
int serviceOf(const testing::Bytes& frame) {
    if (frame.size() < 6 || frame[2] != 0x20) return -1;
    const size_t m = 4, n = frame.size() - 5;
    if (n >= 4 && (frame[m] & 0x80)) return frame[m + 3];
    return frame[m];
}

TEST(TroubleCodeSafety, EraseOnlyFromDelModeAndNothingInTheDemonstration) {
    int erasingRuns = 0;
    for (const Path& path : kPaths) {
        for (const char* mode : kModes) {
            for (const bool yes : {true, false}) {
                SCOPED_TRACE(std::string(path.plugin) + " " + path.keys + " mode '" + mode +
                             (yes ? "' yes" : "' no"));
                testing::DtcRig rig;
                for (const char* p :
                     {CORVAN_DTCBASE_PLUGIN, CORVAN_KWPFAULTS_PLUGIN, CORVAN_FAULTCODES_PLUGIN,
                      CORVAN_ACTUATORS_PLUGIN, CORVAN_DTCVIEW_PLUGIN})
                    rig.installPlugin(p);
                rig.writeDtcFile("ENGINE.DTC", "[P0100][\"Air flow\"][\"\"][]");
                rig.writeDtcFile("ACT.DTC", "[00017][\"Pump\"][]");
                rig.boot(kScenario);
                std::string script;
                if (yes)
                    for (int i = 0; i < 8; ++i) script += "answer \"\" Yes\n";
                ASSERT_EQ(rig.screen.loadScript(script), "");
                ModuleContext ctx = rig.context(mode);
                const std::string text =
                    std::string("<MNU DLL=[") + path.plugin + "] " + path.keys + " >";
                RunPlugin(ctx, testing::DtcRig::kDataPath, path.plugin,
                          PluginCall{text, 0, mode, "ENGINE"}, 1, "Load Error, DLL %s");

                if (std::string(mode) == "DEMO") {
                    EXPECT_TRUE(rig.port->written().empty());
                    continue;
                }
                bool erased = false;
                for (const auto& f : rig.sent()) erased = erased || serviceOf(f) == 0x14;
                const bool module = std::string(path.plugin) == "FAULTCODES.DLL";
                const bool entry = std::string(path.keys).starts_with("ERASEDLL=");
                const bool allowed = yes && ((module && std::string(mode) == "DEL") ||
                                             (entry && std::string(mode) == "EXE"));
                if (!allowed) {
                    EXPECT_FALSE(erased);
                } else if (std::string(path.keys).find("C410FA14FF00") != std::string::npos) {
                    EXPECT_TRUE(erased);
                }
                erasingRuns += erased;
            }
        }
    }
    // The three ways that do erase: the module's two items with erase bytes, the entry.
    EXPECT_EQ(erasingRuns, 3);
}

}  // namespace
}  // namespace corvan
