// Driver download into the box, driven by the start-up sequence the box start-up runs.
#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "runtime/varbox_io.h"
#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using testing::BoxRig;
using testing::Bytes;
namespace rq = corvan::cmd;

// The start-up of the box, step by step as box start-up does it (one attempt): returns 1
// when the right driver runs, 0 when the download failed, -1 when the box stayed silent.
class StartUp {
  public:
    StartUp(BoxRig& rig, std::string driverPath, Bytes image)
        : rig_(rig), path_(std::move(driverPath)), image_(std::move(image)) {}

    int attempt() {
        Bytes r = ex(rq::programStateRequest(), 3, 0, 300);
        if (r.empty()) return -1;
        if (r[0] != 0) {
            if (ex(rq::resetRequest(), 3, 200, 100).empty()) return -1;
            rig_.clock.sleepMs(3000);
        }
        if (ex(setup(), 3, 0, 1).empty()) return -1;
        r = ex(rq::programStateRequest(), 3, 0, 300);
        if (r.empty()) return -1;
        if (r[3] != 0) {
            if (ex(rq::startProgramRequest(), 3, 200, 100).empty()) return -1;
            rig_.clock.sleepMs(500);
            r = ex(rq::driverNameRequest(), 4, 0, 100);
            if (r.empty()) return -1;
            std::string name(r.begin() + 3, r.begin() + 22);
            name = name.find(' ') == std::string::npos ? "" : name.substr(0, name.find(' '));
            if (path_.find(name) != std::string::npos) return 1;
            ex(rq::resetRequest(), 3, 200, 100);
            rig_.clock.sleepMs(3000);
        }
        return download();
    }

    int download() {
        Bytes r = ex(rq::programStateRequest(), 4, 0, 100);
        if (r.empty()) return -1;
        if (r[0] == 0x80) {
            if (ex(rq::resetRequest(), 3, 200, 100).empty()) return -1;
            rig_.clock.sleepMs(3000);
        }
        if (ex(setup(), 3, 0, 100).empty()) return 0;
        const size_t blocks = (image_.size() + 255) / 256;
        for (size_t i = 0; i < blocks; ++i) {
            int refusals = 0;
            for (;;) {
                std::array<uint8_t, 256> block{};
                const size_t n = std::min<size_t>(256, image_.size() - 256 * i);
                std::copy_n(image_.begin() + 256 * i, n, block.begin());
                Bytes request = rq::downloadBlockRequest(block);
                SendFrameBlock(rig_.link, request);
                ++blocksSent;
                Bytes reply(64);
                int got = 0;
                for (int read = 0; read < 3 && got == 0; ++read) {
                    got = ReceiveFrame(rig_.link, reply);
                    if (got == 0) rig_.clock.sleepMs(100);
                }
                if (got == 0 || reply[3] != 0x0A) break;
                if (++refusals == 3) return 0;
                rig_.clock.sleepMs(200);
            }
        }
        const uint8_t jump[4] = {0x80, 0x00, 0x7F, 0xF0};
        if (ex(rq::memorySetupRequest(jump), 3, 0, 100).empty()) return 0;
        if (ex(rq::downloadEndRequest(), 3, 0, 100).empty()) return 0;
        if (ex(setup(), 3, 0, 100).empty()) return 0;
        r = ex(rq::programStateRequest(), 3, 0, 100);
        finalState = r.size() > 3 ? r[3] : -1;
        if (finalState != 0xFF) return 0;
        if (ex(rq::startProgramRequest(), 3, 200, 100).empty()) return -1;
        rig_.clock.sleepMs(500);
        return 1;
    }

    int finalState = -1;
    int blocksSent = 0;

  private:
    static Bytes setup() {
        const uint8_t d[4] = {0x82, 0x00, 0x00, 0x00};
        return rq::memorySetupRequest(d);
    }
    Bytes ex(const Bytes& request, int attempts, int waitMs, int pollMs) {
        return rig_.exchangePumping(request, attempts, waitMs, pollMs);
    }

    BoxRig& rig_;
    std::string path_;
    Bytes image_;
};

// A driver image of `size` bytes announcing its name.
Bytes driverImage(size_t size, const std::string& name) {
    Bytes image(size);
    for (size_t i = 0; i < size; ++i) image[i] = uint8_t(i * 7 + 3);
    const std::string tag = "DRVNAME=" + name + '\0';
    std::copy(tag.begin(), tag.end(), image.begin() + 16);
    return image;
}

