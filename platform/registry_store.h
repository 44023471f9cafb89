#pragma once
// The terminal's system registry, local-machine root: keys named by paths
// ("Drivers\Display\Intel", matched case-insensitively, a leading "\" ignored) holding typed
// values: 4-byte numbers and texts stored with their terminating zero. Programs open a key, read
// and write its values in memory, and flush the registry to storage; what was not flushed is lost
// when the program ends, as on the device when it is switched off.
//
// The registry lives in one text file of the device root (format in docs/device-tools.md):
//
//     CORVAN REGISTRY 1
//     [Drivers\Display\Intel]
//     "CxScreen"=dword:00000140
//     [HARDWARE\DEVICEMAP\TOUCH]
//     "CalibrationData"=sz:"520,497 785,751 778,255 251,252 259,737"
//     END
//
// A flush rewrites the whole file atomically, so a power cut or a kill during a flush leaves
// the old registry or the new one.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// Where the registry of the device root is kept.
inline constexpr std::string_view kRegistryDevicePath = "\\MIP FLASH\\Registry\\LocalMachine.txt";

enum class RegistryType { Number, Text };

struct RegistryValue {
    RegistryType type = RegistryType::Number;
    uint32_t number = 0;
    std::string data;  // Text: the bytes and their terminating zero

    static RegistryValue ofNumber(uint32_t n) { return {RegistryType::Number, n, {}}; }
    static RegistryValue ofText(std::string_view text);
    // A text value's characters up to its first zero; empty for a number.
    std::string text() const;
    bool operator==(const RegistryValue&) const = default;
};

// The keys and values in memory; pure data.
class RegistryHive {
  public:
    struct Value {
        std::string name;
        RegistryValue value;
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };

    // A key exists when it was created, or when a key below it was (its parents exist with it).
    bool hasKey(std::string_view path) const;
    void createKey(std::string_view path);
    const RegistryValue* find(std::string_view path, std::string_view name) const;
    // Sets (or adds) a value of an existing key; false when the key does not exist.
    bool set(std::string_view path, std::string_view name, RegistryValue value);
    const std::vector<Key>& keys() const { return keys_; }

    std::string format() const;
    // nullopt with `error` ("line N: ...") for a file that is not a whole registry: a wrong
    // header, a line that does not parse, or a missing END (a file cut short).
    static std::optional<RegistryHive> parse(std::string_view text, std::string* error);

  private:
    Key* findKey(std::string_view path);
    const Key* findKey(std::string_view path) const;
    std::vector<Key> keys_;
};

class RegistryStore;

// An open key: reads and writes go to the store's memory until it is flushed.
class RegistryKey {
  public:
    std::optional<RegistryValue> read(std::string_view name) const;
    bool write(std::string_view name, RegistryValue value);
    const std::string& path() const { return path_; }

  private:
    friend class RegistryStore;
    RegistryKey(RegistryStore& store, std::string path) : store_(&store), path_(std::move(path)) {}
    RegistryStore* store_;
    std::string path_;
};

class RegistryStore {
  public:
    // Writes the file's new bytes; writeFileAtomic unless a test gives another.
    using Writer = std::function<bool(const std::filesystem::path&, std::string_view)>;

    // The registry of `file`; a missing file is an empty registry. A file that cannot be read
    // or is damaged gives an empty registry too, with `error` set: nothing can be opened in
    // it, so nothing is written and the file is never flushed over.
    explicit RegistryStore(std::filesystem::path file, Writer writer = {});

    const std::string& loadError() const { return loadError_; }
    const std::filesystem::path& file() const { return file_; }

    // nullopt when the key does not exist (keys are not created by opening them).
    std::optional<RegistryKey> openKey(std::string_view path);
    RegistryHive& hive() { return hive_; }
    const RegistryHive& hive() const { return hive_; }

    // Writes the whole registry to its file; false when the file could not be written (the
    // old file then stays as it was).
    bool flush();

  private:
    std::filesystem::path file_;
    Writer writer_;
    RegistryHive hive_;
    std::string loadError_;
};

}  // namespace corvan
