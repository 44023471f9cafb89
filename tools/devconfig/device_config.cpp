#include "tools/devconfig/device_config.h"

#include <cstdio>
#include <optional>

#include "platform/registry_store.h"

namespace corvan::devconfig {

namespace {

std::optional<uint32_t> readNumber(const RegistryKey& key, std::string_view name) {
    const auto v = key.read(name);
    if (!v || v->type != RegistryType::Number) return std::nullopt;
    return v->number;
}

std::string hex8(uint32_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%.8X", n);
    return text;
}

std::string numberOrMessage(RegistryStore& store, std::string_view key, std::string_view name,
                            const char* cannotOpen, const char* cannotRead) {
    const auto k = store.openKey(key);
    if (!k) return cannotOpen;
    const auto n = readNumber(*k, name);
    return n ? hex8(*n) : cannotRead;
}

}  // namespace

Change changeScreen(RegistryStore& store, int choice) {
    if (choice < 0 || choice >= int(kScreenChoices.size())) return Change::NoChoice;
    const ScreenChoice& row = kScreenChoices[size_t(choice)];
    {
        auto display = store.openKey(kDisplayKey);
        if (!display) return Change::KeyMissing;
        // A driver without any of the three would not read the others either: leave it.
        if (!display->read(kScreenWidth) || !display->read(kScreenHeight) ||
            !display->read(kDisplayNumber))
            return Change::ValueMissing;
        display->write(kScreenWidth, RegistryValue::ofNumber(row.width));
        display->write(kScreenHeight, RegistryValue::ofNumber(row.height));
        display->write(kDisplayNumber, RegistryValue::ofNumber(row.displayNumber));
    }
    if (!store.flush()) return Change::FlushFailed;
    // The calibration belongs to the panel just saved: it is written only once that is safe.
    auto touch = store.openKey(kTouchKey);
    if (!touch) return Change::TouchKeyMissing;
    touch->write(kCalibration, RegistryValue::ofText(row.calibration));
    return store.flush() ? Change::Written : Change::FlushFailed;
}

Change changeKeyboard(RegistryStore& store, int choice) {
    if (choice < 0 || choice >= int(kKeyboardChoices.size())) return Change::NoChoice;
    auto keyboard = store.openKey(kKeyboardKey);
    if (!keyboard) return Change::KeyMissing;
    if (!keyboard->read(kKeyboardType)) return Change::ValueMissing;
    keyboard->write(kKeyboardType, RegistryValue::ofNumber(kKeyboardChoices[size_t(choice)].type));
    return store.flush() ? Change::Written : Change::FlushFailed;
}

std::string infoText(RegistryStore& store) {
    const std::string keyboard =
        numberOrMessage(store, kKeyboardKey, kKeyboardType, "Can't open keyboard register key",
                        "Can't read keyboard register key");
    const std::string display =
        numberOrMessage(store, kDisplayKey, kDisplayNumber, "Can't open display register key",
                        "Can't read display register key");
    std::string touch = "Can't open touch register key";
    if (const auto k = store.openKey(kTouchKey)) {
        const auto v = k->read(kCalibration);
        // A calibration that cannot be read shows as nothing: the terminal has no text for it.
        touch = v ? v->text() : std::string();
    }
    return "Teclado: " + keyboard + "\n\rPantalla: " + display + "\n\rTouch: " + touch;
}

}  // namespace corvan::devconfig
