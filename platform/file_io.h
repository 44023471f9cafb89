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

}  // namespace corvan
