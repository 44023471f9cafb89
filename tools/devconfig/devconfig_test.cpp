#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/registry_store.h"
#include "platform/test_temp_dir.h"
#include "tools/devconfig/devconfig_dialog.h"
#include "tools/devconfig/device_config.h"
#include "ui/headless_screen.h"

namespace corvan::devconfig {
namespace {
namespace fs = std::filesystem;

// The registry of a terminal prepared as a 5.7-inch landscape unit without keyboard.
RegistryHive preparedTerminal() {
    RegistryHive h;
    h.createKey(kKeyboardKey);
    h.set(kKeyboardKey, kKeyboardType, RegistryValue::ofNumber(255));
    h.createKey(kDisplayKey);
    h.set(kDisplayKey, kScreenWidth, RegistryValue::ofNumber(320));
    h.set(kDisplayKey, kScreenHeight, RegistryValue::ofNumber(240));
    h.set(kDisplayKey, kDisplayNumber, RegistryValue::ofNumber(0));
    h.createKey(kTouchKey);
    h.set(kTouchKey, kCalibration, RegistryValue::ofText(kScreenChoices[0].calibration));
    return h;
}

// A registry file and every flush made to it, the file written for real after each.
struct Terminal {
    explicit Terminal(RegistryHive hive = preparedTerminal()) {
        RegistryStore seed(file);
        seed.hive() = std::move(hive);
        EXPECT_TRUE(seed.flush());
    }
    RegistryStore open() {
        return RegistryStore(file, [this](const fs::path& f, std::string_view bytes) {
            if (failFlushes > 0) {
                --failFlushes;
                return false;
            }
            if (onFlush) onFlush();
            auto parsed = RegistryHive::parse(bytes, nullptr);
            EXPECT_TRUE(parsed);
            if (parsed) flushes.push_back(std::move(*parsed));
            return writeFileAtomic(f, bytes);
        });
    }
    std::string fileText() const { return readWholeFile(file).value_or(""); }
    RegistryHive saved() const { return RegistryStore(file).hive(); }

