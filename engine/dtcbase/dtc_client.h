#pragma once
// The callers' side of DTCBASE.dll: reading a file of the installation's "\dtc\" folder
// whole, and handing its content to the library, loaded for that one call, so that the
// content becomes the text the modules look codes up in. Each step says what went wrong;
// the modules choose their own messages and what to do about it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/module_context.h"

namespace corvan::dtc {

inline constexpr std::string_view kLibraryFile = "DTCBASE.dll";
// A file larger than this cannot be held in the terminal's memory with the rest of a run;
// it is treated as the out-of-memory case.
inline constexpr uintmax_t kMaxFileBytes = 8u * 1024 * 1024;

// data path + "\dtc\" + file name.
std::string dtcFileDevicePath(std::string_view dataPath, std::string_view fileName);

struct FileContent {
    enum class Status { Read, Missing, NoMemory };
    Status status = Status::Missing;
    std::vector<unsigned char> bytes;
    std::string devicePath;
};

// The whole file `fileName` of the "\dtc\" folder. An empty name, a folder or a file that
// cannot be opened is Missing.
FileContent readDtcFile(const ModuleContext& ctx, std::string_view dataPath,
                        std::string_view fileName);

struct DecodedText {
    enum class Status { Decoded, LibraryMissing, Rejected };
    Status status = Status::Rejected;
    std::string text;         // UTF-8
    std::string libraryPath;  // device path of the library (for the load-error message)
};

// Loads data path + "\DLL\DTCBASE.dll", calls its entry once with `content` and unloads it.
// A library that cannot be loaded or has no entry is LibraryMissing; an entry that returns
// zero is Rejected. On success the text is the content up to its first zero byte, read as
// the installation's code page.
DecodedText decodeWithLibrary(const ModuleContext& ctx, std::string_view dataPath,
                              std::vector<unsigned char> content);

}  // namespace corvan::dtc
