#include "sim/sim_test_support.h"

#include <gtest/gtest.h>

#include "sim/hex_pattern.h"

namespace corvan::sim::testing {

Scenario scenarioFrom(std::string_view json) {
    LoadResult r = loadScenarioText(json, "test scenario");
    if (!r.ok()) {
        ADD_FAILURE() << r.error;
        return Scenario{};
    }
    return std::move(*r.scenario);
}

Bytes hex(std::string_view text) {
    auto b = parseHexBytes(text, nullptr);
    if (!b) ADD_FAILURE() << "bad hex in test: " << text;
    return b.value_or(Bytes{});
}

BoxRig::BoxRig(Scenario s) : box(std::make_unique<Varbox>(std::move(s))) {
    port = std::make_unique<MemoryPort>(clock, *box);
    host.clock = &clock;
    host.screen = &screen;
    link.port = port.get();
    link.host = &host;
}

Bytes BoxRig::exchange(const Bytes& request, int attempts, double pollFactor) {
    Bytes reply(1024);
    const int n = Exchange(context(), request, reply, attempts, 0.0, pollFactor);
    reply.resize(size_t(n));
    return reply;
}

Bytes BoxRig::exchangePumping(const Bytes& request, int attempts, int waitMs, int pollMs) {
    Bytes reply(1024);
    const int n = ExchangePumping(context(), request, reply, attempts, waitMs, pollMs, "");
    reply.resize(size_t(n));
    return reply;
}

uint8_t BoxRig::byte3(const Bytes& request, uint8_t previous) {
    const Bytes r = exchange(request);
    return r.size() > 3 ? r[3] : previous;
}

}  // namespace corvan::sim::testing
