#include "sim/bluetooth_module.h"

#include <gtest/gtest.h>

#include "runtime/frame.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"

namespace corvan::sim {
namespace {

constexpr std::string_view kBox = "0012F3A1B2C4";

struct Line {
    explicit Line(BluetoothConfig config, TimingConfig timing = {})
        : module(std::move(config), box, timing) {}

    // Writes `text` and collects what comes back until the line has been quiet for `quietMs`.
    std::string talk(std::string_view text, int quietMs = 600) {
        size_t written = 0;
        port.write(reinterpret_cast<const uint8_t*>(text.data()), text.size(), written);
        std::string got;
        for (int quiet = 0; quiet * port.readTimeoutMs() < quietMs;) {
            uint8_t b;
            size_t n = 0;
            port.readByte(b, n);
            if (n) {
                got += char(b);
                lastByteUs = clock.nowUs();
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        return got;
    }
    std::string talk(const std::vector<uint8_t>& frame) {
        return talk(std::string_view(reinterpret_cast<const char*>(frame.data()), frame.size()));
    }

    VirtualClock clock;
    int64_t lastByteUs = 0;
    Varbox box{Scenario{}};
    BluetoothModule module;
    MemoryPort port{clock, module};
};

BluetoothConfig unlinked() {
    BluetoothConfig c;
    c.linked = false;
    c.remote.clear();
    c.devices = {{std::string(kBox), "VARBOX 0412", "1234"}, {"00025B00A5A5", "PHONE", ""}};
    return c;
}

std::string nameRequest() {
    const auto f = frame::build(0x0F, {}, false);
    return std::string(f.begin(), f.end());
}

TEST(BluetoothModule, AnswersCommandsWithAndWithoutLineEnds) {
    Line line(unlinked());
    EXPECT_EQ(line.talk("AT+ZV"),
              "\r\nBT SERIAL 2.4\r\nADDR=00A0961E0F01\r\nMODE=2\r\nREMOTE=NONE\r\nOK\r\n");
    // The line end after a mode switch is not a second command; noise before "AT" is skipped.
    EXPECT_EQ(line.talk("\x55\x13"
                        "AT+ZM3\r"),
              "OK\r\n");
    EXPECT_EQ(line.module.mode(), 3);
    EXPECT_EQ(line.talk("AT+ZM7\r"), "ERR\r\n");
    EXPECT_EQ(line.talk("AT+ZQ\r"), "ERR\r\n");
    EXPECT_EQ(line.talk("ATAT+ZU"), "OK\r\n");
    EXPECT_EQ(line.module.commands(), (std::vector<std::string>{"ZV", "ZM3", "ZM7", "ZQ", "ZU"}));
    // Not linked: a box frame reaches nobody.
    EXPECT_EQ(line.talk(nameRequest()), "");
    EXPECT_EQ(line.box.framesReceived(), 0u);
}

TEST(BluetoothModule, InquiryListsTheDevicesInRangeAndEndsWithEoi) {
    Line line(unlinked());
    EXPECT_EQ(line.talk("AT+ZI15,L\r"), "ERR\r\n");  // only in mode 3
    line.talk("AT+ZM3\r");
    const int64_t start = line.clock.nowUs();
    const std::string list = line.talk("AT+ZI15,L\r", 10000);
    EXPECT_EQ(list, "0012F3A1B2C4,VARBOX 0412\r\n00025B00A5A5,PHONE\r\nEOI\r\n");
    // The search takes its 15 seconds.
    EXPECT_GE(line.lastByteUs - start, 15'000'000);
    EXPECT_LT(line.lastByteUs - start, 15'100'000);

    BluetoothConfig nobody = unlinked();
    nobody.devices.clear();
    Line empty(nobody);
    empty.talk("AT+ZM3\r");
    EXPECT_EQ(empty.talk("AT+ZI15,L\r", 16000), "EOI\r\n");
}

TEST(BluetoothModule, PairsAndLinksAfterTheRestartThenPassesFramesToTheBox) {
    Line line(unlinked());
    EXPECT_EQ(line.talk("AT+ZM2\r"), "OK\r\n");
    EXPECT_EQ(line.talk("AT+ZA0012F3A1B2\r"), "ERR\r\n");    // not an address
    EXPECT_EQ(line.talk("AT+ZA00AAAAAAAAAA\r"), "ERR\r\n");  // nobody there
    EXPECT_EQ(line.talk("AT+ZA0012F3A1B2C4\r"), "OK\r\n");
    EXPECT_EQ(line.talk("AT+ZE1234\r"), "OK\r\n");
    EXPECT_EQ(line.module.pin(), "1234");
    EXPECT_EQ(line.talk("AT+ZX"), "OK\r\n");
    // Restarting: deaf for 1.5 s, then in command mode until the link is up 5 s later.
    EXPECT_EQ(line.talk("AT+ZM2\r"), "");
    line.clock.sleepMs(1000);
    EXPECT_EQ(line.talk("AT+ZM2\r"), "OK\r\n");
    EXPECT_FALSE(line.module.linked());
    line.clock.sleepMs(5000);
    EXPECT_EQ(line.talk(nameRequest()).substr(0, 3), "\x80\x13\x0F");
    EXPECT_TRUE(line.module.linked());
    EXPECT_EQ(line.box.framesReceived(), 1u);
    // AT commands are data now: they reach the box, which makes nothing of them.
    EXPECT_EQ(line.talk("AT+ZV"), "");
    line.clock.sleepMs(300);  // the box drops the half frame after its frame gap
    EXPECT_EQ(line.talk(nameRequest()).size(), 23u);
}

TEST(BluetoothModule, AWrongPinOrAnUnpairedModuleDoesNotLink) {
    Line line(unlinked());
    line.talk("AT+ZA0012F3A1B2C4\r");
    line.talk("AT+ZE\r");  // the box asks for 1234
    line.talk("AT+ZX");
    EXPECT_EQ(line.talk("AT+ZV"), "");  // still restarting
    line.clock.sleepMs(10000);
    EXPECT_FALSE(line.module.linked());
    EXPECT_NE(line.talk("AT+ZV").find("REMOTE=0012F3A1B2C4"), std::string::npos);

    // A restart in mode 3 never links, even with the right PIN.
    line.talk("AT+ZE1234\r");
    line.talk("AT+ZM3\r");
    line.talk("AT+ZX");
    line.clock.sleepMs(10000);
    EXPECT_FALSE(line.module.linked());
}

TEST(BluetoothModule, RefusedAndSilentCommandsAsTheScenarioSays) {
    BluetoothConfig c = unlinked();
    c.refuse = {"ZU", "ZM2"};
    c.silent = {"ZV"};
    Line line(c);
    EXPECT_EQ(line.talk("AT+ZU"), "ERR\r\n");
    EXPECT_EQ(line.talk("AT+ZM2\r"), "ERR\r\n");
    EXPECT_EQ(line.talk("AT+ZM3\r"), "OK\r\n");
    EXPECT_EQ(line.talk("AT+ZV"), "");
}

TEST(BluetoothModule, ScenarioFilesDescribeTheModule) {
    auto r = loadScenarioText(R"({"bluetooth": {"linked": false, "mode": 3, "remote": "",
        "devices": [{"address": "0012f3a1b2c4", "name": "BOX", "pin": "0000"}],
        "restartMs": 800, "linkDelayMs": 2000, "inquiryMs": 3000, "refuse": ["ZM2"],
        "silent": ["ZX"]}})",
                              "bt.json");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_TRUE(r.scenario->bluetooth);
    const BluetoothConfig& c = *r.scenario->bluetooth;
    EXPECT_FALSE(c.linked);
    EXPECT_EQ(c.mode, 3);
    EXPECT_EQ(c.remote, "");
    ASSERT_EQ(c.devices.size(), 1u);
    EXPECT_EQ(c.devices[0].pin, "0000");
    EXPECT_EQ(c.restartUs, 800000);
    EXPECT_EQ(c.linkDelayUs, 2000000);
    EXPECT_EQ(c.inquiryUs, 3000000);
    EXPECT_EQ(loadScenarioText(R"({"bluetooth": {}})", "b.json").scenario->bluetooth->inquiryUs,
              -1);
    EXPECT_EQ(c.refuse, std::vector<std::string>{"ZM2"});
    EXPECT_FALSE(loadScenarioText("{}", "none.json").scenario->bluetooth);

    const std::pair<const char*, const char*> bad[] = {
        {R"({"bluetooth": {"adress": "0012F3A1B2C4"}})", "/bluetooth/adress: unknown key"},
        {R"({"bluetooth": {"remote": "0012F3"}})", "/bluetooth/remote: expected 12 hex"},
        {R"({"bluetooth": {"mode": 4}})", "/bluetooth/mode"},
        {R"({"bluetooth": {"refuse": ["AT+ZU"]}})", "/bluetooth/refuse/0: expected one of"},
        {R"({"bluetooth": {"devices": [{"name": "X"}]}})", "/bluetooth/devices/0/address"},
    };
    for (const auto& [text, expected] : bad) {
        const auto failed = loadScenarioText(text, "bt.json");
        EXPECT_FALSE(failed.ok()) << text;
        EXPECT_NE(failed.error.find(expected), std::string::npos) << failed.error;
    }
}

}  // namespace
}  // namespace corvan::sim
