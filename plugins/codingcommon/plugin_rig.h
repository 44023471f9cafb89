#pragma once
// What the coding modules' tests wire together: the simulated box of a scenario on the
// in-memory line and the virtual clock, the headless screen with its technician script and
// its dump, and the engine's link carrying them; a module's function then runs as its entry
// calls it. Test targets link corvan_sim and corvan_ui.
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/plugin_entry.h"
#include "runtime/varbox_link.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::coding::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes hex(std::string_view text) {
    auto bytes = sim::parseHexBytes(text, nullptr);
    if (!bytes) throw std::invalid_argument("bad hex in a test: " + std::string(text));
    return *bytes;
}

// A box running its driver, connected at power-up to one unit of `model` with `config`.
inline std::string oneUnit(std::string_view model, std::string_view config) {
    return R"({"box": {"program": "running"}, "ecus": [{"name": "unit", "model": ")" +
           std::string(model) + R"(", "config": )" + std::string(config) + "}]}";
}

// Each frame the module wrote, with the number of message boxes shown before it: a request
// that changes the vehicle must come after the box that asked the technician.
struct SentFrame {
    Bytes frame;
    size_t boxesBefore = 0;
    int64_t atUs = 0;  // on the virtual clock
};

class PluginRig : private FrameObserver {
  public:
    explicit PluginRig(const std::string& scenarioJson) {
        sim::LoadResult loaded = sim::loadScenarioText(scenarioJson, "test");
        if (!loaded.ok()) throw std::invalid_argument(loaded.error);
        box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        host.clock = &clock;
        host.screen = &screen;
        host.frames = this;
        link.port = port.get();
        link.host = &host;
        screen.setDumpStream(dumpText);
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
    }

    void script(std::string_view text, ui::ScriptLimits limits = {}) {
        if (const std::string error = screen.loadScript(text, limits); !error.empty())
            throw std::invalid_argument(error);
    }

    std::string run(PluginFunction function, const std::string& text,
                    const std::string& mode = "EXE", int language = 1,
                    const std::string& name = "UNIT") {
        ModuleContext ctx(link, language, mode);
        return function(ctx, PluginCall{text, 0, mode, name});
    }

    // The ECU messages the box was handed, in order (0x20 frames without header and check).
    std::vector<Bytes> ecuMessages() const {
        std::vector<Bytes> out;
        for (const auto& f : box->frames())
            if (f.size() >= 5 && f[2] == 0x20) out.emplace_back(f.begin() + 4, f.end() - 1);
        return out;
    }
    size_t count(const Bytes& message) const {
        size_t n = 0;
        for (const Bytes& m : ecuMessages()) n += m == message;
        return n;
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> out;
        for (const auto& b : screen.messageBoxes()) out.push_back(b.text);
        return out;
    }
    const ui::DialogSnapshot& last(std::string_view dialog) const {
        const ui::DialogSnapshot* s = screen.lastSnapshot(dialog);
        if (!s) throw std::runtime_error("no dialog " + std::string(dialog));
        return *s;
    }
    template <class Model>
    Model& unit(size_t index = 0) {
        auto* m = dynamic_cast<Model*>(box->ecu(index));
        if (!m) throw std::runtime_error("unit of another model");
        return *m;
    }
    std::string dump() const { return dumpText.str(); }
    // The first frame carrying `message` (null when it was never sent) and the boxes shown
    // before it (-1 when it was never sent).
    const SentFrame* firstSent(const Bytes& message) const {
        for (const SentFrame& f : sent)
            if (f.frame.size() >= 5 && Bytes(f.frame.begin() + 4, f.frame.end() - 1) == message)
                return &f;
        return nullptr;
    }
    int boxesBefore(const Bytes& message) const {
        const SentFrame* f = firstSent(message);
        return f ? int(f->boxesBefore) : -1;
    }

    std::ostringstream dumpText;
    std::vector<SentFrame> sent;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    HostServices host;
    VarboxLink link;

  private:
    void frameSent(std::span<const uint8_t> f) override {
        sent.push_back({Bytes(f.begin(), f.end()), screen.messageBoxes().size(), clock.nowUs()});
    }
    void frameReceived(std::span<const uint8_t>, bool) override {}
};

}  // namespace corvan::coding::testing
