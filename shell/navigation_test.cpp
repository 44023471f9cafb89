// The shell's pages worked by technician scripts on the headless screen.
#include <gtest/gtest.h>

#include <map>

#include "shell/command_bar.h"
#include "shell/menu_page.h"
#include "shell/screen_layout.h"
#include "shell/shell_test_support.h"

namespace corvan::shell {
namespace {

using namespace layout;
using testing::writeFile;

class NavigationTest : public testing::ShellFixture {
  protected:
    // The last snapshot of a page taken by a "dump" rule.
    const ui::DialogSnapshot& dumped(const std::string& name, int nth = 0) {
        std::vector<const ui::DialogSnapshot*> found;
        for (const auto& s : screen.snapshots())
            if (s.name == name && s.reason == "script") found.push_back(&s);
        if (static_cast<size_t>(nth) >= found.size()) throw std::runtime_error("no dump " + name);
        return *found[nth];
    }
    // Template names of the pages in the order they were closed.
    std::vector<std::string> closedPages() {
        std::vector<std::string> names;
        for (const auto& s : screen.snapshots())
            if (s.reason == "destroyed") names.push_back(s.name);
        return names;
    }
    std::string imageFile(const std::string& relative) {
        return device(std::string(testing::kInstall) + "/Imagenes/" + relative).string();
    }

