#pragma once
// Shared by the shell's tests: a device root in a temporary folder with "iCor.cfg" and
// scrambled menu files, a process starter that records what it is asked to start and lets
// the started program run for a given number of 500 ms slices on the virtual clock, and a
// shell run by a technician script on the headless screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/process.h"
#include "platform/test_temp_dir.h"
#include "shell/menu_text.h"
#include "shell/shell_app.h"
#include "shell/shell_host.h"
#include "ui/headless_screen.h"

namespace corvan::shell::testing {

inline const char* kInstall = "STORAGE CARD/CORVANDATA";

struct StartRecord {
    std::string program;
    std::vector<std::string> args;
    int64_t atMs = 0;
};

// Programs "exist" when their host file exists (or they are named in `present`); a started
// program ends after `slices` waits of the shell.
class FakeStarter final : public ProcessStarter {
  public:
    explicit FakeStarter(VirtualClock& clock) : clock_(clock) {}

    std::unique_ptr<RunningProcess> start(const std::string& program,
                                          const std::vector<std::string>& args,
                                          std::string* error) override {
        starts.push_back({program, args, clock_.nowMs()});
        if (!std::filesystem::exists(program) && !present.count(program)) {
            if (error) *error = program + ": not found";
            return nullptr;
        }
        return std::make_unique<Process>(*this);
    }

    std::set<std::string> present;
    int slices = 1;          // waits that time out before the program ends
    std::vector<int> waits;  // the time-out of every wait, in order
    std::vector<StartRecord> starts;

  private:
    class Process final : public RunningProcess {
      public:
        explicit Process(FakeStarter& s) : s_(s), left_(s.slices) {}
        std::optional<int> waitFor(int timeoutMs) override {
            s_.waits.push_back(timeoutMs);
            if (left_ <= 0) return 0;
            --left_;
            s_.clock_.sleepMs(timeoutMs);
            return std::nullopt;
        }
        int pid() const override { return 4242; }

      private:
        FakeStarter& s_;
        int left_;
    };

    VirtualClock& clock_;
};

inline void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// Lines joined with "\r\n", the last one terminated too.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

// The sample root menu: five entries in each of the four languages, Spanish first.
inline std::string rootMenu() {
    std::vector<std::string> lines;
    const char* langs[] = {"SPANISH", "ENGLISH", "GERMAN", "PORTUGUESE"};
    const char* entries[4][5] = {
        {"DIAGNOSIS", "SIMULADOR", "CONFIGURACION", "UTILIDADES", "NOVEDADES"},
        {"DIAGNOSIS", "SIMULATION", "SETTINGS", "UTILITIES", "NEWS"},
        {"DIAGNOSE", "SIMULATION", "EINSTELLUNGEN", "DIENSTPROGRAMME", "NEUIGKEITEN"},
        {"DIAGNÓSTICO", "SIMULADOR", "CONFIGURAÇÃO", "UTILITÁRIOS", "NOVIDADES"}};
    for (int l = 0; l < 4; ++l)
        for (int e = 0; e < 5; ++e)
            lines.push_back(std::to_string(e + 1) + "¬" + entries[l][e] + "¬" + langs[l]);
    return crlf(lines);
}

// A vehicle line: fields 0 to 8.
inline std::string vehicleLine(const std::string& model, const std::string& system,
                               const std::string& variant, const std::string& record,
                               const std::string& picture = "E46.bmp",
                               const std::string& connector = "OBD16.bmp",
                               const std::string& connection = "E46_OBD.bmp") {
    return "X¬" + model + "¬" + system + "¬" + variant + "¬" + record + "¬¬" + picture + "¬" +
           connector + "¬" + connection;
}

// The test brand "BMW": one model with data, one model without any.
inline std::string bmwFile() {
    return crlf({
        vehicleLine("SERIE 3 (E46)", "MOTOR DIESEL", "EDC16", "EDC16_KWP.TXT"),
        vehicleLine("SERIE 3 (E46)", "MOTOR DIESEL", "EDC15", ""),
        vehicleLine("SERIE 3 (E46)", "FRENADO", "DSC - CONTROL DE ESTABILIDAD MK60", "ABS_CAN.TXT",
                    "E46.bmp", "OBD16.bmp", "E46_ABS.bmp"),
        vehicleLine("SERIE 3 (E46)", "FRENADO", "ASC - CONTROL DE ESTABILIDAD MK20",
                    "asc_manual.htm", "E46.bmp", "OBD16.bmp", "E46_ABS.bmp"),
        vehicleLine("SERIE 3 (E46)", "SISTEMA NUEVO", "MODULO X", ""),
        vehicleLine("SERIE 5 (E39)", "AIRBAG", "MRS - SISTEMA DE RETENCION MULTIPLE III", "",
                    "E39.bmp", "OBD16.bmp", "E39_OBD.bmp"),
    });
}

// A device root with the installation's configuration and menu files.
class ShellFixture : public ::testing::Test {
  protected:
    ShellFixture() : root(temp.path()), starter(clock) {
        host.screen = &screen;
        host.clock = &clock;
        host.root = &root;
        host.starter = &starter;
        host.programs.findOnPath = [this](std::string_view name) {
            return onPath.count(std::string(name)) ? "/usr/bin/" + std::string(name)
                                                   : std::string();
        };
        host.installedVersion = "2007.03";
        screen.setDumpStream(dump);
        setConfig("ENGLISH", "COM1");
        writeMenu("Opciones.mnu", rootMenu());
        writeMenu("Utilidades.mnu",
                  crlf({"1¬BOX TEST¬ENGLISH", "2¬CALIBRATE¬ENGLISH", "1¬PRUEBA¬SPANISH"}));
        writeMenu("Marcas.mnu", crlf({"BMW", "OPEL"}));
        writeMenu("BMW.mnu", bmwFile());
    }

