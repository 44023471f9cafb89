#include "sim/bluetooth_module.h"

#include <algorithm>
#include <cctype>

namespace corvan::sim {

namespace {

constexpr std::string_view kPrefix = "AT+Z";
// A command line longer than this is noise: it is dropped.
constexpr size_t kMaxLine = 64;
constexpr int64_t kLongestInquiryS = 60;

constexpr std::string_view kOk = "OK\r\n";
constexpr std::string_view kError = "ERR\r\n";

bool isAddress(std::string_view s) {
    return s.size() == 12 &&
           std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(uint8_t(c)); });
}

bool listed(const std::vector<std::string>& list, std::string_view key) {
    return std::find(list.begin(), list.end(), key) != list.end();
}

// "ZM3" for a mode switch, "ZI", "ZA", ... for the others: what refuse and silent name.
std::string commandKey(const std::string& command) {
    if (command.size() >= 3 && command[1] == 'M') return command.substr(0, 3);
    return command.substr(0, 2);
}

}  // namespace

BluetoothModule::BluetoothModule(BluetoothConfig config, ByteDevice& box, TimingConfig timing)
    : config_(std::move(config)),
      box_(box),
      timing_(timing),
      linked_(config_.linked),
      mode_(config_.mode),
      remote_(config_.remote),
      pin_(config_.pin) {}

int64_t BluetoothModule::byteUs() const {
    return timing_.pacing && timing_.baud > 0 ? (10 * 1000000 + timing_.baud - 1) / timing_.baud
                                              : 0;
}

bool BluetoothModule::inRange(std::string_view address) const {
    return std::any_of(config_.devices.begin(), config_.devices.end(),
                       [&](const BluetoothDevice& d) { return d.address == address; });
}

bool BluetoothModule::pairingGood() const {
    for (const BluetoothDevice& d : config_.devices)
        if (d.address == remote_) return d.pin.empty() || d.pin == pin_;
    return false;
}

void BluetoothModule::update(int64_t nowUs) {
    if (!linked_ && linkAtUs_ >= 0 && nowUs >= linkAtUs_) {
        linked_ = true;
        linkAtUs_ = -1;
        line_.clear();
    }
    if (inquiryEndUs_ >= 0 && nowUs >= inquiryEndUs_) inquiryEndUs_ = -1;
}

void BluetoothModule::poll(int64_t nowUs, ByteQueue& out) {
    update(nowUs);
    if (linked_) box_.poll(nowUs, out);
}

void BluetoothModule::received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) {
    update(nowUs);
    if (linked_) {
        box_.received(bytes, nowUs, out);
        return;
    }
    for (uint8_t b : bytes) {
        // With pacing the module has a byte once it has crossed the line.
        inFreeUs_ = std::max(inFreeUs_, nowUs) + byteUs();
        const int64_t at = std::max(nowUs, inFreeUs_);
        update(at);
        if (linked_) {
            box_.received(std::span<const uint8_t>(&b, 1), at, out);
            continue;
        }
        if (at < deafUntilUs_) continue;  // restarting
        onByte(b, at, out);
    }
}

void BluetoothModule::onByte(uint8_t byte, int64_t atUs, ByteQueue& out) {
    const char c = char(byte);
    if (line_.empty() && c != 'A') return;  // line ends, blanks and noise between commands
    line_ += c;
    // Keep only what can still become a command: drop leading characters until it can.
    while (!line_.empty() && !(line_.starts_with(kPrefix) || kPrefix.starts_with(line_)))
        line_.erase(0, line_.find('A', 1) == std::string::npos ? line_.size() : line_.find('A', 1));
    if (line_.size() <= kPrefix.size()) return;
    const char letter = line_[kPrefix.size()];
    std::string command;
    if (letter == 'V' || letter == 'X' || letter == 'U') {
        // These take no argument: they act at once, without waiting for a line end.
        command = line_.substr(kPrefix.size() - 1);
    } else if (letter == 'M') {
        if (line_.size() < kPrefix.size() + 2) return;
        command = line_.substr(kPrefix.size() - 1);
    } else if (c == '\r') {
        command = line_.substr(kPrefix.size() - 1, line_.size() - kPrefix.size());
    } else {
        if (line_.size() > kMaxLine) line_.clear();
        return;
    }
    line_.clear();
    heard_.push_back(command);
    execute(command, atUs, out);
}

void BluetoothModule::answer(std::string_view text, int64_t atUs, ByteQueue& out) {
    int64_t at = std::max(atUs + config_.answerDelayUs, outFreeUs_);
    for (char c : text) {
        at += byteUs();
        out.push(uint8_t(c), at);
    }
    outFreeUs_ = at;
}

void BluetoothModule::execute(const std::string& command, int64_t atUs, ByteQueue& out) {
    const std::string key = commandKey(command);
    if (listed(config_.silent, key)) return;
    if (listed(config_.refuse, key)) return answer(kError, atUs, out);
    const std::string argument = command.substr(key.size());
    switch (command[1]) {
        case 'V': {
            std::string text = "\r\n" + config_.version + "\r\nADDR=" + config_.address +
                               "\r\nMODE=" + std::to_string(mode_) +
                               "\r\nREMOTE=" + (remote_.empty() ? "NONE" : remote_) + "\r\n";
            return answer(text + std::string(kOk), atUs, out);
        }
        case 'M': {
            const char m = command[2];
            if (m < '1' || m > '3') return answer(kError, atUs, out);
            mode_ = m - '0';
            return answer(kOk, atUs, out);
        }
        case 'X': {
            answer(kOk, atUs, out);
            // The answer leaves first; then the module restarts and hears nothing for a while.
            deafUntilUs_ = std::max(outFreeUs_, atUs) + config_.restartUs;
            inquiryEndUs_ = -1;
            linkAtUs_ = mode_ == 2 && pairingGood() ? deafUntilUs_ + config_.linkDelayUs : -1;
            return;
        }
        case 'U':
            if (inquiryEndUs_ >= 0) {
                out.clear();  // what the search had still to report
                outFreeUs_ = atUs;
            }
            inquiryEndUs_ = -1;
            return answer(kOk, atUs, out);
        case 'I': {
            // "ZI15,L": search for 15 seconds and list what answers.
            const std::string seconds = argument.substr(0, argument.find(','));
            if (mode_ != 3 || seconds.empty() || seconds.size() > 2 ||
                !std::all_of(seconds.begin(), seconds.end(),
                             [](char ch) { return std::isdigit(uint8_t(ch)); }))
                return answer(kError, atUs, out);
            const int64_t spanUs =
                config_.inquiryUs >= 0
                    ? config_.inquiryUs
                    : std::min<int64_t>(std::stoi(seconds), kLongestInquiryS) * 1000000;
            const size_t n = config_.devices.size();
            for (size_t i = 0; i < n; ++i) {
                const BluetoothDevice& d = config_.devices[i];
                answer(d.address + "," + d.name + "\r\n",
                       atUs + spanUs * int64_t(i + 1) / int64_t(n + 1), out);
            }
            inquiryEndUs_ = atUs + spanUs;
            return answer("EOI\r\n", inquiryEndUs_, out);
        }
        case 'A':
            if (!isAddress(argument) || !inRange(argument)) return answer(kError, atUs, out);
            remote_ = argument;
            return answer(kOk, atUs, out);
        case 'E':
            pin_ = argument;
            return answer(kOk, atUs, out);
        default:
            return answer(kError, atUs, out);
    }
}

}  // namespace corvan::sim
