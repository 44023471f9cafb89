#include "plugins/boxstart/driver_image.h"

#include <filesystem>
#include <fstream>
#include <new>

#include "platform/device_root.h"

namespace corvan::boxstart {

ImageRead readDriverImage(const ModuleContext& ctx, const std::string& devicePath,
                          std::vector<uint8_t>& image) {
    image.clear();
    const DeviceRoot* root = ctx.host().root;
    if (!root) return ImageRead::Missing;
    const std::filesystem::path host = root->toHost(devicePath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec)) return ImageRead::Missing;
    std::ifstream in(host, std::ios::binary);
    if (!in) return ImageRead::Missing;
    const uintmax_t size = std::filesystem::file_size(host, ec);
    if (ec) return ImageRead::Missing;
    if (size > kMaxDriverBytes) return ImageRead::NoMemory;
    try {
        image.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return ImageRead::NoMemory;
    }
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    // A file that shrank while it was read is sent as far as it was read.
    image.resize(static_cast<size_t>(in.gcount()));
    return ImageRead::Ok;
}

}  // namespace corvan::boxstart
