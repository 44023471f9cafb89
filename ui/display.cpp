#include "ui/display.h"

#include <cstdlib>
#include <cstring>

namespace corvan::ui {

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool displayAvailable() {
    if (set("QT_QPA_PLATFORM")) {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        return std::strncmp(platform, "offscreen", 9) != 0 &&
               std::strncmp(platform, "minimal", 7) != 0;
    }
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace corvan::ui
