#pragma once
// PNG pictures of the screens as the technician sees them: one file per screen state worth
// seeing, numbered in the order they happened, so a run can be reviewed frame by frame.
// Works on the offscreen platform: pictures are rendered from the widgets, not read back
// from a display.
#include <QString>
#include <filesystem>
#include <string>

class QWidget;

namespace corvan::ui::qt {

// "No response from VarBox\nRETRY?" -> "no-response-from-varbox-retry": lower-case ASCII
// letters and digits, every other run of characters one "-", at most 40 characters.
std::string fileSlug(const std::string& text);

// Height of the window caption drawn above a dialog's picture, in device pixels.
constexpr int kCaptionPixels = 18;

class ScreenshotWriter {
  public:
    // Empty: no pictures. The folder is created on the first picture.
    void setDirectory(std::filesystem::path dir) { dir_ = std::move(dir); }
    const std::filesystem::path& directory() const { return dir_; }
    bool enabled() const { return !dir_.empty(); }

    // Saves `window` as DIR/NNNN-<slug of subject>-<event>.png, with the caption `title` drawn
    // above it unless `caption` is false (full-screen windows have none). Returns the file
    // written, or an empty path when pictures are off or the file cannot be written.
    std::filesystem::path save(QWidget* window, const std::string& subject,
                               const std::string& event, const QString& title, bool caption,
                               int scale);

    int written() const { return sequence_; }

  private:
    std::filesystem::path dir_;
    int sequence_ = 0;
};

}  // namespace corvan::ui::qt
