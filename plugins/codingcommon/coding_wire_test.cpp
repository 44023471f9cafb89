// The five coding modules on the sample vehicle's simulated units, each called at its item of
// the sample data as the function menu calls it: what reaches the wire, and when. Nothing in
// demonstration; nothing that teaches, erases, switches or codes before the technician asked
// for it; no typed PIN in any screen dump.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "plugins/codingcommon/plugin_rig.h"
#include "plugins/nissankeys/nissan_keys.h"
#include "plugins/opelcankeys/opel_can_keys.h"
#include "plugins/psasrs/psa_srs.h"
#include "plugins/renaultkeys/renault_keys.h"
#include "plugins/renaultsrs/renault_srs.h"
#include "runtime/journal_record.h"
#include "runtime/param_text.h"
#include "runtime/testing/memory_journal.h"
#include "sim/airbag_models.h"
#include "sim/immobilizer_models.h"

namespace corvan::coding {
namespace {

using testing::Bytes;
using testing::hex;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().empty()) throw std::runtime_error("cannot read " + path);
    return text.str();
}

// The sample vehicle: every unit of the installation's scenario, connected to `unit`.
testing::PluginRig sampleVehicle(const std::string& unit) {
    std::string json = fileText(CORVAN_SAMPLE_SCENARIO);
    const std::string connected = "\"connectedEcu\": \"engine\"";
    const size_t at = json.find(connected);
    if (at == std::string::npos) throw std::runtime_error("no connectedEcu in the scenario");
    json.replace(at, connected.size(), "\"connectedEcu\": \"" + unit + "\"");
    return testing::PluginRig(json);
}

struct Unit {
    const char* record;  // in the sample installation's FICHAS
    const char* item;    // the menu item's TEXT
    const char* ecu;     // the scenario's name of the unit
    PluginFunction function;
    std::string act;  // the technician asks for the change
    Bytes change;     // the message that changes the vehicle
    int asked;        // boxes shown before it: the questions and guidance it waits for
};

const std::vector<Unit>& units() {
    static const std::vector<Unit> all = {
        {"UCH_RENAULT.TXT", "Key coding", "renault-immobilizer", &renaultkeys::runRenaultKeys,
         "type \"12AB\" into #1001\npress #1004\n", hex("85 26 F1 31 C5 00 12 AB"), 1},
        {"IMMU_NISSAN.TXT", "Key coding and pairing", "nissan-immobilizer",
         &nissankeys::runNissanKeys, "press #1001\n", hex("31 A0"), 0},
        {"IMMO_OPEL_CAN.TXT", "Key coding", "opel-immobilizer", &opelcankeys::runOpelCanKeys,
         "type \"1975\" into #1003\npress #1004\nanswer \"\" Yes\npress #1006\n",
         hex("02 45 02 3B 68"), 1},
        {"AIRBAG_RENAULT.TXT", "Passenger airbag", "renault-airbag", &renaultsrs::runRenaultSrs,
         "press #1002\nanswer \"\" Ok\nclose\n", hex("3B 81 01"), 0},
        {"AIRBAG_PSA.TXT", "Airbag coding", "psa-airbag", &psasrs::runPsaSrs,
         "choose #1003\npress #1004\n", hex("84 BB A4 06 00"), 0},
    };
    return all;
}

std::string run(testing::PluginRig& rig, const Unit& u, const std::string& mode) {
    const std::string text = fileText(std::string(CORVAN_SAMPLE_RECORDS) + "/" + u.record);
    // The function menu calls the module at its item's "<MNU".
    const int item = findFrom(text, std::string("TEXT=\t[\"") + u.item + "\"]");
    int at = -1;
    for (const int p : findAll(text, kMenuItemMark, 0, item)) at = p;
    if (item < 0 || at < 0) throw std::runtime_error(std::string("no item ") + u.item);
    ModuleContext ctx(rig.link, 1, mode);
    return u.function(ctx, PluginCall{text, at, mode, u.item});
}

TEST(CodingWire, DemonstrationSendsNothingWhateverTheTechnicianDoes) {
    for (const Unit& u : units()) {
        testing::PluginRig rig = sampleVehicle(u.ecu);
        rig.script(u.act + "close\n", {.abandonAfter = 50});
        EXPECT_EQ(run(rig, u, "DEMO"), "") << u.record;
        EXPECT_TRUE(rig.port->written().empty()) << u.record;
    }
}

TEST(CodingWire, NoChangeReachesTheUnitBeforeTheTechnicianAsksForIt) {
    for (const Unit& u : units()) {
        SCOPED_TRACE(u.record);
        {
            // The dialog opened and left: at most the status reads went out.
            testing::PluginRig rig = sampleVehicle(u.ecu);
            rig.script("close\n");
            run(rig, u, "EXE");
            EXPECT_EQ(rig.count(u.change), 0u);
            for (const Bytes& m : rig.ecuMessages())
                EXPECT_TRUE(m == hex("21 80") || m == hex("21 A0")) << sim::formatHex(m);
        }
        testing::PluginRig rig = sampleVehicle(u.ecu);
        rig.script(u.act);
        run(rig, u, "EXE");
        EXPECT_EQ(rig.count(u.change), 1u);
        EXPECT_EQ(rig.boxesBefore(u.change), u.asked);
    }
}

