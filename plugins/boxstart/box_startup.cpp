#include "plugins/boxstart/box_startup.h"

#include <vector>

#include "plugins/boxstart/box_link.h"
#include "plugins/boxstart/box_texts.h"
#include "plugins/boxstart/download_plan.h"
#include "plugins/boxstart/driver_image.h"
#include "plugins/boxstart/progress_window.h"
#include "runtime/commands.h"

namespace corvan::boxstart {

namespace {

// What the box checks found.
enum class BoxState { DriverRuns, DownloadNeeded, Silent };

class StartAttempt {
  public:
    StartAttempt(const ModuleContext& ctx, const std::string& driverPath, std::string_view modeText,
                 bool skipChecks)
        : ctx_(ctx),
          link_(ctx, modeText),
          window_(ctx, ctx.pick(kTitleText), !modeText.empty()),
          path_(driverPath),
          skipChecks_(skipChecks) {}

    int run() {
        window_.setText(kCheckingStatusText);
        if (!skipChecks_) {
            switch (checkBox()) {
                case BoxState::Silent:
                    return kBoxGiveUp;
                case BoxState::DriverRuns:
                    return kBoxStarted;
                case BoxState::DownloadNeeded:
                    break;
            }
        }
        return download();
    }

  private:
    bool ask(const std::vector<uint8_t>& request, Pacing pacing) {
        return link_.exchange(request, pacing) > 0;
    }

    // Reset the box and give it time to come back.
    bool resetBox() {
        if (!ask(cmd::resetRequest(), kBoxReset)) return false;
        link_.sleepMs(kAfterResetMs);
        return true;
    }

    // Whether the box already runs the driver of the data; it is started on the way.
    BoxState checkBox() {
        window_.setText(kCheckingVersionText);
        window_.setProgress(2);
        if (!ask(cmd::programStateRequest(), kFirstStatus)) return BoxState::Silent;
        if (link_.at(0) != 0 && !resetBox()) return BoxState::Silent;

        window_.setText(kInitializingProgramText);
        window_.setProgress(4);
        if (!ask(cmd::memorySetupRequest(kLoadAreaSetup), kSetupBeforeCheck))
            return BoxState::Silent;

        window_.setText(kCheckingProgramText);
        window_.setProgress(6);
        if (!ask(cmd::programStateRequest(), kSecondStatus)) return BoxState::Silent;
        if (link_.at(3) == 0) return BoxState::DownloadNeeded;  // no program in memory

        if (!ask(cmd::startProgramRequest(), kStartProgram)) return BoxState::Silent;
        link_.sleepMs(kAfterStartMs);
        const int length = link_.exchange(cmd::driverNameRequest(true), kDriverName);
        if (length == 0) return BoxState::Silent;
        if (runsDriver(path_, driverNameFromReply(link_.reply(), length)))
            return BoxState::DriverRuns;
        // Another driver runs: stop it before the download, whatever the box answers.
        link_.exchange(cmd::resetRequest(), kBoxReset);
        link_.sleepMs(kAfterResetMs);
        return BoxState::DownloadNeeded;
    }

    int download() {
        if (!skipChecks_) {
            window_.setProgress(10);
            if (!ask(cmd::programStateRequest(), kStatusBeforeDownload)) return kBoxGiveUp;
            if (link_.at(0) == kDriverRunningFlag && !resetBox()) return kBoxGiveUp;
        }
        std::vector<uint8_t> image;
        switch (readDriverImage(ctx_, path_, image)) {
            case ImageRead::Missing:
                ctx_.messageBox(fillIn(ctx_.pick(kDriverMissingText), {path_}));
                return kBoxGiveUp;
            case ImageRead::NoMemory:
                // Nothing was sent yet: the attempt counts as a failed download and the
                // start-up tries again (memory may have been freed meanwhile).
                ctx_.messageBox(ctx_.pick(kNoMemoryText));
                return kBoxRetry;
            case ImageRead::Ok:
                break;
        }
        window_.setText(kInitializingBoxText);
        window_.setProgress(15);
        // A box that does not prepare its memory gets another attempt, like a failed
        // download: nothing was written into it yet.
        if (!ask(cmd::memorySetupRequest(kLoadAreaSetup), kClosingExchange)) return kBoxRetry;

        window_.setProgress(20);
        window_.setText(kDataTransferText);
        PumpMessages(ctx_);
        if (!sendBlocks(image) || !closeTransfer()) return kBoxRetry;

        if (!ask(cmd::startProgramRequest(), kStartProgram)) return kBoxGiveUp;
        link_.sleepMs(kAfterStartMs);
        return kBoxStarted;
    }

    // Every block of the image; false when the box refused one block three times.
    bool sendBlocks(const std::vector<uint8_t>& image) {
        const size_t blocks = blockCount(image.size());
        for (size_t i = 0; i < blocks; ++i) {
            const int position = blockProgress(i, image.size());
            if (position > 1) window_.setProgress(position);
            auto frame = blockFrame(image, i);
            for (int refusals = 0;;) {
                link_.sendBlock(frame);
                const int length = link_.receive(kBlockReads, kBlockReadPauseMs);
                // No reply, or any reply but a refusal, moves on to the next block.
                if (length == 0 || link_.at(3) != kBlockRefused) break;
                if (++refusals == kBlockRefusals) return false;
                link_.sleepMs(kRefusedBlockPauseMs);
            }
        }
        return true;
    }

    // Jump, transfer end, memory set-up and the final status; true when the box holds a
    // valid program.
    bool closeTransfer() {
        if (!ask(cmd::memorySetupRequest(kEndJumpSetup), kClosingExchange)) return false;
        window_.setProgress(97);
        if (!ask(cmd::downloadEndRequest(), kClosingExchange)) return false;
        window_.setProgress(98);
        if (!ask(cmd::memorySetupRequest(kLoadAreaSetup), kClosingExchange)) return false;
        window_.setText(kCheckingProgramText);
        window_.setProgress(99);
        if (!ask(cmd::programStateRequest(), kClosingExchange)) return false;
        window_.setProgress(100);
        return link_.at(3) == kProgramValid;
    }

    const ModuleContext& ctx_;
    BoxLink link_;
    ProgressWindow window_;
    const std::string& path_;
    bool skipChecks_;
};

}  // namespace

int StartBox(const ModuleContext& ctx, const std::string& driverPath, std::string_view modeText,
             bool skipChecks) {
    return StartAttempt(ctx, driverPath, modeText, skipChecks).run();
}

}  // namespace corvan::boxstart
