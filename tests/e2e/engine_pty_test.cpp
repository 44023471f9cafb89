// The whole session across processes on the real serial code path: varbox-sim serves the
// sample vehicle on a pseudo-terminal, the engine is started with PORT= naming it and a
// technician goes through the function menu into the identification and out. Real time:
// the box start-up's waits make it about five seconds.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

TEST(EnginePty, SessionThroughTheFunctionMenuOnAPseudoTerminal) {
    SampleCopy copy;
    SimProgram sim({(copy.install() / "SIM" / "vehicle.json").string(), "--idle-exit", "60"});
    const std::string terminal = sim.terminalPath();
    ASSERT_EQ(terminal.rfind("/dev/", 0), 0u) << terminal;
    copy.writeConfig(terminal);

    const auto trace = copy.root() / "wire.trace", screens = copy.root() / "screens.txt";
    const ProgramRun run =
        runProgram(ECOR_PATH,
                   {"--root", copy.root().string(), "--headless", "--technician",
                    CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt", "--trace", trace.string(),
                    "--screens", screens.string(), "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE /EXE"},
                   120000);
    ASSERT_EQ(run.status, 0) << run.err;

    const auto rows = dialogRows(readWholeFile(screens).value_or(""), "IDENTIFY");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[8], "\"VIN\" | \"CVN1SIM0000000042\"");

    std::vector<std::string> sent, received;
    for (const std::string& line : linesOf(readWholeFile(trace).value_or(""))) {
        const size_t space = line.find(' ');
        ASSERT_NE(space, std::string::npos) << line;
        const std::string rest = line.substr(space + 1);
        if (rest.rfind("TX ", 0) == 0) sent.push_back(rest.substr(3));
        if (rest.rfind("RX ", 0) == 0) received.push_back(rest.substr(3));
        EXPECT_NE(rest.rfind("RX! ", 0), 0u) << "a damaged frame on a clean line: " << line;
    }
    EXPECT_NE(std::find(sent.begin(), sent.end(), "80 03 20 00 1A 80 39"), sent.end());
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], "80 02 20 00 82 20");  // END=[82]
    EXPECT_EQ(sent.back(), "80 00 88 08");                  // the box reset
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), "80 00 88 08");
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
}  // namespace corvan::e2e
