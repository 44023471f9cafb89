#include "engine/dtcbase/dtc_client.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>

#include "engine/dtcbase/dtcbase_entry.h"
#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/text_codec.h"
#include "runtime/data_path.h"
#include "runtime/run_plugin.h"

namespace corvan::dtc {

std::string dtcFileDevicePath(std::string_view dataPath, std::string_view fileName) {
    std::string path(dataPath);
    path += "\\dtc\\";
    path += fileName;
    return path;
}

FileContent readDtcFile(const ModuleContext& ctx, std::string_view dataPath,
                        std::string_view fileName) {
    FileContent out;
    out.devicePath = dtcFileDevicePath(dataPath, fileName);
    const DeviceRoot* root = ctx.host().root;
    if (!root || fileName.empty()) return out;
    const std::filesystem::path host = root->toHost(out.devicePath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec)) return out;
    const uintmax_t size = std::filesystem::file_size(host, ec);
    if (ec) return out;
    if (size > kMaxFileBytes) {
        out.status = FileContent::Status::NoMemory;
        return out;
    }
    std::ifstream in(host, std::ios::binary);
    if (!in) return out;
    try {
        out.bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        out.status = FileContent::Status::NoMemory;
        return out;
    }
    in.read(reinterpret_cast<char*>(out.bytes.data()), static_cast<std::streamsize>(size));
    if (static_cast<uintmax_t>(in.gcount()) != size) {
        out.bytes.clear();
        return out;
    }
    out.status = FileContent::Status::Read;
    return out;
}

DecodedText decodeWithLibrary(const ModuleContext& ctx, std::string_view dataPath,
                              std::vector<unsigned char> content) {
    DecodedText out;
    out.libraryPath = pluginDevicePath(dataPath, kLibraryFile);
    std::unique_ptr<LoadedLibrary> library = loadPluginLibrary(ctx, dataPath, kLibraryFile);
    const auto entry =
        library ? reinterpret_cast<DtcBaseEntry>(library->symbol("dll")) : DtcBaseEntry{};
    if (!entry) {
        out.status = DecodedText::Status::LibraryMissing;
        return out;
    }
    const size_t length = content.size();
    // A zero byte after the content, so that whatever the library leaves is read as a
    // text that ends inside the buffer.
    content.push_back(0);
    const int32_t accepted = entry(content.data(), static_cast<int32_t>(length));
    library.reset();
    if (accepted == 0) return out;
    const auto* chars = reinterpret_cast<const char*>(content.data());
    out.text = cp1252ToUtf8(std::string_view(chars, ::strnlen(chars, content.size())));
    out.status = DecodedText::Status::Decoded;
    return out;
}

}  // namespace corvan::dtc
