// The box commands of the service program: reset, the line-driver loop-back test and the
// OBD II adapter test, against the simulated box on the virtual clock.
#include "tools/boxservice/box_tests.h"

#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "tools/boxservice/boxservice_test_rig.h"
#include "tools/boxservice/service_texts.h"

namespace corvan::boxservice {
namespace {

using testing::Bytes;
using testing::Rig;
using testing::scenario;

constexpr int kReset = 2, kLineTest = 5, kObdTest = 6;

// Records, for every message box, whether the port was open while it was up.
struct PortWatch final : ui::Screen {
    PortWatch(ui::HeadlessScreen& s, const SimulatedLine& l) : screen(s), line(l) {}
    std::unique_ptr<ui::Dialog> createDialog(const ui::DialogTemplate& t) override {
        return screen.createDialog(t);
    }
    ui::Answer messageBox(const std::string& text, const std::string& title, ui::Buttons b,
                          ui::Icon icon) override {
        openDuring.push_back(line.isOpen());
        return screen.messageBox(text, title, b, icon);
    }
    void pumpMessages() override { screen.pumpMessages(); }
    bool keyDown(int key) const override { return screen.keyDown(key); }
    ui::HeadlessScreen& screen;
    const SimulatedLine& line;
    std::vector<bool> openDuring;
};

TEST(ResetDriver, SendsTheResetBehindItsWaitDialog) {
    Rig rig;
    rig.run(kReset);
    EXPECT_EQ(rig.frames(), std::vector<Bytes>{cmd::resetRequest()});
    const auto* wait = rig.screen.lastSnapshot("WAIT");
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->title, "RESET");
    EXPECT_EQ(wait->control(1001)->text, "RESET");
    EXPECT_EQ(wait->control(1002)->text, "4");  // sends left in the cycle
    EXPECT_TRUE(rig.boxTexts().empty());
    EXPECT_FALSE(rig.line->isOpen());
}

TEST(LineDriverTest, ReportsTheDriverAndEveryLineThenResetsAndClosesStepByStep) {
    Rig rig(scenario(R"("voltage": "13.8 ", "driverCode": "00 00 00 01 2C")"));
    PortWatch watch(rig.screen, *rig.line);
    rig.host.screen = &watch;
    rig.run(kLineTest);
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{
                  "Nombre driver: KWP2000 \r\nEstado conexión: Desconectado\r\nAlimentación "
                  "módulo: 13.8  V\r\nCódigo driver: 300 (12C)\r\nChecksum driver: OK",
                  "Canal K: OK\n\rCanal L: OK\n\rCanal I: OK\n\rCanal A: OK", "0", "1", "2", "3"}));
    EXPECT_EQ(rig.screen.messageBoxes()[0].icon, ui::Icon::Information);
    // The port is closed after "1" and before "2".
    EXPECT_EQ(watch.openDuring, (std::vector<bool>{true, true, true, true, false, false}));

    // Register 9 switches the test on, then each line is driven and released in turn.
    using W = std::vector<std::pair<uint8_t, uint8_t>>;
    EXPECT_EQ(rig.registerWrites(), (W{{9, 0x3F},
                                       {16, 0x2E},
                                       {16, 0x0E},
                                       {16, 0x2D},
                                       {16, 0x0D},
                                       {16, 0x8B},
                                       {16, 0x0B},
                                       {16, 0x87},
                                       {16, 0x07}}));
    const auto frames = rig.frames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], cmd::programStateRequest());  // the driver runs: no start
    EXPECT_EQ(frames[1], cmd::driverNameRequest(true));
    EXPECT_EQ(frames[2], cmd::connectionStatusRequest());
    EXPECT_EQ(frames.back(), cmd::resetRequest());
    EXPECT_EQ(rig.framesWith(0x83).size(), 8u);
}

TEST(LineDriverTest, ALineThatDoesNotFollowOrDoesNotLetGoFails) {
    Rig rig(scenario(R"("failingLines": ["L", "A"])"));
    rig.run(kLineTest);
    EXPECT_EQ(rig.boxTexts().at(1),
              "Canal K: OK\n\rCanal L: ERROR\n\rCanal I: OK\n\rCanal A: ERROR");
    // A failed line is not released: its off pattern is never written.
    for (const auto& [reg, value] : rig.registerWrites()) {
        EXPECT_NE(value, 0x0D);
        EXPECT_NE(value, 0x07);
    }
    EXPECT_EQ(lineResults({true, true, false, true}),
              "Canal K: OK\n\rCanal L: OK\n\rCanal I: ERROR\n\rCanal A: OK");
}

