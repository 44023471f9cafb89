#include "engine/engine_host.h"

#include <gtest/gtest.h>

#include "engine/engine_test_support.h"
#include "engine/line_messages.h"
#include "engine/plugin_call.h"
#include "platform/file_io.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"

namespace corvan::engine {
namespace {

class EngineHostTest : public ::testing::Test {
  protected:
    HostSetup setup() const {
        HostSetup s;
        s.root = inst.root();
        s.installPath = std::string(testing::kInstall);
        s.port.scenarioFile = inst.scenario();
        return s;
    }
    std::unique_ptr<EngineHost> create(HostSetup s) {
        auto host = EngineHost::create(std::move(s), &error);
        EXPECT_TRUE(host) << error;
        return host;
    }
    testing::TestInstallation inst;
    std::string error;
};

TEST_F(EngineHostTest, APlugInThatCallsAnotherFindsTheInstallation) {
    inst.addPlugin(CORVAN_ECHO_PLUGIN, "echo.so");
    auto host = create(setup());
    ASSERT_TRUE(host);
    EXPECT_EQ(host->root().programPath(), "\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
    // The outer call loads ECHO.DLL again through ReadDataPath and RunPlugin, as the
    // function menu loads the box start-up.
    const PluginOutcome out =
        callPluginNamed(*host, "ECHO.DLL", PluginCall{"NEST=[ECHO.DLL]", 0, "EXE", "X"}, 1);
    ASSERT_TRUE(out.ran) << out.error;
    EXPECT_EQ(out.result, "OUTER|1|ECHO|EXE|INNER|0|0|inner|");
    EXPECT_TRUE(host->headless()->messageBoxes().empty());
}

TEST_F(EngineHostTest, PlugInsAreFoundByDataNameOrLibraryPathOnly) {
    inst.addPlugin(CORVAN_ECHO_PLUGIN, "echo.so");
    auto host = create(setup());
    ASSERT_TRUE(host);
    EXPECT_TRUE(locatePlugin(*host, "echo.dll", &error));
    EXPECT_TRUE(locatePlugin(*host, CORVAN_ECHO_PLUGIN, &error));
    for (const char* name : {"IDENTIFY.DLL", "..\\DLL\\ECHO.DLL", "/nowhere/echo.so", ""}) {
        error.clear();
        EXPECT_FALSE(locatePlugin(*host, name, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    const PluginOutcome missing = callPluginNamed(*host, "IDENTIFY.DLL", PluginCall{}, 1);
    EXPECT_FALSE(missing.ran);
    EXPECT_NE(missing.error.find("IDENTIFY.DLL"), std::string::npos);
    // A file that is not a library is refused by the loader, not run.
    writeFileAtomic(inst.install() / "DLL" / "broken.so", "not a library");
    const PluginOutcome broken = callPluginNamed(*host, "BROKEN.DLL", PluginCall{}, 1);
    EXPECT_FALSE(broken.ran);
    EXPECT_NE(broken.error.find("cannot load"), std::string::npos);
}

TEST_F(EngineHostTest, TheSimulatedBoxAnswersOnTheVirtualClockAndTheTraceIsWritten) {
    HostSetup s = setup();
    s.traceFile = inst.root() / "wire.trace";
    auto host = create(std::move(s));
    ASSERT_TRUE(host);
    EXPECT_TRUE(host->clock().isVirtual());
    ModuleContext ctx(host->link(), 1, "EXE");
    std::vector<uint8_t> reply(64);
    ASSERT_GT(Exchange(ctx, cmd::connectionStatusRequest(), reply), 0);
    EXPECT_EQ(reply[2], 0x82);
    host->finish();
    const auto trace = readWholeFile(inst.root() / "wire.trace");
    ASSERT_TRUE(trace);
    EXPECT_EQ(trace->substr(0, 17), "0 TX 80 00 82 02\n");
    EXPECT_NE(trace->find(" RX 80 0C 82 "), std::string::npos);
}

TEST_F(EngineHostTest, RealTimeOnlyWhenAskedOrOnARealLine) {
    HostSetup s = setup();
    s.realTime = true;
    auto host = create(std::move(s));
    ASSERT_TRUE(host);
    EXPECT_FALSE(host->clock().isVirtual());
}

TEST_F(EngineHostTest, WhatCannotBeOpenedIsSaidBeforeTheRun) {
    // A line that cannot be opened leaves a host without a line that says why, so the
    // technician can be told on the screen.
    HostSetup badScenario = setup();
    badScenario.port.scenarioFile = inst.root() / "none.json";
    auto noScenario = EngineHost::create(std::move(badScenario), &error);
    ASSERT_TRUE(noScenario) << error;
    EXPECT_NE(noScenario->lineError().find("scenario"), std::string::npos);
    EXPECT_EQ(noScenario->link().port, nullptr);

    HostSetup badPort = setup();
    badPort.port.device = (inst.root() / "ttyNONE").string();
    badPort.port.setting = "COM2";
    auto noPort = EngineHost::create(std::move(badPort), &error);
    ASSERT_TRUE(noPort) << error;
    EXPECT_EQ(noPort->portName(), "COM2 (" + (inst.root() / "ttyNONE").string() + ")");
    EXPECT_EQ(noPort->lineError().rfind("cannot open the port COM2 (", 0), 0u)
        << noPort->lineError();
    EXPECT_NE(noPort->lineError().find("No such file"), std::string::npos);
    EXPECT_EQ(cannotOpenPortMessage(*noPort, 0),
              "No se puede abrir el puerto " + noPort->portName() +
                  ":\ncannot open the port (No such file or directory)");

    HostSetup demo = setup();
    demo.port = PortChoice{};
    demo.port.none = true;
    auto noLine = EngineHost::create(std::move(demo), &error);
    ASSERT_TRUE(noLine) << error;
    EXPECT_TRUE(noLine->lineError().empty());
    EXPECT_EQ(noLine->port(), nullptr);
    EXPECT_FALSE(noLine->lineLost());

    writeFileAtomic(inst.root() / "script.txt", "tap\n");
    HostSetup badScript = setup();
    badScript.technicianScript = inst.root() / "script.txt";
    EXPECT_FALSE(EngineHost::create(std::move(badScript), &error));
    EXPECT_NE(error.find("line 1"), std::string::npos);

    HostSetup noScript = setup();
    noScript.technicianScript = inst.root() / "absent.txt";
    EXPECT_FALSE(EngineHost::create(std::move(noScript), &error));

    HostSetup badTrace = setup();
    badTrace.traceFile = inst.root() / "no" / "such" / "folder" / "trace";
    EXPECT_FALSE(EngineHost::create(std::move(badTrace), &error));
    EXPECT_NE(error.find("trace"), std::string::npos);
}

TEST_F(EngineHostTest, AScriptThatDidNotRunAsWrittenIsReported) {
    writeFileAtomic(inst.root() / "script.txt", "press \"SELECT\"\n");
    HostSetup s = setup();
    s.technicianScript = inst.root() / "script.txt";
    auto host = create(std::move(s));
    ASSERT_TRUE(host);
    // No dialog ever came: the rule never ran.
    EXPECT_NE(host->finish().find("SELECT"), std::string::npos);
}

}  // namespace
}  // namespace corvan::engine
