#pragma once
// The hardware variant of the terminal as the registry holds it: the display model with its
// touch-screen calibration, and the keyboard model. The drivers read these values when the
// terminal starts, so a change takes effect after a restart.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvan {
class RegistryStore;
}

namespace corvan::devconfig {

inline constexpr std::string_view kKeyboardKey = "Drivers\\BuiltIn\\Key";
inline constexpr std::string_view kKeyboardType = "Type";
inline constexpr std::string_view kDisplayKey = "Drivers\\Display\\Intel";
inline constexpr std::string_view kScreenWidth = "CxScreen";
inline constexpr std::string_view kScreenHeight = "CyScreen";
inline constexpr std::string_view kDisplayNumber = "DisplayNumber";
inline constexpr std::string_view kTouchKey = "\\HARDWARE\\DEVICEMAP\\TOUCH";
inline constexpr std::string_view kCalibration = "CalibrationData";

// A display panel in one orientation and the five touch points measured for it.
struct ScreenChoice {
    std::string_view label;
    uint32_t width, height;
    uint32_t displayNumber;  // 0: the 5.7-inch panel, 1: the 3.5-inch panel
    std::string_view calibration;
};

inline constexpr std::array<ScreenChoice, 4> kScreenChoices{{
    {"Sharp 5'7\" Landscape", 320, 240, 0, "520,497 785,751 778,255 251,252 259,737"},
    {"Sharp 5'7\" Portrait", 240, 320, 0, "528,515 258,755 792,756 769,285 259,245"},
    {"Sharp 3'5\" Landscape", 320, 240, 1, "498,493 733,255 255,260 256,732 729,741"},
    {"Sharp 3'5\" Portrait", 240, 320, 1, "506,506 261,261 260,754 741,755 736,262"},
}};

struct KeyboardChoice {
    std::string_view label;
    uint32_t type;
};

inline constexpr std::array<KeyboardChoice, 4> kKeyboardChoices{{
    {"No keyboard", 255},
    {"Matrix 16 keys", 0},
    {"Matrix 20 keys", 1},
    {"Matrix 35 keys", 2},
}};

enum class Change {
    Written,
    NoChoice,        // nothing chosen in the list
    KeyMissing,      // the driver's key cannot be opened
    ValueMissing,    // a value the driver must already have is not there
    FlushFailed,     // the registry could not be saved
    TouchKeyMissing  // display saved, calibration not written: the touch key cannot be opened
};

// Writes the row's width, height and display number (only when all three exist already),
// flushes, and only after a good flush writes the calibration and flushes again. `choice` is
// the row of kScreenChoices, -1 for none.
Change changeScreen(RegistryStore& store, int choice);

// Overwrites the existing keyboard type with the row's and flushes.
Change changeKeyboard(RegistryStore& store, int choice);

// "Teclado: %s\n\rPantalla: %s\n\rTouch: %s": the keyboard type and the display number as
// "%.8X", the calibration text as stored, or the message of the key that failed.
std::string infoText(RegistryStore& store);

}  // namespace corvan::devconfig
