#pragma once
// The protocol driver images of the sample installation. A real driver is an opaque memory
// image for the box; ours are deterministic pseudo-random bytes (the same on every build)
// that carry the driver's name the way the box reads it after a download: "DRVNAME="
// followed by the name and a blank.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::sample {

// Where the name tag sits in the image: after a small header, inside the first block.
inline constexpr size_t kNameTagOffset = 32;

// An image of `size` bytes for the driver `name` (upper-case letters and digits, as the
// driver file's name without ".DRV"). The pseudo-random filler never contains the tag by
// accident because it has no byte in 0x20..0x7E. Too small an image for the tag: the tag
// is cut off.
std::vector<uint8_t> makeDriverImage(std::string_view name, size_t size);

}  // namespace corvan::sample
