#pragma once
// The small window that shows the technician how far the start-up and the connection set-up
// have come: a progress bar from 0 to 100 and one line of text. It is shown only when the
// mode text is not empty (a silent start-up keeps it hidden) and destroyed when the object
// goes or on close().
#include <memory>
#include <string>
#include <string_view>

#include "runtime/module_context.h"
#include "runtime/text_table.h"
#include "ui/screen.h"

namespace corvan::boxstart {

inline constexpr std::string_view kProgressDialogName = "BOXSTART";
inline constexpr int kProgressBarId = 1001;
inline constexpr int kStageTextId = 1002;

class ProgressWindow {
  public:
    ProgressWindow(const ModuleContext& ctx, const std::string& title, bool visible);
    ~ProgressWindow() = default;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void setText(const TextTable& stage) { setText(ctx_.pick(stage)); }
    void setText(const std::string& text);
    void setProgress(int value);
    void close() { dialog_.reset(); }

  private:
    const ModuleContext& ctx_;
    std::unique_ptr<ui::Dialog> dialog_;
};

}  // namespace corvan::boxstart
