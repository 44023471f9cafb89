#pragma once
// One full-screen menu page: the command bar, the list on the left two thirds (one visible
// column, the others hidden with width 0 carrying raw fields), and on the right third the
// header text, the picture and the "SELECT" button.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/menu_rows.h"
#include "ui/screen.h"

namespace corvan::shell {

struct ShellHost;
struct ShellSettings;

enum class PageKind { Root, Utilities, Brand, Model, System, Variant };

// The template name of a page (dumps and screenshots use it).
const char* pageName(PageKind kind);

// The columns of a page's list in the language, and which one holds the record mark (-1:
// none).
std::vector<ui::Column> pageColumns(PageKind kind, int languageIndex);
int markColumn(PageKind kind);

ui::DialogTemplate pageTemplate(PageKind kind, std::string_view dataFolder);

class MenuPage {
  public:
    // Creates the page hidden, with its columns, no selection and "SELECT" disabled.
    MenuPage(ShellHost& host, const ShellSettings& settings, PageKind kind);

    PageKind kind() const { return kind_; }
    ui::Dialog& dialog() { return *dialog_; }
    const ui::Dialog& dialog() const { return *dialog_; }

    // Rows whose record mark is not "CONFICHA" are drawn grey (pages with a mark column).
    void addRows(const std::vector<Row>& rows);
    void show() { dialog_->show(true); }
    void hide() { dialog_->show(false); }

    // The selected position, 1-based (0: none), stored when the technician taps an entry.
    int position() const { return position_; }
    void takeSelection();
    // A cell of the selected entry.
    std::string selected(int column) const;

    void setHeader(const std::string& text);
    // Shows a picture of the data folder ("Imagenes\..."); a missing file leaves the picture
    // area empty.
    void showPicture(const std::string& relativePath);

  private:
    ShellHost& host_;
    const ShellSettings& settings_;
    PageKind kind_;
    std::unique_ptr<ui::Dialog> dialog_;
    int position_ = 0;
};

// The host file of a device file that exists, or empty.
std::string existingHostFile(ShellHost& host, const std::string& devicePath);

}  // namespace corvan::shell