    testing::TempDir dir;
    fs::path file = dir.path() / "LocalMachine.txt";
    std::vector<RegistryHive> flushes;
    int failFlushes = 0;
    std::function<void()> onFlush;
};

uint32_t number(const RegistryHive& h, std::string_view key, std::string_view name) {
    const RegistryValue* v = h.find(key, name);
    return v ? v->number : 0xDEADu;
}

std::string calibration(const RegistryHive& h) {
    const RegistryValue* v = h.find(kTouchKey, kCalibration);
    return v ? v->text() : "(none)";
}

TEST(ScreenChange, DisplayValuesAreSavedFirstAndTheCalibrationOnlyAfterThem) {
    Terminal t;
    RegistryStore store = t.open();
    ASSERT_EQ(changeScreen(store, 3), Change::Written);  // 3.5-inch portrait
    ASSERT_EQ(t.flushes.size(), 2u);
    // First flush: the panel, with the calibration of the old one still in place.
    EXPECT_EQ(number(t.flushes[0], kDisplayKey, kScreenWidth), 240u);
    EXPECT_EQ(number(t.flushes[0], kDisplayKey, kScreenHeight), 320u);
    EXPECT_EQ(number(t.flushes[0], kDisplayKey, kDisplayNumber), 1u);
    EXPECT_EQ(calibration(t.flushes[0]), kScreenChoices[0].calibration);
    // Second flush: the calibration of the new panel, stored with its terminating zero.
    EXPECT_EQ(calibration(t.flushes[1]), "506,506 261,261 260,754 741,755 736,262");
    EXPECT_EQ(t.flushes[1].find(kTouchKey, kCalibration)->data,
              std::string("506,506 261,261 260,754 741,755 736,262\0", 40));
    EXPECT_EQ(calibration(t.saved()), kScreenChoices[3].calibration);
}

TEST(ScreenChange, EachRowWritesItsOwnPanel) {
    for (int row = 0; row < 4; ++row) {
        Terminal t;
        RegistryStore store = t.open();
        ASSERT_EQ(changeScreen(store, row), Change::Written);
        const RegistryHive saved = t.saved();
        const ScreenChoice& c = kScreenChoices[size_t(row)];
        EXPECT_EQ(number(saved, kDisplayKey, kScreenWidth), c.width) << c.label;
        EXPECT_EQ(number(saved, kDisplayKey, kScreenHeight), c.height) << c.label;
        EXPECT_EQ(number(saved, kDisplayKey, kDisplayNumber), c.displayNumber) << c.label;
        EXPECT_EQ(calibration(saved), c.calibration) << c.label;
    }
}

TEST(ScreenChange, AMissingDisplayValueWritesNothingAtAll) {
    for (std::string_view missing : {kDisplayNumber, kScreenWidth, kScreenHeight}) {
        RegistryHive h;
        h.createKey(kDisplayKey);
        for (std::string_view name : {kScreenWidth, kScreenHeight, kDisplayNumber})
            if (name != missing) h.set(kDisplayKey, name, RegistryValue::ofNumber(7));
        h.createKey(kTouchKey);
        Terminal t(h);
        const std::string before = t.fileText();
        RegistryStore store = t.open();
        EXPECT_EQ(changeScreen(store, 2), Change::ValueMissing) << missing;
        EXPECT_TRUE(t.flushes.empty());
        EXPECT_EQ(t.fileText(), before);
        // Not even in memory: a later flush of the same program saves no half panel.
        EXPECT_EQ(number(store.hive(), kDisplayKey,
                         missing == kScreenWidth ? kScreenHeight : kScreenWidth),
                  7u);
        EXPECT_EQ(store.hive().find(kTouchKey, kCalibration), nullptr);
    }
    Terminal noKey{RegistryHive{}};
    RegistryStore store = noKey.open();
    EXPECT_EQ(changeScreen(store, 0), Change::KeyMissing);
    EXPECT_TRUE(noKey.flushes.empty());
}

TEST(ScreenChange, AFailedFlushKeepsTheOldCalibration) {
    Terminal t;
    const std::string before = t.fileText();
    RegistryStore store = t.open();
    t.failFlushes = 1;
    EXPECT_EQ(changeScreen(store, 1), Change::FlushFailed);
    EXPECT_TRUE(t.flushes.empty());
    EXPECT_EQ(t.fileText(), before);
    EXPECT_EQ(calibration(store.hive()), kScreenChoices[0].calibration);

    // Without the touch key the panel is saved and the calibration is not written anywhere.
    RegistryHive h = preparedTerminal();
    RegistryHive noTouch;
    for (const auto& key : h.keys()) {
        if (key.path == "HARDWARE\\DEVICEMAP\\TOUCH") continue;
        noTouch.createKey(key.path);
        for (const auto& v : key.values) noTouch.set(key.path, v.name, v.value);
    }
    Terminal u(noTouch);
    RegistryStore other = u.open();
    EXPECT_EQ(changeScreen(other, 1), Change::TouchKeyMissing);
    ASSERT_EQ(u.flushes.size(), 1u);
    EXPECT_EQ(number(u.saved(), kDisplayKey, kScreenWidth), 240u);
    EXPECT_FALSE(u.saved().hasKey(kTouchKey));
}

TEST(KeyboardChange, OverwritesAnExistingTypeOnly) {
    const uint32_t expected[] = {255, 0, 1, 2};
    for (int row = 0; row < 4; ++row) {
        Terminal t;
        RegistryStore store = t.open();
        store.hive().set(kKeyboardKey, kKeyboardType, RegistryValue::ofNumber(77));
        ASSERT_EQ(changeKeyboard(store, row), Change::Written);
        ASSERT_EQ(t.flushes.size(), 1u);
        EXPECT_EQ(number(t.saved(), kKeyboardKey, kKeyboardType), expected[row]);
    }
    RegistryHive noType;
    noType.createKey(kKeyboardKey);
    Terminal t(noType);
    RegistryStore store = t.open();
    EXPECT_EQ(changeKeyboard(store, 1), Change::ValueMissing);
    EXPECT_EQ(changeKeyboard(store, -1), Change::NoChoice);
    EXPECT_EQ(changeScreen(store, 4), Change::NoChoice);
    EXPECT_TRUE(t.flushes.empty());
    EXPECT_EQ(store.hive().find(kKeyboardKey, kKeyboardType), nullptr);
}

TEST(Info, ShowsTheThreeSettingsOrWhatFailed) {
    Terminal t;
    RegistryStore store = t.open();
    EXPECT_EQ(infoText(store),
              "Teclado: 000000FF\n\rPantalla: 00000000\n\rTouch: "
              "520,497 785,751 778,255 251,252 259,737");

    RegistryHive h;
    h.createKey(kKeyboardKey);
    h.set(kKeyboardKey, kKeyboardType, RegistryValue::ofText("2"));  // not a number
    h.createKey(kDisplayKey);
    h.createKey(kTouchKey);
    Terminal partial(h);
    RegistryStore s2 = partial.open();
    EXPECT_EQ(infoText(s2),
              "Teclado: Can't read keyboard register key\n\rPantalla: Can't read display register "
              "key\n\rTouch: ");
    Terminal empty{RegistryHive{}};
    RegistryStore s3 = empty.open();
    EXPECT_EQ(infoText(s3),
              "Teclado: Can't open keyboard register key\n\rPantalla: Can't open display register "
              "key\n\rTouch: Can't open touch register key");
}

TEST(DevconfigDialog, TheTechnicianChangesBothModelsAndReadsThemBack) {
    Terminal t;
    RegistryStore store = t.open();
    ui::HeadlessScreen screen;
    ASSERT_EQ(screen.loadScript("press #102\n"  // nothing chosen yet: nothing written
                                "choose \"Sharp 3'5\\\" Landscape\" in #101\n"
                                "press #102\n"
                                "choose \"Matrix 35 keys\" in #111\n"
                                "press #112\n"
                                "press \"Info\"\n"
                                "answer \"Teclado\" Ok\n"
                                "press \"Exit\"\n"),
              "");
    // While a change is written, neither "Change" can be pressed.
    std::vector<bool> enabledDuringFlush;
    t.onFlush = [&] {
        auto* d = screen.findDialog("DEVCONFIG");
        enabledDuringFlush.push_back(d->isEnabled(kScreenChangeId) ||
                                     d->isEnabled(kKeyboardChangeId));
    };
    VirtualClock clock;
    runDevconfig(screen, clock, store);

    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
    EXPECT_EQ(enabledDuringFlush, (std::vector<bool>{false, false, false}));
    const auto* last = screen.lastSnapshot("DEVCONFIG");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->title, "devconfig v1.0");
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    EXPECT_EQ(screen.messageBoxes()[0].text,
              "Teclado: 00000002\n\rPantalla: 00000001\n\rTouch: "
              "498,493 733,255 255,260 256,732 729,741");
    const RegistryHive saved = t.saved();
    EXPECT_EQ(number(saved, kKeyboardKey, kKeyboardType), 2u);
    EXPECT_EQ(number(saved, kDisplayKey, kDisplayNumber), 1u);
}

}  // namespace
}  // namespace corvan::devconfig