    static constexpr const char* kToVariants =
        "doubletap \"DIAGNOSIS\"\n"
        "doubletap \"BMW\"\n"
        "doubletap \"SERIE 3 (E46)\"\n"
        "doubletap \"DIESEL ENGINE\"\n";
};

TEST_F(NavigationTest, RootPageListsTheEntriesOfTheLanguage) {
    runShell("dump\n");
    const auto& root = dumped("OPCIONES");
    EXPECT_EQ(column(root, kList, 0), (std::vector<std::string>{"DIAGNOSIS", "SIMULATION",
                                                                "SETTINGS", "UTILITIES", "NEWS"}));
    EXPECT_EQ(root.control(kList)->columns.at(0).heading, "OPTIONS");
    EXPECT_EQ(root.control(kList)->columns.at(0).width, 213);
    EXPECT_FALSE(root.control(kSelect)->enabled);  // nothing selected yet
    // The short command bar: no simulation toggle on the root page.
    EXPECT_TRUE(root.control(kHome)->visible && root.control(kBack)->visible);
    EXPECT_FALSE(root.control(kToggleNormal)->visible || root.control(kToggleSimulation)->visible ||
                 root.control(kSimulationEntry)->visible);
    // The shell ends when its page is closed.
    EXPECT_EQ(app->page()->kind(), PageKind::Root);
}

TEST_F(NavigationTest, GermanPositionsCountOnlyGermanLines) {
    setConfig("GERMAN", "COM1");
    runShell("doubletap \"DIENSTPROGRAMME\"\ndump\n");  // position 4: the utilities page
    EXPECT_EQ(app->page()->kind(), PageKind::Utilities);
    EXPECT_EQ(dumped("UTILIDADES").control(kList)->columns.at(0).heading, "GERÄT");
}

// The logo of the root and utility pages sits at five sixths of the width; a picture loaded
// after a tap is 2 pixels further left, and lower.
TEST(PagePictures, LogoAtFiveSixthsTappedPicturesTwoPixelsFurtherLeft) {
    auto centre = [](PageKind kind) {
        for (const ui::ControlSpec& c : pageTemplate(kind, "\\DATA\\").controls)
            if (c.id == kPicture)
                return std::pair(c.rect.x + c.rect.w / 2, c.rect.y + c.rect.h / 2);
        return std::pair(-1, -1);
    };
    const int fiveSixths = kPageWidth * 5 / 6;
    EXPECT_EQ(centre(PageKind::Root).first, fiveSixths);
    EXPECT_EQ(centre(PageKind::Utilities).first, fiveSixths);
    for (PageKind k : {PageKind::Brand, PageKind::Model, PageKind::System, PageKind::Variant}) {
        EXPECT_EQ(centre(k).first, fiveSixths - 2);
        EXPECT_GT(centre(k).second, centre(PageKind::Root).second);
    }
}

TEST(CommandBar, HomeBackAndTheToggleSayWhatTheyDo) {
    std::map<int, std::string> tips;
    for (const ui::ControlSpec& c : commandBarControls("\\DATA\\")) tips[c.id] = c.toolTip;
    EXPECT_EQ(tips[kHome], "Muestra el menú de opciones inicial");
    EXPECT_EQ(tips[kBack], "Volver al menú anterior");
    EXPECT_EQ(tips[kToggleNormal], "Activa/desactiva modo DEMO");
    EXPECT_EQ(tips[kToggleSimulation], "Activa/desactiva modo DEMO");
}

TEST_F(NavigationTest, HeadersAndPicturesFollowTheTappedEntries) {
    addPicture("Marcas/BMW.bmp");
    addPicture("Modelos/E46.bmp");
    addPicture("Conectores/OBD16.bmp");
    runShell(
        "doubletap \"DIAGNOSIS\"\ndump\ntap \"BMW\"\ndump\ndoubletap \"BMW\"\ndump\n"
        "tap \"SERIE 3 (E46)\"\ndump\ndoubletap \"SERIE 3 (E46)\"\ndump\n"
        "tap \"BRAKES-TRACTION SYSTEM\"\ndump\ndoubletap \"BRAKES-TRACTION SYSTEM\"\ndump\n"
        "tap \"DSC - STABILITY CONTROL MK60\"\ndump\n");
    const auto& brandsOpen = dumped("MARCAS", 0);
    EXPECT_EQ(brandsOpen.control(kHeader)->text, "");
    EXPECT_EQ(brandsOpen.control(kPicture)->picture, "");
    const auto& brand = dumped("MARCAS", 1);
    EXPECT_EQ(brand.control(kHeader)->text, "BMW");
    EXPECT_EQ(brand.control(kPicture)->picture, imageFile("Marcas/BMW.bmp"));
    EXPECT_TRUE(brand.control(kSelect)->enabled);

    EXPECT_EQ(dumped("MODELOS", 0).control(kHeader)->text, "BMW");
    const auto& model = dumped("MODELOS", 1);
    EXPECT_EQ(model.control(kHeader)->text, "BMW\nSERIE 3 (E46)");
    EXPECT_EQ(model.control(kPicture)->picture, imageFile("Modelos/E46.bmp"));
    EXPECT_EQ(column(model, kList, 0),
              (std::vector<std::string>{"SERIE 3 (E46)", "SERIE 5 (E39)"}));
    EXPECT_EQ(greys(model, kList), (std::vector<bool>{false, true}));

    EXPECT_EQ(dumped("SISTEMAS", 0).control(kHeader)->text, "BMW\nSERIE 3 (E46)");
    const auto& system = dumped("SISTEMAS", 1);
    EXPECT_EQ(system.control(kHeader)->text, "BMW\nSERIE 3 (E46)\nBRAKES-TRACTION SYSTEM");
    EXPECT_EQ(system.control(kPicture)->picture, imageFile("Conectores/OBD16.bmp"));
    EXPECT_EQ(
        column(system, kList, 4),
        (std::vector<std::string>{"DIESEL ENGINE", "BRAKES-TRACTION SYSTEM", "SISTEMA NUEVO"}));
    EXPECT_EQ(greys(system, kList), (std::vector<bool>{false, false, true}));
    const auto& columns = system.control(kList)->columns;
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[0].heading, "SISTEMA");
    EXPECT_EQ(columns[0].width, 0);
    EXPECT_EQ(columns[2].heading, "CONEXION");
    EXPECT_EQ(columns[4].heading, "SYSTEMS");

