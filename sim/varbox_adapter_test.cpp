// The adapter cable as the host finds it through the box's registers: the detection of
// the ECU connection set-up, the BMW reset output check and the line-driver test.
#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using testing::BoxRig;
using testing::Bytes;
namespace rq = corvan::cmd;

// Register access as the modules do it: a read yields reply byte 3, or the previous one
// when no reply came; replies of writes are not looked at.
class Registers {
  public:
    explicit Registers(BoxRig& rig) : rig_(rig) {}
    uint8_t read(uint8_t r) { return last_ = rig_.byte3(rq::readRegisterRequest(r), last_); }
    void write(uint8_t r, uint8_t v) { rig_.exchange(rq::writeRegisterRequest(r, v)); }
    void pause() { rig_.clock.sleepMs(10); }
    BoxRig& rig() { return rig_; }

  private:
    BoxRig& rig_;
    uint8_t last_ = 0;
};

// The adapter detection of the ECU connection set-up, step by step.
std::string detectAdapter(Registers& x) {
    const Bytes probe = x.rig().exchange(rq::probeAdapterRequest());
    if (probe.size() > 3 && probe[2] == 0x89 && probe[3] == 0) return "CANYK";

    uint8_t v = x.read(0x08);  // OBDII
    x.write(0x08, v | 0x20);
    const uint8_t a = x.read(0x10) & 0x5F;
    x.write(0x10, a);
    x.pause();
    x.write(0x10, a & 0xFD);
    x.pause();
    if (!(x.read(0x08) & 0x10)) {
        x.write(0x10, (a & 0xFD) | 0x02);
        x.pause();
        if (x.read(0x08) & 0x10) {
            x.write(0x10, a & 0xF0);
            return "OBDII";
        }
    }
    v = x.read(0x08);  // MB
    x.write(0x08, v & 0xDF);
    const uint8_t e = x.read(0x10);
    const uint8_t u = e & 0x5F;
    x.write(0x10, u);
    x.pause();
    x.write(0x10, u);
    x.pause();
    if (x.read(0x08) & 0x10) {
        x.write(0x10, uint8_t(u + 0x80));
        x.pause();
        if (!(x.read(0x08) & 0x10)) {
            x.write(0x10, e & 0x50);
            return "MB";
        }
    }
    x.write(0x11, 0x80);  // SAE
    const uint8_t f = x.read(0x10);
    x.pause();
    x.write(0x10, f & 0xDF);
    const uint8_t g = x.read(0x10);
    if (!(g & 0x80)) {
        x.pause();
        x.write(0x10, g | 0x20);
        const uint8_t h = x.read(0x10);
        if (h & 0x80) {
            x.write(0x11, 0);
            x.write(0x10, h & 0xF0);
            return "SAE";
        }
    }
    x.write(0x11, 0x20);  // NISS
    const uint8_t k = x.read(0x08);
    x.pause();
    x.write(0x08, k & 0xDF);
    uint8_t m = x.read(0x10);
    if (m & 0x20) {
        x.pause();
        x.write(0x08, k | 0x20);
        m = x.read(0x10);
        if (!(m & 0x20)) {
            x.write(0x11, 0);
            x.write(0x10, m & 0xF0);
            return "NISS";
        }
    }
    x.write(0x11, 0);
    x.write(0x10, x.read(0x10) & 0xF0);
    return "KLIA";
}

// The BMW reset output check: which output the reset line is on.
uint8_t bmwOutputCheck(Registers& x) {
    x.write(0x08, x.read(0x08) | 0x20);
    const uint8_t d = x.read(0x10) & 0x5F;
    x.write(0x10, d);
    x.pause();
    x.write(0x10, d & 0xFD);
    x.pause();
    if (x.read(0x08) & 0x10) return 0x08;
    x.write(0x10, d | 0x02);
    x.pause();
    if (!(x.read(0x08) & 0x10)) return 0x08;
    x.write(0x10, d & 0xF0);
    return 0x01;
}

