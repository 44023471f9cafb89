#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvan {

// Reads a whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes a file atomically: a temporary file beside it, flushed to disk, then renamed over
// it, so a crash or power cut leaves the old file or the new one, never none.
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files that writes of `path` cut short by a kill or a power cut left
// beside it (a writer calls it after a write of its own went through, so the flash does not
// fill up with them; only one program writes each such file).
void removeLeftTemporaries(const std::filesystem::path& path);

}  // namespace corvan