    // The variant page's header names the system by its key, then the variant's text.
    EXPECT_EQ(dumped("VARIANTES", 0).control(kHeader)->text, "BMW\nSERIE 3 (E46)\nFRENADO");
    const auto& variant = dumped("VARIANTES", 1);
    EXPECT_EQ(variant.control(kHeader)->text,
              "BMW\nSERIE 3 (E46)\nFRENADO\nDSC - STABILITY CONTROL MK60");
    EXPECT_EQ(variant.control(kPicture)->picture, "");
    EXPECT_EQ(app->navigation().connectionPicture, "E46_ABS.bmp");
}

TEST_F(NavigationTest, MissingPictureLeavesTheAreaEmpty) {
    runShell("doubletap \"DIAGNOSIS\"\ntap \"BMW\"\ndump\n");
    EXPECT_EQ(dumped("MARCAS").control(kPicture)->picture, "");
    EXPECT_EQ(dumped("MARCAS").control(kHeader)->text, "BMW");
}

TEST_F(NavigationTest, GreyEntriesOpenTheNextPageButAGreyVariantStartsNothing) {
    installEngine();
    runShell(std::string(kToVariants) +
             "doubletap \"EDC15\"\n"              // grey: nothing
             "tap \"EDC15\"\npress \"SELECT\"\n"  // nor by the button
             "press #202\npress #202\n"           // back to the models
             "doubletap \"SERIE 5 (E39)\"\n"      // grey model: its systems
             "doubletap \"AIRBAG\"\ndump\n");     // grey system: its variants
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_EQ(screen.findDialog("CONTACTO"), nullptr);
    EXPECT_EQ(screen.lastSnapshot("CONTACTO"), nullptr);
    EXPECT_EQ(column(dumped("VARIANTES"), kList, 2),
              std::vector<std::string>{"MRS - MULTIPLE RESTRAINT SYSTEM III"});
    EXPECT_EQ(app->navigation().system, "AIRBAG");
}

TEST_F(NavigationTest, BackClimbsOnePageAtATime) {
    runShell(std::string(kToVariants) +
             "press #202\npress #202\npress #202\npress #202\npress #202\n");
    EXPECT_EQ(closedPages(),
              (std::vector<std::string>{"OPCIONES", "MARCAS", "MODELOS", "SISTEMAS", "VARIANTES",
                                        "SISTEMAS", "MODELOS", "MARCAS"}));
    // On the root page Back has nothing left to do; the root page is not rebuilt.
    EXPECT_EQ(app->page()->kind(), PageKind::Root);
    const auto& nav = app->navigation();
    EXPECT_TRUE(nav.rootChoice.empty() && nav.brand.empty() && nav.model.empty() &&
                nav.system.empty());
}

TEST_F(NavigationTest, HomeReturnsToTheRootFromAnywhereButDoesNothingThere) {
    runShell(std::string(kToVariants) + "press #201\ndump\npress #201\n");
    EXPECT_EQ(closedPages(),
              (std::vector<std::string>{"OPCIONES", "MARCAS", "MODELOS", "SISTEMAS", "VARIANTES"}));
    const auto& root = dumped("OPCIONES");
    EXPECT_FALSE(root.control(kToggleNormal)->visible);
    EXPECT_FALSE(root.control(kSimulationEntry)->visible);
    EXPECT_TRUE(app->navigation().brand.empty());
    EXPECT_TRUE(app->navigation().rootChoice.empty());
}

TEST_F(NavigationTest, SimulationEntryWarnsAndSwitchesTheBar) {
    runShell("doubletap \"SIMULATION\"\ndump\npress \"SIMULATION\"\ndump\npress #204\ndump\n");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"WARNING: SIMULATION mode activated."});
    const auto& on = dumped("MARCAS", 0);
    EXPECT_TRUE(on.control(kToggleSimulation)->visible);
    EXPECT_FALSE(on.control(kToggleNormal)->visible);
    EXPECT_EQ(on.control(kSimulationEntry)->text, "SIMULATION");
    const auto& off = dumped("MARCAS", 1);  // the relabelled menu entry toggles too
    EXPECT_TRUE(off.control(kToggleNormal)->visible);
    EXPECT_FALSE(off.control(kToggleSimulation)->visible);
    EXPECT_TRUE(dumped("MARCAS", 2).control(kToggleSimulation)->visible);
    EXPECT_TRUE(app->navigation().simulation);
}

TEST_F(NavigationTest, DiagnosisEntrySwitchesSimulationOffAgain) {
    setConfig("PORTUGUESE", "COM1");
    runShell("doubletap \"SIMULADOR\"\npress #201\ndoubletap \"DIAGNÓSTICO\"\ndump\n");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Atenção: Modo SIMULADOR ativado."});
    EXPECT_FALSE(app->navigation().simulation);
    const auto& brands = dumped("MARCAS");
    EXPECT_EQ(brands.control(kSimulationEntry)->text, "SIMULAÇÃO");
    EXPECT_TRUE(brands.control(kToggleNormal)->visible);
}

