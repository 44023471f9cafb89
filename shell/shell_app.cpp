#include "shell/shell_app.h"

#include <new>

#include "platform/clock.h"
#include "shell/command_bar.h"
#include "shell/menu_text.h"
#include "shell/modal_windows.h"
#include "shell/options_dialog.h"
#include "shell/screen_layout.h"
#include "shell/shell_host.h"
#include "shell/shell_texts.h"
#include "ui/screen.h"

namespace corvan::shell {

using namespace layout;

std::string dropLastChars(std::string_view text, size_t count) {
    size_t end = text.size();
    for (size_t dropped = 0; dropped < count && end > 0; ++dropped) {
        --end;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    }
    return std::string(text.substr(0, end));
}

ShellApp::ShellApp(ShellHost& host)
    : host_(host), launcher_(host, settings_, nav_), entryLabel_(text::kSimulationEntry) {}

ShellApp::~ShellApp() = default;

void ShellApp::start() {
    LoadConfiguration(settings_, host_);
    names_ = BuildNameMaps(settings_.languageIndex);
    ShowRootPage();
}

void ShellApp::run() {
    start();
    while (step()) {
    }
}

bool ShellApp::step() {
    host_.screen->pumpMessages();
    if (!page_) return false;
    std::string word = page_->dialog().command();
    if (word.empty()) {
        host_.clock->sleepMs(1);
        return true;
    }
    page_->dialog().clearCommand();
    act(word);
    return !closed_;
}

void ShellApp::act(const std::string& word) {
    if (word == "EXIT") {
        closed_ = true;
    } else if (word == "TAP") {
        tapped();
    } else if (word == "CONFIRM") {  // a double tap selects the entry and confirms it
        tapped();
        confirm();
    } else if (word == "SELECT") {
        confirm();
    } else if (word == "HOME") {
        home();
    } else if (word == "BACK") {
        back();
    } else if (word == "ABOUT") {
        showAboutBox(host_, settings_);
    } else if (word == "SIMULATION") {
        toggleSimulation();
    } else if (word == "PICTURE") {
        showConnector();
    }
}

void ShellApp::pump() {
    host_.screen->pumpMessages();
}

BarSet ShellApp::barSet(PageKind kind) const {
    if (kind == PageKind::Root || kind == PageKind::Utilities) return BarSet::Short;
    return nav_.simulation ? BarSet::Simulation : BarSet::Normal;
}

std::unique_ptr<MenuPage> ShellApp::newPage(PageKind kind) {
    page_.reset();  // one page at a time: the one shown before goes first
    auto page = std::make_unique<MenuPage>(host_, settings_, kind);
    ui::Dialog* d = &page->dialog();
    applyBarSet(*d, barSet(kind), entryLabel_);
    ui::DialogHandlers h;
    h.onRowTap = [d](int id, int) {
        if (id == kList) d->setCommand("TAP");
    };
    h.onRowDoubleTap = [d](int id, int) {
        if (id == kList) d->setCommand("CONFIRM");
    };
    h.onButton = [d](int id) {
        if (id == kSelect)
            d->setCommand("SELECT");
        else if (id == kPicture)
            d->setCommand("PICTURE");
        else if (std::string word = barCommand(id); !word.empty())
            d->setCommand(word);
    };
    h.onClose = [d] { d->setCommand("EXIT"); };
    d->setHandlers(std::move(h));
    return page;
}

void ShellApp::showPage(std::unique_ptr<MenuPage> page) {
    page_ = std::move(page);
    page_->show();
}

// Root, utility and brand pages come from their own menu file.
void ShellApp::fillPage(MenuPage& page, const std::string& devicePath, std::string_view fileError,
                        PageKind kind) {
    try {
        const auto text = readMenuFile(*host_.root, devicePath);
        if (!text) {
            host_.screen->messageBox(std::string(fileError), "", ui::Buttons::Ok, ui::Icon::None);
            return;
        }
        const AfterLine afterLine = [this] { pump(); };
        page.addRows(kind == PageKind::Brand
                         ? brandRows(*text, afterLine)
                         : languageRows(*text, settings_.languageName, afterLine));
    } catch (const std::bad_alloc&) {
        host_.screen->messageBox(std::string(text::kNoMemory), "", ui::Buttons::Ok, ui::Icon::None);
    }
}

void ShellApp::ShowRootPage() {
    auto page = newPage(PageKind::Root);
    fillPage(*page, settings_.dataFolder + "Datos\\Opciones.mnu", text::kRootFileError,
             PageKind::Root);
    showPage(std::move(page));
}

void ShellApp::ShowUtilitiesPage() {
    auto page = newPage(PageKind::Utilities);
    fillPage(*page, settings_.dataFolder + "Datos\\Utilidades.mnu", text::kUtilitiesFileError,
             PageKind::Utilities);
    showPage(std::move(page));
}

void ShellApp::ShowBrandPage() {
    auto page = newPage(PageKind::Brand);
    fillPage(*page, settings_.dataFolder + "Datos\\Marcas.mnu", text::kBrandFileError,
             PageKind::Brand);
    showPage(std::move(page));
}

void ShellApp::ShowModelPage(const std::string& brand) {
    auto page = newPage(PageKind::Model);
    page->setHeader(brand);
    try {
        // Read once per brand; the system and variant pages walk the same text.
        auto text = readMenuFile(*host_.root, settings_.dataFolder + "Datos\\" + brand + ".mnu");
        if (text) {
            nav_.vehicleText = std::move(*text);
            page->addRows(modelRows(nav_.vehicleText, [this] { pump(); }));
        } else {
            nav_.vehicleText.clear();
            host_.screen->messageBox(std::string(text::kVehicleFileError) + brand, "",
                                     ui::Buttons::Ok, ui::Icon::None);
        }
    } catch (const std::bad_alloc&) {
        nav_.vehicleText.clear();
        host_.screen->messageBox(std::string(text::kNoMemory), "", ui::Buttons::Ok, ui::Icon::None);
    }
    showPage(std::move(page));
}

void ShellApp::ShowSystemPage(const std::string& brand, const std::string& model) {
    auto page = newPage(PageKind::System);
    page->setHeader(brand + "\n" + model);
    page->addRows(systemRows(nav_.vehicleText, model, names_, [this] { pump(); }));
    showPage(std::move(page));
}

void ShellApp::ShowVariantPage(const std::string& brand, const std::string& model,
                               const std::string& system) {
    auto page = newPage(PageKind::Variant);
    page->setHeader(brand + "\n" + model + "\n" + system);
    page->addRows(variantRows(nav_.vehicleText, model, system, names_, [this] { pump(); }));
    showPage(std::move(page));
}

void ShellApp::tapped() {
    if (!page_) return;
    MenuPage& p = *page_;
    p.takeSelection();
    if (p.position() == 0) return;
    switch (p.kind()) {
        case PageKind::Brand:
            p.setHeader(p.selected(0));
            p.showPicture("Imagenes\\Marcas\\" + p.selected(0) + ".bmp");
            break;
        case PageKind::Model:
            p.setHeader(nav_.brand + "\n" + p.selected(0));
            p.showPicture("Imagenes\\Modelos\\" + dropLastChars(p.selected(1), 4) + ".bmp");
            break;
        case PageKind::System:
            p.setHeader(nav_.brand + "\n" + nav_.model + "\n" + p.selected(4));
            p.showPicture("Imagenes\\Conectores\\" + dropLastChars(p.selected(1), 4) + ".bmp");
            break;
        case PageKind::Variant:
            p.setHeader(nav_.brand + "\n" + nav_.model + "\n" + nav_.system + "\n" + p.selected(2));
            break;
        default:
            break;
    }
}

void ShellApp::confirm() {
    if (!page_ || page_->position() == 0) return;
    MenuPage& p = *page_;
    const int position = p.position();
    switch (p.kind()) {
        case PageKind::Root:
            confirmRoot(position, p.selected(0));
            break;
        case PageKind::Utilities:
            nav_.utilityChoice = p.selected(0);
            launcher_.StartUtility(position);
            break;
        case PageKind::Brand:
            nav_.brand = p.selected(0);
            ShowModelPage(nav_.brand);
            break;
        case PageKind::Model:
            nav_.model = p.selected(0);
            ShowSystemPage(nav_.brand, nav_.model);
            break;
        case PageKind::System:
            nav_.system = p.selected(0);
            nav_.connectionPicture = p.selected(2);
            ShowVariantPage(nav_.brand, nav_.model, nav_.system);
            break;
        case PageKind::Variant:
            // Grey variants have no data record: nothing to start.
            if (p.selected(1) != kWithRecord) break;
            nav_.variant = p.selected(0);
            launcher_.LaunchSelection(nav_.brand, nav_.model, nav_.system, nav_.variant,
                                      &p.dialog());
            break;
    }
}

void ShellApp::confirmRoot(int position, const std::string& entry) {
    nav_.rootChoice = entry;
    switch (position) {
        case 1:
        case 2:
            if (position == 2)
                host_.screen->messageBox(slot(text::kSimulationWarning, settings_.languageIndex),
                                         "", ui::Buttons::Ok, ui::Icon::None);
            nav_.simulation = position == 2;
            entryLabel_ = slot(text::kSimulationWord, settings_.languageIndex);
            ShowBrandPage();
            break;
        case 3:
            LoadConfiguration(settings_, host_);
            if (OptionsDialog(host_, settings_, entry)) ShowRootPage();
            names_ = BuildNameMaps(settings_.languageIndex);
            break;
        case 4:
            ShowUtilitiesPage();
            break;
        case 5:
            launcher_.OpenNewsPage();
            break;
        default:
            break;
    }
}

void ShellApp::back() {
    if (!nav_.variant.empty() || !nav_.system.empty()) {
        nav_.variant.clear();
        nav_.system.clear();
        ShowSystemPage(nav_.brand, nav_.model);
    } else if (!nav_.model.empty()) {
        nav_.system.clear();
        nav_.model.clear();
        ShowModelPage(nav_.brand);
    } else if (!nav_.brand.empty()) {
        nav_.model.clear();
        nav_.brand.clear();
        ShowBrandPage();
    } else if (page_ && page_->kind() == PageKind::Utilities) {
        nav_.utilityChoice.clear();
        nav_.rootChoice.clear();
        ShowRootPage();
    } else if (!nav_.rootChoice.empty()) {
        nav_.brand.clear();
        nav_.rootChoice.clear();
        ShowRootPage();
    }
}

void ShellApp::home() {
    if (nav_.rootChoice.empty()) return;
    page_.reset();
    nav_.rootChoice.clear();
    nav_.utilityChoice.clear();
    nav_.brand.clear();
    nav_.model.clear();
    nav_.system.clear();
    nav_.variant.clear();
    ShowRootPage();
}

void ShellApp::toggleSimulation() {
    nav_.simulation = !nav_.simulation;
    entryLabel_ = slot(text::kSimulationWord, settings_.languageIndex);
    if (page_) applyBarSet(page_->dialog(), barSet(page_->kind()), entryLabel_);
}

void ShellApp::showConnector() {
    if (!page_ || page_->kind() != PageKind::System || page_->position() == 0) return;
    showConnectionPicture(host_, settings_, dropLastChars(page_->selected(2), 4));
}

}  // namespace corvan::shell
