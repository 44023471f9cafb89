#include "tools/boxservice/service_session.h"

#include "platform/config_text.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/serial_port.h"
#include "platform/text_codec.h"
#include "runtime/exchange.h"
#include "tools/boxservice/service_ports.h"
#include "tools/boxservice/service_setup.h"
#include "tools/boxservice/service_texts.h"
#include "ui/screen.h"

namespace corvan::boxservice {

std::string serviceConfigValue(const ServiceHost& host, std::string_view key) {
    const std::string path = configBesideProgram(host.programPath);
    const auto bytes = readWholeFile(host.root->toHost(path));
    if (!bytes) {
        host.screen->messageBox(std::string(text::kConfigMissing) + path, "", ui::Buttons::Ok,
                                ui::Icon::None);
        return {};
    }
    return cp1252ToUtf8(configValue(*bytes, key));
}

std::unique_ptr<PortSession> PortSession::open(ServiceHost& host) {
    const std::string device = portDeviceName(serviceConfigValue(host, "PORT="));
    std::string why;
    auto port = host.ports->open(device, &why);
    if (!port) {
        host.screen->messageBox(std::string(text::kPortError), "", ui::Buttons::Ok, ui::Icon::None);
        return nullptr;
    }
    return std::unique_ptr<PortSession>(new PortSession(host, std::move(port)));
}

PortSession::PortSession(ServiceHost& host, std::unique_ptr<SerialPort> port)
    : host_(host), port_(std::move(port)), link_(std::make_unique<VarboxLink>()) {
    services_.clock = host.clock;
    services_.screen = host.screen;
    services_.root = host.root;
    services_.frames = host.frames;
    link_->port = port_.get();
    link_->host = &services_;
}

PortSession::~PortSession() = default;

int PortSession::exchange(std::span<const uint8_t> request, const BoxExchange& how) {
    if (!port_ || !link_) return 0;
    return Exchange(*link_, request, reply_, how.status, how.title, how.attempts, how.waitSeconds,
                    how.pollFactor, how.waitDialog, how.waitDialog);
}

void PortSession::closePort() {
    if (link_) link_->port = nullptr;
    port_.reset();
}

void PortSession::releaseLink() {
    link_.reset();
}

}  // namespace corvan::boxservice