TEST_F(NavigationTest, ConnectorPictureOpensTheConnectionPicture) {
    addPicture("Conexiones/E46_OBD.bmp");
    runShell(
        "doubletap \"DIAGNOSIS\"\ndoubletap \"BMW\"\ndoubletap \"SERIE 3 (E46)\"\n"
        "press #101\n"  // nothing selected: nothing to show
        "tap \"DIESEL ENGINE\"\npress #101\ndump\npress \"OK\"\n");
    const auto* window = screen.lastSnapshot("CONEXION");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->control(kConnectionPicture)->picture, imageFile("Conexiones/E46_OBD.bmp"));
    size_t windows = 0;
    for (const auto& s : screen.snapshots())
        windows += s.name == "CONEXION" && s.reason == "destroyed";
    EXPECT_EQ(windows, 1u);
    EXPECT_EQ(app->page()->kind(), PageKind::System);
}

TEST_F(NavigationTest, MissingAndEmptyMenuFiles) {
    std::filesystem::remove(device(std::string(testing::kInstall) + "/Datos/Opciones.mnu"));
    runShell("dump\n");
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"ERROR: no es posible abrir fichero de OPCIONES"});
    EXPECT_EQ(dumped("OPCIONES").control(kList)->rows.size(), 0u);
}

TEST_F(NavigationTest, MissingVehicleFileGivesAnEmptyModelPage) {
    writeMenu("Marcas.mnu", testing::crlf({"BMW", "OPEL", ""}));
    runShell(
        "doubletap \"DIAGNOSIS\"\ndoubletap \"BMW\"\npress #202\ndoubletap \"OPEL\"\ndump\n"
        "press #202\ndoubletap row 2\ndump\n");
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"ERROR: no es posible abrir fichero de OPEL",
                                                    "ERROR: no es posible abrir fichero de "}));
    EXPECT_EQ(dumped("MODELOS").control(kList)->rows.size(), 0u);
    EXPECT_EQ(dumped("MODELOS").control(kHeader)->text, "OPEL");
    EXPECT_TRUE(app->navigation().vehicleText.empty());
}

TEST_F(NavigationTest, EmptyFilesGiveEmptyPagesWithoutMessages) {
    writeMenu("Marcas.mnu", "");
    writeMenu("Utilidades.mnu", "1¬BOX TEST¬ENGLISH");  // no line end: no line
    runShell("doubletap \"DIAGNOSIS\"\ndump\npress #202\ndoubletap \"UTILITIES\"\ndump\n");
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(dumped("MARCAS").control(kList)->rows.size(), 0u);
    EXPECT_EQ(dumped("UTILIDADES").control(kList)->rows.size(), 0u);
}

TEST_F(NavigationTest, UtilitiesStartTheirProgramsOrSayTheyAreMissing) {
    onPath.insert("xinput_calibrator");
    starter.present.insert("/usr/bin/xinput_calibrator");
    runShell(
        "doubletap \"UTILITIES\"\ndoubletap \"BOX TEST\"\ndoubletap \"CALIBRATE\"\n"
        "press #202\ndump\n");
    ASSERT_EQ(starter.starts.size(), 2u);
    EXPECT_EQ(starter.starts[0].program,
              device(std::string(testing::kInstall) + "/EXE/TEST_KELM_ZUL.EXE").string());
    EXPECT_TRUE(starter.starts[0].args.empty());
    EXPECT_EQ(starter.starts[1].program, "/usr/bin/xinput_calibrator");
    EXPECT_TRUE(starter.waits.empty());  // the shell does not wait for a utility
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"No se encuentra la aplicación TEST_KELM_ZUL.EXE"});
    EXPECT_EQ(app->page()->kind(), PageKind::Root);
    EXPECT_TRUE(app->navigation().rootChoice.empty());
    EXPECT_TRUE(app->navigation().utilityChoice.empty());
}

