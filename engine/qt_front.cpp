#include "engine/qt_front.h"

#include <QApplication>
#include <cstdlib>

#include "platform/device_root.h"
#include "ui/qt/qt_screen.h"

namespace corvan::engine {

QtFront::QtFront(int& argc, char** argv) : app_(std::make_unique<QApplication>(argc, argv)) {}

QtFront::~QtFront() = default;

std::unique_ptr<ui::Screen> QtFront::makeScreen(const std::filesystem::path& root) {
    ui::qt::QtScreenOptions options;
    options.bitmapFile = [device = DeviceRoot(root)](const std::string& path) {
        return device.toHost(path);
    };
    return std::make_unique<ui::qt::QtScreen>(std::move(options));
}

bool QtFront::displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace corvan::engine
