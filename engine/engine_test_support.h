#pragma once
// A small installation in a temporary folder for the engine's tests: iCor.cfg, the DLL,
// FICHAS and SIM folders, the sample vehicle's scenario and whatever plug-in libraries a
// test puts in.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "platform/test_temp_dir.h"

namespace corvan::engine::testing {

inline constexpr std::string_view kInstall = "STORAGE CARD\\CORVANDATA";

class TestInstallation {
  public:
    TestInstallation() {
        std::filesystem::create_directories(install() / "DLL");
        std::filesystem::create_directories(install() / "FICHAS");
        std::filesystem::create_directories(install() / "SIM");
        writeConfig("PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[ENGLISH]\r\n");
        std::filesystem::copy_file(CORVAN_SAMPLE_SCENARIO, install() / "SIM" / "vehicle.json");
    }

    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path install() const { return dir_.path() / "STORAGE CARD" / "CORVANDATA"; }
    std::filesystem::path scenario() const { return install() / "SIM" / "vehicle.json"; }

    void writeConfig(std::string_view bytes) const {
        writeFileAtomic(dir_.path() / "STORAGE CARD" / "iCor.cfg", bytes);
    }
    void writeRecord(const std::string& name, std::string_view bytes) const {
        writeFileAtomic(install() / "FICHAS" / name, bytes);
    }
    // Puts a library into the DLL folder under `fileName` ("funcmenu.so").
    void addPlugin(const std::filesystem::path& library, const std::string& fileName) const {
        std::filesystem::copy_file(library, install() / "DLL" / fileName,
                                   std::filesystem::copy_options::overwrite_existing);
    }

  private:
    corvan::testing::TempDir dir_;
};

}  // namespace corvan::engine::testing
