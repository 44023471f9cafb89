#include "sim/service_model.h"

#include <gtest/gtest.h>

#include "sim/scenario_loader.h"

namespace corvan::sim {
namespace {

using Bytes = std::vector<uint8_t>;

std::unique_ptr<ServiceModel> unit(const char* json, std::string* error = nullptr) {
    const nlohmann::json j = nlohmann::json::parse(json);
    Problem p;
    auto m = ServiceModel::fromJson(JsonNode(j, "/config", p));
    if (error) *error = p.place + ": " + p.message;
    if (!m && !error) ADD_FAILURE() << p.place << ": " << p.message;
    return m;
}

Bytes ask(ServiceModel& m, Bytes request) {
    return m.request(request, 0).bytes;
}

constexpr const char* kUnit = R"({
    "counters": [{"id": "01", "value": "00 0A", "reset": "27 10"},
                 {"id": "02", "value": "00 05", "reset": "01 6D", "locked": true}],
    "accessCode": "30 39", "settleReads": 2})";

TEST(ServiceModel, ResetIsReadBackOnlyAfterTheStoreSettles) {
    auto m = unit(kUnit);
    EXPECT_EQ(ask(*m, {0x21, 0x01}), (Bytes{0x61, 0x01, 0x00, 0x0A}));
    EXPECT_EQ(ask(*m, {0x31, 0x01}), (Bytes{0x71, 0x01}));
    EXPECT_EQ(m->counter(0x01), (Bytes{0x27, 0x10}));
    EXPECT_EQ(m->resets(), 1);
    // Two more reads of the old value, then the new one for good.
    EXPECT_EQ(ask(*m, {0x21, 0x01}), (Bytes{0x61, 0x01, 0x00, 0x0A}));
    EXPECT_EQ(ask(*m, {0x21, 0x01}), (Bytes{0x61, 0x01, 0x00, 0x0A}));
    EXPECT_EQ(ask(*m, {0x21, 0x01}), (Bytes{0x61, 0x01, 0x27, 0x10}));
    EXPECT_EQ(ask(*m, {0x21, 0x01}), (Bytes{0x61, 0x01, 0x27, 0x10}));
    // Unknown counters and malformed requests.
    EXPECT_EQ(ask(*m, {0x21, 0x07}), (Bytes{0x7F, 0x21, 0x31}));
    EXPECT_EQ(ask(*m, {0x21}), (Bytes{0x7F, 0x21, 0x31}));
    EXPECT_EQ(ask(*m, {0x31, 0x01, 0x00}), (Bytes{0x7F, 0x31, 0x31}));
}

TEST(ServiceModel, LockedCounterOpensWithTheCodeForOneConnection) {
    auto m = unit(kUnit);
    EXPECT_EQ(ask(*m, {0x31, 0x02}), (Bytes{0x7F, 0x31, 0x33}));
    EXPECT_EQ(ask(*m, {0x3B, 0x02, 0x01, 0x00}), (Bytes{0x7F, 0x3B, 0x33}));
    EXPECT_EQ(ask(*m, {0x27, 0x01}), (Bytes{0x67, 0x01, 0x5A, 0xA5}));
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x30, 0x38}), (Bytes{0x7F, 0x27, 0x35}));
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x30}), (Bytes{0x7F, 0x27, 0x35}));  // too short
    EXPECT_FALSE(m->accessGranted());
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x30, 0x39}), (Bytes{0x67, 0x02}));
    EXPECT_TRUE(m->accessGranted());
    EXPECT_EQ(ask(*m, {0x3B, 0x02, 0x01, 0x00}), (Bytes{0x7B, 0x02}));
    EXPECT_EQ(m->counter(0x02), (Bytes{0x01, 0x00}));
    EXPECT_EQ(m->writes(), 1);
    m->disconnected();
    EXPECT_EQ(ask(*m, {0x31, 0x02}), (Bytes{0x7F, 0x31, 0x33}));
}

