#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/file_io.h"
#include "platform/test_kill_harness.h"
#include "platform/test_temp_dir.h"

namespace corvan {
namespace {
namespace fs = std::filesystem;

constexpr std::string_view kDisplay = "Drivers\\Display\\Intel";

RegistryHive sampleHive() {
    RegistryHive h;
    h.createKey(kDisplay);
    h.set(kDisplay, "CxScreen", RegistryValue::ofNumber(320));
    h.set(kDisplay, "DisplayNumber", RegistryValue::ofNumber(0xFFFFFFFFu));
    h.createKey("\\HARDWARE\\DEVICEMAP\\TOUCH");
    h.set("HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData",
          RegistryValue::ofText("520,497 785,751 \"q\" back\\slash\r\nñ"));
    h.set("HARDWARE\\DEVICEMAP\\TOUCH", "Odd", RegistryValue::ofText(std::string("a\0b\x7F", 4)));
    return h;
}

TEST(RegistryHive, KeysAreFoundCaseInsensitivelyAndParentsExistThroughTheirChildren) {
    RegistryHive h = sampleHive();
    EXPECT_TRUE(h.hasKey("\\drivers\\display\\INTEL"));
    EXPECT_TRUE(h.hasKey("Drivers\\Display"));
    EXPECT_TRUE(h.hasKey("Drivers"));
    EXPECT_FALSE(h.hasKey("Drivers\\Disp"));  // a prefix of a name is no parent
    EXPECT_FALSE(h.hasKey("Drivers\\BuiltIn\\Key"));
    EXPECT_FALSE(h.set("Drivers\\BuiltIn\\Key", "Type", RegistryValue::ofNumber(1)));
    ASSERT_NE(h.find("DRIVERS\\display\\intel", "cxscreen"), nullptr);
    EXPECT_EQ(h.find(kDisplay, "CxScreen")->number, 320u);
    EXPECT_EQ(h.find(kDisplay, "CyScreen"), nullptr);

    // Texts keep their terminating zero; setting again replaces, it does not add.
    const RegistryValue* cal = h.find("HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData");
    ASSERT_NE(cal, nullptr);
    EXPECT_EQ(cal->data.back(), '\0');
    EXPECT_EQ(cal->data.size(), cal->text().size() + 1);
    ASSERT_TRUE(h.set(kDisplay, "cxscreen", RegistryValue::ofNumber(240)));
    EXPECT_EQ(h.find(kDisplay, "CxScreen")->number, 240u);
    EXPECT_EQ(h.keys().front().values.size(), 2u);
}

TEST(RegistryHive, TheFileFormatGivesBackEveryValueExactly) {
    const RegistryHive h = sampleHive();
    const std::string text = h.format();
    EXPECT_EQ(text.substr(0, text.find('\n')), "CORVAN REGISTRY 1");
    EXPECT_NE(text.find("\"CxScreen\"=dword:00000140\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"DisplayNumber\"=dword:ffffffff\n"), std::string::npos);
    EXPECT_NE(text.find("\"Odd\"=sz:\"a\\x00b\\x7F\"\n"), std::string::npos);
    std::string error;
    const auto back = RegistryHive::parse(text, &error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->keys().size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        ASSERT_EQ(back->keys()[k].values.size(), h.keys()[k].values.size());
        for (size_t v = 0; v < h.keys()[k].values.size(); ++v) {
            EXPECT_EQ(back->keys()[k].values[v].name, h.keys()[k].values[v].name);
            EXPECT_EQ(back->keys()[k].values[v].value, h.keys()[k].values[v].value);
        }
    }
    // Line ends written on another system, comments and blank lines are read too.
    const auto crlf = RegistryHive::parse(
        "CORVAN REGISTRY 1\r\n; terminal A\r\n\r\n[Drivers\\BuiltIn\\Key]\r\n"
        "\"Type\"=dword:000000FF\r\nEND\r\n",
        &error);
    ASSERT_TRUE(crlf) << error;
    EXPECT_EQ(crlf->find("Drivers\\BuiltIn\\Key", "Type")->number, 255u);
}

TEST(RegistryHive, DamagedFilesAreRefusedWithTheirLine) {
    const std::string good = sampleHive().format();
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 0: empty file"},
        {"REGEDIT4\n", "line 1: not a registry file"},
        {good.substr(0, good.size() - 4), "the file was cut short"},
        {good.substr(0, good.find("\n[HARDWARE")), "the file was cut short"},
        {"CORVAN REGISTRY 1\n\"A\"=dword:00000001\nEND\n", "line 2: a value before any key"},
        {"CORVAN REGISTRY 1\n[K]\n\"A\"=dword:1\nEND\n", "line 3: not a value"},
        {"CORVAN REGISTRY 1\n[K]\n\"A\"=sz:\"open\nEND\n", "line 3: not a value"},
        {"CORVAN REGISTRY 1\n[K]\n\"A\"=sz:\"\\q\"\nEND\n", "line 3: not a value"},
        {"CORVAN REGISTRY 1\n[K\nEND\n", "line 2: a key line ends with ']'"},
        {"CORVAN REGISTRY 1\n[\\]\nEND\n", "line 2: a key without a name"},
        {good + "[Extra]\n", "text after END"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(RegistryHive::parse(text, &error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << error << " for\n" << text;
    }
}

TEST(RegistryStore, ChangesReachTheFileOnlyWhenFlushed) {
    testing::TempDir tmp;
    const fs::path file = tmp.path() / "MIP FLASH" / "Registry" / "LocalMachine.txt";
    {
        RegistryStore missing(file);
        EXPECT_TRUE(missing.loadError().empty());
        EXPECT_FALSE(missing.openKey(kDisplay));  // opening creates nothing
        missing.hive() = sampleHive();
        ASSERT_TRUE(missing.flush());  // creates the folders
    }
    RegistryStore store(file);
    auto key = store.openKey("\\Drivers\\Display\\Intel");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->read("CxScreen"), RegistryValue::ofNumber(320));
    EXPECT_FALSE(key->read("CyScreen"));
    ASSERT_TRUE(key->write("CyScreen", RegistryValue::ofNumber(240)));
    EXPECT_EQ(RegistryStore(file).hive().find(kDisplay, "CyScreen"), nullptr);
    ASSERT_TRUE(store.flush());
    ASSERT_NE(RegistryStore(file).hive().find(kDisplay, "CyScreen"), nullptr);

    // A flush that cannot write leaves the file as it was and says so.
    const std::string before = readWholeFile(file).value();
    RegistryStore failing(file, [](const fs::path&, std::string_view) { return false; });
    failing.openKey(kDisplay)->write("CyScreen", RegistryValue::ofNumber(1));
    EXPECT_FALSE(failing.flush());
    EXPECT_EQ(readWholeFile(file), before);
}

TEST(RegistryStore, ADamagedRegistryIsNeverFlushedOver) {
    testing::TempDir tmp;
    const fs::path file = tmp.path() / "LocalMachine.txt";
    const std::string damaged = sampleHive().format().substr(0, 60);
    ASSERT_TRUE(writeFileAtomic(file, damaged));
    RegistryStore store(file);
    EXPECT_NE(store.loadError().find("LocalMachine.txt: line 3:"), std::string::npos)
        << store.loadError();
    EXPECT_FALSE(store.openKey(kDisplay));
    store.hive().createKey(kDisplay);
    EXPECT_FALSE(store.flush());
    EXPECT_EQ(readWholeFile(file), damaged);
}

// The payload written with counter n: long enough that a flush takes a while, so kills land
// inside it, and different for every n, so a mix of two flushes would show.
std::string payload(uint32_t n) {
    std::string p(64 * 1024, char('a' + n % 26));
    p += std::to_string(n);
    return p;
}

TEST(RegistryStore, AWriterKilledDuringItsFlushesLeavesTheOldOrTheNewRegistry) {
    testing::TempDir tmp;
    const fs::path file = tmp.path() / "LocalMachine.txt";
    uint32_t lastSeen = 0;
    // Each writer goes on from the counter the registry holds and flushes it, one higher
    // each time, with a payload that differs for every counter. (Every writer is a fresh
    // fork: its store opens the registry the one killed before it left.)
    const auto flushNext = [&](uint64_t) {
        static std::optional<RegistryStore> store;
        if (!store) {
            store.emplace(file);
            store->hive().createKey(kDisplay);
        }
        const RegistryValue* held = store->hive().find(kDisplay, "Counter");
        const uint32_t n = held ? held->number + 1 : 1;
        store->hive().set(kDisplay, "Counter", RegistryValue::ofNumber(n));
        store->hive().set(kDisplay, "Payload", RegistryValue::ofText(payload(n)));
        return store->flush();
    };
    const auto check = [&](int kill) {
        RegistryStore after(file);
        ASSERT_TRUE(after.loadError().empty()) << "kill " << kill << ": " << after.loadError();
        const RegistryValue* counter = after.hive().find(kDisplay, "Counter");
        const RegistryValue* text = after.hive().find(kDisplay, "Payload");
        ASSERT_TRUE(counter && text) << "kill " << kill;
        EXPECT_EQ(text->text(), payload(counter->number)) << "kill " << kill;
        EXPECT_GE(counter->number, lastSeen);
        lastSeen = counter->number;
    };
    const auto figures = testing::killWriterRepeatedly(24, 16, 20000, flushNext, check);
    EXPECT_FALSE(figures.failed);
    EXPECT_EQ(figures.kills, 24);
    EXPECT_GE(lastSeen, 24u);  // every writer ended one flush before its kill
    // The next good flush clears the temporary files that the killed flushes left behind.
    RegistryStore store(file);
    ASSERT_TRUE(store.flush());
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(tmp.path())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace corvan
