#include "tools/boxservice/box_tests.h"

#include <cstdio>
#include <optional>

#include "platform/clock.h"
#include "platform/text_codec.h"
#include "runtime/commands.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_texts.h"
#include "ui/screen.h"

namespace corvan::boxservice {

namespace {

// Inside a driver's connection-state reply.
constexpr size_t kStateByte = 3, kVoltageFrom = 4, kVoltageTo = 8, kCodeFrom = 9, kCodeTo = 13,
                 kChecksumByte = 14;
constexpr size_t kNameFrom = 3, kNameTo = 21;
// Output loop-backs through the adapter cable take a moment to follow.
constexpr int kSettleMs = 10;

BoxExchange waitDialog(std::string title, std::string status, double waitSeconds = 0.2) {
    BoxExchange how;
    how.title = std::move(title);
    how.status = std::move(status);
    how.waitSeconds = waitSeconds;
    return how;
}

void say(PortSession& s, const std::string& message, ui::Icon icon = ui::Icon::None) {
    s.screen().messageBox(message, "", ui::Buttons::Ok, icon);
}

// Registers through the running driver; a read without a reply is nullopt.
class Registers {
  public:
    explicit Registers(PortSession& s) : s_(s) {}

    void write(uint8_t reg, uint8_t value) {
        s_.exchange(cmd::writeRegisterRequest(reg, value),
                    waitDialog("Grabando datos", "Escribiendo SFR"));
    }
    std::optional<uint8_t> read(uint8_t reg) {
        if (s_.exchange(cmd::readRegisterRequest(reg), waitDialog("Leyendo datos", "Leyendo SFR")) <
            4)
            return std::nullopt;
        return s_.at(3);
    }
    bool bitSet(uint8_t reg, uint8_t bit) {
        const auto v = read(reg);
        return v && (*v & bit);
    }
    bool bitClear(uint8_t reg, uint8_t bit) {
        const auto v = read(reg);
        return v && !(*v & bit);
    }

  private:
    PortSession& s_;
};

// The registers are the driver's: a box that only runs its loader is started first.
void startDriverIfStopped(PortSession& s) {
    const int status =
        s.exchange(cmd::programStateRequest(),
                   waitDialog("Verificación programa", "Verificación programa", 0.0));
    if (status == 0 || s.at(0) != 0) return;
    s.exchange(cmd::startProgramRequest(), waitDialog("EXE", "Ejecución"));
    if (s.at(3) == 0) say(s, std::string(text::kDriverStartError));
    s.clock().sleepMs(200);
}

void sendReset(PortSession& s) {
    s.exchange(cmd::resetRequest(), waitDialog("Estado", "Comprobando estado"));
}

}  // namespace

std::string connectionStateText(uint8_t state) {
    switch (state) {
        case 0:
            return "Desconectado";
        case 1:
            return "Conectado";
        case 2:
            return "Reintentando";
        default:
            return "Desconocido";
    }
}

std::string replyText(std::span<const uint8_t> reply, int length, size_t from, size_t to) {
    std::string bytes;
    for (size_t i = from; i <= to && i + 1 < size_t(length) && i < reply.size(); ++i) {
        if (reply[i] == 0) break;
        bytes += char(reply[i]);
    }
    return cp1252ToUtf8(bytes);
}

std::string driverReport(const std::string& driverName, std::span<const uint8_t> stateReply,
                         int length) {
    auto byteAt = [&](size_t i) -> uint8_t {
        return i + 1 < size_t(length) && i < stateReply.size() ? stateReply[i] : 0;
    };
    unsigned long long code = 0;
    for (size_t i = kCodeFrom; i <= kCodeTo; ++i) code = code * 256 + byteAt(i);
    char codeText[64];
    std::snprintf(codeText, sizeof codeText, "%llu (%.2llX)", code, code);
    return "Nombre driver: " + driverName +
           "\r\nEstado conexión: " + connectionStateText(byteAt(kStateByte)) +
           "\r\nAlimentación módulo: " + replyText(stateReply, length, kVoltageFrom, kVoltageTo) +
           " V\r\nCódigo driver: " + codeText +
           "\r\nChecksum driver: " + (byteAt(kChecksumByte) != 0 ? "WRONG" : "OK");
}

std::string lineResults(const std::array<bool, 4>& passed) {
    std::string out;
    for (size_t i = 0; i < kLineDrivers.size(); ++i) {
        if (i > 0) out += "\n\r";
        out += "Canal " + std::string(kLineDrivers[i].name) + ": " + (passed[i] ? "OK" : "ERROR");
    }
    return out;
}

void resetBox(PortSession& session) {
    session.exchange(cmd::resetRequest(), waitDialog("RESET", "RESET"));
}

void testLineDrivers(PortSession& s) {
    startDriverIfStopped(s);
    const int named =
        s.exchange(cmd::driverNameRequest(true),
                   waitDialog("Leyendo datos", "Comprobando versión del DRIVER", 0.0));
    if (named == 0) {
        say(s, std::string(text::kNoVersion));
    } else {
        const std::string name = replyText(s.reply(), named, kNameFrom, kNameTo);
        BoxExchange state = waitDialog("Estado", "Comprobando estado", 0.0);
        state.attempts = 1;
        state.pollFactor = 7.0;
        // Without the state there is nothing to report: the line test goes on all the same.
        const int length = s.exchange(cmd::connectionStatusRequest(), state);
        if (length > 0) say(s, driverReport(name, s.reply(), length), ui::Icon::Information);

        Registers r(s);
        r.write(kLineTestRegister, kLineTestOn);
        std::array<bool, 4> passed{};
        for (size_t i = 0; i < kLineDrivers.size(); ++i) {
            const LineDriver& line = kLineDrivers[i];
            r.write(kOutputsRegister, line.on);
            if (!r.bitSet(kInputsRegister, line.input)) continue;  // the line does not follow
            r.write(kOutputsRegister, line.off);
            passed[i] = r.bitClear(kInputsRegister, line.input);
        }
        say(s, lineResults(passed));
    }
    say(s, "0");
    sendReset(s);
    say(s, "1");
    s.closePort();
    say(s, "2");
    s.releaseLink();
    say(s, "3");
}

void testObdAdapter(PortSession& s) {
    startDriverIfStopped(s);
    Registers r(s);
    const auto inputs = r.read(kInputsRegister);
    const uint8_t inputsBefore = inputs.value_or(0);
    r.write(kInputsRegister, inputsBefore | kObdSelectBit);
    const uint8_t outputsBefore = r.read(kOutputsRegister).value_or(0);
    const uint8_t base = outputsBefore & 0x5F;
    r.write(kOutputsRegister, base & ~kObdTestOutput);
    s.clock().sleepMs(kSettleMs);
    bool found = inputs && r.bitClear(kInputsRegister, kObdLoopInput);
    if (found) {
        r.write(kOutputsRegister, base | kObdTestOutput);
        s.clock().sleepMs(kSettleMs);
        found = r.bitSet(kInputsRegister, kObdLoopInput);
    }
    if (found) {
        // Each line stays on while the technician checks it on the adapter.
        for (const ObdLine& line : kObdLines) {
            r.write(kOutputsRegister, line.pattern);
            say(s, std::string(line.message));
        }
        r.write(kOutputsRegister, kObdAllOff);
        say(s, std::string(text::kAllLinesOff));
    } else {
        say(s, std::string(text::kNoObdAdapter));
        r.write(kOutputsRegister, outputsBefore);
    }
    r.write(kInputsRegister, inputsBefore);
    sendReset(s);
}

}  // namespace corvan::boxservice
