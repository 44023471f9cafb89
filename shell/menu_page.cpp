#include "shell/menu_page.h"

#include <filesystem>
#include <system_error>

#include "platform/device_root.h"
#include "shell/command_bar.h"
#include "shell/screen_layout.h"
#include "shell/shell_host.h"
#include "shell/shell_settings.h"
#include "shell/shell_texts.h"

namespace corvan::shell {

using namespace layout;

namespace {

constexpr int kVisibleWidth = kPageWidth * 2 / 3;

// Header words of the hidden columns; they carry raw fields of the vehicle file.
std::vector<ui::Column> withVisible(std::vector<std::string> hidden, size_t at,
                                    const LanguageText& title, int languageIndex) {
    std::vector<ui::Column> columns;
    for (std::string& word : hidden) columns.push_back({std::move(word), 0});
    columns.insert(columns.begin() + static_cast<long>(at),
                   {slot(title, languageIndex), kVisibleWidth});
    return columns;
}

}  // namespace

const char* pageName(PageKind kind) {
    switch (kind) {
        case PageKind::Root:
            return "OPCIONES";
        case PageKind::Utilities:
            return "UTILIDADES";
        case PageKind::Brand:
            return "MARCAS";
        case PageKind::Model:
            return "MODELOS";
        case PageKind::System:
            return "SISTEMAS";
        case PageKind::Variant:
            return "VARIANTES";
    }
    return "";
}

std::vector<ui::Column> pageColumns(PageKind kind, int languageIndex) {
    switch (kind) {
        case PageKind::Root:
            return withVisible({}, 0, text::kOptionsTitle, languageIndex);
        case PageKind::Utilities:
            return withVisible({}, 0, text::kUtilitiesTitle, languageIndex);
        case PageKind::Brand:
            return withVisible({}, 0, text::kBrandsTitle, languageIndex);
        case PageKind::Model:
            return withVisible({"IMAGEN", "FICHA"}, 0, text::kModelsTitle, languageIndex);
        case PageKind::System:
            return withVisible({"SISTEMA", "IMAGEN", "CONEXION", "FICHA"}, 4, text::kSystemsTitle,
                               languageIndex);
        case PageKind::Variant:
            return withVisible({"VARIANTE", "FICHA"}, 2, text::kVariantsTitle, languageIndex);
    }
    return {};
}

int markColumn(PageKind kind) {
    switch (kind) {
        case PageKind::Model:
            return 2;
        case PageKind::System:
            return 3;
        case PageKind::Variant:
            return 1;
        default:
            return -1;
    }
}

ui::DialogTemplate pageTemplate(PageKind kind, std::string_view dataFolder) {
    ui::DialogTemplate t;
    t.name = pageName(kind);
    t.rect = {0, 0, kScreenWidth, kScreenHeight};
    t.fullScreen = true;
    t.controls = commandBarControls(dataFolder);

    ui::ControlSpec list =
        control(kList, ui::ControlKind::ListView, {0, kPageTop, kVisibleWidth, kPageHeight});
    list.fullRowSelect = true;
    list.font = tahoma(15, 800);
    list.headerFont = tahoma(11, 800);
    t.controls.push_back(list);

    ui::ControlSpec header =
        control(kHeader, ui::ControlKind::Label,
                {kVisibleWidth, kPageTop + 5, kPageWidth / 3, kPageHeight / 3});
    header.font = tahoma(11, 800);
    header.visible = kind != PageKind::Root;
    t.controls.push_back(header);

    // A picture loaded after a tap is centred at five sixths of the width (2 pixels further
    // left), half-way down; the root and utility pages show the logo at five sixths exactly,
    // higher, at three eighths.
    const bool logo = kind == PageKind::Root || kind == PageKind::Utilities;
    const int centreX = kPageWidth * 5 / 6 - (logo ? 0 : 2);
    const int centreY = kPageTop + (logo ? kPageHeight * 3 / 8 : kPageHeight / 2);
    t.controls.push_back(control(kPicture, ui::ControlKind::Picture,
                                 centred(centreX, centreY, kPictureWidth, kPictureHeight)));

    ui::ControlSpec select =
        control(kSelect, ui::ControlKind::Button,
                centred(kPageWidth * 5 / 6, kPageTop + kPageHeight * 7 / 8, 84, 24),
                std::string(text::kSelect));
    select.font = tahoma(11, 800);
    select.bitmap = std::string(dataFolder) + "Imagenes\\Botones\\Aceptar.bmp";
    t.controls.push_back(select);
    return t;
}

std::string existingHostFile(ShellHost& host, const std::string& devicePath) {
    const std::filesystem::path file = host.root->toHost(devicePath);
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec) ? file.string() : std::string();
}

MenuPage::MenuPage(ShellHost& host, const ShellSettings& settings, PageKind kind)
    : host_(host), settings_(settings), kind_(kind) {
    dialog_ = host_.screen->createDialog(pageTemplate(kind, settings_.dataFolder));
    dialog_->setColumns(kList, pageColumns(kind, settings_.languageIndex));
    dialog_->setEnabled(kSelect, false);
    if (kind == PageKind::Root || kind == PageKind::Utilities)
        showPicture("Imagenes\\LogoCorvan.bmp");
}

void MenuPage::addRows(const std::vector<Row>& rows) {
    const int mark = markColumn(kind_);
    for (const Row& row : rows) {
        const int index = dialog_->addRow(kList, row);
        if (mark >= 0 && row.size() > static_cast<size_t>(mark) && row[mark] != kWithRecord)
            dialog_->setRowGrey(kList, index, true);
    }
}

void MenuPage::takeSelection() {
    position_ = dialog_->selectedRow(kList) + 1;
    dialog_->setEnabled(kSelect, position_ > 0);
}

std::string MenuPage::selected(int column) const {
    if (position_ <= 0 || position_ > dialog_->rowCount(kList)) return {};
    return dialog_->cell(kList, position_ - 1, column);
}

void MenuPage::setHeader(const std::string& text) {
    dialog_->setText(kHeader, text);
}

void MenuPage::showPicture(const std::string& relativePath) {
    dialog_->setPicture(kPicture, existingHostFile(host_, settings_.dataFolder + relativePath));
}

}  // namespace corvan::shell
