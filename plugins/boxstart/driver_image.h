#pragma once
// Reading the driver file that goes into the box. The image is opaque: it is sent byte for
// byte, in file order.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/module_context.h"

namespace corvan::boxstart {

// A driver file larger than this is treated like one whose buffer cannot be had: no box
// memory comes near it, and reading it whole would only exhaust the terminal's.
inline constexpr uintmax_t kMaxDriverBytes = 16u * 1024 * 1024;

enum class ImageRead { Ok, Missing, NoMemory };

// Reads the file at `devicePath` (relative to the root of the device's file system) into
// `image`.
ImageRead readDriverImage(const ModuleContext& ctx, const std::string& devicePath,
                          std::vector<uint8_t>& image);

}  // namespace corvan::boxstart