TEST(CodingWire, EachChangeLandsInTheSampleUnit) {
    const std::vector<std::string> lastBox = {
        "Key codifying done.\n\rPull key out", "Key programmed OK. To codify next keys",
        "Keys erased.\nYou must codify at least one key",
        "Acción realizada. Verifique el nuevo estado del airbag", "Codification done"};
    for (size_t i = 0; i < units().size(); ++i) {
        const Unit& u = units()[i];
        SCOPED_TRACE(u.record);
        testing::PluginRig rig = sampleVehicle(u.ecu);
        rig.script(u.act);
        run(rig, u, "EXE");
        ASSERT_FALSE(rig.boxTexts().empty());
        EXPECT_TRUE(rig.boxTexts().back().starts_with(lastBox[i])) << rig.boxTexts().back();
        EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
        sim::EcuModel* unit = rig.box->ecu(size_t(rig.box->selectedEcu()));
        if (auto* m = dynamic_cast<sim::RenaultImmobilizer*>(unit)) {
            EXPECT_EQ(m->sessions(), 1);
        } else if (auto* n = dynamic_cast<sim::NissanImmobilizer*>(unit)) {
            EXPECT_EQ(n->keys(), 1);
        } else if (auto* o = dynamic_cast<sim::OpelCanImmobilizer*>(unit)) {
            EXPECT_EQ(o->keys(), 0);
        } else if (auto* r = dynamic_cast<sim::RenaultAirbag*>(unit)) {
            EXPECT_TRUE(r->passengerLocked());
        } else if (auto* p = dynamic_cast<sim::PsaAirbag*>(unit)) {
            EXPECT_EQ(p->configuration(), 0x06);
        } else {
            ADD_FAILURE() << "no unit of the expected kind";
        }
    }
}

TEST(CodingWire, EachChangeIsJournalledBeforeItGoesOutAndAnsweredAfter) {
    for (const Unit& u : units()) {
        SCOPED_TRACE(u.record);
        testing::PluginRig rig = sampleVehicle(u.ecu);
        corvan::testing::MemoryJournal journal([&rig] { return rig.sent.size(); });
        rig.host.journal = &journal;
        rig.script(u.act);
        run(rig, u, "EXE");
        ASSERT_EQ(journal.records.size(), 1u);
        const auto& r = journal.records[0];
        const bool airbag = std::string_view(u.record).starts_with("AIRBAG");
        EXPECT_EQ(r.entry.write.kind, airbag ? "airbag" : "key");
        EXPECT_EQ(r.entry.write.unit, u.item);
        // The request as sent, but never the PIN that a key coding sends in its last bytes.
        const std::string message = spacedHex(u.change);
        EXPECT_TRUE(r.entry.write.sent.ends_with(message) ||
                    r.entry.write.sent.ends_with(message.substr(0, message.size() - 5) + "** **"))
            << r.entry.write.sent;
        for (const char* pin : {"12 AB", "19 75"})
            EXPECT_EQ(r.entry.write.sent.find(pin), std::string::npos) << r.entry.write.sent;
        // The airbag units' status byte is what they held before.
        EXPECT_EQ(r.entry.write.before.starts_with("status byte "), airbag) << r.entry.write.before;
        const testing::SentFrame* change = rig.firstSent(u.change);
        ASSERT_NE(change, nullptr);
        const size_t at = size_t(change - rig.sent.data());
        EXPECT_LE(r.framesAtWrite, at);
        EXPECT_GT(r.framesAtAnswer, at);
        EXPECT_EQ(r.answers, 1);
        EXPECT_TRUE(r.entry.done) << r.entry.answer;
        EXPECT_TRUE(r.entry.write.module.empty());  // nothing of these is put back
    }
    // In demonstration nothing is sent, and nothing journalled.
    for (const Unit& u : units()) {
        testing::PluginRig rig = sampleVehicle(u.ecu);
        corvan::testing::MemoryJournal journal;
        rig.host.journal = &journal;
        rig.script(u.act + "close\n", {.abandonAfter = 50});
        run(rig, u, "DEMO");
        EXPECT_TRUE(journal.records.empty()) << u.record;
    }
}

TEST(CodingWire, NoTypedPinInAnyScreenDump) {
    for (const Unit& u : units()) {
        testing::PluginRig rig = sampleVehicle(u.ecu);
        rig.script(u.act);
        run(rig, u, "EXE");
        for (const char* pin : {"12AB", "1975"})
            EXPECT_EQ(rig.dump().find(pin), std::string::npos) << u.record << "\n" << rig.dump();
    }
}

TEST(CodingWire, ModesWithoutATechnicianReturnAtOnce) {
    for (const Unit& u : units()) {
        testing::PluginRig rig = sampleVehicle(u.ecu);
        EXPECT_EQ(run(rig, u, "REPORT"), "") << u.record;
        EXPECT_TRUE(rig.port->written().empty()) << u.record;
        EXPECT_TRUE(rig.screen.snapshots().empty()) << u.record;
    }
}

}  // namespace
}  // namespace corvan::coding
