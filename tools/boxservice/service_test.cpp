// The service program's set-up and menu: the configuration beside the program, the port it
// opens for each command and closes again, and "Load Driver".
#include <gtest/gtest.h>

#include "plugins/boxstart/boxstart_test_support.h"
#include "tools/boxservice/boxservice_test_rig.h"
#include "tools/boxservice/load_driver.h"
#include "tools/boxservice/service_app.h"
#include "tools/boxservice/service_setup.h"
#include "tools/boxservice/service_texts.h"

namespace corvan::boxservice {
namespace {

using testing::Rig;
using testing::scenario;

constexpr int kLoadDriver = 1, kReset = 2;

TEST(ServiceSetup, TheConfigurationLiesBesideTheProgramAndThePortIsFixed) {
    EXPECT_EQ(configBesideProgram("\\STORAGE CARD\\CORVANDATA\\EXE\\TEST_KELM_ZUL.EXE"),
              "\\STORAGE CARD\\CORVANDATA\\EXE\\iCor.cfg");
    EXPECT_EQ(configBesideProgram("TEST.EXE"), "\\iCor.cfg");
    EXPECT_EQ(portDeviceName("COM1"), "COM1:");
    EXPECT_EQ(portWord("COM1:"), "COM1");
    const SerialSettings s = termiosSettings();
    EXPECT_EQ(s.baud, 9600);
    EXPECT_EQ(s.readTimeoutMs, 90);  // 10 ms for the one byte + 80 ms
}

TEST(ServiceSetup, AMissingConfigurationOrPortIsSaidAndNothingIsSent) {
    Rig noConfig(scenario(), "");
    noConfig.run(kReset);
    EXPECT_EQ(noConfig.boxTexts(),
              (std::vector<std::string>{"No es posible abrir fichero de configuración:\\STORAGE "
                                        "CARD\\CORVANDATA\\EXE\\iCor.cfg",
                                        std::string(text::kPortError)}));
    EXPECT_TRUE(noConfig.line->wire().empty());

    // A port the host does not have.
    Rig wrongPort(scenario(), "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[/dev/corvan-none]\r\n");
    wrongPort.run(kReset);
    EXPECT_EQ(wrongPort.boxTexts(), std::vector<std::string>{std::string(text::kPortError)});
    EXPECT_EQ(wrongPort.line->openings(), 0);
}

TEST(ServiceMenu, EveryCommandOpensThePortAndClosesItAgain) {
    Rig rig;
    for (int row = 0; row < 7; ++row) {
        if (row == kLoadDriver) continue;  // no driver files here: it opens nothing
        rig.script("after 5 pumps press \"Cancel\"\n");
        rig.run(row);
        EXPECT_FALSE(rig.line->isOpen()) << "row " << row;
    }
    EXPECT_EQ(rig.line->openings(), 6);

    // From the menu: a double tap runs the entry, "Salir" leaves.
    Rig menu;
    menu.script("doubletap \"Reset Driver\"\npress \"Salir\"\n");
    runServiceMenu(menu.host);
    EXPECT_EQ(menu.framesWith(0x88).size(), 1u);
    const auto* shown = menu.screen.lastSnapshot("TEST_KELM_ZUL");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->control(kMenuListId)->rows.size(), 7u);
    EXPECT_EQ(shown->control(kMenuListId)->rows[0].cells[0], "Prueba de rendimiento");
    EXPECT_EQ(shown->control(kMenuListId)->rows[6].cells[0], "Test OBDII");
}

TEST(LoadDriver, DownloadsTheChosenFileWithTheBoxStartUpsTransfer) {
    Rig rig(scenario(R"("driverName": "CANBUS")"));
    rig.writeFile("\\STORAGE CARD\\CORVANDATA\\DRV\\KWP2000.DRV",
                  boxstart::testing::driverImage("KWP2000", 600));
    rig.writeFile("\\STORAGE CARD\\CORVANDATA\\DRV\\ABS.drv",
                  boxstart::testing::driverImage("ABS", 300));
    rig.writeFile("\\STORAGE CARD\\CORVANDATA\\DRV\\README.TXT", {1, 2});
    rig.script("when title \"Load Driver\" tap \"KWP2000.DRV\"\npress \"OK\"\n");
    rig.run(kLoadDriver);
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
    const auto* list = rig.screen.lastSnapshot("DRIVERS");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->control(100)->rows.size(), 2u);
    EXPECT_EQ(list->control(100)->rows[0].cells[0], "ABS.drv");
    EXPECT_EQ(rig.line->box().driverName(), "KWP2000");
    EXPECT_EQ(rig.boxTexts(), std::vector<std::string>{"Driver cargado: KWP2000.DRV"});
    // Straight to the transfer: no status question first, three 256-byte blocks.
    ASSERT_FALSE(rig.frames().empty());
    EXPECT_EQ(rig.frames()[0][2], 0x15);
    size_t blocks = 0;
    for (const auto& f : rig.framesWith(0x1A)) blocks += f.size() == 259;
    EXPECT_EQ(blocks, 3u);
    EXPECT_FALSE(rig.line->isOpen());
}

TEST(LoadDriver, DriverFilesFromTheRootFolderOrNone) {
    Rig rig;
    rig.run(kLoadDriver);
    EXPECT_EQ(rig.boxTexts(),
              std::vector<std::string>{"No se encuentra ningún driver (*.drv) en \\DRV"});
    EXPECT_EQ(rig.line->openings(), 0);

    rig.writeFile("\\DRV\\OLD.DRV", boxstart::testing::driverImage("OLD", 256));
    const DriverFiles files = findDriverFiles(rig.host, "STORAGE CARD\\CORVANDATA");
    EXPECT_EQ(files.folder, "\\DRV");
    EXPECT_EQ(files.names, std::vector<std::string>{"OLD.DRV"});

    // A box that refuses every block: five attempts, then the start-up's load error.
    Rig refusing(scenario(R"("download": {"refuseBlock": 0, "refuseTimes": 1000})"));
    refusing.writeFile("\\STORAGE CARD\\CORVANDATA\\DRV\\KWP2000.DRV",
                       boxstart::testing::driverImage("KWP2000", 300));
    refusing.script("press \"OK\"\n");
    refusing.run(kLoadDriver);
    EXPECT_EQ(refusing.boxTexts().back(), "ERROR DE CARGA DE LA INFORMACIÓN");
    EXPECT_EQ(refusing.framesWith(0x15).size(), 5u);
}

}  // namespace
}  // namespace corvan::boxservice