// The line-driver test of the box service program.
std::string lineTest(Registers& x) {
    struct Line {
        const char* label;
        uint8_t on, off, bit;
    };
    const Line lines[] = {{"Canal K: ", 0x2E, 0x0E, 0x02},
                          {"\n\rCanal L: ", 0x2D, 0x0D, 0x04},
                          {"\n\rCanal I: ", 0x8B, 0x0B, 0x08},
                          {"\n\rCanal A: ", 0x87, 0x07, 0x10}};
    x.write(9, 0x3F);
    std::string text;
    for (const Line& l : lines) {
        bool ok = false;
        x.write(16, l.on);
        if (x.read(8) & l.bit) {
            x.write(16, l.off);
            ok = !(x.read(8) & l.bit);
        }
        text += std::string(l.label) + (ok ? "OK" : "ERROR");
    }
    return text;
}

std::string scenarioWithAdapter(const std::string& adapter, const std::string& extra = "") {
    return R"({"box": {"adapter": ")" + adapter + "\"" + extra + "}}";
}

TEST(VarboxAdapter, DetectionFindsEveryCable) {
    for (const char* name : {"OBDII", "MB", "SAE", "NISS", "KLIA", "CANYK"}) {
        BoxRig rig(scenarioWithAdapter(name));
        Registers x(rig);
        EXPECT_EQ(detectAdapter(x), name);
        // Detection leaves the selector cleared for the driver.
        EXPECT_EQ(rig.box->registers().stored(0x11), 0) << name;
    }
    BoxRig none(scenarioWithAdapter("none"));
    Registers x(none);
    EXPECT_EQ(detectAdapter(x), "KLIA");  // no cable answers: the plain K-line adapter
}

TEST(VarboxAdapter, DetectionWorksFromAnyPowerUpRegisters) {
    for (const char* name : {"OBDII", "MB", "SAE", "NISS"}) {
        BoxRig rig(scenarioWithAdapter(name, R"(, "registers": {"08": "20", "10": "FF"})"));
        Registers x(rig);
        EXPECT_EQ(detectAdapter(x), name);
    }
}

TEST(VarboxAdapter, BmwOutputCheckFollowsTheLoop) {
    {
        BoxRig rig(scenarioWithAdapter("KLIA", R"(, "outputLoop": true)"));
        Registers x(rig);
        EXPECT_EQ(bmwOutputCheck(x), 0x01);
    }
    {
        BoxRig rig(scenarioWithAdapter("KLIA"));
        Registers x(rig);
        EXPECT_EQ(bmwOutputCheck(x), 0x08);
    }
}

TEST(VarboxAdapter, ResetOutputIsLoggedWithItsTimes) {
    BoxRig rig(scenarioWithAdapter("KLIA", R"(, "outputLoop": true)"));
    Registers x(rig);
    const uint8_t out = bmwOutputCheck(x);
    // An oil-service reset: the output held for 3 seconds.
    const uint8_t v = x.read(0x10) | out;
    x.write(0x10, v);
    rig.clock.sleepMs(3000);
    x.write(0x10, v & ~out);
    const auto& log = rig.box->registerWrites();
    ASSERT_GE(log.size(), 2u);
    const RegisterWrite& on = log[log.size() - 2];
    const RegisterWrite& off = log.back();
    EXPECT_EQ(on.value & 0x01, 0x01);
    EXPECT_EQ(off.value & 0x01, 0x00);
    EXPECT_GE(off.atUs - on.atUs, 3000000);
}

TEST(VarboxAdapter, LineDriverTestPassesOrFailsAsWired) {
    {
        BoxRig rig(scenarioWithAdapter("OBDII"));
        Registers x(rig);
        EXPECT_EQ(lineTest(x), "Canal K: OK\n\rCanal L: OK\n\rCanal I: OK\n\rCanal A: OK");
    }
    {
        BoxRig rig(scenarioWithAdapter("OBDII", R"(, "failingLines": ["L", "A"])"));
        Registers x(rig);
        EXPECT_EQ(lineTest(x), "Canal K: OK\n\rCanal L: ERROR\n\rCanal I: OK\n\rCanal A: ERROR");
    }
}

}  // namespace
}  // namespace corvan::sim