TEST_F(NavigationTest, TheDeviceToolsGetTheHostOptionsAndAnEmptyCommandLine) {
    writeMenu("Utilidades.mnu", testing::crlf({"1¬BOX TEST¬ENGLISH", "2¬CALIBRATE¬ENGLISH",
                                               "3¬DEVICE SETUP¬ENGLISH"}));
    host.utilityOptions = {"--root", "/device"};
    const std::string devconfig = device(std::string(testing::kInstall) + "/EXE/DEVCONFIG.EXE");
    starter.present.insert(devconfig);
    runShell("doubletap \"UTILITIES\"\ndoubletap \"DEVICE SETUP\"\ndoubletap \"BOX TEST\"\n");
    ASSERT_EQ(starter.starts.size(), 2u);
    EXPECT_EQ(starter.starts[0].program, devconfig);
    EXPECT_EQ(starter.starts[0].args, (std::vector<std::string>{"--root", "/device"}));
    EXPECT_EQ(starter.starts[1].args, (std::vector<std::string>{"--root", "/device"}));
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"No se encuentra la aplicación TEST_KELM_ZUL.EXE"});

    starter.present.clear();
    runShell("doubletap \"UTILITIES\"\ndoubletap \"DEVICE SETUP\"\n");
    EXPECT_EQ(boxTexts().back(), "No se encuentra la aplicación DEVCONFIG.EXE");
}

TEST_F(NavigationTest, CalibrationFromTheFlashFolderFirst) {
    writeFile(device("MIP FLASH/Calibrate.exe"), "#!/bin/sh\n");
    runShell("doubletap \"UTILITIES\"\ndoubletap \"CALIBRATE\"\n");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].program, device("MIP FLASH/Calibrate.exe").string());
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(NavigationTest, CalibrationMissing) {
    runShell("doubletap \"UTILITIES\"\ndoubletap \"CALIBRATE\"\n");
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"No se encuentra la aplicación CALIBRATE.EXE"});
}

TEST_F(NavigationTest, NewsPageInTheBrowser) {
    runShell("doubletap \"NEWS\"\n");
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"No es posible abrir el documento de NOVEDADES"});
    EXPECT_EQ(screen.messageBoxes().at(0).icon, ui::Icon::Stop);

    onPath.insert("xdg-open");
    starter.present.insert("/usr/bin/xdg-open");
    runShell("doubletap \"NEWS\"\n");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].program, "/usr/bin/xdg-open");
    EXPECT_EQ(starter.starts[0].args,
              std::vector<std::string>{
                  device(std::string(testing::kInstall) + "/Datos/Novedades.htm").string()});
    EXPECT_EQ(app->navigation().rootChoice, "NEWS");
}

TEST_F(NavigationTest, OptionsRebuildTheRootPageAndTheNamesInTheNewLanguage) {
    runShell(
        "doubletap \"SETTINGS\"\nchoose \"GERMAN\" in #311\npress \"SELECT\"\n"
        "answer \"\" Yes\ndump\n");
    EXPECT_EQ(column(dumped("OPCIONES"), kList, 0),
              (std::vector<std::string>{"DIAGNOSE", "SIMULATION", "EINSTELLUNGEN",
                                        "DIENSTPROGRAMME", "NEUIGKEITEN"}));
    EXPECT_EQ(dumped("OPCIONES").control(kList)->columns.at(0).heading, "OPTIONEN");
    EXPECT_EQ(app->names().systemText("MOTOR DIESEL"), "DIESELMOTOR");
    EXPECT_EQ(screen.lastSnapshot("CONFIGURACION")->title, "SETTINGS");
}

TEST_F(NavigationTest, LowerCaseLanguageShowsAnEmptyRootMenu) {
    setConfig("english", "COM1");
    runShell("dump\n");
    EXPECT_EQ(dumped("OPCIONES").control(kList)->rows.size(), 0u);
    EXPECT_EQ(dumped("OPCIONES").control(kList)->columns.at(0).heading, "OPCIONES");
}

TEST_F(NavigationTest, MissingConfigurationStillShowsTheShell) {
    std::filesystem::remove(configFile());
    runShell("dump\n");
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{
                  "No es posible abrir fichero de configuración \\STORAGE CARD\\iCor.cfg"}));
    EXPECT_EQ(dumped("OPCIONES").control(kList)->rows.size(), 0u);
}

TEST_F(NavigationTest, AboutBoxShowsTheInstalledVersion) {
    runShell("press #203\ndump\npress \"OK\"\n");
    const auto* about = screen.lastSnapshot("ACERCA");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->control(kAboutVersion)->text, "Version: 2007.03");
    EXPECT_EQ(about->control(kAboutName)->text.rfind("eCorvanData ", 0), 0u);
}

}  // namespace
}  // namespace corvan::shell
