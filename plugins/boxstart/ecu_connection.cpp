#include "plugins/boxstart/ecu_connection.h"

#include <vector>

#include "plugins/boxstart/adapter_detection.h"
#include "plugins/boxstart/box_link.h"
#include "plugins/boxstart/box_texts.h"
#include "plugins/boxstart/connection_config.h"
#include "plugins/boxstart/progress_window.h"
#include "runtime/commands.h"

namespace corvan::boxstart {

namespace {

class Connection {
  public:
    Connection(const ModuleContext& ctx, std::string_view text, std::string_view modeText)
        : ctx_(ctx),
          text_(text),
          mode_(modeText),
          link_(ctx, modeText),
          window_(ctx, std::string(), !modeText.empty()) {}

    std::string run() {
        window_.setText(kReadingInformationText);
        window_.setProgress(15);
        const ConnectionKeys keys = readConnectionKeys(text_);
        window_.setProgress(35);
        window_.setText(kCheckingStatusText);
        window_.setProgress(40);
        if (!ask(cmd::connectionStatusRequest(), kFirstConnectionStatus)) return fail();
        if (!ask(maintenanceRequest(keys.mnt), kMaintenanceFrame)) return fail();

        window_.setText(kCheckingAdapterText);
        window_.setProgress(67);
        std::string plug = keys.plug;
        std::string adapter;
        if (plug == kNoAdapterTest) {
            plug = adapter = std::string(kAdapterKlia);
        } else {
            adapter = DetectAdapter(link_);
        }
        const AdapterMatch match = MatchAdapter(plug, keys.pin, adapter);
        if (match.index < 0) {
            ctx_.messageBox(fillIn(ctx_.pick(kWrongAdapterText), {adapter}));
            window_.close();
            link_.exchange(cmd::resetRequest(), kBoxReset);
            return fail();
        }

        window_.setText(kCheckingConfigurationText);
        window_.setProgress(60);
        const int templateLength = link_.exchange(cmd::readConfigRequest(), kConfigTemplate);
        if (templateLength == 0) return fail();
        // The box's own frame goes back with the fields filled in (without its check byte).
        std::vector<uint8_t> config(link_.reply().begin(),
                                    link_.reply().begin() + (templateLength - 1));
        fillConfigFrame(config, keys, match.pin);
        window_.setText(kStartingDriverText);
        window_.setProgress(75);
        return connect(config);
    }

  private:
    bool ask(const std::vector<uint8_t>& request, Pacing pacing) {
        return link_.exchange(request, pacing) > 0;
    }

    std::string fail() {
        window_.close();
        return std::string(kConnectError);
    }

    std::string connect(const std::vector<uint8_t>& config) {
        std::string answer;
        bool connected = false;
        for (int k = 1; k <= kConnectAttempts && !connected; ++k) {
            window_.setText(fillIn(ctx_.pick(kConnectionAttemptsText),
                                   {std::to_string(k), std::to_string(kConnectAttempts)}));
            window_.setProgress(75 + 10 * (k - 1));
            // The answer always describes the last configuration reply.
            answer.clear();
            const int length = link_.exchange(config, kConfiguration);
            if (length == 0) return fail();
            if (link_.at(2) != cmd::kReplyConfigAccepted)
                answer = ecuAnswerText(link_.reply(), length);
            // A silent status counts as not connected (the configuration reply's bytes
            // are no connection state).
            connected = link_.exchange(cmd::connectionStatusRequest(), kConnectionStatus) > 0 &&
                        link_.at(3) == kEcuConnected;
            if (!connected) link_.sleepMs(kAfterFailedConnectMs);
        }
        window_.setText(kCheckingStatusText);
        window_.setProgress(95);
        if (connected) {
            window_.setProgress(100);
            window_.close();
            return answer;
        }
        link_.exchange(cmd::resetRequest(), kBoxReset);
        if (!mode_.empty()) ctx_.messageBox(ctx_.pick(kCannotConnectText));
        return fail();
    }

    const ModuleContext& ctx_;
    std::string_view text_;
    std::string_view mode_;
    BoxLink link_;
    ProgressWindow window_;
};

}  // namespace

std::string ConnectEcu(const ModuleContext& ctx, std::string_view text, std::string_view modeText) {
    return Connection(ctx, text, modeText).run();
}

}  // namespace corvan::boxstart