TEST(LineDriverTest, ABoxInItsLoaderIsStartedFirst) {
    Rig loaded(scenario(R"("program": "loaded")"));
    loaded.run(kLineTest);
    ASSERT_GE(loaded.frames().size(), 2u);
    EXPECT_EQ(loaded.frames()[1], cmd::startProgramRequest());
    EXPECT_EQ(loaded.boxTexts().at(1), "Canal K: OK\n\rCanal L: OK\n\rCanal I: OK\n\rCanal A: OK");

    // Nothing to start: the box says so in byte 3 and the technician is told.
    Rig empty(scenario(R"("program": "none")"));
    empty.run(kLineTest);
    EXPECT_EQ(empty.boxTexts().at(0), text::kDriverStartError);
}

TEST(LineDriverTest, NoDriverNameGoesStraightToTheReset) {
    Rig rig(scenario("", "", R"("faults": [{"kind": "silence", "command": "0F", "count": -1}])"));
    rig.run(kLineTest);
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"No hay respuesta del terminal \n¿REINTENTAR?",
                                        std::string(text::kNoVersion), "0", "1", "2", "3"}));
    EXPECT_TRUE(rig.registerWrites().empty());
    EXPECT_EQ(rig.frames().back(), cmd::resetRequest());
}

TEST(DriverReport, ReadsTheConnectionStateReply) {
    // 80 0C 82 | state | "12.60" | code 5 bytes | checksum flag | check
    Bytes reply = {0x80, 0x0C, 0x82, 0x02, '1', '2', '.', '6', '0', 0, 0, 0, 0, 0x0A, 0x01, 0};
    EXPECT_EQ(driverReport("CAN", reply, 16),
              "Nombre driver: CAN\r\nEstado conexión: Reintentando\r\nAlimentación módulo: 12.60 "
              "V\r\nCódigo driver: 10 (0A)\r\nChecksum driver: WRONG");
    EXPECT_EQ(connectionStateText(1), "Conectado");
    EXPECT_EQ(connectionStateText(3), "Desconocido");
    // A short reply: what lies past its data (here from byte 7, its check byte) is not read.
    EXPECT_EQ(driverReport("X", reply, 8),
              "Nombre driver: X\r\nEstado conexión: Reintentando\r\nAlimentación módulo: 12. "
              "V\r\nCódigo driver: 0 (00)\r\nChecksum driver: OK");
}

TEST(ObdTest, SwitchesTheAdaptersLinesOnOneByOne) {
    Rig rig;
    rig.run(kObdTest);
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"Encendiendo K1", "Encendiendo K2", "Encendiendo K3",
                                        "Encendiendo K4", "Encendiendo L", "Encendiendo canal I",
                                        "Encendiendo canal A", "Apagando todos los canales"}));
    using W = std::vector<std::pair<uint8_t, uint8_t>>;
    EXPECT_EQ(rig.registerWrites(), (W{{8, 0x20},
                                       {16, 0x00},
                                       {16, 0x02},
                                       {16, 0x2E},
                                       {16, 0x3E},
                                       {16, 0x6E},
                                       {16, 0x7E},
                                       {16, 0x2D},
                                       {16, 0x8B},
                                       {16, 0x87},
                                       {16, 0x0F},
                                       {8, 0x00}}));
    EXPECT_EQ(rig.frames().back(), cmd::resetRequest());
}

TEST(ObdTest, AnotherCableIsNoObdAdapter) {
    for (const char* cable : {"KLIA", "MB", "none"}) {
        Rig rig(scenario(std::string(R"("adapter": ")") + cable + "\""));
        rig.run(kObdTest);
        EXPECT_EQ(rig.boxTexts(), std::vector<std::string>{std::string(text::kNoObdAdapter)})
            << cable;
        for (const auto& [reg, value] : rig.registerWrites())
            EXPECT_FALSE(reg == 16 && value == 0x2E) << cable;
        EXPECT_EQ(rig.frames().back(), cmd::resetRequest());
    }
}

}  // namespace
}  // namespace corvan::boxservice