TEST(ServiceModel, ThreeWrongCodesLockTheAccessUntilTheConnectionDrops) {
    auto m = unit(kUnit);
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x00, 0x01}), (Bytes{0x7F, 0x27, 0x35}));
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x00, 0x02}), (Bytes{0x7F, 0x27, 0x35}));
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x00, 0x03}), (Bytes{0x7F, 0x27, 0x36}));
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x30, 0x39}), (Bytes{0x7F, 0x27, 0x36}));
    EXPECT_FALSE(m->accessGranted());
    m->disconnected();
    EXPECT_EQ(ask(*m, {0x27, 0x02, 0x30, 0x39}), (Bytes{0x67, 0x02}));
}

TEST(ServiceModel, WritesMustMatchTheCounterLength) {
    auto m = unit(kUnit);
    EXPECT_EQ(ask(*m, {0x3B, 0x01, 0x01}), (Bytes{0x7F, 0x3B, 0x13}));
    EXPECT_EQ(ask(*m, {0x3B, 0x01, 0x01, 0x02, 0x03}), (Bytes{0x7F, 0x3B, 0x13}));
    EXPECT_EQ(m->counter(0x01), (Bytes{0x00, 0x0A}));
    EXPECT_EQ(m->writes(), 0);
}

TEST(ServiceModel, OtherRequestsGoToTheUnitsTable) {
    auto bare = unit(R"({"counters": [{"id": "01", "value": "00"}], "delayMs": 0})");
    EXPECT_EQ(ask(*bare, {0x1A, 0x80}), (Bytes{0x7F, 0x1A, 0x11}));
    // Without settling reads a write reads back at once.
    EXPECT_EQ(ask(*bare, {0x3B, 0x01, 0x05}), (Bytes{0x7B, 0x01}));
    EXPECT_EQ(ask(*bare, {0x21, 0x01}), (Bytes{0x61, 0x01, 0x05}));
    EXPECT_EQ(ask(*bare, {0x27, 0x01}), (Bytes{0x7F, 0x27, 0x11}));  // no access code held
    EXPECT_EQ(bare->request({}, 0).bytes, (Bytes{0x7F, 0x00, 0x11}));
    auto m = unit(R"({"delayMs": 30, "table": {"connect": {"reply": "C1 D0 8F"},
                      "rules": [{"request": "3E", "reply": "7E"}]}})");
    const EcuReply r = m->request(Bytes{0x3E}, 0);
    EXPECT_EQ(r.bytes, Bytes{0x7E});
    EXPECT_EQ(m->request(Bytes{0x21, 0x01}, 0).delayUs, 30000);
    std::array<uint8_t, 40> config{};
    EXPECT_EQ(m->connect(config, 0).answer, (Bytes{0xC1, 0xD0, 0x8F}));
}

TEST(ServiceModel, ScenarioMistakesNameTheirPlace) {
    std::string error;
    EXPECT_FALSE(unit(R"({"counters": [{"id": "01", "value": "00 01", "reset": "01"}]})", &error));
    EXPECT_EQ(error, "/config/counters/0/reset: expected 2 bytes");
    EXPECT_FALSE(unit(R"({"counters": [{"id": "01", "value": "00"}, {"id": "01", "value": "00"}]})",
                      &error));
    EXPECT_EQ(error, "/config/counters/1/id: counter listed twice");
    EXPECT_FALSE(unit(R"({"counters": [{"value": "00"}]})", &error));
    EXPECT_FALSE(unit(R"({"counters": [{"id": "01", "value": "00", "locked": "yes"}]})", &error));
    EXPECT_EQ(error.rfind("/config/counters/0/locked", 0), 0u) << error;
    EXPECT_FALSE(unit(R"({"counters": [{"id": "01", "value": "0G"}]})", &error));
    EXPECT_FALSE(unit(R"({"counters": [{"id": "01"}]})", &error));
    EXPECT_EQ(error, "/config/counters/0/value: a counter needs at least one byte");
    EXPECT_FALSE(unit(R"({"counter": []})", &error));
    EXPECT_FALSE(unit(R"({"table": {"rulez": []}})", &error));
    // Registered under its name for scenario files.
    const auto loaded = loadScenarioText(
        R"({"ecus": [{"model": "service", "config": {"counters": [{"id": "01", "value": "00"}]}}]})",
        "test");
    EXPECT_TRUE(loaded.ok()) << loaded.error;
}

}  // namespace
}  // namespace corvan::sim