constexpr const char* kPath = "STORAGE CARD/CORVANDATA/drv/CANBUS.DRV";

TEST(VarboxDownload, ThreeHundredBytesInTwoBlocksEndsWithFFAndTheNewName) {
    BoxRig rig(R"({"box": {"program": "running", "driverName": "KWP2000"}})");
    const Bytes image = driverImage(300, "CANBUS");
    StartUp s(rig, kPath, image);
    EXPECT_EQ(s.attempt(), 1);
    EXPECT_EQ(s.finalState, 0xFF);
    EXPECT_EQ(s.blocksSent, 2);
    // The box holds both blocks: the file, then the filler of the second block.
    const Bytes& stored = rig.box->memory().image();
    ASSERT_EQ(stored.size(), 512u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), stored.begin()));
    EXPECT_EQ(rig.box->memory().jumpAddress(), 0x007FF0u);
    EXPECT_EQ(rig.box->program(), ProgramState::Running);

    const Bytes name = rig.exchange(rq::driverNameRequest());
    EXPECT_EQ(std::string(name.begin() + 3, name.begin() + 10), "CANBUS ");

    // The next start-up finds the driver running and downloads nothing.
    StartUp again(rig, kPath, image);
    EXPECT_EQ(again.attempt(), 1);
    EXPECT_EQ(again.blocksSent, 0);
}

TEST(VarboxDownload, RefusedBlocksAreSentAgain) {
    BoxRig rig(R"({"box": {"program": "none", "download": {"refuseBlock": 1, "refuseTimes": 2}}})");
    StartUp s(rig, kPath, driverImage(600, "CANBUS"));
    EXPECT_EQ(s.attempt(), 1);
    EXPECT_EQ(s.blocksSent, 5);  // three blocks, the second one twice refused
    EXPECT_EQ(rig.box->driverName(), "CANBUS");
}

TEST(VarboxDownload, ThirdRefusalEndsTheAttemptAndLeavesNoProgram) {
    BoxRig rig(R"({"box": {"program": "loaded", "driverName": "KWP2000",
                           "download": {"refuseBlock": 1, "refuseTimes": 3}}})");
    StartUp s(rig, kPath, driverImage(600, "CANBUS"));
    EXPECT_EQ(s.attempt(), 0);
    // Block 0 overwrote the old driver: nothing valid is left to start.
    EXPECT_EQ(rig.box->program(), ProgramState::None);
    EXPECT_EQ(rig.exchange(rq::programStateRequest())[3], 0x00);
    // The refusals are used up: the next attempt downloads again and succeeds.
    StartUp retry(rig, kPath, driverImage(600, "CANBUS"));
    EXPECT_EQ(retry.attempt(), 1);
}

TEST(VarboxDownload, FailedFinalCheckIsNotFF) {
    BoxRig rig(R"({"box": {"program": "none", "download": {"failDownloads": 1}}})");
    StartUp s(rig, kPath, driverImage(300, "CANBUS"));
    EXPECT_EQ(s.attempt(), 0);
    EXPECT_EQ(s.finalState, 0x00);
    StartUp retry(rig, kPath, driverImage(300, "CANBUS"));
    EXPECT_EQ(retry.attempt(), 1);
}

TEST(VarboxDownload, ImageWithoutItsNameIsReportedUnderTheFallbackName) {
    BoxRig rig(R"({"box": {"program": "none"}})");
    StartUp s(rig, kPath, Bytes(100, 0x11));
    EXPECT_EQ(s.download(), 1);
    EXPECT_EQ(rig.box->driverName(), "UNNAMED");
}

TEST(VarboxDownload, RightDriverAlreadyInMemoryIsStartedNotLoaded) {
    BoxRig rig(R"({"box": {"program": "loaded", "driverName": "CANBUS"}})");
    StartUp s(rig, kPath, driverImage(300, "CANBUS"));
    EXPECT_EQ(s.attempt(), 1);
    EXPECT_EQ(s.blocksSent, 0);
    EXPECT_EQ(rig.box->program(), ProgramState::Running);
}

}  // namespace
}  // namespace corvan::sim
