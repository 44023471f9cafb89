#pragma once
// The pieces a runtime test wires together: a virtual clock, the fake screen, an in-memory
// line to a FrameResponder, the host services and the link that carries them.
#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/testing/fake_screen.h"
#include "runtime/testing/frame_responder.h"
#include "runtime/varbox_link.h"

namespace corvan::testing {

// Records the frames the runtime reports on the wire.
struct FrameLog final : FrameObserver {
    void frameSent(std::span<const uint8_t> f) override { sent.emplace_back(f.begin(), f.end()); }
    void frameReceived(std::span<const uint8_t> f, bool good) override {
        received.push_back({std::vector<uint8_t>(f.begin(), f.end()), good});
    }
    void frameCut(std::span<const uint8_t> f) override { cut.emplace_back(f.begin(), f.end()); }
    void lineLost() override { ++lostReports; }
    void lineReopened(bool ok) override { reopens.push_back(ok); }
    struct Received {
        std::vector<uint8_t> bytes;
        bool good;
    };
    std::vector<std::vector<uint8_t>> sent, cut;
    std::vector<Received> received;
    int lostReports = 0;
    std::vector<bool> reopens;
};

struct LinkFixture {
    LinkFixture() {
        host.clock = &clock;
        host.screen = &screen;
        host.frames = &log;
        link.port = &port;
        link.host = &host;
    }
    // Bytes waiting for the host, available at once.
    void queue(std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes) port.pending().push(b, clock.nowUs());
    }
    void queue(const std::vector<uint8_t>& bytes) {
        for (uint8_t b : bytes) port.pending().push(b, clock.nowUs());
    }
    ModuleContext context(int32_t language = 1, std::string mode = "EXE") {
        return ModuleContext(link, language, std::move(mode));
    }

    VirtualClock clock;
    FakeScreen screen;
    FrameResponder device;
    MemoryPort port{clock, device};
    FrameLog log;
    HostServices host;
    VarboxLink link;
};

}  // namespace corvan::testing
