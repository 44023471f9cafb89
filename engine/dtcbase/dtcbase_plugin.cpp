// DTCBASE.dll: makes the stored files of the "\dtc\" folder readable for the modules that
// look codes up in them.
#include <cstddef>
#include <type_traits>

#include "engine/dtcbase/dtc_file.h"
#include "engine/dtcbase/dtcbase_entry.h"

extern "C" __attribute__((visibility("default"))) int32_t dll(unsigned char* content,
                                                              int32_t length) {
    if (!content || length <= 0) return 0;
    const auto decoded =
        corvan::dtc::decodeInPlace(std::span<uint8_t>(content, static_cast<size_t>(length)));
    return decoded ? 1 : 0;
}
static_assert(std::is_same_v<decltype(&dll), DtcBaseEntry>, "dll must match DtcBaseEntry");
