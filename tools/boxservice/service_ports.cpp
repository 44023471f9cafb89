#include "tools/boxservice/service_ports.h"

#include "platform/memory_port.h"
#include "platform/termios_port.h"
#include "platform/text_codec.h"
#include "tools/boxservice/service_setup.h"

namespace corvan::boxservice {

class SimulatedLine::Port final : public SerialPort {
  public:
    explicit Port(SimulatedLine& line) : line_(line), port_(line.clock_, *line.module_) {
        port_.setReadTimeoutMs(oneByteReadTimeoutMs());
    }
    ~Port() override { line_.open_ = false; }

    bool write(const uint8_t* data, size_t n, size_t& written) override {
        const bool ok = port_.write(data, n, written);
        line_.wire_.insert(line_.wire_.end(), data, data + written);
        return ok;
    }
    bool readByte(uint8_t& byte, size_t& got) override { return port_.readByte(byte, got); }
    bool drain() override { return port_.drain(); }
    void setReadTimeoutMs(int ms) override { port_.setReadTimeoutMs(ms); }
    int readTimeoutMs() const override { return port_.readTimeoutMs(); }
    bool lost() const override { return port_.lost(); }

  private:
    SimulatedLine& line_;
    MemoryPort port_;
};

SimulatedLine::SimulatedLine(sim::Scenario scenario, Clock& clock) : clock_(clock) {
    const sim::TimingConfig timing = scenario.timing;
    const sim::BluetoothConfig bluetooth = scenario.bluetooth.value_or(sim::BluetoothConfig{});
    box_ = std::make_unique<sim::Varbox>(std::move(scenario));
    module_ = std::make_unique<sim::BluetoothModule>(bluetooth, *box_, timing);
}

SimulatedLine::~SimulatedLine() = default;

std::unique_ptr<SerialPort> SimulatedLine::open(const std::string&, std::string* why) {
    if (open_) {
        if (why) *why = "the simulated line is already open";
        return nullptr;
    }
    open_ = true;
    ++openings_;
    return std::make_unique<Port>(*this);
}

std::string portWord(const std::string& deviceName) {
    if (!deviceName.empty() && deviceName.back() == ':')
        return deviceName.substr(0, deviceName.size() - 1);
    return deviceName;
}

std::unique_ptr<SerialPort> HostPorts::open(const std::string& deviceName, std::string* why) {
    const std::string word = override_.empty() ? portWord(deviceName) : override_;
    if (simulated_ && equalsIgnoreCase(word, "SIM")) return simulated_->open(deviceName, why);
    if (word.empty()) {
        if (why) *why = "no port named";
        return nullptr;
    }
    return openTermiosPort(word, termiosSettings(), why);
}

}  // namespace corvan::boxservice