    std::filesystem::path device(const std::string& relative) const {
        return temp.path() / relative;
    }
    std::filesystem::path configFile() const { return device("STORAGE CARD/iCor.cfg"); }

    void setConfig(const std::string& language, const std::string& port) {
        writeFile(configFile(), "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[" + port +
                                    "]\r\nLANGUAGE=[" + language + "]\r\n");
    }
    void writeMenu(const std::string& name, const std::string& text) {
        writeFile(device(std::string(kInstall) + "/Datos/" + name), scrambleMenu(text));
    }
    void addPicture(const std::string& relative) {
        writeFile(device(std::string(kInstall) + "/Imagenes/" + relative), "BM");
    }
    // The engine program of the installation.
    std::string enginePath() const { return device(std::string(kInstall) + "/EXE/eCor.exe"); }
    void installEngine() { writeFile(enginePath(), "#!/bin/sh\n"); }

    // Runs the shell from its start with the script; the run ends when the script is done
    // and the shell has been closed for it.
    void runShell(const std::string& script) {
        const std::string error = screen.loadScript(script, limits());
        ASSERT_EQ(error, "");
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error(r.text()); });
        app = std::make_unique<ShellApp>(host);
        app->run();
    }
    static ui::ScriptLimits limits() {
        ui::ScriptLimits l;
        l.abandonAfter = 400;
        l.idleCloseAfter = 40;
        l.maxPumps = 200000;
        return l;
    }

    // Texts of the message boxes shown, in order.
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : screen.messageBoxes()) texts.push_back(b.text);
        return texts;
    }
    // The rows of a snapshot's list, visible column first.
    static std::vector<std::string> column(const ui::DialogSnapshot& s, int listId, size_t col) {
        std::vector<std::string> cells;
        if (const auto* c = s.control(listId))
            for (const auto& r : c->rows) cells.push_back(col < r.cells.size() ? r.cells[col] : "");
        return cells;
    }
    static std::vector<bool> greys(const ui::DialogSnapshot& s, int listId) {
        std::vector<bool> g;
        if (const auto* c = s.control(listId))
            for (const auto& r : c->rows) g.push_back(r.grey);
        return g;
    }

    corvan::testing::TempDir temp;
    VirtualClock clock;
    DeviceRoot root;
    FakeStarter starter;
    ui::HeadlessScreen screen;
    std::ostringstream dump;
    std::set<std::string> onPath;
    ShellHost host;
    std::unique_ptr<ShellApp> app;
};

}  // namespace corvan::shell::testing
